#include "run/ExitProgram.h"

#include "platform/DrivePath.h"
#include "script/SplitList.h"

#include <optional>

namespace brisko::run {

namespace {

// Makes the working folder current and returns it as a host path: empty when none is given
// (the current folder stays as it is), nothing when it cannot be entered.
std::optional<std::string> enterWorkingFolder(const ActionContext& context) {
    const std::string& exitFolder = context.settings.exitFolder;
    const std::string& folder = exitFolder.empty() ? context.script.loadFolder : exitFolder;
    if (folder.empty())
        return std::string();
    platform::FileSystem& fileSystem = context.fileSystem;
    if (!fileSystem.setCurrentFolder(folder).ok())
        return std::nullopt;
    return fileSystem.currentFolder();
}

bool startProgram(const ActionContext& context, const std::string& value,
                  const std::string& folder) {
    platform::Shell* shell = context.shell;
    std::vector<std::string> pieces = script::splitList(value, " \t");
    if (shell == nullptr || pieces.empty())
        return false;
    std::string program = pieces.front();
    if (platform::drive_path::hasDrive(program)) {
        auto host = context.fileSystem.hostPath(program);
        if (!host)
            return false;
        program = *host;
    }
    pieces.erase(pieces.begin());
    return shell->open(program, pieces, folder).ok();
}

} // namespace

void runExitProgram(const ActionContext& context) {
    if (context.host.abortRequested())
        return;
    const std::optional<std::string> folder = enterWorkingFolder(context);
    const std::string& value = context.settings.exitProgram;
    if (value.empty())
        return;
    // A program is never started in another folder than the one it was meant for.
    if (folder && startProgram(context, value, *folder)) {
        if (!context.script.whenFinishGiven)
            context.host.setCloseWhenFinished(true);
        return;
    }
    context.host.setCloseWhenFinished(false);
    context.operatorPort.notify("Failed to execute " + value);
}

} // namespace brisko::run
