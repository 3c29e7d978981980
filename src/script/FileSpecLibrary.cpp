#include "script/FileSpecLibrary.h"

#include "platform/Unicode.h"
#include "script/FileSpecs.h"
#include "script/LineParser.h"
#include "script/ScriptLoader.h"
#include "script/ScriptRunner.h"
#include "script/SplitList.h"
#include "script/TextFile.h"

namespace brisko::script {

namespace {

// Tells the operator, leaves a red row in the history list and stops the whole run.
void abortUpdate(ScriptContext& context, const std::string& message, HistoryRow row) {
    context.operatorPort.notify(message);
    row.colour = RowColour::Red;
    context.host.addHistoryRow(row);
    context.host.abortAll();
}

void reportUnusableLibrary(ScriptContext& context, const std::string& name, bool missing) {
    const std::string problem = missing ? "does not exist" : "cannot be read";
    abortUpdate(context, "FileSpecLibrary file " + name + " " + problem + "-Update is aborted",
                HistoryRow{.from = "FileSpecLibrary",
                           .to = name,
                           .size = "",
                           .delta = "",
                           .status = "FileSpecLibrary " + problem,
                           .colour = RowColour::Red});
}

} // namespace

void loadFileSpecLibrary(ScriptContext& context, const std::string& fileName) {
    const platform::PathInfo info = context.fileSystem.stat(fileName);
    const bool missing = info.result.status == platform::FsStatus::NotFound ||
                         (info.result.ok() && info.entry.attributes.directory);
    std::vector<std::string> lines;
    platform::FsResult result;
    if (missing || !readTextLines(context.fileSystem, fileName, lines, result)) {
        reportUnusableLibrary(context, fileName, missing);
        return;
    }

    for (const std::string& rawLine : lines) {
        const std::string line = trim(rawLine);
        if (line.empty())
            continue;
        const ParsedLine parsed = parseScriptLine(context, line);
        if (!parsed.accepted) {
            abortUpdate(context, "Error in FileSpec Library " + fileName + " - Update is aborted",
                        HistoryRow{.from = fileName,
                                   .to = line,
                                   .size = "",
                                   .delta = "",
                                   .status = "",
                                   .colour = RowColour::Red});
            return;
        }
        // Only FileSpec keys take effect: includes are not followed, commands run nothing.
        applyFileSpecKey(context.settings.tables, platform::toUpper(parsed.key),
                         platform::toUpper(parsed.shownValue()));
    }
}

} // namespace brisko::script
