#include "run/FileCopier.h"

#include "engine/BinaryCompare.h"
#include "platform/DrivePath.h"
#include "platform/Unicode.h"
#include "run/BackupChain.h"
#include "run/RunContext.h"
#include "run/ScannedState.h"
#include "run/TargetReplacement.h"
#include "run/TemporaryFile.h"

#include <filesystem>
#include <limits>

namespace brisko::run {

namespace {

constexpr const char* kTargetChanged = "Target changed since the scan - skipped";

// Free bytes of a folder's drive; a drive that cannot be queried has none.
std::int64_t freeBytesFor(platform::FileSystem& fileSystem, const std::string& folder) {
    const char letter = platform::drive_path::driveLetter(folder);
    if (letter == 0)
        return 0;
    return fileSystem.freeBytes(letter).value_or(0);
}

std::int64_t saturatingSum(std::int64_t a, std::int64_t b) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    return (b > 0 && a > kMax - b) ? kMax : a + b;
}

} // namespace

FileCopier::FileCopier(RunContext& context)
    : context_(context), progress_(context.display(), context.plan().totalBytes()),
      tempCopier_(context, progress_), flushes_(context.services().fileSystem),
      verifySettings_(context.settings()) {}

void FileCopier::copyPendingFiles() {
    const auto& copies = context_.plan().filesToCopy();
    if (copies.empty())
        return;
    RunStatus& status = context_.status();
    status.setCurrentFile("");
    context_.display().setCurrentFile("");
    context_.display().setTaskbarTitle(std::to_string(status.counter(Counter::UpFiles)) + "/" +
                                       std::to_string(status.counter(Counter::ToUpFiles)) +
                                       " Copied - " + context_.script().caption);
    for (const engine::CopyAction& action : copies) {
        if (context_.abortRequested())
            break;
        status.refresh(true);
        copyOneFile(action);
    }
    reportUnflushed(flushes_.finish());
}

void FileCopier::copyOneFile(const engine::CopyAction& action) {
    showFile(action);
    if (targetsOwnExecutable(action)) {
        refuseOwnExecutable(action);
        return;
    }
    Attempt attempt;
    if (action.link) {
        attempt = copyLink(action);
    } else {
        progress_.startFile(action.sourceSize);
        attempt = copyWithinFreeSpace(action);
        progress_.finishFile();
    }
    if (attempt.copied) {
        reportCopied(action);
        reportUnflushed(flushes_.copied(action, true));
        return;
    }
    context_.countFailure();
    if (!attempt.failure.empty())
        writeOutcome(action, attempt.failure, RowColour::Red);
}

void FileCopier::showFile(const engine::CopyAction& action) {
    const auto& messages = context_.settings().sessionMessages;
    const auto session = static_cast<std::size_t>(action.session);
    if (action.session > 0 && session < messages.size() && !messages[session].empty())
        context_.display().setMessageLine(messages[session]);
    if (action.leftToRight)
        context_.status().showFolders(action.sourceFolder, action.targetFolder);
    else
        context_.status().showFolders(action.targetFolder, action.sourceFolder);
    context_.display().setDirection(action.leftToRight, true);
}

bool FileCopier::targetsOwnExecutable(const engine::CopyAction& action) {
    const std::string& own = context_.ownExecutable();
    if (own.empty())
        return false;
    // Only a target under the program's own file name can replace that name; the cheap test of
    // the name spares a look at the disk for every other copy.
    if (!platform::equalsIgnoreCase(std::filesystem::path(own).filename().string(), action.name))
        return false;
    platform::FileSystem& fileSystem = context_.services().fileSystem;
    const auto target = fileSystem.identityOf(action.targetPath());
    if (target && target == fileSystem.identityOf(own))
        return true;
    return fileSystem.hostPath(action.targetPath()) == own;
}

void FileCopier::refuseOwnExecutable(const engine::CopyAction& action) {
    const Question notice{
        .details = StandardQuestion{
            .message = "Cannot update Brisko using Brisko\rcopy me manually\r From  " +
                       action.sourceFolder + "  to  " + action.targetFolder}};
    context_.services().operatorPort.ask(notice);
    context_.countFailure();
    writeOutcome(action, "Cannot update Brisko using Brisko", RowColour::Red);
}

FileCopier::Attempt FileCopier::copyWithinFreeSpace(const engine::CopyAction& action) {
    platform::FileSystem& fileSystem = context_.filesFor(action.exactName);
    const std::int64_t freeBytes = freeBytesFor(fileSystem, action.targetFolder);
    if (action.sourceSize < freeBytes)
        return copyAndReplace(action, scannedTarget(action));

    // Too little space beside the old target: with no backup to keep, the old target makes
    // room when that is enough.
    const std::string targetPath = action.targetPath();
    const platform::PathInfo target = fileSystem.stat(targetPath);
    const BackupChain backups(action.targetFolder, action.name, action.backupList);
    if (target.result.ok() && !target.entry.attributes.directory && backups.empty() &&
        action.sourceSize < saturatingSum(freeBytes, target.entry.size)) {
        if (!stillAsScanned(target, scannedTarget(action)))
            return {false, kTargetChanged};
        fileSystem.clearAttributes(targetPath);
        if (!fileSystem.removeFile(targetPath).ok())
            return {false, "Could not delete target file " + targetPath};
        return copyAndReplace(action, ScannedEntry{}); // the target is gone now
    }
    return askAboutFreeSpace(action);
}

