#include "script/ScriptLoader.h"

#include "script/Caption.h"
#include "script/KeyTable.h"
#include "script/LineParser.h"
#include "script/SplitList.h"
#include "script/TextFile.h"

#include <algorithm>
#include <optional>

namespace brisko::script {

namespace {

// Files nested deeper than this are refused, so that no chain of includes can exhaust the
// program, even one that reaches the same file under different names.
constexpr std::size_t kMaxIncludeDepth = 32;

// A script with all its included files may take this many lines at most, so that files that
// include each other many times over cannot make the load run without end.
constexpr std::size_t kMaxLoadedLines = 100000;

// Only a name under which nothing (or a folder) exists is missing; a file that exists but
// cannot be looked at is present, and its reading fails loudly later.
bool isMissingFile(platform::FileSystem& fileSystem, const std::string& name) {
    const platform::PathInfo info = fileSystem.stat(name);
    if (info.result.status == platform::FsStatus::NotFound)
        return true;
    return info.result.ok() && info.entry.attributes.directory;
}

// How a file is known in the include chain: its host path, so that two spellings of one
// file are recognised.
std::string chainName(platform::FileSystem& fileSystem, const std::string& name) {
    return fileSystem.hostPath(name).value_or(name);
}

void clearPreviewPrefixes(ScriptContext& context) {
    context.script.preview.leftPath.clear();
    context.script.preview.rightPath.clear();
}

// The lines of a script file, read once per load (chainEntry names it); when it cannot be read
// the operator is told and nothing comes.
const std::vector<std::string>* readScriptFile(ScriptContext& context, const std::string& name,
                                               const std::string& chainEntry) {
    auto& filesRead = context.script.filesRead;
    if (const auto known = filesRead.find(chainEntry); known != filesRead.end())
        return &known->second;
    std::vector<std::string> lines;
    platform::FsResult result;
    if (readTextLines(context.fileSystem, name, lines, result))
        return &filesRead.emplace(chainEntry, std::move(lines)).first->second;
    const Question question{.details = StandardQuestion{.message = "Could not open file " + name},
                            .timeoutSeconds = 60};
    context.operatorPort.ask(question);
    return nullptr;
}

// Where a line stands: the file as named, and its line number from 1.
struct LineOrigin {
    const std::string& file;
    int number = 0;
};

// A highlighted row that says why and where; it counts as an error unless it only warns.
void addFlaggedRow(ScriptContext& context, ScriptLine row, std::string reason,
                   const LineOrigin& origin, bool counts = true) {
    if (counts)
        ++context.script.errorCount;
    row.highlighted = true;
    row.reason = std::move(reason);
    row.file = origin.file;
    row.lineNumber = origin.number;
    addScriptLine(context, std::move(row));
}

void addErrorRow(ScriptContext& context, const std::string& line, std::string reason,
                 const LineOrigin& origin) {
    addFlaggedRow(context, ScriptLine{.key = "", .sign = "?", .value = line}, std::move(reason),
                  origin);
}

void appendScriptLines(ScriptContext& context, const std::string& name,
                       const std::string& chainEntry, const std::vector<std::string>& lines);

// A key line whose value cannot be used (a root or path too long for the system, or written
// as a host folder): an error row that says why; a value too long also gets a history row.
void reportValueProblem(ScriptContext& context, const ParsedLine& parsed,
                        const LineOrigin& origin) {
    const std::string tooLong = "Path longer than " + std::to_string(kMaxPathValueBytes) + " bytes";
    addFlaggedRow(context, ScriptLine{.key = parsed.key, .sign = "=", .value = parsed.shownValue()},
                  parsed.pathTooLong ? tooLong : parsed.problem, origin);
    if (parsed.pathTooLong)
        context.host.addHistoryRow(HistoryRow{.from = parsed.key,
                                              .to = parsed.shownValue(),
                                              .size = "",
                                              .delta = "",
                                              .status = tooLong,
                                              .colour = RowColour::Red});
}

// An Include or IncludeTry line: its row, then the rows of the file it names.
void includeFile(ScriptContext& context, const ParsedLine& parsed, const std::string& line,
                 const LineOrigin& origin) {
    const bool required = parsed.key == keyDefinition(Key::Include).name;
    const std::string name = parsed.shownValue();
    ScriptLine row{.key = parsed.key, .sign = "=", .value = name, .highlighted = false};
    auto reportFailure = [&](const char* status, const std::string& reason) {
        addFlaggedRow(context, row,
                      required ? reason : reason + " (IncludeTry: the script runs without it)",
                      origin, required);
        context.host.addHistoryRow(HistoryRow{.from = parsed.key,
                                              .to = name,
                                              .size = "",
                                              .delta = "",
                                              .status = status,
                                              .colour = RowColour::Red});
    };

    if (isMissingFile(context.fileSystem, name)) {
        reportFailure("Include File does not exist",
                      "the included file " + name + " does not exist");
        return;
    }
    const std::string entry = chainName(context.fileSystem, name);
    const std::vector<std::string>& chain = context.script.filesBeingRead;
    if (std::find(chain.begin(), chain.end(), entry) != chain.end()) {
        addErrorRow(context, line, "the file " + name + " would include itself", origin);
        return;
    }
    if (chain.size() >= kMaxIncludeDepth) {
        addErrorRow(context, line,
                    "includes nested deeper than " + std::to_string(kMaxIncludeDepth) + " files",
                    origin);
        return;
    }
    clearPreviewPrefixes(context);
    const std::vector<std::string>* lines = readScriptFile(context, name, entry);
    if (lines == nullptr) {
        // An unread Include would let the script run without part of its settings.
        reportFailure("Include File cannot be read",
                      "the included file " + name + " cannot be read");
        return;
    }
    addScriptLine(context, row);
    const bool outerReadingInclude = context.script.readingInclude;
    context.script.readingInclude = true;
    appendScriptLines(context, name, entry, *lines);
    context.script.readingInclude = outerReadingInclude;
}

// The end of every file read, included ones too, so the outermost file has the last word.
void refreshAfterFile(ScriptContext& context, const std::string& name) {
    if (!context.script.titleSet)
        setWindowCaption(context, name);
    context.display.setMessageLine(name);
    const int errors = context.script.errorCount;
    if (errors > 0)
        context.window.showScriptPage();
    context.window.update([errors](WindowState& state) {
        state.scriptReady = errors == 0;
        state.errorReport = "Contains " + std::to_string(errors) + " errors";
    });
}

// Counts one more line of the load; past the limit the load stops with an error row and a
// history row that says why.
bool takeLine(ScriptContext& context, const LineOrigin& origin) {
    ScriptState& script = context.script;
    if (script.loadCut)
        return false;
    if (++script.linesLoaded <= kMaxLoadedLines)
        return true;
    script.loadCut = true;
    const std::string reason = "Script longer than " + std::to_string(kMaxLoadedLines) +
                               " lines with its included files - loading stopped";
    addFlaggedRow(context, ScriptLine{.key = "", .sign = "?", .value = reason}, reason, origin);
    context.host.addHistoryRow(HistoryRow{.from = origin.file,
                                          .to = "",
                                          .size = "",
                                          .delta = "",
                                          .status = reason,
                                          .colour = RowColour::Red});
    return false;
}

void appendScriptLines(ScriptContext& context, const std::string& name,
                       const std::string& chainEntry, const std::vector<std::string>& lines) {
    context.script.filesBeingRead.push_back(chainEntry);
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const LineOrigin origin{name, static_cast<int>(index + 1)};
        if (!takeLine(context, origin))
            break;
        const std::string line = trim(lines[index]);
        if (line.empty())
            continue;
        const ParsedLine parsed = parseScriptLine(context, line);
        if (!parsed.accepted) {
            addErrorRow(context, line, parsed.problem, origin);
        } else if (parsed.pathTooLong || !parsed.problem.empty()) {
            reportValueProblem(context, parsed, origin);
        } else if (parsed.key == keyDefinition(Key::Include).name ||
                   parsed.key == keyDefinition(Key::IncludeTry).name) {
            includeFile(context, parsed, line, origin);
        } else if (line.starts_with(';')) {
            addScriptLine(context,
                          ScriptLine{.key = "", .sign = "", .value = line, .highlighted = false});
        } else if (parsed.key == "EXECUTE" || parsed.key == "RESET") {
            const std::string command = parsed.key == "EXECUTE" ? "Execute" : "Reset";
            addScriptLine(
                context, ScriptLine{.key = command, .sign = "", .value = "", .highlighted = false});
        } else {
            addScriptLine(context, ScriptLine{.key = parsed.key,
                                              .sign = "=",
                                              .value = parsed.shownValue(),
                                              .highlighted = false});
        }
    }
    context.script.filesBeingRead.pop_back();
    refreshAfterFile(context, name);
}

} // namespace

