#pragma once

#include <string>
#include <string_view>

namespace brisko::platform {

// Paths as scripts write them: a drive letter, a colon, then names joined by '\'
// ("C:\DATA\SUB"). Every rule about taking such a path apart or putting it together lives here.
namespace drive_path {

inline constexpr char kSeparator = '\\';

// Whether a path begins with a drive letter and a colon ("C:", "c:\DATA", "C:NAME").
bool isDriveForm(std::string_view path);

// The upper-cased drive letter of a drive-form path; '\0' for any other path.
char driveLetter(std::string_view path);

// The drive part as written: the letter and the colon ("C:"); empty for any other path.
std::string_view drive(std::string_view path);

// The part of a path that names its drive, as written: the letter and the colon ("c:") of a
// drive-form path, "\\SERVER\SHARE" of a share; empty for any other path.
std::string_view driveOrShare(std::string_view path);

// folder + "\" + name.
std::string join(std::string_view folder, std::string_view name);

// Everything before the last '\' (the path itself when it has none).
std::string_view parent(std::string_view path);

// The name after the last '\' (the whole path when it has none).
std::string_view lastName(std::string_view path);

// Whether path is folder itself or lies below it, ignoring case.
bool isWithin(std::string_view path, std::string_view folder);

} // namespace drive_path
} // namespace brisko::platform
