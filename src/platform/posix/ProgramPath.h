#pragma once

#include "platform/DriveMap.h"
#include "platform/FileSystem.h"

#include <string>
#include <string_view>
#include <vector>

namespace brisko::platform {

// A program path taken apart: the host folder it starts from and the names below it.
struct HostRoute {
    std::string base;                    // an absolute host folder, used as it stands
    std::vector<std::string> components; // names below base, "." and ".." already applied
};

struct ParsedPath {
    // NotFound for a drive letter or share that is not mapped; InvalidName for "" and for a host
    // path longer than the system can take.
    FsResult result;
    HostRoute route;
    // A drive-form or share-form path: base is the drive's folder, and no link below it is ever
    // followed.
    bool driveForm = false;
};

// True for a path taken against the current folder (neither drive form nor starting with a
// separator).
bool isRelativeProgramPath(std::string_view path);

// Drive form ("C:\DATA", "c:/data", "C:"; "C:NAME" counts as "C:\NAME") and share form
// ("\\SERVER\SHARE\DATA") go through the drive map and cannot climb above the drive's folder;
// "/..." is a host path; anything else is taken against currentFolder. Both '\' and '/' separate
// names: a name holding '\' cannot be written in a program path. A path longer than the system's
// limit (PATH_MAX) is refused.
ParsedPath parseProgramPath(std::string_view path, const DriveMap& drives,
                            const std::string& currentFolder);

// Joins a host folder and a name with one '/'.
std::string joinHost(const std::string& folder, std::string_view name);

} // namespace brisko::platform
