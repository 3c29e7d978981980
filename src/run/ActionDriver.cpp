#include "run/ActionDriver.h"

#include "run/ExitProgram.h"
#include "run/FileCopier.h"
#include "run/FolderTree.h"
#include "run/FreeSpaceCheck.h"
#include "run/RunContext.h"

namespace brisko::run {

namespace {

void carryOutPlan(RunContext& context) {
    if (context.plan().empty())
        return;
    context.setRunState(RunState::Copying);
    if (!checkFreeSpace(context)) {
        context.display().setTaskbarTitle("No Free Space - " + context.script().caption);
        context.countFailure(); // the whole plan was refused
        return;
    }
    context.display().setTotalProgress(0, context.plan().totalBytes());
    deletePendingFiles(context);
    createPendingFolders(context);
    deletePendingFolders(context);
    FileCopier(context).copyPendingFiles();
}

void finishRun(RunContext& context) {
    runExitProgram(context);
    context.status().refresh(false);
    context.setRunState(RunState::Idle);
}

} // namespace

void runActions(RunContext& context) {
    context.status().refresh(false);
    try {
        carryOutPlan(context);
    } catch (...) {
        finishRun(context);
        throw;
    }
    finishRun(context);
}

void deletePendingFiles(RunContext& context) {
    platform::FileSystem& fileSystem = context.services().fileSystem;
    Operator& operatorPort = context.services().operatorPort;
    History& history = context.historyList();
    const auto& files = context.plan().filesToDelete();
    for (std::size_t index = 0; index < files.size(); ++index) {
        const engine::PathAction& file = files[index];
        std::string status;
        RowColour colour = RowColour::Plain;
        const platform::PathInfo info = fileSystem.stat(file.path);
        if (info.result.ok() && info.entry.attributes.readOnly) {
            if (!operatorPort.confirm("Delete the read-only file " + file.path)) {
                // This file and the rest of the list stay as they are: not carried out.
                for (std::size_t left = index; left < files.size(); ++left)
                    context.countFailure();
                return;
            }
            status = "Read only Attribute removed";
            colour = RowColour::Red;
            fileSystem.clearAttributes(file.path);
        }
        if (fileSystem.removeFile(file.path).ok()) {
            context.status().addToCounter(Counter::DlFiles, 1);
            status = "File deleted";
        } else {
            status += "Failed to delete - may be opened";
            context.countFailure();
            colour = RowColour::Red;
            Question notice;
            notice.kind = DialogKind::Standard;
            notice.text = "Could not delete " + file.path + "- file may be opened";
            operatorPort.ask(notice);
        }
        history.writeOutcome(file.historyRow, status, colour, history.stopped());
    }
}

void createPendingFolders(RunContext& context) {
    platform::FileSystem& fileSystem = context.services().fileSystem;
    History& history = context.historyList();
    for (const engine::PathAction& folder : context.plan().foldersToCreate()) {
        fileSystem.createFolders(folder.path);
        // Checked afterwards: a path that exists as a file, or a drive that is gone, does not
        // pass for a created folder.
        if (fileSystem.folderExists(folder.path)) {
            context.status().addToCounter(Counter::UpFolder, 1);
            history.writeOutcome(folder.historyRow, "Folder created", RowColour::Plain, false);
        } else {
            context.countFailure();
            history.writeOutcome(folder.historyRow, "Folder could not be created", RowColour::Red,
                                 false);
        }
    }
}

void deletePendingFolders(RunContext& context) {
    platform::FileSystem& fileSystem = context.services().fileSystem;
    History& history = context.historyList();
    for (const engine::PathAction& folder : context.plan().foldersToDelete()) {
        if (deleteFolderTree(fileSystem, folder.path)) {
            context.status().addToCounter(Counter::DlFolder, 1);
            history.writeOutcome(folder.historyRow, "Folder deleted", RowColour::Plain, false);
        } else {
            context.countFailure();
            history.writeOutcome(folder.historyRow, "Folder Could not be Deleted", RowColour::Red,
                                 false);
        }
    }
}

} // namespace brisko::run
