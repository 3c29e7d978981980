#pragma once

#include "engine/Plan.h"
#include "platform/FileSystem.h"

#include <cstdint>
#include <string>

namespace brisko::run {

// What the scan saw under one name: nothing, or an entry of this kind, size and stamp.
struct ScannedEntry {
    bool existed = false;
    bool link = false;
    std::int64_t size = 0;
    platform::DosStamp stamp = 0;
};

ScannedEntry scannedTarget(const engine::CopyAction& copy);
ScannedEntry scannedFile(const engine::PathAction& file);

// Whether what a look at the disk found is still what the scan saw. An entry that cannot be
// looked at is not known to be unchanged, so it never passes.
bool stillAsScanned(const platform::PathInfo& now, const ScannedEntry& seen);

} // namespace brisko::run
