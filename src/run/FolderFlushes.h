#pragma once

#include "engine/Plan.h"
#include "platform/FileSystem.h"

#include <string>
#include <vector>

namespace brisko::run {

// Puts the names of finished copies on the disk, one flush per target folder. A copy's data is
// flushed before it takes its real name, so the rename itself never shows a half-written file;
// flushing the folder makes the new name lasting. Copies arrive folder by folder, so the folder
// is flushed once its last copy is in place rather than after every file.
class FolderFlushes {
public:
    // A copy that failed to be made lasting: its folder's flush failed with reason.
    struct Unflushed {
        const engine::CopyAction* action;
        std::string reason;
    };

    explicit FolderFlushes(platform::FileSystem& fileSystem) : fileSystem_(fileSystem) {}

    // Notes a copy now in place; flushes the previous folder when this one is another. A copy
    // already reported as failed (its verification failed) is not reported again.
    std::vector<Unflushed> copied(const engine::CopyAction& action, bool reportIfUnflushed);
    // Flushes the folder still waiting.
    std::vector<Unflushed> finish();

private:
    platform::FileSystem& fileSystem_;
    std::string folder_;
    bool pending_ = false;
    std::vector<const engine::CopyAction*> waiting_;
};

} // namespace brisko::run
