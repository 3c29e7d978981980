#include "batch/BatchRun.h"

#include "batch/BatchPorts.h"
#include "batch/Console.h"
#include "batch/ProgressLine.h"
#include "batch/RecordWriter.h"
#include "batch/StopSignals.h"
#include "run/MainLabel.h"
#include "run/RunContext.h"
#include "run/RunControl.h"
#include "run/Startup.h"

#include <memory>
#include <string>

namespace brisko::batch {

namespace {

const char* colourName(RowColour colour) {
    switch (colour) {
    case RowColour::Blue:
        return "blue";
    case RowColour::Red:
        return "red";
    case RowColour::Plain:
        break;
    }
    return "plain";
}

void writeScriptRows(std::ostream& out, const script::ScriptState& script) {
    for (const ScriptLine& line : script.rows)
        writeRecord(out, {"row", line.highlighted ? "!" : "-", line.key, line.sign, line.value});
}

// Says on standard error why each flagged row of the script is wrong, as FILE:LINE: reason, and
// when the script runs no session at all.
void explainScript(std::ostream& err, const script::ScriptState& script,
                   const std::string& scriptName) {
    bool executes = false;
    for (const ScriptLine& line : script.rows) {
        executes = executes || line.key == "Execute";
        if (line.highlighted && !line.reason.empty() && line.lineNumber > 0)
            err << line.file << ":" << line.lineNumber << ": " << line.reason << "\n";
    }
    if (!executes)
        err << scriptName << ": no Execute line: the script runs no session\n";
}

void writeHistory(std::ostream& out, const run::History& history) {
    for (int number = 1; number <= history.rowCount(); ++number) {
        const HistoryRow row = history.row(number);
        writeRecord(out, {"history", colourName(row.colour), row.from, row.to, row.size, row.delta,
                          row.status});
    }
}

void writeCounters(std::ostream& out, const run::RunStatus& status) {
    auto text = [&status](Counter which) { return std::to_string(status.counter(which)); };
    writeRecord(out,
                {"counters", text(Counter::UpFiles), text(Counter::ToUpFiles),
                 text(Counter::UpFolder), text(Counter::ToUpFolder), text(Counter::DlFiles),
                 text(Counter::ToDelFiles), text(Counter::DlFolder), text(Counter::ToDelFolders)});
}

} // namespace

int runBatch(const BatchOptions& options, std::ostream& out, std::ostream& err) {
    std::unique_ptr<run::Startup> startup;
    try {
        // ssh asks for passphrases and passwords on the terminal; without one it fails at once
        // with its reason rather than wait for an answer nobody can give.
        startup = std::make_unique<run::Startup>(options.drives, options.shares,
                                                 hasTerminal() ? platform::sftp::SshAsking::Terminal
                                                               : platform::sftp::SshAsking::Never);
    } catch (const run::StartupError& failure) {
        err << "brisko2-batch: " << failure.what() << "\n";
        return kExitUsage;
    }
    const std::string& scriptName = options.parameters.front();
    platform::PathInfo info = startup->fileSystem.stat(scriptName);
    if (!info.result.ok() || info.entry.attributes.directory) {
        std::string reason =
            info.result.ok() ? "is a folder" : platform::describe(info.result.status);
        err << "brisko2-batch: script " << scriptName << ": " << reason << "\n";
        return kExitUsage;
    }

    BatchDisplay display(out);
    BatchOperator operatorPort(out);
    run::RunContext context(startup->services(display, operatorPort), run::mainLabelText());
    startup->applyTo(context);
    // Records are read by programs: plain integers, and every row however many there are.
    context.setThousandsSeparator('\0');
    context.keepEveryHistoryRow();
    display.attach(context, options.continueAfterPause);
    if (options.mode == BatchMode::Run && standardErrorIsTerminal())
        display.showProgress(std::make_unique<ProgressLine>(err, startup->clock));

    context.startFromCommandLine(options.parameters);
    explainScript(err, context.script(), scriptName);
    if (options.mode == BatchMode::Check)
        writeScriptRows(out, context.script());
    if (options.mode == BatchMode::Check || context.errorCount() != 0) {
        writeHistory(out, context.history());
        writeRecord(out, {"errors", std::to_string(context.errorCount())});
        return context.errorCount() == 0 ? kExitDone : kExitScriptErrors;
    }
    writeRecord(out, {"errors", "0"});
    if (options.verify)
        context.setBinaryCompareAfterCopy(true);
    if (options.allowEmptyMaster)
        context.setAllowEmptyMaster(true);
    installStopSignals();

    if (options.mode == BatchMode::DryRun) {
        bool completed = context.scan();
        context.refreshScreen(false);
        context.setRunState(RunState::Idle);
        writeHistory(out, context.history());
        writeCounters(out, context.status());
        if (!completed || context.wasAborted())
            return kExitStopped;
        // Red rows of the scan (a skipped session, a folder passed over) mean that a real run
        // would leave something undone.
        return context.failedActions() > 0 ? kExitActionsFailed : kExitDone;
    }

    const auto started = startup->clock.steadyNow();
    run::RunResult result = run::executeRun(context);
    writeHistory(out, context.history());
    writeCounters(out, context.status());
    if (standardErrorIsTerminal()) {
        const run::RunStatus& status = context.status();
        err << runSummary(status.counter(Counter::UpFiles), status.counter(Counter::DlFiles),
                          status.counter(Counter::DlFolder), result.failedActions,
                          std::chrono::duration_cast<std::chrono::seconds>(
                              startup->clock.steadyNow() - started))
            << "\n";
    }
    if (result.aborted || !result.scriptCompleted)
        return kExitStopped;
    return result.failedActions > 0 ? kExitActionsFailed : kExitDone;
}

} // namespace brisko::batch
