#include "RecordingHost.h"

namespace brisko::test {

void RecordingHost::executeSession() {
    sessions.push_back(settings_);
    if (duringSession)
        duringSession();
}

void RecordingHost::resetSettings(bool full) {
    resets.push_back(full);
    historyRows.clear(); // the history list restarts with every reset
    script::resetSettings(settings_, full);
}

void RecordingHost::abortAll() {
    ++abortAllCalls;
    abortFlag = true;
    closeWhenFinished = false;
}

} // namespace brisko::test