FileCopier::Attempt FileCopier::copyAndReplace(const engine::CopyAction& action,
                                               const ScannedEntry& expectedTarget) {
    TemporaryFile temporary(context_.filesFor(action.exactName), action.targetFolder);
    const TempCopyResult copy = tempCopier_.copy(action, temporary);
    if (!copy.complete) {
        if (context_.abortRequested()) {
            context_.setExecuteCaption(true);
            context_.display().setDirection(action.leftToRight, false);
        }
        return {false, copy.failure};
    }
    // The copy is compared with its source while the old target is still in place, so a copy
    // that differs never replaces it.
    if (context_.options().binaryCompareAfterCopy && !verify(action, temporary.path())) {
        if (context_.abortRequested())
            return {false, {}};
        const Question notice{.details = StandardQuestion{
                                  .message = "binary compare failed between copied source file " +
                                             action.sourcePath() + " and target " +
                                             action.targetPath() + ", all sessions are aborted"}};
        context_.services().operatorPort.ask(notice);
        context_.abortAll();
        return {false, "Binary compare failed - target kept"};
    }
    return putInPlace(action, temporary, expectedTarget, copy.sourceReadOnly);
}

FileCopier::Attempt FileCopier::copyLink(const engine::CopyAction& action) {
    platform::FileSystem& fileSystem = context_.filesFor(action.exactName);
    const platform::PathInfo source = fileSystem.stat(action.sourcePath());
    if (!source.result.ok() || !source.entry.attributes.link)
        return {false, "Source changed since the scan - skipped"};
    TemporaryFile temporary(fileSystem, action.targetFolder);
    if (platform::FsResult made = temporary.createLink(source.entry.linkTarget); !made.ok())
        return {false, temporaryFailure(made)};
    if (!fileSystem.setStamp(temporary.path(), source.entry.stamp).ok())
        return {false, "failed to set the time stamp, link not copied"};
    return putInPlace(action, temporary, scannedTarget(action), false);
}

FileCopier::Attempt FileCopier::putInPlace(const engine::CopyAction& action,
                                           TemporaryFile& temporary,
                                           const ScannedEntry& expectedTarget,
                                           bool sourceReadOnly) {
    platform::FileSystem& fileSystem = context_.filesFor(action.exactName);
    // Never a name this run did not write, and never over a target that is not what the scan
    // saw (another program may have written it since).
    if (!temporary.stillOurs())
        return {false, temporaryFailure({platform::FsStatus::InUse, {}})};
    const platform::PathInfo target = fileSystem.stat(action.targetPath());
    if (!stillAsScanned(target, expectedTarget))
        return {false, kTargetChanged};

    const BackupChain backups(action.targetFolder, action.name,
                              action.link ? std::string() : action.backupList);
    backups.rotate(fileSystem);
    const bool targetThere = target.result.status != platform::FsStatus::NotFound;
    const ReplacementResult replaced =
        replaceTarget(fileSystem, temporary.path(), action.targetPath(), targetThere, backups);
    if (!replaced.replaced)
        return {false, replaced.failure};
    temporary.handOver();
    if (sourceReadOnly)
        fileSystem.copyAttributes(action.sourcePath(), action.targetPath());
    return {true, {}};
}

FileCopier::Attempt FileCopier::askAboutFreeSpace(const engine::CopyAction& action) {
    const std::string drive = action.targetFolder.substr(0, 1);
    const Question question{.details =
                                InvalidDriveQuestion{.caption = "Free Space Warning !",
                                                     .message = "No more free space on Drive " +
                                                                drive + " to copy " + action.name,
                                                     .skipCaption = "Skip File"},
                            .leftToRight = action.leftToRight};
    if (context_.services().operatorPort.ask(question) == DialogAnswer::Abort) {
        context_.abortAll();
        return {false, "No more free space on Drive " + drive + " - Update aborted"};
    }
    return {false, "No more free space on Drive " + drive + " - skipped"};
}

void FileCopier::reportCopied(const engine::CopyAction& action) {
    context_.status().addToCounter(Counter::UpFiles, 1);
    writeOutcome(action, action.link ? "Link copied" : "File copied", RowColour::Plain);
}

void FileCopier::reportUnflushed(const std::vector<FolderFlushes::Unflushed>& unflushed) {
    for (const FolderFlushes::Unflushed& copy : unflushed) {
        context_.countFailure();
        writeOutcome(*copy.action, "Copied but the folder could not be flushed - " + copy.reason,
                     RowColour::Red);
    }
}

bool FileCopier::verify(const engine::CopyAction& action, const std::string& copyPath) {
    Display& display = context_.display();
    // The state text goes back however the comparison ends.
    struct StateTextRestore {
        RunContext& context;
        ~StateTextRestore() {
            if (context.runState() == RunState::Scanning)
                context.display().setStateText("Scanning");
            else if (context.runState() == RunState::Copying)
                context.display().setStateText("Copying");
        }
    } restore{context_};
    display.setStateText("Binary compare");
    engine::EngineContext engine = context_.engineContext(verifySettings_);
    return engine::binaryCompare(engine, action.sourcePath(), copyPath, action.sourceSize, true);
}

void FileCopier::writeOutcome(const engine::CopyAction& action, const std::string& text,
                              RowColour colour) {
    History& history = context_.historyList();
    history.writeOutcome(action.historyRow, text, colour, history.stopped());
}

} // namespace brisko::run
