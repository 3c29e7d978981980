#include "run/RunContext.h"

#include "platform/PathNames.h"
#include "platform/Unicode.h"
#include "script/Roots.h"
#include "script/ScriptLoader.h"
#include "script/ScriptRunner.h"

namespace brisko::run {

namespace {

// The host folder that holds a script; the current folder when the name does not resolve.
std::string folderOfScript(platform::FileSystem& fileSystem, const std::string& fileName) {
    const std::optional<std::string> host = fileSystem.hostPath(fileName);
    if (!host)
        return fileSystem.currentFolder();
    return std::string(platform::hostFolderOf(*host));
}

} // namespace

RunContext::RunContext(Services services, std::string mainLabel)
    : services_(services), history_(services_.display, services_.window, plan_),
      status_(services_.display, services_.window, services_.clock, script_.caption),
      projection_(services.fileSystem), engineHost_({*this, status_, history_, services.display}),
      sessionRunner_([this](script::SessionSettings& settings) { return engineContext(settings); }),
      executor_(&sessionRunner_) {
    script_.mainLabel = mainLabel;
    script_.caption = mainLabel;
    services_.display.setTaskbarTitle(mainLabel);
    services_.window.setCaption(mainLabel);
    services_.window.update([](WindowState&) {});
}

RunContext::~RunContext() = default;

script::ScriptContext RunContext::scriptContext() {
    return script::ScriptContext{services_.fileSystem,
                                 services_.clock,
                                 services_.environment,
                                 services_.display,
                                 services_.operatorPort,
                                 *this,
                                 script_,
                                 settings_,
                                 options_,
                                 services_.window};
}

engine::EngineContext RunContext::engineContext(script::SessionSettings& settings) {
    engine::EngineContext context{services_.fileSystem,
                                  services_.clock,
                                  services_.operatorPort,
                                  engineHost_,
                                  settings,
                                  plan_,
                                  projection_,
                                  thousandsSeparator_,
                                  {}};
    context.allowEmptyMaster = options_.allowEmptyMaster;
    context.buildFullPaths = [this] {
        auto scriptSide = scriptContext();
        return script::buildFullPaths(scriptSide);
    };
    return context;
}

ActionContext RunContext::actionContext() {
    return ActionContext{services_.fileSystem,
                         services_.fileSystem.exactNames(),
                         services_.operatorPort,
                         services_.display,
                         shell_,
                         plan_,
                         projection_,
                         status_,
                         script_,
                         settings_,
                         options_,
                         ownExecutable_,
                         *this};
}

RunContext::StartOutcome
RunContext::startFromCommandLine(const std::vector<std::string>& parameters) {
    if (parameters.empty())
        return StartOutcome::NoScript;
    auto context = scriptContext();
    // The script keeps its case: names are case-sensitive on POSIX.
    script_.fileName = parameters[0];
    script_.loadFolder = services_.fileSystem.currentFolder();
    for (std::size_t i = 1; i < parameters.size() && i <= 2; ++i)
        script::applyCommandLineRoot(context, parameters[i]);

    // A script that is not there is said so, not run as an empty script.
    platform::PathInfo info = services_.fileSystem.stat(script_.fileName);
    if (info.result.status == platform::FsStatus::NotFound) {
        const Question notice{
            .details =
                StandardQuestion{.message = "Script file " + script_.fileName + " does not exist"}};
        services_.operatorPort.ask(notice);
        return StartOutcome::MissingScript;
    }
    script::loadScript(context, script_.fileName);
    if (script_.errorCount != 0)
        return StartOutcome::HasErrors;
    closeWhenFinished_ = true;
    return StartOutcome::Run;
}

void RunContext::loadScript(const std::string& fileName) {
    auto context = scriptContext();
    status_.reset();
    projection_.clear();
    script::clearForLoad(context);
    // The script's own folder: the default ExitFolder and the folder made current after a run.
    script_.loadFolder = folderOfScript(services_.fileSystem, fileName);
    script_.fileName = fileName;
    script::loadScript(context, fileName);
}

void RunContext::reloadScript() {
    if (status_.state() != RunState::Idle)
        return;
    loadScript(script_.fileName);
}

bool RunContext::scan() {
    services_.display.setTaskbarTitle(script_.caption);
    // Names remembered from an earlier run may no longer be true.
    services_.fileSystem.forgetCachedNames();
    resetSettings(true);
    status_.reset();
    projection_.clear();
    problems_.clear();
    sessionRunner_.reset();
    script_.messages.clear();
    services_.display.clearMessages();

    auto context = scriptContext();
    if (!script::runScript(context)) {
        closeWhenFinished_ = false;
        status_.reset();
        return false;
    }
    listPlan();
    return true;
}

void RunContext::listPlan() {
    history_.rebuild(problems_, thousandsSeparator_);
}

void RunContext::writeOutcome(PlanList list, std::size_t index, const std::string& status,
                              RowColour colour) {
    const bool fileRow = list == PlanList::FilesToDelete || list == PlanList::FilesToCopy;
    history_.writeOutcome(history_.rowOf(list, index), status, colour,
                          fileRow && history_.stopped());
}

void RunContext::setRunState(RunState state) {
    status_.setState(state, abortRequested_);
    if (state == RunState::Idle) {
        abortRequested_ = false;
        history_.setStopped(false);
    }
}

void RunContext::setRunning(bool running) {
    services_.display.setRunning(running);
    services_.window.update([running](WindowState& state) {
        state.running = running;
        state.stoppable = false;
        if (!running) {
            state.offersStop = false;
            state.directionShown = false;
        }
    });
}

void RunContext::setStopOffered(bool offered) {
    services_.window.update([offered](WindowState& state) {
        state.offersStop = offered;
        if (offered)
            state.stoppable = true;
    });
}

void RunContext::showCopyDirection(bool leftToRight, bool shown) {
    services_.window.update([leftToRight, shown](WindowState& state) {
        state.leftToRight = leftToRight;
        state.directionShown = shown;
    });
}

void RunContext::setVerifying(bool verifying) {
    services_.window.update([verifying](WindowState& state) { state.verifying = verifying; });
}

void RunContext::setStopBetweenScanAndCopy(bool stop) {
    options_.stopBetweenScanAndCopy = stop;
    services_.window.update([stop](WindowState& state) { state.stopBetweenScanAndCopy = stop; });
}

void RunContext::setBinaryCompareAfterCopy(bool compare) {
    options_.binaryCompareAfterCopy = compare;
    services_.window.update(
        [compare](WindowState& state) { state.binaryCompareAfterCopy = compare; });
}

void RunContext::reportProblem(const HistoryRow& row) {
    // A red row is something the run did not do; what is passed over by design is not red.
    if (row.colour == RowColour::Red)
        countFailure();
    problems_.push_back(row);
    history_.addRow(row);
}

void RunContext::executeSession() {
    plan_.openSessions(settings_.sessionCount);
    executor_->executeSession(settings_);
}

void RunContext::resetSettings(bool full) {
    history_.restart();
    script::resetSettings(settings_, full);
    if (full)
        plan_.clear();
}

void RunContext::beginRun() {
    runAborted_ = false;
    failedActions_ = 0;
}

void RunContext::abortAll() {
    abortRequested_ = true;
    runAborted_ = true;
    closeWhenFinished_ = false;
    services_.display.setTaskbarTitle("Stopped - " + script_.caption);
}

} // namespace brisko::run
