#pragma once

#include "engine/Plan.h"
#include "platform/FileSystem.h"

#include <string>
#include <vector>

namespace brisko::run {

// An entry inside a folder to delete that is not what the scan saw: it stays.
struct KeptEntry {
    std::string path;
    bool added = false; // not there at the scan (otherwise changed since)
};

// What deleting a folder tree came to.
struct TreeDeletion {
    bool deleted = false;        // the folder itself is gone
    std::vector<KeptEntry> kept; // entries added or changed since the scan, left in place
};

// Deletes a planned folder with what the scan saw in it (folder.contents), read-only and hidden
// files and read-only folders included, without asking. An entry added or changed since the
// scan is kept, and so is every folder that holds it; a new folder is kept whole. Entries that
// could not be deleted (or that a listing passes over, such as links to folders) keep their
// folders in place too.
TreeDeletion deleteFolderTree(platform::FileSystem& fileSystem, const engine::PathAction& folder);

} // namespace brisko::run
