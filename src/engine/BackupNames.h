#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brisko::engine {

// The extensions of a backup list ("DB1, DB2;DB3"), blanks trimmed, empty items dropped.
std::vector<std::string> backupExtensions(std::string_view backupList);

// The backup path of a file for one extension: the name up to its first '.' (the whole name
// when it has none), a '.', the extension. ARCHIVE.2020.DBF -> ARCHIVE.DB1; README -> README.DB1.
// A leading '.' is part of the base: .PROFILE -> .PROFILE.DB1.
std::string backupPath(std::string_view folder, std::string_view name, std::string_view extension);

} // namespace brisko::engine