void loadScript(ScriptContext& context, const std::string& fileName) {
    clearPreviewPrefixes(context);
    if (isMissingFile(context.fileSystem, fileName))
        return;
    ScriptState& script = context.script;
    script.filesRead.clear();
    script.linesLoaded = 0;
    script.loadCut = false;
    const std::string entry = chainName(context.fileSystem, fileName);
    if (const std::vector<std::string>* lines = readScriptFile(context, fileName, entry))
        appendScriptLines(context, fileName, entry, *lines);
    script.filesRead.clear(); // the next load reads every file afresh
}

void clearForLoad(ScriptContext& context) {
    ScriptState& script = context.script;
    SessionSettings& settings = context.settings;
    context.host.resetSettings(true);
    script.errorCount = 0;
    setCaptionAndTitle(context, script.mainLabel);
    context.display.setCurrentFile("");
    script.whenFinishGiven = false;
    script.titleSet = false;
    script.readingInclude = false;
    clearRoots(settings);
    settings.leftRootPriority = kDefaultRootPriority;
    settings.rightRootPriority = kDefaultRootPriority;
    script.rows.clear();
    context.window.clearScript();
    script.messages.clear();
    context.display.clearMessages();
    settings.rootParamCount = 0;
    // Nothing of the new script is in error yet; the counters show again from its first scan.
    context.window.update([](WindowState& state) {
        state.scriptReady = true;
        state.countersShown = false;
        state.offersStop = false;
    });
    script.preview = FolderPreview{};
    script.filesBeingRead.clear();
}

} // namespace brisko::script
