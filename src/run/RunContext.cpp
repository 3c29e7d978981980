#include "run/RunContext.h"

#include "platform/Unicode.h"
#include "script/Roots.h"
#include "script/ScriptLoader.h"
#include "script/ScriptRunner.h"

namespace brisko::run {

RunContext::RunContext(Services services, std::string mainLabel)
    : services_(services), history_(services.display) {
    script_.mainLabel = mainLabel;
    script_.caption = mainLabel;
    services_.display.setCaption(mainLabel);
    services_.display.setTaskbarTitle(mainLabel);
    services_.display.setExecuteEnabled(false);
}

script::ScriptContext RunContext::scriptContext() {
    return script::ScriptContext{services_.fileSystem, services_.clock,   services_.environment,
                                 services_.display,    services_.operatorPort, *this,
                                 script_,              settings_,          options_};
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
        script::applyCommandLineRoot(context, platform::toUpper(parameters[i]));

    // A script that is not there is said so, not run as an empty script.
    platform::PathInfo info = services_.fileSystem.stat(script_.fileName);
    if (info.result.status == platform::FsStatus::NotFound) {
        Question notice;
        notice.kind = DialogKind::Standard;
        notice.text = "Script file " + script_.fileName + " does not exist";
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
    script::clearForLoad(context);
    script_.loadFolder = services_.fileSystem.currentFolder();
    script_.fileName = fileName;
    script::loadScript(context, fileName);
    services_.display.setExecuteEnabled(script_.errorCount < 1);
}

void RunContext::reloadScript() {
    if (runState_ != RunState::Idle)
        return;
    loadScript(script_.fileName);
}

bool RunContext::runScript() {
    auto context = scriptContext();
    resetSettings(true);
    script_.messages.clear();
    services_.display.clearMessages();
    bool completed = script::runScript(context);
    if (!completed)
        closeWhenFinished_ = false;
    services_.display.setReloadEnabled(true);
    abortRequested_ = false;
    history_.setStopped(false);
    return completed;
}

void RunContext::executeSession() {
    if (executor_ != nullptr)
        executor_->executeSession(settings_);
}

void RunContext::resetSettings(bool full) {
    history_.restart();
    script::resetSettings(settings_, full);
}

void RunContext::abortAll() {
    abortRequested_ = true;
    closeWhenFinished_ = false;
    services_.display.setTaskbarTitle("Stopped - " + script_.caption);
}

} // namespace brisko::run
