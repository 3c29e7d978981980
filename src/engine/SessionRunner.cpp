#include "engine/SessionRunner.h"

#include "engine/FolderOverlap.h"
#include "engine/FolderScan.h"
#include "engine/ScanReports.h"
#include "engine/Session.h"
#include "engine/SessionChecks.h"

#include <string_view>

namespace brisko::engine {

namespace {

// In a master mode, whether the target of a pass is the master root and it is missing. The
// copy side's pass then never creates it: an empty new master would have every file and
// folder of the copy side deleted. The master's own pass says that its source is missing.
bool isMissingMasterRoot(Session& session, const std::string& target) {
    if (!session.masterMode() || target != session.masterRoot())
        return false;
    EngineContext& context = session.context;
    return pathDriveExists(context.fileSystem, target) &&
           folderFoundAt(context.fileSystem, target, kCouldNotBeRead).kind ==
               FolderFound::Kind::Missing &&
           !context.plan.hasFolderToCreate(target);
}

// One pass from source to target; true when its scan ran to its end.
bool runPass(Session& session, const std::string& source, const std::string& target,
             bool leftToRight) {
    session.context.host.setPassDirection(leftToRight);
    const std::string_view passName = leftToRight ? "Left to Right" : "Right to Left";
    if (!checkSourceRoot(session, source, passName) || isMissingMasterRoot(session, target))
        return false;
    if (!checkTargetFolder(session, target, leftToRight, true, source)) {
        if (leftToRight)
            session.skipSession = true;
        return false;
    }
    FolderScan scan(session, leftToRight);
    return scan.run(source, target);
}

} // namespace

void SessionRunner::executeSession(script::SessionSettings& settings) {
    EngineContext context = makeContext_(settings);
    ListingCache listings(context.fileSystem);
    Session session{context, skipSession_, listings};
    context.host.setRunState(RunState::Scanning);
    if (settings.sessionFiles.empty())
        settings.sessionFiles = "*.*";

    if (!context.buildFullPaths || !context.buildFullPaths()) {
        tellOperator(context, "No Specified Right or Left path...");
        skipSession_ = false;
        return;
    }
    context.host.offerStop();
    if (!checkFoldersApart(session)) {
        skipSession_ = false;
        return;
    }

    const std::string& left = settings.leftFullPath;
    const std::string& right = settings.rightFullPath;
    switch (settings.updateMode) {
    case script::UpdateMode::OneLTR:
        runPass(session, left, right, true);
        break;
    case script::UpdateMode::TwoRTL:
        runPass(session, right, left, false);
        break;
    case script::UpdateMode::Update:
    case script::UpdateMode::LMaster:
    case script::UpdateMode::RMaster:
        listings.setKeeping(true);
        if (session.masterMode() && !checkMasterNotEmpty(session))
            break;
        runPass(session, left, right, true);
        listings.setKeeping(false);
        if (!context.host.abortRequested() && !skipSession_)
            runPass(session, right, left, false);
        break;
    }
    skipSession_ = false;
}

} // namespace brisko::engine
