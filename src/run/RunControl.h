#pragma once

#include "run/RunContext.h"

namespace brisko::run {

// What the end of a run decided about the window.
enum class WindowAfterRun { Stay, Close };

// How a run ended, for front ends that report it.
struct RunResult {
    bool scriptCompleted = false; // every row of the script ran
    bool aborted = false;         // Stop or Abort All, or an abort answer
    int failedActions = 0;        // planned actions that ended without being carried out
    WindowAfterRun window = WindowAfterRun::Stay;
};

// The Execute button while it offers Execute: one whole run (scan, the optional pause between
// scan and copy, carrying the plan out, the finishing steps that always run).
RunResult executeRun(RunContext& context);

// The Execute button while it offers Stop: asks for confirmation, then stops the run.
void requestStop(RunContext& context);
// The Continue button while the run waits between scan and copy: carries the plan out.
void continueRun(RunContext& context);
// The Abort All button while the run waits: ends the run with nothing carried out.
void abortAllWaiting(RunContext& context);

} // namespace brisko::run
