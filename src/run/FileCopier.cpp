#include "run/FileCopier.h"

#include "engine/BinaryCompare.h"
#include "platform/DrivePath.h"
#include "platform/PathNames.h"
#include "platform/Unicode.h"
#include "run/BackupChain.h"
#include "run/CopyFailures.h"
#include "run/ScannedState.h"
#include "run/TargetReplacement.h"
#include "run/TemporaryFile.h"

#include <chrono>
#include <cstddef>
#include <limits>
#include <optional>

namespace brisko::run {

namespace {

constexpr const char* kTargetChanged = "Target changed since the scan - skipped";

std::int64_t saturatingSum(std::int64_t a, std::int64_t b) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    return (b > 0 && a > kMax - b) ? kMax : a + b;
}

// Writing on a thread: nobody is asked anything, and the first trouble ends the attempt (the
// copy is then written again on the copying thread).
class QuietAttendant final : public WriteAttendant {
public:
    void writing(const std::string&) override {}
    void sourceNotOpened(const std::string&) override {}
    bool readAgain(const std::string&, TempCopyResult&) override { return false; }
    bool written(std::int64_t) override { return true; }
};

} // namespace

FileCopier::PendingCopy::PendingCopy(const engine::CopyAction& copyAction,
                                     std::unique_ptr<TemporaryFile> file, ScannedEntry expected)
    : action(copyAction), temporary(std::move(file)), expectedTarget(std::move(expected)) {}

FileCopier::PendingCopy::~PendingCopy() {
    if (done.valid())
        done.wait();
}

FileCopier::FileCopier(const ActionContext& context)
    : context_(context), progress_(context.display, context.plan.totalBytes()),
      workers_(kFoldersSideBySide, TempCopier::kBlockSize),
      tempCopier_(context_, progress_, workers_.ownBuffer()), verifySettings_(context.settings) {}

FileCopier::~FileCopier() = default;

void FileCopier::copyPendingFiles() {
    const auto& copies = context_.plan.filesToCopy();
    if (copies.empty())
        return;
    const RunStatus& status = context_.status;
    context_.host.setCurrentFile("");
    context_.display.setCurrentFile("");
    context_.display.setTaskbarTitle(std::to_string(status.counter(Counter::UpFiles)) + "/" +
                                     std::to_string(status.counter(Counter::ToUpFiles)) +
                                     " Copied - " + context_.script.caption);
    for (const CopyStretch& stretch : copyStretches(copies, context_.fileSystem)) {
        if (abortRequested())
            break;
        copyStretch(stretch);
    }
}

bool FileCopier::abortRequested() {
    if (abandoning_.load())
        return true;
    if (!context_.host.abortRequested())
        return false;
    abandoning_.store(true);
    return true;
}

void FileCopier::copyStretch(const CopyStretch& stretch) {
    std::vector<std::unique_ptr<FolderRun>> active;
    std::size_t opened = 0;
    for (;;) {
        if (!abortRequested()) {
            while (active.size() < kFoldersSideBySide && opened < stretch.size())
                active.push_back(
                    std::make_unique<FolderRun>(stretch[opened++], context_.fileSystem));
            // Work goes to the pool only when another folder's copy can be begun meanwhile;
            // a lone folder's copies are written and flushed here, sparing the hand-over.
            const bool aside = active.size() > 1 || opened < stretch.size();
            for (const auto& folder : active)
                beginNextCopy(*folder, aside);
        }
        closeFinishedFolders(active);
        if (pending_.empty()) {
            if (abortRequested() || opened == stretch.size())
                return;
            continue;
        }
        finishOldestPending();
    }
}

void FileCopier::beginNextCopy(FolderRun& folder, bool aside) {
    while (!folder.busy && folder.next < folder.copies.size() && !abortRequested()) {
        context_.host.pump(); // input is let through between copies, however quick
        if (abortRequested())
            return;
        const engine::CopyAction& action = *folder.copies[folder.next++];
        Begun begun = beginCopy(action, aside);
        if (!begun.pending) {
            report(action, begun.attempt, folder.flushes);
            continue;
        }
        begun.pending->folder = &folder;
        folder.busy = true;
        pendingBytes_[platform::drive_path::driveKey(action.targetFolder)] += action.sourceSize;
        pending_.push_back(std::move(begun.pending));
    }
}

void FileCopier::closeFinishedFolders(std::vector<std::unique_ptr<FolderRun>>& active) {
    std::erase_if(active, [this](const std::unique_ptr<FolderRun>& folder) {
        if (folder->busy || (folder->next < folder->copies.size() && !abortRequested()))
            return false;
        reportUnflushed(folder->flushes.finish());
        return true;
    });
}

