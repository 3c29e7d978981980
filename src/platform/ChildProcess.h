#pragma once

#include "platform/StopSignal.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>
#ifndef _WIN32
#include <sys/types.h>
#endif

namespace brisko::platform {

// A program started directly (never through a shell). On POSIX it runs with the descriptors 0
// to 2 only and default signals, in a session of its own unless asked otherwise (so that it
// outlives us and our terminal), and is watched through a process descriptor, which cannot be
// confused with a later process that happens to get the same id; its end is collected in the
// background when nobody waits for it. On Windows it gets a command line quoted as Windows
// programs read it, in a process group of its own, and is watched through its process handle.
class ChildProcess {
public:
    enum class WaitOutcome { Ended, TimedOut, GaveUp };
    enum class Priority { Normal, Idle, High, RealTime };
    static constexpr int kWaitForever = -1;

    enum class Session { Own, Ours }; // POSIX: Ours keeps it in our session and terminal

    // What to start and how.
    struct Request {
        // arguments[0] is the program, looked up as the system looks programs up; all UTF-8.
        std::vector<std::string> arguments;
        // POSIX: the file to run when it is not arguments[0] looked up; arguments[0] is then
        // only the name the program is given as its own.
        std::string executable;
        std::string folder;                   // the folder it runs in; empty: ours
        Priority priority = Priority::Normal; // best effort: raising it may need privileges
        Session session = Session::Own;
    };

    // Starts a program to be watched. Returns the system's error code of a failed start
    // (errno, or GetLastError on Windows), 0 on success.
    static int start(const Request& request, std::shared_ptr<ChildProcess>& started);
    static int start(const std::vector<std::string>& arguments, const std::string& folder,
                     Priority priority, std::shared_ptr<ChildProcess>& started) {
        Request request;
        request.arguments = arguments;
        request.folder = folder;
        request.priority = priority;
        return start(request, started);
    }
    // Starts a program that is never waited for; the same codes as start.
    static int launch(const Request& request);

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
    ChildProcess(unsigned long id, WinHandle process) : id_(id), process_(std::move(process)) {}

    unsigned long id_;
    WinHandle process_;
#else
    ChildProcess(pid_t pid, UniqueFd pidFd) : id_(pid), pidFd_(std::move(pidFd)) {}

    pid_t id_;
    UniqueFd pidFd_;
    bool collected_ = false;
#endif
};

} // namespace brisko::platform
