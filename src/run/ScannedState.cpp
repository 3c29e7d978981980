#include "run/ScannedState.h"

namespace brisko::run {

ScannedEntry scannedTarget(const engine::CopyAction& copy) {
    return {copy.targetExisted, copy.link, copy.targetSize, copy.targetStamp};
}

ScannedEntry scannedFile(const engine::PathAction& file) {
    return {true, file.link, file.size, file.stamp};
}

bool stillAsScanned(const platform::PathInfo& now, const ScannedEntry& seen) {
    if (now.result.status == platform::FsStatus::NotFound)
        return !seen.existed;
    if (!now.result.ok() || !seen.existed)
        return false;
    const platform::FileAttributes& kind = now.entry.attributes;
    return !kind.directory && kind.link == seen.link && now.entry.size == seen.size &&
           now.entry.stamp == seen.stamp;
}

} // namespace brisko::run