void FileCopier::finishOldestPending() {
    const std::unique_ptr<PendingCopy> copy = std::move(pending_.front());
    pending_.pop_front();
    WrittenCopy written = waitFor(*copy);
    pendingBytes_[platform::drive_path::driveKey(copy->action.targetFolder)] -=
        copy->action.sourceSize;
    copy->folder->busy = false;
    Attempt attempt;
    if (written.placed) {
        attempt = *written.placed; // in place already, whatever happened since
    } else if (abortRequested()) {
        showAbandoned(copy->action); // the temporary file goes with the copy
    } else {
        if (copy->writtenAside) {
            progress_.startFile(copy->action.sourceSize);
            if (!written.copy.complete)
                written = writeAgainHere(*copy);
            progress_.finishFile();
        }
        if (!written.copy.complete)
            attempt = notWritten(copy->action, written.copy);
        else if (!written.flushed.ok())
            attempt.failure = writeFailure(written.flushed);
        else
            attempt = finishCopy(*copy);
    }
    report(copy->action, attempt, copy->folder->flushes);
}

FileCopier::WrittenCopy FileCopier::waitFor(PendingCopy& copy) {
    // Input is let through while a long flush runs, so that Stop and Abort All are seen.
    while (copy.done.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready)
        if (!abortRequested())
            context_.host.pump();
    return copy.done.get();
}

FileCopier::WrittenCopy FileCopier::writeAgainHere(PendingCopy& copy) {
    copy.temporary->discard();
    WrittenCopy written;
    written.copy = tempCopier_.write(copy.action, *copy.temporary);
    if (written.copy.complete)
        written.flushed = copy.temporary->flush();
    return written;
}

FileCopier::Attempt FileCopier::notWritten(const engine::CopyAction& action,
                                           const TempCopyResult& copy) {
    if (abortRequested())
        showAbandoned(action);
    return Attempt{false, copy.failure};
}

void FileCopier::report(const engine::CopyAction& action, const Attempt& attempt,
                        FolderFlushes& flushes) {
    if (attempt.copied) {
        reportCopied(action);
        flushes.copied(action);
        return;
    }
    context_.host.countFailure();
    if (!attempt.failure.empty())
        writeOutcome(action, attempt.failure, RowColour::Red);
}

FileCopier::Begun FileCopier::beginCopy(const engine::CopyAction& action, bool aside) {
    showFile(action);
    if (targetsOwnExecutable(action))
        return refuseOwnExecutable(action);
    if (action.link)
        return copyLink(action);
    progress_.startFile(action.sourceSize);
    Begun begun = copyWithinFreeSpace(action, aside);
    if (!begun.pending || !begun.pending->writtenAside)
        progress_.finishFile(); // a copy written aside is counted when it is done
    return begun;
}

void FileCopier::showFile(const engine::CopyAction& action) {
    const auto& messages = context_.settings.sessionMessages;
    const auto session = static_cast<std::size_t>(action.session);
    if (action.session > 0 && session < messages.size() && !messages[session].empty())
        context_.display.setMessageLine(messages[session]);
    if (action.leftToRight)
        context_.host.showFolders(action.sourceFolder, action.targetFolder);
    else
        context_.host.showFolders(action.targetFolder, action.sourceFolder);
    context_.host.showCopyDirection(action.leftToRight, true);
}

bool FileCopier::targetsOwnExecutable(const engine::CopyAction& action) {
    const std::string& own = context_.ownExecutable;
    if (own.empty())
        return false;
    // Only a target under the program's own file name can replace that name; the cheap test of
    // the name spares a look at the disk for every other copy.
    if (!platform::equalsIgnoreCase(platform::hostNameOf(own), action.name))
        return false;
    platform::FileSystem& fileSystem = context_.fileSystem;
    const auto target = fileSystem.identityOf(action.targetPath());
    if (target && target == fileSystem.identityOf(own))
        return true;
    return fileSystem.hostPath(action.targetPath()) == own;
}

FileCopier::Attempt FileCopier::refuseOwnExecutable(const engine::CopyAction& action) {
    const Question notice{
        .details = StandardQuestion{
            .message = "Cannot update Brisko using Brisko\rcopy me manually\r From  " +
                       action.sourceFolder.str() + "  to  " + action.targetFolder.str()}};
    context_.operatorPort.ask(notice);
    return {false, "Cannot update Brisko using Brisko"};
}

