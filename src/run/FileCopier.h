#pragma once

#include "engine/Plan.h"
#include "run/ActionContext.h"
#include "run/CopyProgress.h"
#include "run/CopyStretches.h"
#include "run/FolderFlushes.h"
#include "run/ScannedState.h"
#include "run/TempCopier.h"
#include "run/WorkerPool.h"
#include "script/SessionSettings.h"

#include <atomic>
#include <cstddef>
#include <deque>
#include <future>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace brisko::run {

// Carries out the planned copies. Each copy is written into a temporary file in the target
// folder; only when that file holds the whole copy, on the disk (and compared with its source
// when asked), are the target's backups rotated and the old target replaced, so a copy that
// fails or is stopped leaves the target and its backups as they were.
//
// Flushing a small file costs far more than writing it, and on a network location every look
// and rename waits for the far side, so copies into different folders overlap: a few threads
// write small copies, flush every copy and put it in place while the next folder's copy is
// begun. Each folder has one copy under way at a time, in list order, so that no two copies ever
// meet at one name. Every question, every comparison with the source, every row and counter
// happens here on the caller's thread; a copy that met trouble on a thread is written again
// here, where the operator can be asked about it. After an abort, a copy not yet in place is
// discarded.
class FileCopier {
public:
    // The folders whose copies overlap, and the threads that write and flush them. With many
    // copies in flight the copying thread seldom waits for a flush; the threads mostly sleep on
    // the disk.
    static constexpr std::size_t kFoldersSideBySide = 64;
    // Copies no bigger than one block are written on the threads too: they need no progress shown
    // and no input let through while they are written.
    static constexpr std::int64_t kLargestWrittenAside = TempCopier::kBlockSize;

    explicit FileCopier(const ActionContext& context);
    ~FileCopier();

    // Every planned copy, until an abort is requested.
    void copyPendingFiles();

private:
    // What one attempt came to: copied, or the red outcome that says why not (none when the
    // operator stopped the run or skipped the file).
    struct Attempt {
        bool copied = false;
        std::string failure;
    };
    struct FolderRun;
    // A copy written, or being written, into its temporary file and then flushed, and, where
    // nothing is left to ask or compare, put in place beside the writing of the next copies.
    struct WrittenCopy {
        TempCopyResult copy;
        platform::FsResult flushed;
        std::optional<Attempt> placed; // what putting it in place came to, when it was tried
    };
    // A copy begun: what its writing and flush came to comes back through done, ready at once
    // when they were done here, or later from a thread.
    struct PendingCopy {
        PendingCopy(const engine::CopyAction& copyAction, std::unique_ptr<TemporaryFile> file,
                    ScannedEntry expected);
        // The file is never touched here while a thread works on it.
        ~PendingCopy();

        const engine::CopyAction& action;
        std::unique_ptr<TemporaryFile> temporary;
        ScannedEntry expectedTarget; // what must be at the target's name when the copy takes it
        FolderRun* folder = nullptr;
        bool writtenAside = false; // written on a thread, not only flushed there
        std::future<WrittenCopy> done;
    };
    // How beginning a copy went: ended already, or pending its flush.
    struct Begun {
        Begun(Attempt ended) : attempt(std::move(ended)) {}
        Begun(std::unique_ptr<PendingCopy> written) : pending(std::move(written)) {}
        Attempt attempt;
        std::unique_ptr<PendingCopy> pending;
    };
    // A target folder whose copies are being carried out.
    struct FolderRun {
        FolderRun(const FolderCopies& folderCopies, platform::FileSystem& fileSystem)
            : copies(folderCopies.copies), flushes(fileSystem) {}
        const std::vector<const engine::CopyAction*>& copies;
        std::size_t next = 0; // the next copy to begin
        bool busy = false;    // a copy of it is pending
        FolderFlushes flushes;
    };

