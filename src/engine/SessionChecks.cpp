#include "engine/SessionChecks.h"

#include "engine/ActionList.h"
#include "engine/ScanReports.h"

namespace brisko::engine {

namespace {

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Asks what to do about a drive that does not exist: Abort All stops the run, anything else
// (the time-out included) skips the rest of the session.
void askAboutMissingDrive(Session& session, std::string message) {
    Question question;
    question.kind = DialogKind::InvalidDrive;
    question.text = "Invalid Drive";
    question.str1 = std::move(message);
    question.str2 = "Skip Session";
    if (askOperator(session.context, question) == DialogAnswer::Abort)
        session.context.host.abortAll();
    else
        session.skipSession = true;
}

// The "Missing Folder" question about a target folder of the non-master modes.
bool askAboutMissingTarget(Session& session, const std::string& target, bool leftToRight,
                           const std::string& source) {
    EngineContext& context = session.context;
    Question question;
    question.kind = DialogKind::MissingItem;
    question.text = "Missing Folder";
    question.str1 = source;
    question.str2 = target;
    question.leftToRight = leftToRight;
    switch (askOperator(context, question)) {
    case DialogAnswer::Yes: // Create Target
        listFolderCreate(context, target);
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
    return path.size() >= 2 && isAsciiLetter(path[0]) && path[1] == ':' &&
           fileSystem.driveExists(path[0]);
}

bool checkSourceRoot(Session& session, const std::string& source, std::string_view passName) {
    EngineContext& context = session.context;
    if (!pathDriveExists(context.fileSystem, source)) {
        askAboutMissingDrive(session, "Source Drive " + source.substr(0, 2) + "\\ does not exist");
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

    const std::string message =
        "Source " + source + " does not exist, " + std::string(passName) + " Update is aborted";
    switch (context.settings.missingFolder) {
    case script::MissingFolderRule::UserAsk:
        tellOperator(context, message);
        break;
    case script::MissingFolderRule::Auto:
        // In Update the other pass creates the folder as its target, so nothing is said.
        if (session.mode() != script::UpdateMode::Update)
            tellOperator(context, message);
        break;
    case script::MissingFolderRule::Skip:
        break;
    }
    return false;
}

bool checkTargetFolder(Session& session, const std::string& target, bool leftToRight,
                       bool mayCreate, const std::string& source, const FolderFound* known) {
    EngineContext& context = session.context;
    if (!pathDriveExists(context.fileSystem, target)) {
        askAboutMissingDrive(session, "Target Drive " + target.substr(0, 2) + " does not exist");
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
            listFolderCreate(context, target);
        else
            listFolderDelete(context, source);
        return true;
    }
    if (rule == script::MissingFolderRule::UserAsk)
        return askAboutMissingTarget(session, target, leftToRight, source);
    return false; // Skip
}

} // namespace brisko::engine
