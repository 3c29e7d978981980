#pragma once

#include "engine/Plan.h"
#include "run/CopyProgress.h"
#include "run/FolderFlushes.h"
#include "run/TempCopier.h"
#include "script/SessionSettings.h"

#include <string>
#include <vector>

namespace brisko::run {

class RunContext;

// Carries out the planned copies. Each copy is written into a temporary file in the target
// folder; only when that file holds the whole copy, on the disk, are the target's backups
// rotated and the old target replaced, so a copy that fails or is stopped leaves the target
// and its backups as they were.
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
    Attempt copyAndReplace(const engine::CopyAction& action);
    Attempt askAboutFreeSpace(const engine::CopyAction& action);
    // Counts the copy, verifies it when asked and shows its outcome; false when it failed.
    bool reportCopied(const engine::CopyAction& action);
    // Copies in place whose folder could not be flushed are not known to be on the disk: red.
    void reportUnflushed(const std::vector<FolderFlushes::Unflushed>& unflushed);
    bool verify(const engine::CopyAction& action);
    void writeOutcome(const engine::CopyAction& action, const std::string& text, RowColour colour);

    RunContext& context_;
    CopyProgress progress_;
    TempCopier tempCopier_;
    FolderFlushes flushes_;
    script::SessionSettings verifySettings_; // the settings the comparison's engine sees
};

} // namespace brisko::run
