#pragma once

#include "platform/DriveMap.h"
#include "platform/FileSystem.h"
#include "support/TempTree.h"
#ifdef _WIN32
#include "support/SystemDriveLetter.h"
#endif

#include <ctime>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace brisko::test {

// One entry of a tree described as data. The path is relative and separated by '/'; a path
// ending in '/' is a folder, and content beginning with "->" makes a symbolic link to the rest.
// The time, when given, is the file's modification time in host seconds (a DOS stamp goes
// through timeFromDosStamp first).
struct TreeEntry {
    TreeEntry(std::string entryPath, std::string entryContent = {},
              std::optional<std::time_t> entryTime = std::nullopt)
        : path(std::move(entryPath)), content(std::move(entryContent)), time(entryTime) {}

    std::string path;
    std::string content;
    std::optional<std::time_t> time;
};

// Whether the host lets this program make symbolic links (Windows may not).
bool hostMakesSymlinks();

// A whole tree as read back, in the same notation: relative path -> content. A folder is listed
// only when it is empty; any other folder shows through what it holds.
using TreeListing = std::map<std::string, std::string>;

// A temporary tree whose folders are mapped as drive letters, laid out from data and read back
// whole, so that a test states exactly what a tree holds before and after. On POSIX the drives
// are a drive map; on Windows they are drive letters of the system while the tree lives.
class MappedTree : public TempTree {
public:
    struct Drive {
        char letter;
        std::string folder; // relative to the root; empty for the root itself
    };

    // Makes the folder of every drive. Without drives the root is drive C.
    explicit MappedTree(std::vector<Drive> drives = {{'C', ""}});

    platform::DriveMap driveMap() const;
    // The host's file system reaching the drives: POSIX through the drive map, or Windows.
    std::unique_ptr<platform::FileSystem> hostFileSystem() const;
    // The console runner's options mapping the same drives: "--drive", "L=HOSTDIR", ... (none
    // on Windows, where they are letters of the system).
    std::vector<std::string> driveOptions() const;

    // Writes the entries (folders on the way are made); files without a time of their own get
    // defaultTime when it is given.
    void lay(const std::vector<TreeEntry>& entries,
             std::optional<std::time_t> defaultTime = std::nullopt);
    // Everything below a folder of the tree (the root when empty), extra entries included.
    TreeListing listing(std::string_view folder = "") const;

private:
    // What a drive is mapped to: its host folder, or the URL of the folder on the loopback
    // server when drives are over SFTP.
    std::string target(const Drive& drive) const;

    std::vector<Drive> drives_;
#ifdef _WIN32
    std::vector<std::unique_ptr<SystemDriveLetter>> systemDrives_;
#endif
};

} // namespace brisko::test
