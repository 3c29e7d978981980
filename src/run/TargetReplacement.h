#pragma once

#include "platform/FileSystem.h"
#include "run/BackupChain.h"

#include <string>

namespace brisko::run {

// Whether the complete copy took the target's name, and in red why not.
struct ReplacementResult {
    bool replaced = false;
    std::string failure;
};

// Gives a complete temporary copy the target's name. The old target is replaced in one step,
// so there is never a moment without a file of that name; with a backup chain it is first
// kept as the first backup by a second name (renamed only where the file system has no
// links). When the copy cannot take the name, the old target is put back where it was.
// targetThere: something is at the target's name (as a look just before found). keptAlready:
// the old target lies under its first backup name already, and only the rename is left.
ReplacementResult replaceTarget(platform::FileSystem& fileSystem, const std::string& temporary,
                                const std::string& target, bool targetThere,
                                const BackupChain& backups, bool keptAlready = false);

} // namespace brisko::run
