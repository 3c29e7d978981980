#include "script/SessionSettings.h"

namespace brisko::script {

namespace {
// The keys that fall back after every Execute and on every reset.
void resetPerSessionKeys(SessionSettings& settings) {
    settings.sessionFiles = "*.*";
    settings.updateMode = UpdateMode::Update;
    settings.subFolders = true;
    settings.missingFolder = MissingFolderRule::UserAsk;
}
} // namespace

void clearRoots(SessionSettings& settings) {
    settings.leftRoot.clear();
    settings.rightRoot.clear();
    settings.leftRootAsWritten.clear();
    settings.rightRootAsWritten.clear();
}

void resetSettings(SessionSettings& settings, bool full) {
    if (full) {
        settings.sessionCount = 0;
        settings.sessionMessages.clear();
    }
    if (settings.rootParamCount == 0) {
        clearRoots(settings);
        settings.leftRootPriority = kDefaultRootPriority;
        settings.rightRootPriority = kDefaultRootPriority;
    }
    settings.tables.reset();
    settings.exitProgram.clear();
    settings.exitFolder.clear();
    settings.rightPath.clear();
    settings.leftPath.clear();
    settings.rightPathAsWritten.clear();
    settings.leftPathAsWritten.clear();
    settings.leftWrite.clear();
    settings.rightWrite.clear();
    resetPerSessionKeys(settings);
}

void resetAfterExecute(SessionSettings& settings) {
    for (ExcludeEntry& entry : settings.tables.exclusions)
        entry.inForce = false;
    resetPerSessionKeys(settings);
}

} // namespace brisko::script