FileCopier::Begun FileCopier::copyWithinFreeSpace(const engine::CopyAction& action, bool aside) {
    platform::FileSystem& fileSystem = context_.filesFor(action.exactName);
    const std::optional<std::int64_t> room = freeBytesLeft(fileSystem, action.targetFolder);
    // A drive that went away since the scan (a connection lost, a disk taken out) says so,
    // rather than that it is full.
    const std::string drive = platform::drive_path::driveKey(action.targetFolder);
    if (!room && !drive.empty() && !fileSystem.driveExists(drive)) {
        std::string why = fileSystem.whyNoDrive(drive);
        const std::string name(platform::drive_path::driveOrShare(action.targetFolder));
        return Attempt{false, "Drive " + name + " is no longer there" +
                                  (why.empty() ? "" : " (" + why + ")") + " - skipped"};
    }
    // A drive that cannot be queried has no free bytes.
    const std::int64_t freeBytes = room.value_or(0);
    if (action.sourceSize < freeBytes)
        return writeCopy(action, scannedTarget(action), aside);

    // Too little space beside the old target: with no backup to keep, the old target makes
    // room when that is enough.
    const std::string targetPath = action.targetPath();
    const platform::PathInfo target = fileSystem.stat(targetPath);
    const BackupChain backups(action.targetFolder, action.name, action.backupList);
    if (target.result.ok() && !target.entry.attributes.directory && backups.empty() &&
        action.sourceSize < saturatingSum(freeBytes, target.entry.size)) {
        if (!stillAsScanned(target, scannedTarget(action)))
            return Attempt{false, kTargetChanged};
        fileSystem.clearAttributes(targetPath);
        if (!fileSystem.removeFile(targetPath).ok())
            return Attempt{false, "Could not delete target file " + targetPath};
        return writeCopy(action, ScannedEntry{}, aside); // the target is gone now
    }
    return askAboutFreeSpace(action);
}

FileCopier::Begun FileCopier::writeCopy(const engine::CopyAction& action,
                                        const ScannedEntry& expectedTarget, bool aside) {
    platform::FileSystem& fileSystem = context_.filesFor(action.exactName);
    auto pending = std::make_unique<PendingCopy>(
        action, std::make_unique<TemporaryFile>(fileSystem, action.targetFolder), expectedTarget);
    TemporaryFile& temporary = *pending->temporary;
    // A small copy is written where it is flushed; a bigger one is written here, where its
    // progress is shown and the operator asked about trouble, and only its flush may go aside.
    pending->writtenAside = aside && action.sourceSize <= kLargestWrittenAside;
    std::optional<TempCopyResult> writtenHere;
    if (pending->writtenAside) {
        context_.host.setCurrentFile(action.sourcePath());
    } else {
        writtenHere = tempCopier_.write(action, temporary);
        if (!writtenHere->complete)
            return notWritten(action, *writtenHere);
    }
    // Until its future is ready, the job alone touches the pending copy's temporary file.
    auto job = [this, copy = pending.get(),
                writtenHere = std::move(writtenHere)](WorkerPool::Buffer buffer) mutable {
        return writeAndPlace(*copy, std::move(writtenHere), buffer);
    };
    pending->done = aside ? workers_.run(std::move(job)) : workers_.runHere(std::move(job));
    return pending;
}

FileCopier::WrittenCopy FileCopier::writeAndPlace(PendingCopy& copy,
                                                  std::optional<TempCopyResult> writtenHere,
                                                  WorkerPool::Buffer buffer) {
    TemporaryFile& temporary = *copy.temporary;
    WrittenCopy written;
    if (writtenHere) {
        written.copy = std::move(*writtenHere);
    } else {
        QuietAttendant quiet;
        written.copy = writeTemporary(context_.filesFor(copy.action.exactName),
                                      copy.action.sourcePath(), temporary, buffer, quiet);
    }
    if (!written.copy.complete)
        return written;
    written.flushed = temporary.flush();
    // Only what reads and renames on the disk is done here: the rows are written by the
    // copying thread, in list order.
    if (written.flushed.ok() && !context_.options.binaryCompareAfterCopy && !abandoning_.load())
        written.placed = putInPlace(copy.action, temporary, copy.expectedTarget);
    return written;
}

FileCopier::Attempt FileCopier::finishCopy(PendingCopy& copy) {
    const engine::CopyAction& action = copy.action;
    // The copy is compared with its source while the old target is still in place, so a copy
    // that differs never replaces it.
    if (context_.options.binaryCompareAfterCopy && !verify(action, copy.temporary->path())) {
        if (abortRequested())
            return {false, {}};
        const Question notice{.details = StandardQuestion{
                                  .message = "binary compare failed between copied source file " +
                                             action.sourcePath() + " and target " +
                                             action.targetPath() + ", all sessions are aborted"}};
        context_.operatorPort.ask(notice);
        context_.host.abortAll();
        return {false, "Binary compare failed - target kept"};
    }
    return putInPlace(action, *copy.temporary, copy.expectedTarget);
}

