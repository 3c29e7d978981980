#include "platform/posix/ProgramPath.h"

#include "platform/DrivePath.h"
#include "platform/PathNames.h"
#include "platform/Refusals.h"

#include <climits>

namespace brisko::platform {

namespace {

// The length of the host path a route stands for.
std::size_t hostLength(const HostRoute& route) {
    std::size_t length = route.base.size();
    for (const auto& name : route.components)
        length += 1 + name.size();
    return length;
}

} // namespace

bool isRelativeProgramPath(std::string_view path) {
    return !path.empty() && !drive_path::isDriveForm(path) && !isPathSeparator(path.front());
}

std::string joinHost(const std::string& folder, std::string_view name) {
    std::string joined = folder;
    if (joined.empty() || joined.back() != '/')
        joined.push_back('/');
    joined.append(name);
    return joined;
}

ParsedPath parseProgramPath(std::string_view path, const DriveMap& drives,
                            const std::string& currentFolder) {
    ParsedPath parsed;
    if (path.empty()) {
        parsed.result = refusal::emptyPath();
        return parsed;
    }
    HostRoute& route = parsed.route;
    if (drive_path::hasDrive(path)) {
        const std::string_view drive = drive_path::driveOrShare(path);
        auto folder = drives.folderOfDrive(path);
        if (!folder) {
            parsed.result = {FsStatus::NotFound,
                             (drive_path::isShareForm(path) ? "share " : "drive ") +
                                 std::string(drive) + " is not mapped"};
            return parsed;
        }
        route.base = *folder;
        parsed.driveForm = true;
        appendPathNames(path.substr(drive.size()), 0, route.components);
    } else {
        route.base = "/";
        if (!isPathSeparator(path.front()))
            appendPathNames(currentFolder, 0, route.components);
        appendPathNames(path, 0, route.components);
    }
    if (hostLength(route) >= PATH_MAX)
        parsed.result = refusal::pathTooLong();
    return parsed;
}

} // namespace brisko::platform
