#include "run/BackupChain.h"

#include "engine/BackupNames.h"
#include "platform/DrivePath.h"
#include "platform/Unicode.h"

namespace brisko::run {

namespace {

// Something is there, or the name cannot be looked at (then it is not taken as free either).
bool taken(platform::FileSystem& fileSystem, const std::string& path) {
    return fileSystem.stat(path).result.status != platform::FsStatus::NotFound;
}

} // namespace

BackupChain::BackupChain(std::string_view targetFolder, std::string_view name,
                         std::string_view backupList) {
    const std::string targetPath = platform::drive_path::join(targetFolder, name);
    for (std::string& extension : engine::backupExtensions(backupList)) {
        std::string path = engine::backupPath(targetFolder, name, extension);
        // DATA.DB1 with "DB1,DB2" would be its own backup: that level is left out.
        if (platform::equalsIgnoreCase(path, targetPath))
            continue;
        paths_.push_back(std::move(path));
        extensions_.push_back(std::move(extension));
    }
}

void BackupChain::rotate(platform::FileSystem& fileSystem) const {
    for (std::size_t level = paths_.size(); level-- > 0;) {
        const std::string& path = paths_[level];
        if (!taken(fileSystem, path))
            continue;
        if (level + 1 == paths_.size()) {
            // The oldest backup goes; failures leave the chain as it is at this level.
            fileSystem.clearAttributes(path);
            fileSystem.removeFile(path);
            continue;
        }
        const std::string& next = paths_[level + 1];
        if (taken(fileSystem, next))
            continue; // a rename would overwrite what is there
        fileSystem.rename(path, next);
    }
}

} // namespace brisko::run
