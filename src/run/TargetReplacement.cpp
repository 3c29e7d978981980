#include "run/TargetReplacement.h"

namespace brisko::run {

namespace {

const char* const kRenameFailed = "Could not rename the copy to the target name";

ReplacementResult failed(std::string text) {
    return {false, std::move(text)};
}

} // namespace

ReplacementResult replaceTarget(platform::FileSystem& fileSystem, const std::string& temporary,
                                const std::string& target, bool targetThere,
                                const BackupChain& backups, bool keptAlready) {
    if (!targetThere || backups.empty() || keptAlready) {
        if (fileSystem.rename(temporary, target).ok())
            return {true, {}};
        return failed(targetThere ? std::string(kRenameFailed) + " - target kept" : kRenameFailed);
    }

    const std::string& backup = backups.firstPath();
    const std::string backupFailed =
        "Could not rename target to first backup extension " + backups.firstExtension();
    bool moved = false;
    platform::FsResult linked = fileSystem.link(target, backup);
    if (linked.status == platform::FsStatus::Unsupported) {
        if (!fileSystem.rename(target, backup).ok())
            return failed(backupFailed);
        moved = true;
    } else if (!linked.ok()) {
        return failed(backupFailed);
    }

    if (fileSystem.rename(temporary, target).ok())
        return {true, {}};
    if (!moved) {
        fileSystem.removeFile(backup); // the second name only: the target stays as it was
        return failed(std::string(kRenameFailed) + " - target kept");
    }
    if (fileSystem.rename(backup, target).ok())
        return failed(std::string(kRenameFailed) + " - target kept");
    return failed(std::string(kRenameFailed) + " - old target kept as " + backup);
}

} // namespace brisko::run
