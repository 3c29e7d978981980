#include "run/ActionDriver.h"

#include "platform/DrivePath.h"
#include "platform/Unicode.h"
#include "run/ExitProgram.h"
#include "run/FileCopier.h"
#include "run/FolderTree.h"
#include "run/FreeSpaceCheck.h"
#include "run/ScannedState.h"

namespace brisko::run {

namespace {

constexpr const char* kHoldsChangedEntries =
    "Folder holds entries added or changed since the scan - kept";
constexpr const char* kNotDeleted = "Folder Could not be Deleted";

void carryOutPlan(const ActionContext& context) {
    if (context.plan.empty())
        return;
    context.host.setRunState(RunState::Copying);
    if (!checkFreeSpace(context)) {
        context.display.setTaskbarTitle("No Free Space - " + context.script.caption);
        context.host.countFailure(); // the whole plan was refused
        return;
    }
    context.display.setTotalProgress(0, context.plan.totalBytes());
    const std::vector<std::string> keptFiles = deletePendingFiles(context);
    createPendingFolders(context);
    deletePendingFolders(context, keptFiles);
    FileCopier(context).copyPendingFiles();
}

// Whether a folder holds (at any depth) one of the paths.
bool holdsAny(const std::string& folder, const std::vector<std::string>& paths) {
    return std::any_of(paths.begin(), paths.end(), [&folder](const std::string& path) {
        return platform::drive_path::isWithin(path, folder);
    });
}

// An entry inside a folder to delete that changed since the scan has no planned row: it gets
// a red row of its own. Its folder's row counts as the action not done.
void reportKeptEntry(const ActionContext& context, const KeptEntry& entry) {
    context.host.addHistoryRow(
        HistoryRow{entry.path, "", "", "",
                   entry.added ? "Added since the scan - kept" : "Changed since the scan - kept",
                   RowColour::Red});
}

void finishRun(const ActionContext& context) {
    // Folders held open for the copies are let go, so that no disk stays busy after the run.
    context.fileSystem.forgetCachedNames();
    runExitProgram(context);
    context.host.refreshScreen(false);
    context.host.setRunState(RunState::Idle);
}

} // namespace

void runActions(const ActionContext& context) {
    context.host.refreshScreen(false);
    // The plan may be carried out long after the scan: what other programs changed meanwhile
    // must be seen, not names remembered from the scan.
    context.fileSystem.forgetCachedNames();
    try {
        carryOutPlan(context);
    } catch (...) {
        finishRun(context);
        throw;
    }
    finishRun(context);
}

std::vector<std::string> deletePendingFiles(const ActionContext& context) {
    Operator& operatorPort = context.operatorPort;
    std::vector<std::string> kept;
    auto writeOutcome = [&context](std::size_t index, const std::string& status, RowColour colour) {
        context.host.writeOutcome(PlanList::FilesToDelete, index, status, colour);
    };
    const auto& files = context.plan.filesToDelete();
    auto keep = [&](std::size_t index, const char* status) {
        kept.push_back(files[index].path);
        context.host.countFailure();
        writeOutcome(index, status, RowColour::Red);
    };
    for (std::size_t index = 0; index < files.size(); ++index) {
        const engine::PathAction& file = files[index];
        std::string status;
        RowColour colour = RowColour::Plain;
        platform::FileSystem& fileSystem = context.filesFor(file.exactName);
        const platform::PathInfo info = fileSystem.stat(file.path);
        if (info.result.status == platform::FsStatus::NotFound) {
            writeOutcome(index, "Already gone", RowColour::Plain);
            continue;
        }
        if (!stillAsScanned(info, scannedFile(file))) {
            keep(index, "Changed since the scan - kept");
            continue;
        }
        if (info.entry.attributes.readOnly) {
            if (!operatorPort.confirm("Delete the read-only file " + file.path)) {
                // This file and the rest of the list stay as they are.
                keep(index, "Read-only file kept");
                for (std::size_t left = index + 1; left < files.size(); ++left)
                    keep(left, "Not deleted - the deletions were stopped");
                return kept;
            }
            status = "Read only Attribute removed";
            colour = RowColour::Red;
            fileSystem.clearAttributes(file.path);
        }
        if (fileSystem.removeFile(file.path).ok()) {
            context.host.countDone(Counter::DlFiles);
            status = file.link ? "Link deleted" : "File deleted";
        } else {
            kept.push_back(file.path);
            status += "Failed to delete - may be opened";
            context.host.countFailure();
            colour = RowColour::Red;
            const Question notice{.details =
                                      StandardQuestion{.message = "Could not delete " + file.path +
                                                                  "- file may be opened"}};
            operatorPort.ask(notice);
        }
        writeOutcome(index, status, colour);
    }
    return kept;
}

void createPendingFolders(const ActionContext& context) {
    platform::FileSystem& fileSystem = context.fileSystem;
    const auto& folders = context.plan.foldersToCreate();
    for (std::size_t index = 0; index < folders.size(); ++index) {
        const engine::PathAction& folder = folders[index];
        fileSystem.createFolders(folder.spelling.empty() ? folder.path : folder.spelling);
        // Checked afterwards: a path that exists as a file, or a drive that is gone, does not
        // pass for a created folder.
        if (fileSystem.folderExists(folder.path)) {
            context.host.countDone(Counter::UpFolder);
            context.host.writeOutcome(PlanList::FoldersToCreate, index, "Folder created",
                                      RowColour::Plain);
        } else {
            context.host.countFailure();
            context.host.writeOutcome(PlanList::FoldersToCreate, index,
                                      "Folder could not be created", RowColour::Red);
        }
    }
}

void deletePendingFolders(const ActionContext& context, const std::vector<std::string>& keptFiles) {
    platform::FileSystem& fileSystem = context.fileSystem;
    const auto& folders = context.plan.foldersToDelete();
    // What the folders before left in place: a folder listed later may hold it.
    std::vector<std::string> keptEntries;
    std::vector<std::string> foldersLeft;
    for (std::size_t index = 0; index < folders.size(); ++index) {
        const engine::PathAction& folder = folders[index];
        auto keep = [&](const char* status) {
            context.host.countFailure();
            context.host.writeOutcome(PlanList::FoldersToDelete, index, status, RowColour::Red);
        };
        if (holdsAny(folder.path, keptFiles)) {
            keep("Folder kept - it holds a file that was kept");
            continue;
        }
        if (holdsAny(folder.path, keptEntries)) {
            keep(kHoldsChangedEntries);
            continue;
        }
        if (holdsAny(folder.path, foldersLeft)) {
            keep(kNotDeleted);
            continue;
        }
        const TreeDeletion deletion = deleteFolderTree(fileSystem, folder);
        for (const KeptEntry& entry : deletion.kept) {
            reportKeptEntry(context, entry);
            keptEntries.push_back(entry.path);
        }
        if (deletion.deleted) {
            context.host.countDone(Counter::DlFolder);
            context.host.writeOutcome(PlanList::FoldersToDelete, index, "Folder deleted",
                                      RowColour::Plain);
        } else {
            if (fileSystem.stat(folder.path).result.status != platform::FsStatus::NotFound)
                foldersLeft.push_back(folder.path);
            keep(deletion.kept.empty() ? kNotDeleted : kHoldsChangedEntries);
        }
    }
}

} // namespace brisko::run
