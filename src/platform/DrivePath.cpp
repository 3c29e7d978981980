#include "platform/DrivePath.h"

#include "platform/Unicode.h"

#include <algorithm>

namespace brisko::platform::drive_path {

namespace {

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The length of the share part of a share-form path; 0 for any other path.
std::size_t shareLength(std::string_view path) {
    if (!path.starts_with("\\\\"))
        return 0;
    const std::size_t server = path.find(kSeparator, 2);
    if (server == std::string_view::npos || server == 2)
        return 0;
    const std::size_t share = std::min(path.find(kSeparator, server + 1), path.size());
    return share > server + 1 ? share : 0;
}

} // namespace

bool isShareForm(std::string_view path) {
    return shareLength(path) != 0;
}

bool hasDrive(std::string_view path) {
    return isDriveForm(path) || isShareForm(path);
}

bool isDriveForm(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' && isAsciiLetter(path[0]);
}

char driveLetter(std::string_view path) {
    if (!isDriveForm(path))
        return '\0';
    const char letter = path[0];
    return (letter >= 'a' && letter <= 'z') ? static_cast<char>(letter - 'a' + 'A') : letter;
}

std::string_view drive(std::string_view path) {
    return isDriveForm(path) ? path.substr(0, 2) : std::string_view();
}

std::string_view driveOrShare(std::string_view path) {
    if (isDriveForm(path))
        return path.substr(0, 2);
    return path.substr(0, shareLength(path));
}

std::string driveKey(std::string_view path) {
    return toUpper(driveOrShare(path));
}

std::string join(std::string_view folder, std::string_view name) {
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path.append(folder).append(1, kSeparator).append(name);
    return path;
}

// A path is never split inside its share.
std::string_view parent(std::string_view path) {
    const std::size_t separator = path.rfind(kSeparator);
    return separator == std::string_view::npos || separator < shareLength(path)
               ? path
               : path.substr(0, separator);
}

std::string_view lastName(std::string_view path) {
    const std::size_t separator = path.rfind(kSeparator);
    return separator == std::string_view::npos || separator < shareLength(path)
               ? path
               : path.substr(separator + 1);
}

bool isWithin(std::string_view path, std::string_view folder) {
    // Compared upper-cased as wholes: upper-casing may change the length of a name.
    const std::string upperPath = toUpper(path);
    const std::string upperFolder = toUpper(folder);
    if (!upperPath.starts_with(upperFolder))
        return false;
    return upperPath.size() == upperFolder.size() || upperPath[upperFolder.size()] == kSeparator;
}

} // namespace brisko::platform::drive_path
