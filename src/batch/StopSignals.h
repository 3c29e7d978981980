#pragma once

namespace brisko::batch {

// Ctrl-C and SIGTERM (on Windows: Ctrl-C, Ctrl-Break, closing the console) stop the run as a
// confirmed Stop does: the handlers only raise a flag that the run's polling loops read.
void installStopSignals();
bool stopSignalled();

} // namespace brisko::batch
