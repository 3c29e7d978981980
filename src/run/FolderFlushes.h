#pragma once

#include "engine/Plan.h"
#include "platform/FileSystem.h"

#include <string>
#include <vector>

namespace brisko::run {

// Puts the names of one target folder's finished copies on the disk with one flush. A copy's
// data is flushed before it takes its real name, so the rename itself never shows a
// half-written file; flushing the folder makes the new names lasting. The folder is flushed
// once its last copy is in place rather than after every file.
class FolderFlushes {
public:
    // A copy that failed to be made lasting: its folder's flush failed with reason.
    struct Unflushed {
        const engine::CopyAction* action;
        std::string reason;
    };

    explicit FolderFlushes(platform::FileSystem& fileSystem) : fileSystem_(fileSystem) {}

    // Notes a copy of this folder now in place.
    void copied(const engine::CopyAction& action) { waiting_.push_back(&action); }
    // Flushes the folder when a copy is in place there; the copies noted are not known to be
    // lasting when that fails.
    std::vector<Unflushed> finish();

private:
    platform::FileSystem& fileSystem_;
    std::vector<const engine::CopyAction*> waiting_;
};

} // namespace brisko::run
