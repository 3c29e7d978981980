#include "engine/FreeSpaceProjection.h"

#include "platform/DrivePath.h"

#include <algorithm>

namespace brisko::engine {

void FreeSpaceProjection::adjust(std::string_view path, std::int64_t bytes, bool credit) {
    const std::string key = platform::drive_path::driveKey(path);
    auto found = std::find_if(entries_.begin(), entries_.end(),
                              [&key](const Entry& entry) { return entry.drive == key; });
    if (found == entries_.end()) {
        // A drive that cannot be queried has no free space.
        const std::int64_t freeNow = fileSystem_.freeBytes(key).value_or(0);
        entries_.push_back(Entry{key, freeNow, 0});
        found = std::prev(entries_.end());
    }
    if (credit) {
        found->projected += bytes;
        return;
    }
    found->projected -= bytes;
    found->lowest = std::min(found->lowest, found->projected);
}

std::vector<ShortDrive> FreeSpaceProjection::shortDrives() const {
    std::vector<ShortDrive> drives;
    for (const Entry& entry : entries_) {
        if (entry.projected < 0)
            drives.push_back(ShortDrive{entry.drive, entry.lowest});
    }
    return drives;
}

} // namespace brisko::engine
