#pragma once

#include "ports/Display.h"

namespace brisko::script {

// What the script language needs from the layers above it: the run's flags, the history list
// and the session entry. The run context implements it.
class ScriptHost {
public:
    virtual ~ScriptHost() = default;

    // An Execute row: the session count and its message are already recorded.
    virtual void executeSession() = 0;
    // Reset row (partial) or the start of a run (full); the host restarts the history list and
    // whatever it keeps of the plan, then resets the settings.
    virtual void resetSettings(bool full) = 0;

    virtual bool abortRequested() const = 0;
    // Stops the whole run (Abort All).
    virtual void abortAll() = 0;
    virtual void setCloseWhenFinished(bool close) = 0;

    // Adds a row to the history list (a red row for a missing include, for instance).
    virtual void addHistoryRow(const HistoryRow& row) = 0;
};

} // namespace brisko::script
