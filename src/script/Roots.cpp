#include "script/Roots.h"

#include "platform/DrivePath.h"
#include "platform/Unicode.h"
#include "script/LineParser.h"
#include "script/ScriptLoader.h"
#include "script/SplitList.h"

#include <algorithm>
#include <charconv>

namespace brisko::script {

namespace {

struct RootSlot {
    std::string& root;
    std::string& rootAsWritten;
    int& priority;

    void set(std::string_view written, int newPriority) {
        rootAsWritten = std::string(written);
        root = platform::toUpper(written);
        priority = newPriority;
    }
};

RootSlot rootSlot(SessionSettings& settings, Side side) {
    if (side == Side::Left)
        return {settings.leftRoot, settings.leftRootAsWritten, settings.leftRootPriority};
    return {settings.rightRoot, settings.rightRootAsWritten, settings.rightRootPriority};
}

// A decimal priority; anything that is not a whole number in range counts as the default.
int parsePriority(std::string_view text) {
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int priority = kDefaultRootPriority;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), priority);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return kDefaultRootPriority;
    return priority;
}

} // namespace

void setRoot(SessionSettings& settings, Side side, std::string_view value) {
    const std::vector<std::string> items = splitList(value, ",");
    // Only commas and blanks: no root named, so the standing one stays.
    if (items.empty())
        return;
    const int priority = items.size() > 1 ? parsePriority(items[1]) : kDefaultRootPriority;
    RootSlot slot = rootSlot(settings, side);
    if (!slot.root.empty() && slot.priority > priority)
        return;
    slot.set(items[0], priority);
}

void applyCommandLineRoot(ScriptContext& context, std::string_view parameter) {
    const std::string text = platform::toUpper(parameter);
    const bool left = text.starts_with("L=");
    if (!left && !text.starts_with("R=")) {
        clearRoots(context.settings);
        return;
    }
    RootSlot slot = rootSlot(context.settings, left ? Side::Left : Side::Right);
    slot.set(parameter.substr(2), kCommandLineRootPriority);
    addScriptLine(
        context,
        ScriptLine{
            .key = left ? "L=" : "R=", .sign = "=", .value = slot.root, .highlighted = true});
    ++context.settings.rootParamCount;
}

std::string joinRootAndPath(std::string_view root, std::string_view path) {
    // Folders are joined with '\' everywhere, also where a script wrote '/', so that every row
    // shows one separator.
    std::string rootText(root);
    std::string pathText(path);
    std::replace(rootText.begin(), rootText.end(), '/', '\\');
    std::replace(pathText.begin(), pathText.end(), '/', '\\');
    root = rootText;
    path = pathText;
    if (root.ends_with('\\'))
        root.remove_suffix(1);
    if (path.size() > 1 && path.starts_with('\\'))
        path.remove_prefix(1);
    if (path.size() > 1 && path.ends_with('\\'))
        path.remove_suffix(1);

    std::string full;
    // A share names its own drive: the root plays no part, as after '#'.
    if (platform::drive_path::isShareForm(pathText)) {
        full = pathText;
    } else if (!path.empty() && !path.starts_with('#')) {
        full = std::string(root);
        if (path != "\\" && !root.empty())
            full += '\\';
        full += path;
    } else {
        if (path.starts_with('#'))
            path.remove_prefix(1); // an absolute path: the root plays no part
        full = std::string(path);
    }
    if (full.ends_with('\\'))
        full.pop_back();
    return full;
}

bool buildFullPaths(ScriptContext& context) {
    SessionSettings& settings = context.settings;
    settings.leftFullPath = joinRootAndPath(settings.leftRoot, settings.leftPath);
    settings.rightFullPath = joinRootAndPath(settings.rightRoot, settings.rightPath);
    settings.leftFullPathAsWritten =
        joinRootAndPath(settings.leftRootAsWritten, settings.leftPathAsWritten);
    settings.rightFullPathAsWritten =
        joinRootAndPath(settings.rightRootAsWritten, settings.rightPathAsWritten);
    if (settings.leftFullPath.empty() || settings.rightFullPath.empty())
        return false;
    // The written form is expanded too, so that folders found on disk carry the same names in
    // both and only what is missing keeps the case written.
    expandShortNames(context, settings.rightFullPath);
    expandShortNames(context, settings.leftFullPath);
    expandShortNames(context, settings.rightFullPathAsWritten);
    expandShortNames(context, settings.leftFullPathAsWritten);
    return true;
}

void expandShortNames(ScriptContext& context, std::string& path) {
    if (path.find('~') == std::string::npos)
        return;
    const std::vector<std::string> components = splitList(path, "\\");
    if (components.size() < 2)
        return;
    std::string result = components[0];
    for (std::size_t i = 1; i < components.size(); ++i) {
        context.display.pump();
        const std::string candidate = result + '\\' + components[i];
        const platform::PathInfo info = context.fileSystem.stat(candidate);
        result += '\\';
        result += info.result.ok() && !info.entry.name.empty() ? info.entry.name : components[i];
    }
    path = std::move(result);
}

} // namespace brisko::script
