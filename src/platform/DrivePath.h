#pragma once

#include <string>
#include <string_view>

namespace brisko::platform {

// Paths as scripts write them: a drive letter, a colon, then names joined by '\'
// ("C:\DATA\SUB"), or a share in the drive's place ("\\SERVER\SHARE\DATA"). Every rule about
// taking such a path apart or putting it together lives here.
namespace drive_path {

inline constexpr char kSeparator = '\\';

// Whether a path begins with a drive letter and a colon ("C:", "c:\DATA", "C:NAME").
bool isDriveForm(std::string_view path);

// Whether a path begins with a share: two backslashes, a server name, '\' and a share name
// ("\\NAS\BACKUP", "\\nas\backup\DATA").
bool isShareForm(std::string_view path);

// Whether a path names its drive: drive form or share form.
bool hasDrive(std::string_view path);

// The upper-cased drive letter of a drive-form path; '\0' for any other path.
char driveLetter(std::string_view path);

// The drive part as written: the letter and the colon ("C:"); empty for any other path.
std::string_view drive(std::string_view path);

// The part of a path that names its drive, as written: the letter and the colon ("c:") of a
// drive-form path, "\\SERVER\SHARE" of a share; empty for any other path.
std::string_view driveOrShare(std::string_view path);

// The drive part upper-cased ("C:", "\\NAS\BACKUP"): one key for every spelling of a drive.
std::string driveKey(std::string_view path);

// folder + "\" + name.
std::string join(std::string_view folder, std::string_view name);

// Everything before the last '\' (the path itself when it has none, or when it is a share alone).
std::string_view parent(std::string_view path);

// The name after the last '\' (the whole path when it has none, or when it is a share alone).
std::string_view lastName(std::string_view path);

// Whether path is folder itself or lies below it, ignoring case.
bool isWithin(std::string_view path, std::string_view folder);

} // namespace drive_path
} // namespace brisko::platform