    // Whether the run is being aborted; once it is, the threads put no more copies in place.
    bool abortRequested();
    void copyStretch(const CopyStretch& stretch);
    // Begins the folder's copies in order until one is pending or none is left. With aside,
    // the copies hand their work to the pool.
    void beginNextCopy(FolderRun& folder, bool aside);
    // Flushes and lets go the folders with nothing pending and nothing more to begin.
    void closeFinishedFolders(std::vector<std::unique_ptr<FolderRun>>& active);
    // Waits for the oldest pending copy's flush, then puts it in place (or, after an abort,
    // discards it).
    void finishOldestPending();
    WrittenCopy waitFor(PendingCopy& copy);
    // A copy that met trouble on a thread is written and flushed again here, asking as usual.
    WrittenCopy writeAgainHere(PendingCopy& copy);
    // What a copy that was not written completely comes to.
    Attempt notWritten(const engine::CopyAction& action, const TempCopyResult& copy);
    void report(const engine::CopyAction& action, const Attempt& attempt, FolderFlushes& flushes);

    Begun beginCopy(const engine::CopyAction& action, bool aside);
    void showFile(const engine::CopyAction& action);
    bool targetsOwnExecutable(const engine::CopyAction& action);
    Attempt refuseOwnExecutable(const engine::CopyAction& action);
    Begun copyWithinFreeSpace(const engine::CopyAction& action, bool aside);
    // Writes the temporary copy and flushes it, each here or on the pool's threads.
    Begun writeCopy(const engine::CopyAction& action, const ScannedEntry& expectedTarget,
                    bool aside);
    // The job of a pending copy: writes it (unless written here), flushes it, and puts it in
    // place when no comparison with its source is asked for and the run goes on.
    WrittenCopy writeAndPlace(PendingCopy& copy, std::optional<TempCopyResult> writtenHere,
                              WorkerPool::Buffer buffer);
    // The flushed copy, compared with its source when asked, takes the target's name.
    Attempt finishCopy(PendingCopy& copy);
    // A symbolic link: made under the temporary name, then renamed over the target.
    Attempt copyLink(const engine::CopyAction& action);
    // Gives a complete temporary copy the target's name, rotating the backups, when the
    // temporary file is still this run's and the target still as the scan saw it.
    Attempt putInPlace(const engine::CopyAction& action, TemporaryFile& temporary,
                       const ScannedEntry& expectedTarget);
    Attempt askAboutFreeSpace(const engine::CopyAction& action);
    // The free bytes of the drive of a target folder, less those of the pending copies there;
    // nothing when the drive cannot be asked.
    std::optional<std::int64_t> freeBytesLeft(platform::FileSystem& fileSystem,
                                              const std::string& folder);
    // A copy abandoned at an abort: the target's display goes back to Execute.
    void showAbandoned(const engine::CopyAction& action);
    // Counts the copy and shows its outcome.
    void reportCopied(const engine::CopyAction& action);
    // Copies in place whose folder could not be flushed are not known to be on the disk: red.
    void reportUnflushed(const std::vector<FolderFlushes::Unflushed>& unflushed);
    // Compares the copy at copyPath with the action's source, byte by byte from the disk.
    bool verify(const engine::CopyAction& action, const std::string& copyPath);
    void writeOutcome(const engine::CopyAction& action, const std::string& text, RowColour colour);

    const ActionContext context_;
    CopyProgress progress_;
    WorkerPool workers_;
    TempCopier tempCopier_;                  // works in the pool's buffer of this thread
    script::SessionSettings verifySettings_; // the settings the comparison's engine sees
    // Oldest first; declared after the pool, so that they go (waiting for their flushes) first.
    std::deque<std::unique_ptr<PendingCopy>> pending_;
    std::map<std::string, std::int64_t> pendingBytes_; // by the drive of their targets (driveKey)
    std::atomic<bool> abandoning_{false}; // an abort was seen: pending copies are discarded
};

} // namespace brisko::run
