#pragma once

#include "platform/posix/CaseResolver.h"
#include "platform/posix/HostEntry.h"
#include "platform/posix/HostNames.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/ProgramPath.h"
#include "platform/posix/WalkedFolders.h"

#include <fcntl.h>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace brisko::platform {

enum class Need {
    Existing,  // the path must name something that exists
    Creatable, // its last name may be missing: something is about to be made there
};

// A program path as a host path, or why it is not one. Calls on it are made relative to the
// folder that holds its last name, reached one folder at a time from the drive's own folder
// without following a link on the way (a host path follows them, as the system does).
struct Target {
    FsResult result;
    std::string host;
    std::string requestedName;         // the last name as the caller wrote it
    bool missing = false;              // (Creatable) nothing of that name exists yet
    bool driveFolder = false;          // the path names a drive's own folder: followed if a link
    std::optional<struct stat> status; // the entry's own status, when resolving read it
    HeldFolder folder;                 // the folder holding name; none for a drive's own folder
    std::string name;                  // the last name within folder, as on disk
    std::string folderKey;             // the folder as the path wrote it (see folderKeyOf)

    bool ok() const { return result.ok(); }
    LinkHandling links() const {
        return driveFolder ? LinkHandling::Follow : LinkHandling::Inspect;
    }
    // The folder and name for the *at() calls: the whole host path for a drive's own folder.
    int at() const { return folder.valid() ? folder.get() : AT_FDCWD; }
    const char* entry() const { return folder.valid() ? name.c_str() : host.c_str(); }
    // The flag of the *at() calls that do not follow a link at the last name.
    int noFollow() const { return driveFolder ? 0 : AT_SYMLINK_NOFOLLOW; }
};

// The last name of a host path, and the folder that holds it.
std::string lastName(const std::string& host);
std::string parentOf(const std::string& host);
// The lstat of a target: the one read while its path was matched, else read now (false, errno
// set, when it cannot be).
bool linkStatus(const Target& target, struct stat& info);
// The host folder the process is in; empty when it no longer exists.
std::string currentHostFolder();

// What the views of one POSIX file system share: the drive map, the case resolver and the
// folders walked so far. It turns program paths into targets.
struct PosixFileSystem::Impl {
    explicit Impl(DriveMap map) : drives(std::move(map)) {}

    DriveMap drives;
    PosixHostNames hostNames;
    CaseResolver resolver{hostNames};
    WalkedFolders walkedFolders;

    // The two paths of a call that takes two: from must exist, to may be made (in from's
    // folder the handle is shared). result is the first failure; to is not looked for when
    // from failed.
    struct TargetPair {
        Target from;
        Target to;
        FsResult result;

        bool ok() const { return result.ok(); }
    };

    // Takes a program path apart; false (parsed.result says why) when it is not one.
    bool parse(std::string_view path, ParsedPath& parsed);
    static LinkHandling onTheWay(const ParsedPath& parsed);
    // The folder of names[0, count) below the route's base, reached without a link on the way
    // (for drive-form paths); a folder walked before is taken again while its path still leads
    // to it.
    HeldFolder walkTo(const ParsedPath& parsed, const std::vector<std::string>& names,
                      std::size_t count, FsResult& result);
    // Matches a route against the disk and opens the folder of its last name into target. The
    // names are walked as written first; only when something is not there as written does the
    // resolver match them by case, and the names it found are walked.
    // When sibling (the other path of a call that takes two) is in the same folder, its handle
    // is shared instead of walking again.
    Resolution reach(const ParsedPath& parsed, bool exactLast, Target& target,
                     const Target* sibling);
    Target locate(std::string_view path, Need need, bool exactLast,
                  const Target* sibling = nullptr);
    TargetPair locatePair(std::string_view from, std::string_view to, bool exactLast);
    // Makes the folders of a path that are missing, each below the one before.
    FsResult makeFolders(std::string_view path, bool exactLast);
    // An existing file, folder or link (a link is the entry itself, not its target); anything
    // else is refused.
    Target plainEntry(std::string_view path, HostEntry& entry, bool exactLast);
    Target plainEntry(std::string_view path, bool exactLast);
    // The same, with the entry's own status (a link's, not its target's; a drive's own folder
    // followed).
    Target ownEntry(std::string_view path, struct stat& info, bool exactLast);
};

} // namespace brisko::platform
