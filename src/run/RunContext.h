#pragma once

#include "engine/FreeSpaceProjection.h"
#include "engine/Plan.h"
#include "engine/SessionExecutor.h"
#include "engine/SessionRunner.h"
#include "platform/Clock.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"
#include "ports/Display.h"
#include "ports/Operator.h"
#include "ports/WindowFeed.h"
#include "run/ActionContext.h"
#include "run/History.h"
#include "run/RunEngineHost.h"
#include "run/RunStatus.h"
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
    // The window, when there is one (none for the console runner).
    WindowFeed window{};
};

// Owns all state of the program's runs: the loaded script, the standing settings, the FileSpec
// and exclusion tables, the plan, the counters, the history and message lists, the flags. The
// window owns one, the batch runner owns one, each test owns one.
class RunContext final : public script::ScriptHost, public RunFlow, public ActionHost {
public:
    RunContext(Services services, std::string mainLabel);
    RunContext(const RunContext&) = delete;
    RunContext& operator=(const RunContext&) = delete;
    ~RunContext() override;

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

    // The first half of a run: resets, walks the script (every session scanned into the plan)
    // and, when the script ran to its end, lists the plan in the history. False when the run
    // was stopped before the end of the script.
    bool scan();

    const script::ScriptState& script() const { return script_; }
    const script::SessionSettings& settings() const { return settings_; }
    const script::RunOptions& options() const { return options_; }
    const History& history() const { return history_; }
    const engine::Plan& plan() const { return plan_; }
    const engine::FreeSpaceProjection& projection() const { return projection_; }
    const RunStatus& status() const { return status_; }

    // The tick boxes and command-line switches that stand for every run.
    void setStopBetweenScanAndCopy(bool stop);
    void setBinaryCompareAfterCopy(bool compare);
    void setAllowEmptyMaster(bool allow) { options_.allowEmptyMaster = allow; }

    // Lists the plan in the history (every action on its own row), then the scans' problems.
    void listPlan();
    // Writes the outcome of the action at index of a plan list into its row. Once reporting
    // has stopped, the rows of files are left as they are; those of folders are still written.
    void writeOutcome(PlanList list, std::size_t index, const std::string& status,
                      RowColour colour) override;

    // Where the run stands on the screen: the current file, the folder panes, a counter of
    // what was done, a refresh (throttled or at once) and letting input through.
    void setCurrentFile(const std::string& path) override { status_.setCurrentFile(path); }
    void showFolders(const std::string& left, const std::string& right) override {
        status_.showFolders(left, right);
    }
    void countDone(Counter which) override { status_.addToCounter(which, 1); }
    void refreshScreen(bool throttled) override { status_.refresh(throttled); }
    void pump() override { status_.pump(); }
    Display& display() { return services_.display; }
    // What the window shows of the run, and its commands; they go nowhere without a window.
    WindowFeed& window() { return services_.window; }
    const WindowState& windowState() const { return services_.window.state(); }
    const Services& services() const { return services_; }
    char thousandsSeparator() const { return thousandsSeparator_; }
    void setThousandsSeparator(char separator) {
        thousandsSeparator_ = separator;
        history_.setThousandsSeparator(separator);
    }
    // The history keeps every row, beyond the window grid's limit.
    void keepEveryHistoryRow() { history_.removeRowLimit(); }
    int errorCount() const { return script_.errorCount; }
    bool canRun() const { return script_.errorCount == 0; }
    // The red rows about entries the scans passed over.
    const std::vector<HistoryRow>& problems() const { return problems_; }

    RunState runState() const override { return status_.state(); }
    void setRunState(RunState state) override;
    // A run starts (Display::setRunning is told too) or has ended.
    void setRunning(bool running);
    void setStopOffered(bool offered) override;
    void showCopyDirection(bool leftToRight, bool shown) override;
    // A copy is being compared with its source, or no longer.
    void setVerifying(bool verifying) override;
    bool canClose() const { return status_.state() == RunState::Idle; }
    bool closeWhenFinished() const { return closeWhenFinished_; }
    void reportProblem(const HistoryRow& row) override;

    // The start of a run: no abort and no failure recorded yet.
    void beginRun();
    // A planned action that ended without being carried out.
    void countFailure() override { ++failedActions_; }
    int failedActions() const { return failedActions_; }
    // Whether this run was stopped (the abort flag itself is cleared on the return to Idle).
    bool wasAborted() const { return runAborted_; }

    // Starts the ExitProgram at the end of a run; none set means it cannot be started.
    void setShell(platform::Shell* shell) { shell_ = shell; }
    // The host path of the running program's own file, which a copy never overwrites.
    void setOwnExecutable(std::string path) { ownExecutable_ = std::move(path); }

    // Replaces the engine (tests record the sessions instead).
    void setSessionExecutor(engine::SessionExecutor* executor) { executor_ = executor; }
    engine::EngineContext engineContext(script::SessionSettings& settings) override;
    script::ScriptContext scriptContext();
    // What carrying out the plan works on.
    ActionContext actionContext();

    // script::ScriptHost
    void executeSession() override;
    void resetSettings(bool full) override;
    bool abortRequested() const override { return abortRequested_; }
    void abortAll() override;
    void setCloseWhenFinished(bool close) override { closeWhenFinished_ = close; }
    void addHistoryRow(const HistoryRow& row) override { history_.addRow(row); }

private:
    Services services_;
    script::ScriptState script_;
    script::SessionSettings settings_;
    script::RunOptions options_;
    History history_;
    RunStatus status_;
    engine::Plan plan_;
    engine::FreeSpaceProjection projection_;
    std::vector<HistoryRow> problems_;
    RunEngineHost engineHost_;
    engine::SessionRunner sessionRunner_;
    engine::SessionExecutor* executor_;
    platform::Shell* shell_ = nullptr;
    std::string ownExecutable_;
    char thousandsSeparator_ = ',';
    bool abortRequested_ = false;
    bool runAborted_ = false;
    int failedActions_ = 0;
    bool closeWhenFinished_ = false;
};

} // namespace brisko::run
