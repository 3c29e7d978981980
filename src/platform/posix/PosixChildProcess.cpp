#include "platform/ChildProcess.h"
#include "platform/posix/SpawnSetup.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace brisko::platform {

namespace {

// A descriptor that becomes readable when the process ends (called directly: not every C
// library declares it).
int openProcessDescriptor(pid_t pid) {
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}

int niceValue(ChildProcess::Priority priority) {
    switch (priority) {
    case ChildProcess::Priority::Idle:
        return 19;
    case ChildProcess::Priority::High:
        return -10;
    case ChildProcess::Priority::RealTime:
        return -20;
    case ChildProcess::Priority::Normal:
        break;
    }
    return 0;
}

// Milliseconds left until deadline for poll (never negative), or -1 for no deadline.
int remainingMs(const std::chrono::steady_clock::time_point* deadline) {
    if (deadline == nullptr)
        return -1;
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(*deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
}

int waitStatus(pid_t pid, int options) {
    int status = 0;
    while (waitpid(pid, &status, options) == -1 && errno == EINTR) {
    }
    return status;
}

// Starts the program of a request; its process id goes to pid.
int spawn(const ChildProcess::Request& request, pid_t& pid) {
    if (request.arguments.empty() || request.arguments.front().empty())
        return ENOENT;
    std::vector<char*> argv;
    argv.reserve(request.arguments.size() + 1);
    for (const std::string& argument : request.arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const SpawnSetup settings(request.folder, request.session == ChildProcess::Session::Own
                                                  ? SpawnSetup::Session::Own
                                                  : SpawnSetup::Session::Ours);
    const int error = request.executable.empty()
                          ? posix_spawnp(&pid, argv.front(), settings.actions(),
                                         settings.attributes(), argv.data(), environ)
                          : posix_spawn(&pid, request.executable.c_str(), settings.actions(),
                                        settings.attributes(), argv.data(), environ);
    if (error != 0)
        return error;
    if (const int nice = niceValue(request.priority); nice != 0)
        setpriority(PRIO_PROCESS, static_cast<id_t>(pid), nice);
    return 0;
}

// Collects a program's end in the background, so that it leaves no zombie behind; it is not
// stopped.
void collectInBackground(pid_t pid) {
    std::thread([pid] { waitStatus(pid, 0); }).detach();
}

} // namespace

StopSignal::StopSignal() : fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

void StopSignal::raise() {
    const std::uint64_t raised = 1;
    [[maybe_unused]] const ssize_t written = write(fd_.get(), &raised, sizeof raised);
}

int ChildProcess::start(const Request& request, std::shared_ptr<ChildProcess>& started) {
    pid_t pid = 0;
    if (const int error = spawn(request, pid); error != 0)
        return error;
    UniqueFd pidFd(openProcessDescriptor(pid));
    if (!pidFd.valid()) {
        const int openError = errno;
        // Started but cannot be watched: it runs on, collected in the background.
        collectInBackground(pid);
        return openError;
    }
    started.reset(new ChildProcess(pid, std::move(pidFd)));
    return 0;
}

int ChildProcess::launch(const Request& request) {
    pid_t pid = 0;
    if (const int error = spawn(request, pid); error != 0)
        return error;
    collectInBackground(pid);
    return 0;
}

ChildProcess::~ChildProcess() {
    if (collected_)
        return;
    // Still running (or not yet collected).
    collectInBackground(id_);
}

bool ChildProcess::hasEnded() const {
    pollfd watched{pidFd_.get(), POLLIN, 0};
    return poll(&watched, 1, 0) != 0;
}

ChildProcess::WaitOutcome ChildProcess::waitForEnd(int waitMs, const StopSignal* giveUp) const {
    pollfd watched[2] = {{pidFd_.get(), POLLIN, 0}, {giveUp ? giveUp->fd() : -1, POLLIN, 0}};
    const nfds_t count = giveUp ? 2 : 1;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        const int ready =
            poll(watched, count, remainingMs(waitMs == kWaitForever ? nullptr : &deadline));
        if (ready == -1 && errno == EINTR)
            continue;
        if (ready <= 0)
            return WaitOutcome::TimedOut;
        if (count == 2 && watched[1].revents != 0)
            return WaitOutcome::GaveUp;
        return WaitOutcome::Ended;
    }
}

int ChildProcess::collectExitCode() {
    const int status = waitStatus(id_, 0);
    collected_ = true;
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
}

} // namespace brisko::platform
