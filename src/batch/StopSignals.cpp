#include "batch/StopSignals.h"

#include <atomic>
#include <csignal>
#ifdef _WIN32
#include <windows.h>
#endif

namespace brisko::batch {

namespace {
std::atomic<bool> signalled{false};

#ifdef _WIN32
// Ctrl-C, Ctrl-Break and the console being closed; the handler runs on a thread of its own.
BOOL WINAPI onConsoleEvent(DWORD) {
    signalled.store(true);
    return TRUE;
}
#else
extern "C" void onStopSignal(int) {
    signalled.store(true);
}
#endif
} // namespace

void installStopSignals() {
#ifdef _WIN32
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
#else
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
#endif
}

bool stopSignalled() {
    return signalled.load();
}

} // namespace brisko::batch
