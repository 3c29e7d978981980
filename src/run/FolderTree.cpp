#include "run/FolderTree.h"

#include "platform/DrivePath.h"

namespace brisko::run {

bool deleteFolderTree(platform::FileSystem& fileSystem, const std::string& path) {
    // A read-only folder would keep its entries on POSIX: it is made writable first.
    fileSystem.clearAttributes(path);
    const platform::Listing listing = fileSystem.list(path);
    for (const platform::DirEntry& entry : listing.entries) {
        const std::string entryPath = platform::drive_path::join(path, entry.name);
        if (entry.attributes.directory) {
            deleteFolderTree(fileSystem, entryPath);
        } else {
            fileSystem.clearAttributes(entryPath);
            fileSystem.removeFile(entryPath);
        }
    }
    return fileSystem.removeFolder(path).ok();
}

} // namespace brisko::run
