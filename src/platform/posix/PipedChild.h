#pragma once

#include "platform/StopSignal.h"
#include "platform/posix/UniqueFd.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <sys/types.h>
#include <thread>
#include <utility>
#include <vector>

namespace brisko::platform {

// A program that speaks over its standard input and output, both on one end of a socket pair
// (so that writing to a program that has gone fails with EPIPE instead of raising SIGPIPE). Its
// standard error is read by a thread of its own, which keeps the last few lines: the program's
// reason when it fails. It runs with no other descriptor, default signals and, unless it stays
// on our terminal, in a session of its own. Ending it closes the socket, waits a short time for
// it to end, then kills it; it is always collected.
class PipedChild {
public:
    struct Request {
        std::vector<std::string> arguments; // arguments[0]: the program, looked up in PATH
        std::vector<std::pair<std::string, std::string>> environment; // added to ours
        bool onTerminal = false; // stays in our session, so that it can ask on the terminal
    };

    // Starts a program; the system's error code (errno) of a failed start, 0 on success.
    static int start(const Request& request, std::unique_ptr<PipedChild>& started);

    ~PipedChild(); // ends the program (end())
    PipedChild(const PipedChild&) = delete;
    PipedChild& operator=(const PipedChild&) = delete;

    // Our end of the socket pair: the program's standard input and output.
    int socket() const { return socket_.get(); }
    // Becomes readable when the program has ended.
    int endFd() const { return pidFd_.get(); }
    bool hasEnded() const;

    // Closes the socket, waits up to kEndWait for the program to end, then kills it (and,
    // in a session of its own, what it started) and collects it. Returns its exit status.
    int end();
    // The exit status once the program has been collected (128 + the signal when killed).
    std::optional<int> exitStatus() const;

    // The last line the program wrote to its standard error that is not blank, when it came
    // after the first `after` lines (so that a warning of long ago is not taken for a reason);
    // empty when there is none. Waits up to wait for the program to end and its standard error
    // to close first, so that its last words are not missed.
    std::string lastWords(std::chrono::milliseconds wait, std::size_t after = 0);
    // How many lines that are not blank the program has written to its standard error so far.
    // Waits (briefly) until what it wrote there is read, so that lines written before some
    // answer of the program are counted once that answer is in.
    std::size_t linesWritten() const;

    static constexpr std::chrono::milliseconds kEndWait{2000};

private:
    PipedChild(pid_t pid, bool ownSession, UniqueFd socket, UniqueFd pidFd, UniqueFd errors);
    void readErrors();
    bool waitForEnd(std::chrono::milliseconds wait) const;

    pid_t pid_;
    bool ownSession_;
    UniqueFd socket_;
    UniqueFd pidFd_;
    UniqueFd errors_;
    StopSignal stopReading_;

    std::mutex endMutex_;
    mutable std::mutex mutex_;
    std::condition_variable errorsClosed_;
    std::deque<std::string> lines_;
    std::string partial_;
    std::size_t linesWritten_ = 0;
    std::atomic<bool> readingErrors_{false}; // between a wake-up and the lines it brought
    bool errorsDone_ = false;
    std::optional<int> exitStatus_;
    std::thread errorReader_;
};

} // namespace brisko::platform
