#pragma once

#include "engine/SessionExecutor.h"
#include "platform/Clock.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "ports/Display.h"
#include "ports/Operator.h"
#include "run/History.h"
#include "script/ScriptContext.h"
#include "script/ScriptHost.h"

#include <string>
#include <vector>

namespace brisko::run {

// The services a run context works with.
struct Services {
    platform::FileSystem& fileSystem;
    const platform::Clock& clock;
    const platform::Environment& environment;
    Display& display;
    Operator& operatorPort;
};

// Owns all state of the program's runs: the loaded script, the standing settings, the FileSpec
// and exclusion tables, the history and message lists, the flags. The window owns one, the
// batch runner owns one, each test owns one.
class RunContext final : public script::ScriptHost {
public:
    RunContext(Services services, std::string mainLabel);
    RunContext(const RunContext&) = delete;
    RunContext& operator=(const RunContext&) = delete;

    // What start-up with a command line came to.
    enum class StartOutcome {
        NoScript,      // no parameters: nothing loaded
        MissingScript, // the named script does not exist (a notice was shown)
        HasErrors,     // loaded with errors: the Script File page shows them
        Run,           // loaded without errors: run it at once, close afterwards
    };
    // Start-up with a command line: parameters[0] is the script, the next two may be "L=" and
    // "R=" roots (further ones are ignored). Applies the roots, then loads the script.
    StartOutcome startFromCommandLine(const std::vector<std::string>& parameters);
    // The Load button: a fresh load of the chosen file.
    void loadScript(const std::string& fileName);
    // Reloads the script unless a run is in progress.
    void reloadScript();

    // Walks the loaded script; false when it was stopped before its end.
    bool runScript();

    const script::ScriptState& script() const { return script_; }
    const script::SessionSettings& settings() const { return settings_; }
    script::RunOptions& options() { return options_; }
    const History& history() const { return history_; }
    int errorCount() const { return script_.errorCount; }
    bool canRun() const { return script_.errorCount == 0; }

    RunState runState() const { return runState_; }
    bool canClose() const { return runState_ == RunState::Idle; }
    bool closeWhenFinished() const { return closeWhenFinished_; }

    // Until the engine lands every Execute row reaches this executor (none: nothing happens).
    void setSessionExecutor(engine::SessionExecutor* executor) { executor_ = executor; }

    // script::ScriptHost
    void executeSession() override;
    void resetSettings(bool full) override;
    bool abortRequested() const override { return abortRequested_; }
    void abortAll() override;
    void setCloseWhenFinished(bool close) override { closeWhenFinished_ = close; }
    void addHistoryRow(const HistoryRow& row) override { history_.addRow(row); }

private:
    script::ScriptContext scriptContext();

    Services services_;
    script::ScriptState script_;
    script::SessionSettings settings_;
    script::RunOptions options_;
    History history_;
    RunState runState_ = RunState::Idle;
    bool abortRequested_ = false;
    bool closeWhenFinished_ = false;
    engine::SessionExecutor* executor_ = nullptr;
};

} // namespace brisko::run
