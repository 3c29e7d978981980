#include "run/FolderFlushes.h"

#include "run/CopyFailures.h"

namespace brisko::run {

std::vector<FolderFlushes::Unflushed> FolderFlushes::finish() {
    std::vector<Unflushed> unflushed;
    if (!waiting_.empty()) {
        const platform::FsResult flushed = fileSystem_.flushFolder(waiting_.front()->targetFolder);
        if (!flushed.ok())
            for (const engine::CopyAction* action : waiting_)
                unflushed.push_back({action, failureReason(flushed)});
    }
    waiting_.clear();
    return unflushed;
}

} // namespace brisko::run
