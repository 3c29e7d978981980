#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace brisko::platform {

// Which host folder each drive letter and each share stands for (POSIX). Entries come from
// BRISKO_DRIVES ("C=/srv/data;F=/media/backup") and from --drive LETTER=HOSTDIR on a command
// line; shares from BRISKO_SHARES ("\\NAS\BACKUP=/mnt/nas") and --share \\SERVER\SHARE=HOSTDIR.
// When nothing maps any letter, Z: is "/". A letter or a share that is not mapped is a drive
// that does not exist.
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

    // The host folder of a drive letter (either case); nothing when it is not mapped.
    std::optional<std::string> hostFolder(char letter) const;
    // The host folder of the drive of a drive-form or share-form path ("C:\X", "\\NAS\B\X");
    // nothing when it is not mapped or the path names no drive.
    std::optional<std::string> folderOfDrive(std::string_view path) const;
    const std::map<char, std::string>& entries() const { return entries_; }

private:
    std::string startFolder_;
    std::map<char, std::string> entries_;       // upper-case letter -> absolute host folder
    std::map<std::string, std::string> shares_; // upper-cased share -> absolute host folder
};

} // namespace brisko::platform
