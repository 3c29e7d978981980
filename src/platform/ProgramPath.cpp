#include "platform/ProgramPath.h"

#include "platform/DrivePath.h"

#include <climits>

namespace brisko::platform {

namespace {

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

using drive_path::isDriveForm;

// Appends the names of text to names; "." is dropped and ".." removes the name before it,
// never going above the first `floor` names.
void appendNames(std::string_view text, std::size_t floor, std::vector<std::string>& names) {
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = pos;
        while (end < text.size() && !isSeparator(text[end]))
            ++end;
        const std::string_view name = text.substr(pos, end - pos);
        if (name == "..") {
            if (names.size() > floor)
                names.pop_back();
        } else if (!name.empty() && name != ".") {
            names.emplace_back(name);
        }
        pos = end + 1;
    }
}

// The length of the host path a route stands for.
std::size_t hostLength(const HostRoute& route) {
    std::size_t length = route.base.size();
    for (const auto& name : route.components)
        length += 1 + name.size();
    return length;
}

} // namespace

bool isRelativeProgramPath(std::string_view path) {
    return !path.empty() && !isDriveForm(path) && !isSeparator(path.front());
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
        parsed.result = {FsStatus::InvalidName, "empty path"};
        return parsed;
    }
    HostRoute& route = parsed.route;
    if (isDriveForm(path)) {
        auto folder = drives.hostFolder(path[0]);
        if (!folder) {
            parsed.result = {FsStatus::NotFound,
                             "drive " + std::string(path.substr(0, 2)) + " is not mapped"};
            return parsed;
        }
        route.base = *folder;
        appendNames(path.substr(2), 0, route.components);
    } else {
        route.base = "/";
        if (!isSeparator(path.front()))
            appendNames(currentFolder, 0, route.components);
        appendNames(path, 0, route.components);
    }
    if (hostLength(route) >= PATH_MAX)
        parsed.result = {FsStatus::InvalidName, "path too long"};
    return parsed;
}

} // namespace brisko::platform
