#pragma once

#include "platform/sftp/SftpLocation.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace brisko::platform {

// Which host folder each drive letter and each share stands for (POSIX). Entries come from
// BRISKO_DRIVES ("C=/srv/data;F=/media/backup") and from --drive LETTER=HOSTDIR on a command
// line; shares from BRISKO_SHARES ("\\NAS\BACKUP=/mnt/nas") and --share \\SERVER\SHARE=HOSTDIR.
// In a host folder's place an entry may name a folder on another machine,
// sftp://[USER@]HOST[:PORT]/PATH. When nothing maps any letter, Z: is "/". A letter or a share
// that is not mapped is a drive that does not exist.
class DriveMap {
public:
    // Relative host folders are taken against startFolder.
    explicit DriveMap(std::string startFolder);

    // Adds the entries of a BRISKO_DRIVES value; returns false (and adds nothing) when an
    // entry is malformed.
    bool addEntries(std::string_view list);
    // Adds or overrides one LETTER=HOSTDIR entry; false when it is malformed.
    bool addEntry(std::string_view entry);

    // The same for shares: a BRISKO_SHARES value, and one \\SERVER\SHARE=HOSTDIR entry.
    bool addShareEntries(std::string_view list);
    bool addShareEntry(std::string_view entry);

    // Why the last entry refused was malformed, when there is more to say than its form (a URL
    // carrying a password, a port out of range); empty otherwise.
    const std::string& refusal() const { return refusal_; }

    // The host folder of a drive letter (either case); nothing when it is not mapped, or mapped
    // to another machine.
    std::optional<std::string> hostFolder(char letter) const;
    // The host folder of the drive of a drive-form or share-form path ("C:\X", "\\NAS\B\X");
    // nothing when it is not mapped or the path names no drive.
    std::optional<std::string> folderOfDrive(std::string_view path) const;
    const std::map<char, std::string>& entries() const { return entries_; }

    // The SFTP location of the drive of a path; nothing when it has none.
    std::optional<sftp::SftpLocation> locationOfDrive(std::string_view path) const;
    // Every drive on another machine, by its drive key ("R:", "\\NAS\BACKUP").
    std::map<std::string, sftp::SftpLocation> locations() const;

private:
    std::string startFolder_;
    std::map<char, std::string> entries_;       // upper-case letter -> absolute host folder
    std::map<std::string, std::string> shares_; // upper-cased share -> absolute host folder
    std::map<char, sftp::SftpLocation> remoteEntries_;
    std::map<std::string, sftp::SftpLocation> remoteShares_;
    std::string refusal_;

    // Puts one parsed entry in place of any earlier one of its key; false (refusal_ set) when
    // its SFTP target is malformed.
    template <class Key>
    bool put(std::map<Key, std::string>& folders, std::map<Key, sftp::SftpLocation>& remotes,
             const Key& key, std::string_view target);
};

} // namespace brisko::platform
