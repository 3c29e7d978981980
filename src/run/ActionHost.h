#pragma once

#include "engine/EngineContext.h"
#include "ports/Display.h"
#include "run/History.h"

#include <cstddef>
#include <string>

namespace brisko::run {

// What carrying out the plan changes in the run above it: the flags, the run state, the screen,
// the counters and the history rows. The run context implements it.
class ActionHost {
public:
    virtual bool abortRequested() const = 0;
    // Stops the whole run (Abort All).
    virtual void abortAll() = 0;
    virtual RunState runState() const = 0;
    virtual void setRunState(RunState state) = 0;
    // The Execute button offers Stop while a copy is under way, or no longer.
    virtual void setStopOffered(bool offered) = 0;
    // The arrow between the folder panes: the copy direction, or hidden.
    virtual void showCopyDirection(bool leftToRight, bool shown) = 0;
    // A copy is being compared with its source, or no longer.
    virtual void setVerifying(bool verifying) = 0;
    virtual void setCloseWhenFinished(bool close) = 0;

    // Lets pending input through (throttled); the caller then tests abortRequested().
    virtual void pump() = 0;
    // Brings what changed onto the screen, at once or throttled.
    virtual void refreshScreen(bool throttled) = 0;
    virtual void setCurrentFile(const std::string& path) = 0;
    virtual void showFolders(const std::string& left, const std::string& right) = 0;

    // An action carried out, counted on its counter.
    virtual void countDone(Counter which) = 0;
    // A planned action that ended without being carried out.
    virtual void countFailure() = 0;
    // The outcome of the action at index of a plan list, in its history row.
    virtual void writeOutcome(PlanList list, std::size_t index, const std::string& status,
                              RowColour colour) = 0;
    // A row of its own, for what has no planned row.
    virtual void addHistoryRow(const HistoryRow& row) = 0;

    // The engine's view of the run, for comparing a copy with its source.
    virtual engine::EngineContext engineContext(script::SessionSettings& settings) = 0;

protected:
    ~ActionHost() = default;
};

} // namespace brisko::run
