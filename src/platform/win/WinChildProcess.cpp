#include "platform/ChildProcess.h"
#include "platform/win/WinCommandLine.h"
#include "platform/win/WinText.h"

#include <optional>
#include <vector>

namespace brisko::platform {

namespace {

DWORD priorityClass(ChildProcess::Priority priority) {
    switch (priority) {
    case ChildProcess::Priority::Idle:
        return IDLE_PRIORITY_CLASS;
    case ChildProcess::Priority::High:
        return HIGH_PRIORITY_CLASS;
    case ChildProcess::Priority::RealTime:
        return REALTIME_PRIORITY_CLASS; // the system gives HIGH without the privilege
    case ChildProcess::Priority::Normal:
        break;
    }
    return 0; // the same class as ours
}

// Starts the program of a request (its folder and priority; the session is the system's own).
int spawn(const ChildProcess::Request& request, PROCESS_INFORMATION& process) {
    if (request.arguments.empty() || request.arguments.front().empty())
        return ERROR_FILE_NOT_FOUND;
    std::vector<std::wstring> wideArguments;
    for (const std::string& argument : request.arguments) {
        const std::optional<std::wstring> wide = wideFromUtf8(argument);
        if (!wide)
            return ERROR_NO_UNICODE_TRANSLATION;
        wideArguments.push_back(*wide);
    }
    const std::optional<std::wstring> wideFolder = wideFromUtf8(request.folder);
    if (!wideFolder)
        return ERROR_NO_UNICODE_TRANSLATION;
    std::wstring commandLine = windowsCommandLine(wideArguments);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_PROCESS_GROUP | priorityClass(request.priority), nullptr,
                        wideFolder->empty() ? nullptr : wideFolder->c_str(), &startup, &process))
        return static_cast<int>(GetLastError());
    CloseHandle(process.hThread);
    return 0;
}

} // namespace

StopSignal::StopSignal() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

void StopSignal::raise() {
    SetEvent(event_.get());
}

int ChildProcess::start(const Request& request, std::shared_ptr<ChildProcess>& started) {
    PROCESS_INFORMATION process{};
    if (const int error = spawn(request, process); error != 0)
        return error;
    started.reset(new ChildProcess(process.dwProcessId, WinHandle(process.hProcess)));
    return 0;
}

int ChildProcess::launch(const Request& request) {
    PROCESS_INFORMATION process{};
    if (const int error = spawn(request, process); error != 0)
        return error;
    CloseHandle(process.hProcess);
    return 0;
}

// The handle goes; the program runs on.
ChildProcess::~ChildProcess() = default;

bool ChildProcess::hasEnded() const {
    return WaitForSingleObject(process_.get(), 0) != WAIT_TIMEOUT;
}

ChildProcess::WaitOutcome ChildProcess::waitForEnd(int waitMs, const StopSignal* giveUp) const {
    // The lowest signalled handle is reported: giving up comes before the end, as on POSIX.
    std::vector<HANDLE> watched;
    if (giveUp)
        watched.push_back(giveUp->event());
    watched.push_back(process_.get());
    const DWORD timeout = waitMs == kWaitForever ? INFINITE : static_cast<DWORD>(waitMs);
    const DWORD ready =
        WaitForMultipleObjects(static_cast<DWORD>(watched.size()), watched.data(), FALSE, timeout);
    if (ready == WAIT_OBJECT_0 + watched.size() - 1)
        return WaitOutcome::Ended;
    if (giveUp && ready == WAIT_OBJECT_0)
        return WaitOutcome::GaveUp;
    return WaitOutcome::TimedOut;
}

int ChildProcess::collectExitCode() {
    DWORD code = 0;
    if (!GetExitCodeProcess(process_.get(), &code))
        return -1;
    return static_cast<int>(code);
}

} // namespace brisko::platform
