#pragma once

#include "platform/FileSystem.h"
#include "ports/Operator.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brisko::engine {

// Per drive: the free bytes when first met, plus what planned deletions free, minus what
// planned copies use, and the lowest value that balance reached.
class FreeSpaceProjection {
public:
    struct Entry {
        std::string drive = "C:"; // upper-cased, as drive_path::driveKey gives it
        std::int64_t projected = 0;
        std::int64_t lowest = 0;
    };

    explicit FreeSpaceProjection(platform::FileSystem& fileSystem) : fileSystem_(fileSystem) {}

    // Credits (adds) or debits (subtracts) bytes on the drive of a path ("C:\X", "\\NAS\B");
    // a drive first met takes its free bytes now (none when it cannot be queried).
    void adjust(std::string_view path, std::int64_t bytes, bool credit);
    // The drives whose projected free space is below zero, in order of first use.
    std::vector<ShortDrive> shortDrives() const;
    const std::vector<Entry>& entries() const { return entries_; }
    void clear() { entries_.clear(); }

private:
    platform::FileSystem& fileSystem_;
    std::vector<Entry> entries_;
};

} // namespace brisko::engine
