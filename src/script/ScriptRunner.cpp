#include "script/ScriptRunner.h"

#include "platform/Unicode.h"
#include "script/Caption.h"
#include "script/FileSpecLibrary.h"
#include "script/FileSpecs.h"
#include "script/KeyTable.h"
#include "script/Roots.h"

namespace brisko::script {

namespace {

UpdateMode updateMode(std::string_view value) {
    if (value == "LMASTER")
        return UpdateMode::LMaster;
    if (value == "RMASTER")
        return UpdateMode::RMaster;
    if (value == "1LTR")
        return UpdateMode::OneLTR;
    if (value == "2RTL")
        return UpdateMode::TwoRTL;
    return UpdateMode::Update;
}

MissingFolderRule missingFolderRule(std::string_view value) {
    if (value == "AUTO")
        return MissingFolderRule::Auto;
    if (value == "SKIP")
        return MissingFolderRule::Skip;
    return MissingFolderRule::UserAsk;
}

// A Message row: the message line, the message list, and the caption while no title stands.
void showMessage(ScriptContext& context, const std::string& text) {
    context.display.setMessageLine(text);
    if (!context.script.titleSet) {
        setCaptionAndTitle(context, text);
        context.script.titleSet = true;
    }
    context.script.messages.push_back(text);
    context.display.addMessage(text);
}

// An Execute row: the session is numbered and given the newest message, then run; the
// per-session keys fall back afterwards.
void executeSession(ScriptContext& context) {
    SessionSettings& settings = context.settings;
    ++settings.sessionCount;
    settings.sessionMessages.resize(static_cast<std::size_t>(settings.sessionCount) + 1);
    settings.sessionMessages[static_cast<std::size_t>(settings.sessionCount)] =
        context.script.messages.empty() ? std::string() : context.script.messages.back();
    context.host.executeSession();
    resetAfterExecute(settings);
}

// Ticks a check box that scripts may set but never clear.
void tickOption(ScriptContext& context, bool& option, bool wanted, bool WindowState::*box) {
    if (option || !wanted)
        return;
    option = true;
    context.window.update([box](WindowState& state) { state.*box = true; });
}

void applyKey(ScriptContext& context, Key key, const ScriptLine& row, const std::string& value) {
    SessionSettings& settings = context.settings;
    switch (key) {
    case Key::Message:
        showMessage(context, row.value); // the one value used as written
        break;
    case Key::ExitFolder:
        settings.exitFolder = value;
        break;
    case Key::ExitProgram:
        // Program names and their options are case-sensitive on POSIX hosts.
        settings.exitProgram = row.value;
        break;
    case Key::FileSpecLibrary:
        loadFileSpecLibrary(context, value);
        break;
    case Key::FileSpec:
    case Key::Compare:
    case Key::Backup:
    case Key::MissingFile:
    case Key::Ignore:
        applyFileSpecKey(settings.tables, keyDefinition(key).name, value);
        break;
    case Key::SessionFiles:
        settings.sessionFiles = value;
        break;
    case Key::RightPath:
        settings.rightPath = value;
        settings.rightPathAsWritten = row.value;
        break;
    case Key::LeftPath:
        settings.leftPath = value;
        settings.leftPathAsWritten = row.value;
        break;
    case Key::RightRoot:
        setRoot(settings, Side::Right, row.value);
        break;
    case Key::LeftRoot:
        setRoot(settings, Side::Left, row.value);
        break;
    case Key::Exclude:
        applyExclusions(settings.tables, value, "");
        break;
    case Key::UpdateMode:
        settings.updateMode = updateMode(value);
        break;
    case Key::SubFolders:
        settings.subFolders = value == "INCLUDED" || value == "YES";
        break;
    case Key::MissingFolder:
        settings.missingFolder = missingFolderRule(value);
        break;
    case Key::LeftWrite:
        settings.leftWrite = value;
        break;
    case Key::RightWrite:
        settings.rightWrite = value;
        break;
    case Key::WhenFinish:
        context.script.whenFinishGiven = true;
        context.host.setCloseWhenFinished(value != "STAY");
        break;
    case Key::BeforeCopy:
        tickOption(context, context.options.stopBetweenScanAndCopy, value == "PAUSE",
                   &WindowState::stopBetweenScanAndCopy);
        break;
    case Key::CompareAfterCopy:
        tickOption(context, context.options.binaryCompareAfterCopy, value == "YES",
                   &WindowState::binaryCompareAfterCopy);
        break;
    case Key::Include:
    case Key::IncludeTry:
    case Key::Title:
        break; // handled while loading
    }
}

void runRow(ScriptContext& context, const ScriptLine& row) {
    const std::string key = platform::toUpper(row.key);
    if (key == "EXECUTE") {
        executeSession(context);
        return;
    }
    if (key == "RESET") {
        context.host.resetSettings(false);
        return;
    }
    // Comments, "L=" and "R=" rows name no key and do nothing.
    if (const std::optional<Key> found = findKey(key))
        applyKey(context, *found, row, platform::toUpper(row.value));
}

} // namespace

bool runScript(ScriptContext& context) {
    // Each row is copied before it runs: the effects of a key reach into the script state.
    for (std::size_t i = 0; i < context.script.rows.size(); ++i) {
        const ScriptLine row = context.script.rows[i];
        runRow(context, row);
        if (context.host.abortRequested())
            return false;
    }
    return true;
}

} // namespace brisko::script
