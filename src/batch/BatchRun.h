#pragma once

#include "batch/BatchOptions.h"

#include <ostream>

namespace brisko::batch {

// Exit statuses of the console runner.
enum ExitStatus {
    kExitDone = 0,
    kExitScriptErrors = 1,
    kExitStopped = 2,
    kExitActionsFailed = 3,
    kExitOutputFailed = 4, // the records or the progress line could not be written
    kExitUsage = 64,
};

// Loads (and, later, runs) the script the options name; writes the records to out and
// complaints about the command line to err. Returns the exit status.
int runBatch(const BatchOptions& options, std::ostream& out, std::ostream& err);

} // namespace brisko::batch
