#pragma once

namespace brisko::batch {

// Ctrl-C and SIGTERM stop the run as a confirmed Stop does: the handlers only raise a flag that
// the run's polling loops read.
void installStopSignals();
bool stopSignalled();

} // namespace brisko::batch
