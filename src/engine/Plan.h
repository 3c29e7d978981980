#pragma once

#include "engine/BlockList.h"
#include "engine/CopyTargetIndex.h"
#include "engine/SharedText.h"
#include "platform/DosStamp.h"
#include "platform/DrivePath.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace brisko::engine {

// A planned copy, as the scan listed it.
struct CopyAction {
    // Shared with the other copies of the same folders: a plan of a million copies holds each
    // folder's texts once.
    SharedText sourceFolder;
    SharedText targetFolder;
    SharedText backupList; // the Backup value of the file's FileSpec
    std::string name;      // spelled as on the side it copies from
    // A symbolic link, reproduced as a link holding linkTarget (the text the scan saw).
    SharedText linkTarget;
    std::int64_t sourceSize = 0;
    std::int64_t targetSize = 0; // 0 when the target is missing
    // What the scan saw at the target: nothing, or an entry of targetSize bytes stamped
    // targetStamp. The copy goes ahead only while the target is still as seen.
    platform::DosStamp targetStamp = 0;
    int session = 0; // number of the Execute row that listed it, from 1
    bool targetExisted = false;
    bool link = false;
    bool leftToRight = true;
    bool binaryFailed = false;
    // The target's backups lie under the names an earlier version gave them and are its own:
    // the copy's rotation moves them to the target's own backup names.
    bool takesOverEarlierBackups = false;
    // Other names in its folders differ from this one only in case: source and target are
    // matched by this exact spelling, never by case.
    bool exactName = false;

    std::string sourcePath() const { return platform::drive_path::join(sourceFolder, name); }
    std::string targetPath() const { return platform::drive_path::join(targetFolder, name); }
};

// An entry inside a folder to delete, as the planning walk saw it: the folder's deletion takes
// only what is still so.
struct SeenEntry {
    std::string relativePath; // below the folder, names joined by backslashes
    bool folder = false;
    bool link = false;
    std::int64_t size = 0;
    platform::DosStamp stamp = 0;
    std::string linkTarget; // links only
};

// A planned deletion of a file, or creation or deletion of a folder.
struct PathAction {
    std::string path;
    std::int64_t size = 0; // files to delete only
    // Files to delete: the stamp the scan saw (deleted only while still as seen), and whether
    // the entry is a symbolic link.
    platform::DosStamp stamp = 0;
    bool link = false;
    // Files to delete: matched by this exact spelling, never by case (a name with case twins).
    bool exactName = false;
    // Folders to create: the path in the letter case to create it in (empty: path itself).
    std::string spelling;
    // Folders to delete: every entry inside, as seen while planning (the walk does not enter
    // subfolders listed for deletion on their own).
    std::vector<SeenEntry> contents;
};

// The blue status of a planned copy or file deletion in the history.
inline const char* plannedStatus(const CopyAction& copy) {
    return copy.link ? "Link to be copied" : "File to be copied";
}
inline const char* plannedDeletionStatus(bool link) {
    return link ? "Link to be deleted" : "File to be deleted";
}

// The plan of a run: four lists, each in the order of listing, with exact-path indexes so that
// the membership tests stay fast on plans of 100,000 entries. The lists are read as they
// stand; they change only through the operations below, which keep the indexes true.
class Plan {
public:
    const std::vector<PathAction>& filesToDelete() const { return filesToDelete_; }
    const std::vector<PathAction>& foldersToCreate() const { return foldersToCreate_; }
    const std::vector<PathAction>& foldersToDelete() const { return foldersToDelete_; }
    // Copies never move once listed: a reference to one stays good while the plan grows.
    const BlockList<CopyAction>& filesToCopy() const { return filesToCopy_; }
    // The place of a copy in filesToCopy(); copy must be one of its entries.
    std::size_t copyIndex(const CopyAction& copy) const { return filesToCopy_.indexOf(copy); }

    // Each adds the entry unless the list holds it already (by exact path); true when added.
    bool addFileToDelete(const std::string& path, std::int64_t size);
    bool addFileToDelete(PathAction file);
    bool addFolderToCreate(const std::string& path);
    bool addFolderToCreate(PathAction folder);
    bool addFolderToDelete(const std::string& path);
    bool addFolderToDelete(PathAction folder);
    // Adds a copy unless its target path is already the target of a listed copy.
    bool addCopy(CopyAction copy);

    bool hasFileToDelete(std::string_view path) const;
    bool hasFolderToCreate(std::string_view path) const;
    bool hasFolderToDelete(std::string_view path) const;
    bool isCopyTarget(std::string_view path) const;

    bool empty() const;
    void clear();

    // Bytes listed for copying per session number (entry 0 unused).
    const std::vector<std::int64_t>& sessionBytes() const { return sessionBytes_; }
    // Counts bytes listed for copying in a session (a negative number counts as 0).
    void addSessionBytes(int session, std::int64_t bytes);
    // Gives every session up to the given number its entry, 0 until bytes are listed.
    void openSessions(int lastSession);
    std::int64_t totalBytes() const;

private:
    // Exact-string hashing that also takes string views, so lookups need no copy.
    struct PathHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view path) const noexcept {
            return std::hash<std::string_view>{}(path);
        }
    };
    using PathIndex = std::unordered_set<std::string, PathHash, std::equal_to<>>;

    std::vector<PathAction> filesToDelete_;
    std::vector<PathAction> foldersToCreate_;
    std::vector<PathAction> foldersToDelete_;
    BlockList<CopyAction> filesToCopy_;
    std::vector<std::int64_t> sessionBytes_{0};
    PathIndex fileDeleteIndex_;
    PathIndex folderCreateIndex_;
    PathIndex folderDeleteIndex_;
    CopyTargetIndex copyTargetIndex_;
};

} // namespace brisko::engine
