#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace brisko::script {

enum class CompareRule { DateSize, Binary };
enum class MissingFileRule { Ask, Create, Delete };

// Per-mask file properties.
struct FileSpec {
    std::string mask;
    CompareRule compare = CompareRule::DateSize;
    std::string backup; // backup extensions separated by ',' or ';'
    MissingFileRule missingFile = MissingFileRule::Ask;
    bool process = true;

    bool operator==(const FileSpec&) const = default;
};

// A file mask or folder name ("NAME\", optionally "/NAME\") that scans leave out.
struct ExcludeEntry {
    std::string mask;
    bool inForce = false;
    std::string backupOf; // the FileSpec mask whose backup extension this is; empty otherwise

    bool operator==(const ExcludeEntry&) const = default;
};

// The name under which files are copied before they take their real name.
inline constexpr std::string_view kTempFileName = "$BRISKO$.$$$";

struct FileSpecTables {
    std::vector<FileSpec> fileSpecs;
    std::size_t currentFileSpec = 0;
    std::vector<ExcludeEntry> exclusions;

    // Back to the master record "*.*" and the temporary-file record, and no exclusions.
    void reset();
};

// Applies a FileSpec, Compare, Backup, MissingFile or Ignore row (key and value in upper case);
// any other key does nothing.
void applyFileSpecKey(FileSpecTables& tables, std::string_view key, std::string_view value);

// Applies an Exclude row (owner empty) or the extensions of a Backup row (owner = its mask).
void applyExclusions(FileSpecTables& tables, std::string_view list, std::string_view owner);

} // namespace brisko::script
