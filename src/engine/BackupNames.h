#pragma once

#include "platform/FileSystem.h"
#include "script/FileSpecs.h"

#include <string>
#include <string_view>
#include <vector>

namespace brisko::engine {

// The extensions of a backup list ("DB1, DB2;DB3"), blanks trimmed, empty items dropped.
std::vector<std::string> backupExtensions(std::string_view backupList);

// The backup path of a file for one extension: the whole name, a '.', the extension, so that
// no two files of a folder share a backup name. DATA.DBF -> DATA.DBF.DB1; README -> README.DB1.
std::string backupPath(std::string_view folder, std::string_view name, std::string_view extension);

// The backup path earlier versions gave: the name up to its first '.' (a leading '.' belongs
// to the name), a '.', the extension. ARCHIVE.2020.DBF -> ARCHIVE.DB1; .PROFILE -> .PROFILE.DB1.
std::string earlierBackupPath(std::string_view folder, std::string_view name,
                              std::string_view extension);

// Where the backups of one file lie, newest first: one path for each extension of its list.
struct BackupChainNames {
    std::vector<std::string> extensions;
    std::vector<std::string> paths;
    // A chain that an earlier version left under its names, taken over by this file: its
    // backups move to paths at the next rotation. Empty when there is none to take over.
    std::vector<std::string> earlier;

    // The backups a rotation moves one level down (and the last of which it deletes).
    const std::vector<std::string>& rotated() const { return earlier.empty() ? paths : earlier; }
};
BackupChainNames backupChainNames(std::string_view folder, std::string_view name,
                                  std::string_view backupList, bool takeOverEarlier);

// Whether the backups an earlier version kept of a file are its own to take over: one of
// them is there, the file has no backup under its own names yet, and no other file of the
// folder could have made them (another name with the same base and no extension, or whose
// FileSpec keeps backups of one of the same extensions). A chain that might be another
// file's is left as it is.
bool ownsEarlierBackups(platform::FileSystem& fileSystem, const script::FileSpecTables& tables,
                        std::string_view folder, std::string_view name,
                        std::string_view backupList);

} // namespace brisko::engine
