#include "run/BackupChain.h"

namespace brisko::run {

namespace {

// Something is there, or the name cannot be looked at (then it is not taken as free either).
bool taken(platform::FileSystem& fileSystem, const std::string& path) {
    return fileSystem.stat(path).result.status != platform::FsStatus::NotFound;
}

} // namespace

BackupChain::BackupChain(std::string_view targetFolder, std::string_view name,
                         std::string_view backupList, bool takeOverEarlier)
    : names_(engine::backupChainNames(targetFolder, name, backupList, takeOverEarlier)) {}

void BackupChain::rotate(platform::FileSystem& fileSystem) const {
    const std::vector<std::string>& from = names_.rotated();
    std::size_t used = 0;
    while (used < from.size() && taken(fileSystem, from[used]))
        ++used;
    for (std::size_t level = used; level-- > 0;) {
        const std::string& path = from[level];
        if (level + 1 == from.size()) {
            // The oldest backup goes; failures leave the chain as it is at this level.
            fileSystem.clearAttributes(path);
            fileSystem.removeFile(path);
            continue;
        }
        const std::string& next = names_.paths[level + 1];
        if (taken(fileSystem, next))
            continue; // a rename would overwrite what is there
        fileSystem.rename(path, next);
    }
}

bool BackupChain::firstIsTarget(platform::FileSystem& fileSystem,
                                const std::string& targetPath) const {
    if (empty())
        return false;
    const auto first = fileSystem.identityOf(firstPath());
    return first && first == fileSystem.identityOf(targetPath);
}

} // namespace brisko::run
