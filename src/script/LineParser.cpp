#include "script/LineParser.h"

#include "platform/Unicode.h"
#include "script/Caption.h"
#include "script/FolderPreview.h"
#include "script/KeyTable.h"
#include "script/Roots.h"
#include "script/ScriptLoader.h"
#include "script/SplitList.h"
#include "script/ValueExpansion.h"
#include "script/ValueProblems.h"

namespace brisko::script {

namespace {

bool isCommand(std::string_view line) {
    const std::string text = trim(line);
    return platform::equalsIgnoreCase(text, "RESET") || platform::equalsIgnoreCase(text, "EXECUTE");
}

// A Title counts unless an included file offers it after a title was already set.
void applyTitle(ScriptContext& context, const std::string& title) {
    if (context.script.readingInclude && context.script.titleSet)
        return;
    setCaptionAndTitle(context, title);
    context.script.titleSet = true;
}

} // namespace

ParsedLine parseScriptLine(ScriptContext& context, std::string_view line) {
    ParsedLine parsed;
    // A NUL byte would cut the value short wherever it is handed to the system: such a line
    // is an error, never taken for what comes before the NUL.
    if (line.find('\0') != std::string_view::npos) {
        parsed.problem = "the line holds a NUL byte";
        return parsed;
    }
    if (line.starts_with(';') || isCommand(line)) {
        parsed.accepted = true;
        parsed.key = platform::toUpper(line);
        return parsed;
    }

    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        parsed.problem = lineWithoutSign(line);
        return parsed;
    }
    const std::string keyText = trim(line.substr(0, equals));
    const std::optional<Key> key = findKey(keyText);
    if (!key) {
        parsed.problem = unknownKey(keyText);
        return parsed;
    }

    const KeyDefinition& definition = keyDefinition(*key);
    parsed.key = definition.name;
    parsed.rawValue = trim(line.substr(equals + 1));
    if (definition.allowedValues.empty()) {
        parsed.value = expandValue(parsed.rawValue, context.clock, context.environment);
    } else {
        std::optional<std::string> allowed = matchAllowedValue(definition, parsed.rawValue);
        if (!allowed) {
            parsed.problem = valueNotAllowed(definition, parsed.rawValue);
            return parsed;
        }
        parsed.value = std::move(*allowed);
    }
    parsed.accepted = true;

    switch (*key) {
    case Key::Title:
        applyTitle(context, parsed.shownValue());
        break;
    case Key::LeftRoot:
    case Key::RightRoot:
    case Key::LeftPath:
    case Key::RightPath:
        // A value too long to name anything is reported by the loader, never looked up.
        parsed.pathTooLong = parsed.shownValue().size() > kMaxPathValueBytes;
        if (parsed.pathTooLong)
            break;
        parsed.problem = hostFolderValue(*key, parsed.shownValue(),
                                         context.environment.get("HOME").value_or(""));
        if (parsed.problem.empty())
            showFolderPreview(context, parsed.key, parsed.shownValue());
        break;
    default:
        break;
    }
    return parsed;
}

void addScriptLine(ScriptContext& context, ScriptLine line) {
    context.script.rows.push_back(std::move(line));
    context.window.addScriptRow(static_cast<int>(context.script.rows.size()),
                                context.script.rows.back());
}

} // namespace brisko::script
