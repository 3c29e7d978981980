#include "batch/StopSignals.h"

#include <atomic>
#include <csignal>

namespace brisko::batch {

namespace {
std::atomic<bool> signalled{false};

extern "C" void onStopSignal(int) {
    signalled.store(true);
}
} // namespace

void installStopSignals() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool stopSignalled() {
    return signalled.load();
}

} // namespace brisko::batch
