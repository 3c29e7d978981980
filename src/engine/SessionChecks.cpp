#include "engine/SessionChecks.h"

#include "engine/ActionList.h"
#include "engine/CarriedContent.h"
#include "engine/ScanReports.h"
#include "platform/DrivePath.h"

#include <optional>

namespace brisko::engine {

namespace {

constexpr std::string_view kSourceMissing = "Session skipped - the source folder does not exist";
constexpr std::string_view kMasterEmpty = "Session skipped - the master folder is empty";

// The drive of a path as written: "C:" or "\\SERVER\SHARE"; the first two characters of a path
// that names no drive.
std::string pathDrive(const std::string& path) {
    const std::string_view drive = platform::drive_path::driveOrShare(path);
    return drive.empty() ? path.substr(0, 2) : std::string(drive);
}

// Asks what to do about the drive of a path that does not exist: Abort All stops the run,
// anything else (the time-out included) skips the rest of the session, with a red row.
void askAboutMissingDrive(Session& session, const std::string& path, std::string message) {
    const Question question{.details = InvalidDriveQuestion{.caption = "Invalid Drive",
                                                            .message = std::move(message),
                                                            .skipCaption = "Skip Session"}};
    if (askOperator(session.context, question) == DialogAnswer::Abort) {
        session.context.host.abortAll();
        return;
    }
    session.skipSession = true;
    std::string status = "Session skipped - drive " + pathDrive(path) + " does not exist";
    if (platform::drive_path::hasDrive(path)) {
        const std::string why = session.context.fileSystem.whyNoDrive(path);
        if (!why.empty())
            status += " (" + why + ")";
    }
    reportPassedOver(session.context, path, status);
}

// A folder to create; a root folder takes the letter case the script wrote it in.
PathAction folderToCreate(const Session& session, const std::string& path) {
    const script::SessionSettings& settings = session.context.settings;
    PathAction folder;
    folder.path = path;
    if (path == settings.leftFullPath)
        folder.spelling = settings.leftFullPathAsWritten;
    else if (path == settings.rightFullPath)
        folder.spelling = settings.rightFullPathAsWritten;
    return folder;
}

// Whether a folder holds any entry; nothing when it cannot be listed. The listing goes back to
// the session's cache for the first pass.
std::optional<bool> holdsEntries(ListingCache& listings, const std::string& folder) {
    platform::Listing listing = listings.list(folder);
    if (!listing.result.ok())
        return std::nullopt;
    const bool any = !listing.entries.empty();
    listings.handBack(folder, std::move(listing));
    return any;
}

// The "Missing Folder" question about a target folder of the non-master modes.
bool askAboutMissingTarget(Session& session, const std::string& target, bool leftToRight,
                           const std::string& source) {
    EngineContext& context = session.context;
    const Question question{.details = MissingItemQuestion{.caption = "Missing Folder",
                                                           .sourcePath = source,
                                                           .targetPath = target},
                            .leftToRight = leftToRight};
    switch (askOperator(context, question)) {
    case DialogAnswer::Yes: // Create Target
        listFolderCreate(context, folderToCreate(session, target));
        return true;
    case DialogAnswer::Cancel: // Delete Source
        listFolderDelete(context, source);
        return false;
    case DialogAnswer::Ignore: // Skip, also the time-out
        return false;
    default: // the Abort button
        context.host.abortAll();
        return false;
    }
}

} // namespace

FolderFound folderFoundAt(platform::FileSystem& fileSystem, std::string_view path,
                          std::string_view unreadableStatus) {
    const platform::PathInfo info = fileSystem.stat(path);
    if (info.result.ok()) {
        if (info.entry.attributes.directory)
            return {FolderFound::Kind::Folder, {}};
        return {FolderFound::Kind::Unusable, std::string(kFileWhereFolderExpected)};
    }
    if (info.result.status == platform::FsStatus::NotFound)
        return {FolderFound::Kind::Missing, {}};
    return {FolderFound::Kind::Unusable, std::string(unreadableStatus)};
}

bool pathDriveExists(platform::FileSystem& fileSystem, std::string_view path) {
    return platform::drive_path::hasDrive(path) && fileSystem.driveExists(path);
}

bool checkSourceRoot(Session& session, const std::string& source, std::string_view passName) {
    EngineContext& context = session.context;
    if (!pathDriveExists(context.fileSystem, source)) {
        askAboutMissingDrive(session, source,
                             "Source Drive " + pathDrive(source) + "\\ does not exist");
        return false;
    }
    const FolderFound found = folderFoundAt(context.fileSystem, source, kFolderCouldNotBeRead);
    if (found.kind == FolderFound::Kind::Folder)
        return true;
    if (found.kind == FolderFound::Kind::Unusable) {
        reportPassedOver(context, source, found.problem);
        return false;
    }
    if (context.plan.hasFolderToCreate(source))
        return true;

    const script::MissingFolderRule rule = context.settings.missingFolder;
    // Skip passes over the missing folder quietly, as the script asks; in Update with Auto the
    // other pass creates the folder as its target, so nothing is said.
    if (rule == script::MissingFolderRule::Skip ||
        (rule == script::MissingFolderRule::Auto && session.mode() == script::UpdateMode::Update))
        return false;
    tellOperator(context, "Source " + source + " does not exist, " + std::string(passName) +
                              " Update is aborted");
    reportPassedOver(context, source, kSourceMissing);
    return false;
}

bool checkMasterNotEmpty(Session& session) {
    EngineContext& context = session.context;
    if (context.allowEmptyMaster)
        return true;
    const std::string& master = session.masterRoot();
    const std::string& copy = session.copyRoot();
    // Only what the session would carry over counts: backups, ignored and excluded names, the
    // temporary copy and folders holding none of it would leave the copy side emptied.
    if (carriesContent(session, master).value_or(true))
        return true;
    if (!holdsEntries(session.listings, copy).value_or(false))
        return true;

    const Question question{
        .details = EmptyMasterQuestion{.message = "Master folder " + master +
                                                  " is empty: mirroring it would delete "
                                                  "everything in " +
                                                  copy},
        .leftToRight = session.mode() == script::UpdateMode::LMaster};
    switch (askOperator(context, question)) {
    case DialogAnswer::Yes:
        return true;
    case DialogAnswer::Abort:
        context.host.abortAll();
        return false;
    default: // Keep everything, also the time-out
        reportPassedOver(context, master, kMasterEmpty);
        return false;
    }
}

bool checkTargetFolder(Session& session, const std::string& target, bool leftToRight,
                       bool mayCreate, const std::string& source, const FolderFound* known) {
    EngineContext& context = session.context;
    if (!pathDriveExists(context.fileSystem, target)) {
        askAboutMissingDrive(session, target,
                             "Target Drive " + pathDrive(target) + " does not exist");
        return false;
    }
    const FolderFound found =
        known != nullptr ? *known : folderFoundAt(context.fileSystem, target, kCouldNotBeRead);
    if (found.kind == FolderFound::Kind::Folder)
        return true;
    if (found.kind == FolderFound::Kind::Unusable) {
        // Something that cannot be looked at is never taken as missing: nothing is created
        // over it and its counterpart is not deleted.
        reportPassedOver(context, target, found.problem);
        return false;
    }

    const Plan& plan = context.plan;
    if (plan.hasFolderToCreate(target) || plan.hasFolderToCreate(source) ||
        plan.hasFolderToDelete(source) || plan.hasFolderToDelete(target))
        return true;

    const script::MissingFolderRule rule = context.settings.missingFolder;
    if (session.masterMode() || rule == script::MissingFolderRule::Auto) {
        // The master side creates what it lacks on the copy side; the copy side deletes what
        // the master lacks, and its scan still goes into the folder.
        if (mayCreate)
            listFolderCreate(context, folderToCreate(session, target));
        else
            listFolderDelete(context, source);
        return true;
    }
    if (rule == script::MissingFolderRule::UserAsk)
        return askAboutMissingTarget(session, target, leftToRight, source);
    return false; // Skip
}

} // namespace brisko::engine
