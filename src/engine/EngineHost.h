#pragma once

#include "ports/Display.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace brisko::engine {

// What the engine needs from the run layer above it: the run's state and flags, the counters,
// the history list and the throttled display. The run context implements it.
class EngineHost {
public:
    virtual ~EngineHost() = default;

    virtual bool abortRequested() const = 0;
    // Stops the whole run (Abort All).
    virtual void abortAll() = 0;
    virtual void setRunState(RunState state) = 0;
    // A session has begun: from now on the run can be stopped.
    virtual void offerStop() = 0;

    // Lets pending input through and refreshes the display, both throttled; called between
    // units of work, after which the caller tests abortRequested().
    virtual void pump() = 0;
    // Brings the changed counters, current file and folder panes onto the screen; throttled
    // refreshes happen at most three times a second.
    virtual void refreshDisplay(bool throttled) = 0;

    virtual void setCurrentFile(const std::string& path) = 0;
    // The folders the two panes are to show (left tree, right tree).
    virtual void showFolders(const std::string& left, const std::string& right) = 0;
    // The pass under way goes from left to right, or from right to left.
    virtual void setPassDirection(bool leftToRight) = 0;
    virtual void setFileProgress(std::int64_t done, std::int64_t total) = 0;

    // Adds one to a "to do" counter.
    virtual void countPlanned(Counter counter) = 0;
    // Adds a row to the history list; returns its number, 0 when the list is full.
    virtual int addHistoryRow(const HistoryRow& row) = 0;
    // Adds row, the row of the copy just listed at copyIndex of the plan's copies; a list
    // that draws such rows from the plan need not keep their texts.
    virtual int addCopyRow(std::size_t copyIndex, const HistoryRow& row) {
        static_cast<void>(copyIndex);
        return addHistoryRow(row);
    }
    // A red row about something the scan passed over (an entry that cannot be read, a name
    // that differs only in case from another): shown at once and kept when the history is
    // rebuilt, so that the operator still sees it at the end of the run.
    virtual void reportProblem(const HistoryRow& row) = 0;
};

} // namespace brisko::engine
