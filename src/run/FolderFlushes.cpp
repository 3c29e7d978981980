#include "run/FolderFlushes.h"

#include "run/TempCopier.h"

namespace brisko::run {

std::vector<FolderFlushes::Unflushed> FolderFlushes::copied(const engine::CopyAction& action,
                                                            bool reportIfUnflushed) {
    std::vector<Unflushed> unflushed;
    if (action.targetFolder != folder_)
        unflushed = finish();
    folder_ = action.targetFolder;
    pending_ = true;
    if (reportIfUnflushed)
        waiting_.push_back(&action);
    return unflushed;
}

std::vector<FolderFlushes::Unflushed> FolderFlushes::finish() {
    std::vector<Unflushed> unflushed;
    if (pending_) {
        const platform::FsResult flushed = fileSystem_.flushFolder(folder_);
        if (!flushed.ok())
            for (const engine::CopyAction* action : waiting_)
                unflushed.push_back({action, failureReason(flushed)});
    }
    waiting_.clear();
    folder_.clear();
    pending_ = false;
    return unflushed;
}

} // namespace brisko::run