void FileCopier::showAbandoned(const engine::CopyAction& action) {
    context_.host.setStopOffered(false);
    context_.host.showCopyDirection(action.leftToRight, false);
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
    return putInPlace(action, temporary, scannedTarget(action));
}

FileCopier::Attempt FileCopier::putInPlace(const engine::CopyAction& action,
                                           TemporaryFile& temporary,
                                           const ScannedEntry& expectedTarget) {
    platform::FileSystem& fileSystem = context_.filesFor(action.exactName);
    // Never a name this run did not write, and never over a target that is not what the scan
    // saw (another program may have written it since).
    if (!temporary.stillOurs())
        return {false, temporaryFailure(temporary.whyNotOurs())};
    const platform::PathInfo target = fileSystem.stat(action.targetPath());
    // A target that cannot be looked at now (a connection lost) is not one that changed.
    if (!target.result.ok() && target.result.status != platform::FsStatus::NotFound)
        return {false,
                "Could not look at the target - " + failureReason(target.result) + " - skipped"};
    if (!stillAsScanned(target, expectedTarget))
        return {false, kTargetChanged};

    const BackupChain backups(action.targetFolder, action.name,
                              action.link ? std::string() : action.backupList.str(),
                              action.takesOverEarlierBackups);
    const bool targetThere = target.result.status != platform::FsStatus::NotFound;
    const bool keptAlready = targetThere && backups.firstIsTarget(fileSystem, action.targetPath());
    if (!keptAlready)
        backups.rotate(fileSystem);
    const ReplacementResult replaced = replaceTarget(
        fileSystem, temporary.path(), action.targetPath(), targetThere, backups, keptAlready);
    if (!replaced.replaced)
        return {false, replaced.failure};
    temporary.handOver();
    return {true, {}};
}

std::optional<std::int64_t> FileCopier::freeBytesLeft(platform::FileSystem& fileSystem,
                                                      const std::string& folder) {
    const std::string drive = platform::drive_path::driveKey(folder);
    if (drive.empty())
        return std::nullopt;
    const std::optional<std::int64_t> free = fileSystem.freeBytes(drive);
    if (!free)
        return std::nullopt;
    return *free - pendingBytes_[drive];
}

FileCopier::Attempt FileCopier::askAboutFreeSpace(const engine::CopyAction& action) {
    // A drive is named by its letter alone, a share as written.
    const std::string drive =
        platform::drive_path::isDriveForm(action.targetFolder)
            ? action.targetFolder.str().substr(0, 1)
            : std::string(platform::drive_path::driveOrShare(action.targetFolder));
    const Question question{.details =
                                InvalidDriveQuestion{.caption = "Free Space Warning !",
                                                     .message = "No more free space on Drive " +
                                                                drive + " to copy " + action.name,
                                                     .skipCaption = "Skip File"},
                            .leftToRight = action.leftToRight};
    if (context_.operatorPort.ask(question) == DialogAnswer::Abort) {
        context_.host.abortAll();
        return {false, "No more free space on Drive " + drive + " - Update aborted"};
    }
    return {false, "No more free space on Drive " + drive + " - skipped"};
}

void FileCopier::reportCopied(const engine::CopyAction& action) {
    context_.host.countDone(Counter::UpFiles);
    writeOutcome(action, action.link ? "Link copied" : "File copied", RowColour::Plain);
}

void FileCopier::reportUnflushed(const std::vector<FolderFlushes::Unflushed>& unflushed) {
    for (const FolderFlushes::Unflushed& copy : unflushed) {
        context_.host.countFailure();
        writeOutcome(*copy.action, "Copied but the folder could not be flushed - " + copy.reason,
                     RowColour::Red);
    }
}

bool FileCopier::verify(const engine::CopyAction& action, const std::string& copyPath) {
    // The comparison is shown as under way until it ends, however it ends.
    struct VerifyingShown {
        ActionHost& host;
        ~VerifyingShown() { host.setVerifying(false); }
    } shown{context_.host};
    context_.host.setVerifying(true);
    engine::EngineContext engine = context_.host.engineContext(verifySettings_);
    return engine::binaryCompare(engine, action.sourcePath(), copyPath, action.sourceSize, true);
}

void FileCopier::writeOutcome(const engine::CopyAction& action, const std::string& text,
                              RowColour colour) {
    context_.host.writeOutcome(PlanList::FilesToCopy, context_.plan.copyIndex(action), text,
                               colour);
}

} // namespace brisko::run
