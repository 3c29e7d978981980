#include "platform/DrivePath.h"

#include "platform/Unicode.h"

namespace brisko::platform::drive_path {

namespace {

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

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
    if (!path.starts_with("\\\\"))
        return {};
    const std::size_t server = path.find(kSeparator, 2);
    if (server == std::string_view::npos)
        return path;
    return path.substr(0, path.find(kSeparator, server + 1));
}

std::string join(std::string_view folder, std::string_view name) {
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path.append(folder).append(1, kSeparator).append(name);
    return path;
}

std::string_view parent(std::string_view path) {
    const std::size_t separator = path.rfind(kSeparator);
    return separator == std::string_view::npos ? path : path.substr(0, separator);
}

std::string_view lastName(std::string_view path) {
    const std::size_t separator = path.rfind(kSeparator);
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
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
