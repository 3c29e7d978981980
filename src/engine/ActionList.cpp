#include "engine/ActionList.h"

#include "engine/BackupNames.h"
#include "engine/SizeText.h"
#include "platform/DrivePath.h"
#include "platform/Unicode.h"
#include "script/FileSpecs.h"

#include <algorithm>
#include <vector>

namespace brisko::engine {

namespace {

constexpr bool kCredit = true;
constexpr bool kDebit = false;
constexpr int kQuestionSeconds = 60;

std::string_view lastName(std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// Copies in progress are never planned themselves.
bool isTemporaryFile(std::string_view name) {
    return platform::equalsIgnoreCase(name, script::kTempFileName);
}

// Whether a folder above path is listed for deletion: its files were credited to the
// projection when that folder was listed, and must not be credited twice.
bool insideFolderToDelete(const Plan& plan, std::string_view path) {
    for (std::size_t slash = path.rfind('\\'); slash != std::string_view::npos && slash > 0;
         slash = path.rfind('\\', slash - 1)) {
        if (plan.hasFolderToDelete(path.substr(0, slash)))
            return true;
    }
    return false;
}

HistoryRow plannedRow(std::string from, std::string size, std::string status) {
    return HistoryRow{std::move(from), "", std::move(size), "", std::move(status), RowColour::Blue};
}

DialogAnswer askZeroLength(EngineContext& context, const CopyRequest& request) {
    context.host.refreshDisplay(false);
    const Question question{.details = ZeroLengthQuestion{.sourceFolder = request.sourceFolder,
                                                          .targetFolder = request.targetFolder,
                                                          .fileName = request.name,
                                                          .sourceSize = request.sourceSize,
                                                          .targetSize = request.targetSize},
                            .leftToRight = request.leftToRight,
                            .timeoutSeconds = kQuestionSeconds};
    return context.operatorPort.ask(question);
}

// The same file copied the other way: target onto source.
CopyRequest reversed(const CopyRequest& request) {
    CopyRequest other = request;
    std::swap(other.sourceFolder, other.targetFolder);
    std::swap(other.sourceSize, other.targetSize);
    std::swap(other.sourceStamp, other.targetStamp);
    other.targetExisted = true; // the file the copy was to come from
    other.leftToRight = !request.leftToRight;
    return other;
}

// The copy's rotation deletes the oldest backup of the chain when every level before it is
// taken (a chain with a gap only moves up to the gap): its bytes come free on the target drive.
void creditBackupRotation(EngineContext& context, const BackupChainNames& chain) {
    const std::vector<std::string>& levels = chain.rotated();
    if (levels.empty())
        return;
    const std::string& oldest = levels.back();
    const platform::PathInfo info = context.fileSystem.stat(oldest);
    if (!info.result.ok() || info.entry.attributes.directory)
        return;
    for (std::size_t level = 0; level + 1 < levels.size(); ++level)
        if (context.fileSystem.stat(levels[level]).result.status == platform::FsStatus::NotFound)
            return;
    context.projection.adjust(oldest, info.entry.size, kCredit);
}

// Walks the tree of a folder to delete and returns what it holds, so that its deletion takes
// only what is still as seen. With credit, every file inside is credited to its drive, except
// files and subfolders listed for deletion on their own (credited when they were listed).
// Those subfolders are not entered; links are neither followed nor counted.
std::vector<SeenEntry> walkFolderTree(EngineContext& context, const std::string& path,
                                      bool credit) {
    const std::string_view drive = platform::drive_path::driveOrShare(path);
    std::vector<SeenEntry> seen;
    std::vector<std::string> pending{std::string()}; // relative paths, the folder itself first
    while (!pending.empty()) {
        const std::string relative = std::move(pending.back());
        pending.pop_back();
        context.host.pump();
        if (context.host.abortRequested())
            break;
        const std::string folder =
            relative.empty() ? path : platform::drive_path::join(path, relative);
        // Links to folders are never listed as folders, so the walk cannot leave the tree.
        const platform::Listing listing = context.fileSystem.list(folder);
        if (!listing.result.ok())
            continue;
        for (const platform::DirEntry& entry : listing.entries) {
            const platform::FileAttributes& kind = entry.attributes;
            SeenEntry& item = seen.emplace_back();
            item.relativePath =
                relative.empty() ? entry.name : platform::drive_path::join(relative, entry.name);
            item.folder = kind.directory && !kind.link;
            item.link = kind.link;
            item.size = entry.size;
            item.stamp = entry.stamp;
            item.linkTarget = entry.linkTarget;
            if (kind.link)
                continue; // removed as an entry: no bytes of its target come free
            const std::string child = platform::drive_path::join(folder, entry.name);
            // Entries listed for deletion on their own have been credited already.
            if (item.folder) {
                if (!context.plan.hasFolderToDelete(child))
                    pending.push_back(item.relativePath);
            } else if (credit && !context.plan.hasFileToDelete(child)) {
                context.projection.adjust(drive, entry.size, kCredit);
            }
        }
    }
    return seen;
}

} // namespace

void listFolderCreate(EngineContext& context, const std::string& path) {
    PathAction folder;
    folder.path = path;
    listFolderCreate(context, std::move(folder));
}

void listFolderCreate(EngineContext& context, PathAction folder) {
    std::string path = folder.path;
    if (!context.plan.addFolderToCreate(std::move(folder)))
        return;
    context.host.countPlanned(Counter::ToUpFolder);
    context.host.addHistoryRow(plannedRow(std::move(path), "", "Folder to be created"));
}

void listFolderDelete(EngineContext& context, const std::string& path) {
    if (context.plan.hasFolderToDelete(path))
        return;
    PathAction folder;
    folder.path = path;
    folder.contents = walkFolderTree(context, path, !insideFolderToDelete(context.plan, path));
    context.plan.addFolderToDelete(std::move(folder));
    context.host.countPlanned(Counter::ToDelFolders);
    context.host.addHistoryRow(plannedRow(path, "", "Folder to be deleted"));
}

void listFileDelete(EngineContext& context, const std::string& path, std::int64_t size) {
    PathAction file;
    file.path = path;
    file.size = size;
    listFileDelete(context, std::move(file));
}

void listFileDelete(EngineContext& context, PathAction file) {
    const std::string path = file.path;
    const std::int64_t size = file.size;
    const bool link = file.link;
    if (isTemporaryFile(lastName(path)) || !context.plan.addFileToDelete(std::move(file)))
        return;
    if (!insideFolderToDelete(context.plan, path))
        context.projection.adjust(path, size, kCredit);
    context.host.countPlanned(Counter::ToDelFiles);
    context.host.addHistoryRow(plannedRow(path, formatSize(size, context.thousandsSeparator),
                                          plannedDeletionStatus(link)));
}

void listCopy(EngineContext& context, const CopyRequest& request) {
    if (isTemporaryFile(request.name))
        return;
    Plan& plan = context.plan;
    const std::string sourcePath = platform::drive_path::join(request.sourceFolder, request.name);
    const std::string targetPath = platform::drive_path::join(request.targetFolder, request.name);
    // A copy from a folder or file that is deleted first could only fail.
    if (plan.isCopyTarget(targetPath) || plan.hasFolderToDelete(request.sourceFolder) ||
        plan.hasFileToDelete(sourcePath))
        return;

    if (!request.link && request.sourceSize == 0 && request.targetSize != 0) {
        switch (askZeroLength(context, request)) {
        case DialogAnswer::Yes:
            break;
        case DialogAnswer::Retry:
            listCopy(context, reversed(request)); // its source is not empty: no question
            return;
        case DialogAnswer::Cancel: {
            PathAction source;
            source.path = sourcePath;
            source.size = request.sourceSize;
            source.stamp = request.sourceStamp;
            source.exactName = request.exactName;
            listFileDelete(context, std::move(source));
            return;
        }
        case DialogAnswer::Abort:
            context.host.abortAll();
            return;
        default: // Skip, the time-out included
            return;
        }
    }

    CopyAction copy = request;
    copy.session = context.settings.sessionCount;
    // Links keep no backups.
    const bool takeOver =
        !request.link && !request.backupList.empty() &&
        ownsEarlierBackups(context.fileSystem, context.settings.tables, request.targetFolder,
                           request.name, request.backupList);
    copy.takesOverEarlierBackups = takeOver;
    const std::string status = plannedStatus(copy);
    if (!plan.addCopy(std::move(copy)))
        return;

    // A link is made, not copied: it carries no bytes and keeps no backups.
    const std::int64_t bytes = request.link ? 0 : request.sourceSize;
    plan.addSessionBytes(context.settings.sessionCount, bytes);
    if (!request.link)
        creditBackupRotation(context, backupChainNames(request.targetFolder, request.name,
                                                       request.backupList, takeOver));
    context.projection.adjust(request.targetFolder, bytes, kDebit);
    context.host.countPlanned(Counter::ToUpFiles);

    const SizeTexts sizes =
        formatSizes(request.sourceSize, request.targetSize, context.thousandsSeparator);
    HistoryRow row{sourcePath, targetPath, sizes.size, sizes.delta, status, RowColour::Blue};
    if (request.binaryFailed) {
        row.status = "Binary failed - " + row.status;
        row.colour = RowColour::Red;
    }
    context.host.addCopyRow(plan.filesToCopy().size() - 1, row);
}

std::string planBackupRotation(EngineContext& context, const std::string& targetFolder,
                               const std::string& name, const std::string& backupList) {
    const bool takeOver = ownsEarlierBackups(context.fileSystem, context.settings.tables,
                                             targetFolder, name, backupList);
    const BackupChainNames chain = backupChainNames(targetFolder, name, backupList, takeOver);
    creditBackupRotation(context, chain);
    return chain.extensions.empty() ? std::string() : chain.extensions.front();
}

void creditFolderTree(EngineContext& context, const std::string& path) {
    walkFolderTree(context, path, true);
}

} // namespace brisko::engine
