#pragma once

#include "run/ActionContext.h"

namespace brisko::run {

// The last step of a run that was not stopped: the exit folder (or the folder the script was
// loaded from) becomes the current folder, and the ExitProgram, when one is set, is started
// there. A started program lets the window close at the end unless the script said how to
// finish; a program that cannot be started is said so and keeps the window open.
void runExitProgram(const ActionContext& context);

} // namespace brisko::run
