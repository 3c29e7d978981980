#include "run/FolderTree.h"

#include "platform/DrivePath.h"

#include <string_view>
#include <unordered_map>

namespace brisko::run {

namespace {

// Whether an entry on disk is still what the planning walk saw under its name. A folder's own
// stamp moves with its entries, which are checked one by one instead.
bool stillAsSeen(const platform::DirEntry& now, const engine::SeenEntry& seen) {
    const platform::FileAttributes& kind = now.attributes;
    if (kind.link != seen.link)
        return false;
    if (seen.link)
        return now.linkTarget == seen.linkTarget && now.stamp == seen.stamp;
    if (seen.folder)
        return kind.directory;
    return !kind.directory && now.size == seen.size && now.stamp == seen.stamp;
}

class TreeDeleter {
public:
    TreeDeleter(platform::FileSystem& fileSystem, const engine::PathAction& folder)
        : fileSystem_(fileSystem) {
        seen_.reserve(folder.contents.size());
        for (const engine::SeenEntry& entry : folder.contents)
            seen_.emplace(entry.relativePath, &entry);
    }

    // Empties the folder of what is still as seen; true when the folder itself is gone then.
    bool deleteFolder(const std::string& path, const std::string& relative) {
        // A read-only folder would keep its entries on POSIX: it is made writable first.
        fileSystem_.clearAttributes(path);
        const platform::Listing listing = fileSystem_.list(path);
        for (const platform::DirEntry& entry : listing.entries) {
            std::string entryPath = platform::drive_path::join(path, entry.name);
            const std::string entryRelative =
                relative.empty() ? entry.name : platform::drive_path::join(relative, entry.name);
            const auto seen = seen_.find(entryRelative);
            if (seen == seen_.end()) {
                kept_.push_back({std::move(entryPath), true});
            } else if (!stillAsSeen(entry, *seen->second)) {
                kept_.push_back({std::move(entryPath), false});
            } else if (seen->second->folder) {
                deleteFolder(entryPath, entryRelative);
            } else {
                fileSystem_.clearAttributes(entryPath);
                fileSystem_.removeFile(entryPath);
            }
        }
        return fileSystem_.removeFolder(path).ok();
    }

    std::vector<KeptEntry> takeKept() { return std::move(kept_); }

private:
    platform::FileSystem& fileSystem_;
    std::unordered_map<std::string_view, const engine::SeenEntry*> seen_;
    std::vector<KeptEntry> kept_;
};

} // namespace

TreeDeletion deleteFolderTree(platform::FileSystem& fileSystem, const engine::PathAction& folder) {
    TreeDeleter deleter(fileSystem, folder);
    TreeDeletion deletion;
    deletion.deleted = deleter.deleteFolder(folder.path, {});
    deletion.kept = deleter.takeKept();
    return deletion;
}

} // namespace brisko::run
