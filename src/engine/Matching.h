#pragma once

#include "script/FileSpecs.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace brisko::engine {

// One part of a name (base or extension) against one part of a mask, both in upper case:
// '?' passes any character, '*' matches the rest; an empty name part matches any mask part.
bool partMatch(std::string_view namePart, std::string_view maskPart);

// A file name against a mask, base and extension separately. A mask whose extension is given
// and is not "*" takes only names with an extension (*.TMP takes neither README nor .BASHRC);
// "*" takes only names without an extension, "*.*" every name, NAME.* NAME with or without
// an extension; ABC* does not take ABC.
bool maskMatch(std::string_view name, std::string_view mask);

// Whether a file name has the shape of a backup: a name, a '.' and one of the backup
// extensions in effect as its last extension (DATA.DB1, REPORT.ODT.DB1; not CHANGES.DB1.GZ).
bool isBackupName(const script::FileSpecTables& tables, std::string_view name);

// Whether an entry named name in folder is left out by the exclusion entries in effect;
// sourceRoot is the full path of the pass's source tree. Paths compare without regard to case.
// Backup entries take backup names only (see isBackupName).
bool isExcluded(const script::FileSpecTables& tables, std::string_view name,
                std::string_view folder, bool isFolder, std::string_view sourceRoot);

// The FileSpec records' masks, upper-cased and taken apart once for the many names of a scan.
class FileSpecMatcher {
public:
    explicit FileSpecMatcher(const script::FileSpecTables& tables);

    // The record that applies to a file name: the newest whose mask matches, else 0.
    std::size_t find(std::string_view name) const;

private:
    struct MaskParts {
        std::string base;
        std::string extension;
    };
    std::vector<MaskParts> masks_;
};

// The FileSpec record that applies to a file name: the newest whose mask matches, else 0.
std::size_t fileSpecFor(const script::FileSpecTables& tables, std::string_view name);

} // namespace brisko::engine
