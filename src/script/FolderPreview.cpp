#include "script/FolderPreview.h"

#include "platform/DrivePath.h"
#include "script/KeyTable.h"
#include "script/Roots.h"

namespace brisko::script {

namespace {

struct PreviewSide {
    Side side;
    std::string& path;
    bool& shown;
};

PreviewSide previewSide(FolderPreview& preview, Side side) {
    if (side == Side::Left)
        return {side, preview.leftPath, preview.leftShown};
    return {side, preview.rightPath, preview.rightShown};
}

bool isDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The drive part of a root value: its share, or up to and including its first ':'.
std::string drivePrefix(std::string_view root) {
    if (platform::drive_path::isShareForm(root))
        return std::string(platform::drive_path::driveOrShare(root));
    const std::size_t colon = root.find(':');
    return colon == std::string_view::npos ? std::string() : std::string(root.substr(0, colon + 1));
}

void previewPath(ScriptContext& context, PreviewSide target, std::string_view path) {
    if (target.shown)
        return;
    target.shown = true; // the first path line of a side is previewed, shown or not
    target.path = joinRootAndPath(target.path, path);
    if (context.fileSystem.folderExists(target.path)) {
        expandShortNames(context, context.script.preview.rightPath);
        expandShortNames(context, context.script.preview.leftPath);
        context.window.showFolder(target.side, target.path);
        return;
    }
    std::string driveRoot;
    if (platform::drive_path::isShareForm(target.path))
        driveRoot = std::string(platform::drive_path::driveOrShare(target.path)) + "\\";
    else if (!target.path.empty() && isDriveLetter(target.path[0]))
        driveRoot = target.path.substr(0, 1) + ":\\";
    else
        return;
    if (context.fileSystem.folderExists(driveRoot))
        context.window.showFolder(target.side, driveRoot);
}

} // namespace

void showFolderPreview(ScriptContext& context, std::string_view key, std::string_view value) {
    const std::optional<Key> found = findKey(key);
    if (!found)
        return;
    FolderPreview& preview = context.script.preview;
    switch (*found) {
    case Key::LeftRoot:
        preview.leftPath = drivePrefix(value);
        break;
    case Key::RightRoot:
        preview.rightPath = drivePrefix(value);
        break;
    case Key::LeftPath:
        previewPath(context, previewSide(preview, Side::Left), value);
        break;
    case Key::RightPath:
        previewPath(context, previewSide(preview, Side::Right), value);
        break;
    default:
        break;
    }
}

} // namespace brisko::script
