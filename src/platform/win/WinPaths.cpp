#include "platform/win/WinPaths.h"

#include "platform/DrivePath.h"
#include "platform/PathNames.h"
#include "platform/Refusals.h"
#include "platform/win/WinText.h"

#include <vector>

namespace brisko::platform {

namespace {

constexpr std::string_view kLongPrefix = "\\\\?\\";
constexpr std::size_t kMaxPath = 32000; // the system's limit, with room for its own prefix

bool startsWithLongPrefix(std::string_view path) {
    return path.size() >= 4 && isPathSeparator(path[0]) && isPathSeparator(path[1]) &&
           path[2] == '?' && isPathSeparator(path[3]);
}

bool isShare(std::string_view path) {
    return path.size() > 2 && isPathSeparator(path[0]) && isPathSeparator(path[1]);
}

// A name that the system cannot hold, or that it would read as something else than a name
// (a stream after ':', a pattern with '*' or '?').
bool isForbiddenName(std::string_view name) {
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 32 ||
            std::string_view("<>:\"|?*").find(c) != std::string_view::npos)
            return true;
    }
    return false;
}

// The top of a path ("C:" or "\\SERVER\SHARE") and the names below it; false when the path has
// no top of its own.
bool splitTop(std::string_view path, std::string& top, std::vector<std::string>& names) {
    if (startsWithLongPrefix(path)) {
        path.remove_prefix(kLongPrefix.size());
        if (path.size() >= 4 && (path.substr(0, 4) == "UNC\\" || path.substr(0, 4) == "unc\\"))
            return splitTop("\\\\" + std::string(path.substr(4)), top, names);
    }
    if (drive_path::isDriveForm(path)) {
        top = std::string(1, drive_path::driveLetter(path)) + ":";
        appendPathNames(path.substr(2), 0, names);
        return true;
    }
    if (isShare(path)) {
        std::vector<std::string> parts;
        appendPathNames(path.substr(2), 0, parts);
        if (parts.size() < 2)
            return false;
        top = "\\\\" + parts[0] + "\\" + parts[1];
        appendPathNames(path.substr(2), 2, names);
        names.erase(names.begin(), names.begin() + 2);
        return true;
    }
    return false;
}

} // namespace

WinPath winPath(std::string_view path, std::string_view currentFolder) {
    WinPath parsed;
    if (path.empty()) {
        parsed.result = refusal::emptyPath();
        return parsed;
    }
    std::string top;
    std::vector<std::string> names;
    if (!splitTop(path, top, names)) {
        std::vector<std::string> currentNames;
        if (!splitTop(currentFolder, top, currentNames)) {
            parsed.result = {FsStatus::NotFound, "the current folder is not known"};
            return parsed;
        }
        if (!isPathSeparator(path.front()))
            names = std::move(currentNames);
        appendPathNames(path, 0, names);
    }
    parsed.display = top;
    for (const std::string& name : names) {
        if (isForbiddenName(name)) {
            parsed.result = {FsStatus::InvalidName, "invalid name " + name};
            return parsed;
        }
        parsed.display += "\\" + name;
    }
    parsed.root = names.empty();
    if (parsed.root)
        parsed.display += "\\";
    const std::string longForm = isShare(parsed.display)
                                     ? std::string(kLongPrefix) + "UNC" + parsed.display.substr(1)
                                     : std::string(kLongPrefix) + parsed.display;
    const std::optional<std::wstring> wide = wideFromUtf8(longForm);
    if (!wide) {
        parsed.result = {FsStatus::InvalidName, "not valid UTF-8"};
    } else if (wide->size() >= kMaxPath) {
        parsed.result = refusal::pathTooLong();
    } else {
        parsed.longPath = *wide;
    }
    return parsed;
}

std::wstring driveRoot(std::string_view drive) {
    const std::string_view top = drive_path::driveOrShare(drive);
    if (top.empty())
        return {};
    const WinPath root = winPath(top, {});
    return root.result.ok() ? root.longPath : std::wstring();
}

std::size_t longPathTopEnd(const std::wstring& longPath) {
    if (!longPath.starts_with(L"\\\\?\\UNC\\"))
        return 6;
    return longPath.find(L'\\', longPath.find(L'\\', 8) + 1);
}

std::wstring parentOfLongPath(const std::wstring& longPath) {
    const std::size_t slash = longPath.find_last_of(L'\\');
    if (slash == std::wstring::npos || slash + 1 == longPath.size())
        return longPath;
    std::wstring parent = longPath.substr(0, slash);
    if (parent.size() == 6 && parent[5] == L':') // "\\?\C:" is the drive's own folder
        parent += L'\\';
    return parent;
}

} // namespace brisko::platform
