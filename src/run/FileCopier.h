#pragma once

#include "engine/Plan.h"
#include "run/CopyProgress.h"
#include "run/FolderFlushes.h"
#include "run/ScannedState.h"
#include "run/TempCopier.h"
#include "script/SessionSettings.h"

#include <string>
#include <vector>

namespace brisko::run {

class RunContext;

// Carries out the planned copies. Each copy is written into a temporary file in the target
// folder; only when that file holds the whole copy, on the disk (and compared with its source
// when asked), are the target's backups rotated and the old target replaced, so a copy that
// fails or is stopped leaves the target and its backups as they were.
class FileCopier {
public:
    explicit FileCopier(RunContext& context);

    // Every planned copy in list order, until an abort is requested.
    void copyPendingFiles();
    void copyOneFile(const engine::CopyAction& action);

private:
    // What one attempt came to: copied, or the red outcome that says why not (none when the
    // operator stopped the run or skipped the file).
    struct Attempt {
        bool copied = false;
        std::string failure;
    };

    void showFile(const engine::CopyAction& action);
    bool targetsOwnExecutable(const engine::CopyAction& action);
    void refuseOwnExecutable(const engine::CopyAction& action);
    Attempt copyWithinFreeSpace(const engine::CopyAction& action);
    // expectedTarget: what must be at the target's name when the copy takes it.
    Attempt copyAndReplace(const engine::CopyAction& action, const ScannedEntry& expectedTarget);
    // A symbolic link: made under the temporary name, then renamed over the target.
    Attempt copyLink(const engine::CopyAction& action);
    // Gives a complete temporary copy the target's name, rotating the backups, when the
    // temporary file is still this run's and the target still as the scan saw it.
    Attempt putInPlace(const engine::CopyAction& action, TemporaryFile& temporary,
                       const ScannedEntry& expectedTarget, bool sourceReadOnly);
    Attempt askAboutFreeSpace(const engine::CopyAction& action);
    // Counts the copy and shows its outcome.
    void reportCopied(const engine::CopyAction& action);
    // Copies in place whose folder could not be flushed are not known to be on the disk: red.
    void reportUnflushed(const std::vector<FolderFlushes::Unflushed>& unflushed);
    // Compares the copy at copyPath with the action's source, byte by byte from the disk.
    bool verify(const engine::CopyAction& action, const std::string& copyPath);
    void writeOutcome(const engine::CopyAction& action, const std::string& text, RowColour colour);

    RunContext& context_;
    CopyProgress progress_;
    TempCopier tempCopier_;
    FolderFlushes flushes_;
    script::SessionSettings verifySettings_; // the settings the comparison's engine sees
};

} // namespace brisko::run
