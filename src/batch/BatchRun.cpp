#include "batch/BatchRun.h"

#include "batch/BatchPorts.h"
#include "batch/RecordWriter.h"
#include "platform/Clock.h"
#include "platform/DriveMap.h"
#include "platform/Environment.h"
#include "platform/PosixFileSystem.h"
#include "run/RunContext.h"

#include <filesystem>
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

void writeHistory(std::ostream& out, const run::History& history) {
    for (const HistoryRow& row : history.rows())
        writeRecord(out, {"history", colourName(row.colour), row.from, row.to, row.size,
                          row.delta, row.status});
}

std::string mainLabel() {
    return "Brisko " + std::to_string(BRISKO_VERSION_MAJOR) + "." +
           std::to_string(BRISKO_VERSION_MINOR);
}

} // namespace

int runBatch(const BatchOptions& options, std::ostream& out, std::ostream& err) {
    platform::ProcessEnvironment environment;
    platform::DriveMap drives(std::filesystem::current_path().string());
    if (auto list = environment.get("BRISKO_DRIVES"); list && !drives.addEntries(*list)) {
        err << "brisko2-batch: BRISKO_DRIVES is not a list of LETTER=HOSTDIR entries: " << *list
            << "\n";
        return kExitUsage;
    }
    for (const std::string& entry : options.drives) {
        if (!drives.addEntry(entry)) {
            err << "brisko2-batch: --drive takes LETTER=HOSTDIR, not " << entry << "\n";
            return kExitUsage;
        }
    }
    platform::PosixFileSystem fileSystem(drives);
    platform::SystemClock clock;
    BatchDisplay display(out);
    BatchOperator operatorPort(out);
    run::RunContext context({fileSystem, clock, environment, display, operatorPort}, mainLabel());

    const std::string& scriptName = options.parameters.front();
    platform::PathInfo info = fileSystem.stat(scriptName);
    if (!info.result.ok() || info.entry.attributes.directory) {
        std::string reason = info.result.ok() ? "is a folder"
                                              : platform::describe(info.result.status);
        err << "brisko2-batch: script " << scriptName << ": " << reason << "\n";
        return kExitUsage;
    }
    if (options.mode != BatchMode::Check) {
        err << "brisko2-batch: this build loads and checks scripts only; use --check\n";
        return kExitUsage;
    }

    context.startFromCommandLine(options.parameters);
    writeScriptRows(out, context.script());
    writeHistory(out, context.history());
    writeRecord(out, {"errors", std::to_string(context.errorCount())});
    return context.errorCount() == 0 ? kExitDone : kExitScriptErrors;
}

} // namespace brisko::batch
