#pragma once

#include "launcher/StopSignal.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>
#ifndef _WIN32
#include <sys/types.h>
#endif

namespace brisko::launcher {

// A program started directly (never through a shell), so that it outlives us and our
// terminal. On POSIX it runs in a session of its own with the descriptors 0 to 2 only and
// default signals, and is watched through a process descriptor, which cannot be confused with
// a later process that happens to get the same id. On Windows it gets a command line quoted as
// Windows programs read it, and is watched through its process handle.
class ChildProcess {
public:
    enum class WaitOutcome { Ended, TimedOut, GaveUp };
    enum class Priority { Normal, Idle, High, RealTime };
    static constexpr int kWaitForever = -1;

    // Starts arguments[0] (looked up as the system looks programs up) with the rest as its
    // arguments, all UTF-8, in folder (empty: ours), at the given priority (best effort:
    // raising it may need privileges). Returns the system's error code of a failed start
    // (errno, or GetLastError on Windows), 0 on success.
    static int start(const std::vector<std::string>& arguments, const std::string& folder,
                     Priority priority, std::shared_ptr<ChildProcess>& started);

    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    long long id() const { return static_cast<long long>(id_); }
    bool hasEnded() const;
    // Waits up to waitMs (kWaitForever: no limit) for the end, or until giveUp (when given) is
    // raised.
    WaitOutcome waitForEnd(int waitMs, const StopSignal* giveUp = nullptr) const;
    // The exit code of an ended program (on POSIX 128 + the signal for one that was killed);
    // collects its end.
    int collectExitCode();

private:
#ifdef _WIN32
    ChildProcess(unsigned long id, platform::WinHandle process)
        : id_(id), process_(std::move(process)) {}

    unsigned long id_;
    platform::WinHandle process_;
#else
    ChildProcess(pid_t pid, platform::UniqueFd pidFd) : id_(pid), pidFd_(std::move(pidFd)) {}

    pid_t id_;
    platform::UniqueFd pidFd_;
    bool collected_ = false;
#endif
};

} // namespace brisko::launcher
