#pragma once

#include "platform/UniqueFd.h"

#include <QStringList>
#include <memory>
#include <sys/types.h>

namespace brisko::launcher {

// A program started directly (never through a shell), in a session of its own so that it
// outlives us and our terminal, with the descriptors 0 to 2 only and default signals. It is
// watched through a process descriptor, which cannot be confused with a later process that
// happens to get the same id.
class ChildProcess {
public:
    enum class WaitOutcome { Ended, TimedOut, GaveUp };
    static constexpr int kWaitForever = -1;

    // Starts arguments[0] (looked up on PATH when it has no '/') with the rest as its
    // arguments, in folder (empty: ours), at the given nice value (best effort: raising
    // the priority needs privileges). Returns the errno of a failed start, 0 on success.
    static int start(const QStringList& arguments, const QString& folder, int niceValue,
                     std::shared_ptr<ChildProcess>& started);

    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    bool hasEnded() const;
    // Waits up to waitMs (kWaitForever: no limit) for the end, or until giveUpFd (when >= 0)
    // becomes readable.
    WaitOutcome waitForEnd(int waitMs, int giveUpFd = -1) const;
    // The exit code of an ended program (128 + the signal for one that was killed); collects
    // its end.
    int collectExitCode();

private:
    ChildProcess(pid_t pid, platform::UniqueFd pidFd) : pid_(pid), pidFd_(std::move(pidFd)) {}

    pid_t pid_;
    platform::UniqueFd pidFd_;
    bool collected_ = false;
};

} // namespace brisko::launcher
