#include "platform/posix/PipedChild.h"

#include "platform/posix/SpawnSetup.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace brisko::platform {

namespace {

constexpr std::size_t kKeptLines = 8;

// Our environment with the additions of a request (which replace variables of the same name),
// as NAME=VALUE texts.
std::vector<std::string>
environmentWith(const std::vector<std::pair<std::string, std::string>>& additions) {
    std::vector<std::string> result;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view text(*entry);
        const std::string_view name = text.substr(0, text.find('='));
        const bool replaced =
            std::any_of(additions.begin(), additions.end(),
                        [&](const auto& addition) { return addition.first == name; });
        if (!replaced)
            result.emplace_back(text);
    }
    for (const auto& [name, value] : additions)
        result.push_back(name + "=" + value);
    return result;
}

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
    std::vector<char*> result;
    result.reserve(texts.size() + 1);
    for (std::string& text : texts)
        result.push_back(text.data());
    result.push_back(nullptr);
    return result;
}

// The descriptors of the started program: the socket as its standard input and output, the
// pipe as its standard error, nothing else.
class PipedActions {
public:
    PipedActions(int socket, int errors) {
        posix_spawn_file_actions_init(&actions_);
        posix_spawn_file_actions_adddup2(&actions_, socket, STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions_, socket, STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions_, errors, STDERR_FILENO);
        posix_spawn_file_actions_addclosefrom_np(&actions_, 3);
    }
    PipedActions(const PipedActions&) = delete;
    PipedActions& operator=(const PipedActions&) = delete;
    ~PipedActions() { posix_spawn_file_actions_destroy(&actions_); }

    const posix_spawn_file_actions_t* get() const { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

int statusOf(int waitStatus) {
    if (WIFEXITED(waitStatus))
        return WEXITSTATUS(waitStatus);
    if (WIFSIGNALED(waitStatus))
        return 128 + WTERMSIG(waitStatus);
    return -1;
}

bool pollFor(int fd, std::chrono::milliseconds wait) {
    pollfd watched{fd, POLLIN, 0};
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        const int ready =
            poll(&watched, 1, static_cast<int>(std::max<std::int64_t>(left.count(), 0)));
        if (ready == -1 && errno == EINTR)
            continue;
        return ready > 0;
    }
}

} // namespace

int PipedChild::start(const Request& request, std::unique_ptr<PipedChild>& started) {
    if (request.arguments.empty() || request.arguments.front().empty())
        return ENOENT;
    int pair[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0)
        return errno;
    UniqueFd ours(pair[0]), theirs(pair[1]);
    int errorPipe[2];
    if (pipe2(errorPipe, O_CLOEXEC) != 0)
        return errno;
    UniqueFd errorsRead(errorPipe[0]), errorsWrite(errorPipe[1]);
    fcntl(errorsRead.get(), F_SETFL, fcntl(errorsRead.get(), F_GETFL) | O_NONBLOCK);

    std::vector<std::string> arguments = request.arguments;
    std::vector<std::string> environment = environmentWith(request.environment);
    const std::vector<char*> argv = pointersTo(arguments);
    const std::vector<char*> envp = pointersTo(environment);
    const SpawnSetup settings({}, request.onTerminal ? SpawnSetup::Session::Ours
                                                     : SpawnSetup::Session::Own);
    const PipedActions actions(theirs.get(), errorsWrite.get());
    pid_t pid = 0;
    if (const int error = posix_spawnp(&pid, argv.front(), actions.get(), settings.attributes(),
                                       argv.data(), envp.data());
        error != 0)
        return error;
    UniqueFd pidFd(static_cast<int>(syscall(SYS_pidfd_open, pid, 0)));
    if (!pidFd.valid()) {
        const int error = errno;
        kill(pid, SIGKILL);
        int ignored = 0;
        while (waitpid(pid, &ignored, 0) == -1 && errno == EINTR) {
        }
        return error;
    }
    started.reset(new PipedChild(pid, !request.onTerminal, std::move(ours), std::move(pidFd),
                                 std::move(errorsRead)));
    return 0;
}

PipedChild::PipedChild(pid_t pid, bool ownSession, UniqueFd socket, UniqueFd pidFd, UniqueFd errors)
    : pid_(pid), ownSession_(ownSession), socket_(std::move(socket)), pidFd_(std::move(pidFd)),
      errors_(std::move(errors)) {
    errorReader_ = std::thread([this] { readErrors(); });
}

PipedChild::~PipedChild() {
    end();
}

bool PipedChild::hasEnded() const {
    return pollFor(pidFd_.get(), std::chrono::milliseconds(0));
}

bool PipedChild::waitForEnd(std::chrono::milliseconds wait) const {
    return pollFor(pidFd_.get(), wait);
}

int PipedChild::end() {
    std::lock_guard ending(endMutex_);
    if (!errorReader_.joinable())
        return exitStatus_.value_or(-1);
    shutdown(socket_.get(), SHUT_RDWR);
    if (!waitForEnd(kEndWait))
        kill(ownSession_ ? -pid_ : pid_, SIGKILL);
    int status = 0;
    while (waitpid(pid_, &status, 0) == -1 && errno == EINTR) {
    }
    {
        std::lock_guard lock(mutex_);
        exitStatus_ = statusOf(status);
    }
    stopReading_.raise();
    errorReader_.join();
    return statusOf(status);
}

std::optional<int> PipedChild::exitStatus() const {
    std::lock_guard lock(mutex_);
    return exitStatus_;
}

std::string PipedChild::lastWords(std::chrono::milliseconds wait, std::size_t after) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    waitForEnd(wait);
    std::unique_lock lock(mutex_);
    errorsClosed_.wait_until(lock, deadline, [this] { return errorsDone_; });
    if (!partial_.empty() && (errorsDone_ || lines_.empty()))
        return partial_; // a last line without a line break
    return lines_.empty() || linesWritten_ <= after ? std::string() : lines_.back();
}

std::size_t PipedChild::linesWritten() const {
    // Bytes still in the pipe, or read and not yet split into lines, are waited for.
    for (int waited = 0; waited < 100; ++waited) {
        pollfd errors{errors_.get(), POLLIN, 0};
        const bool unread = poll(&errors, 1, 0) > 0 && (errors.revents & POLLIN) != 0;
        if (!unread && !readingErrors_)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::lock_guard lock(mutex_);
    return linesWritten_;
}

void PipedChild::readErrors() {
    pollfd watched[2] = {{errors_.get(), POLLIN, 0}, {stopReading_.fd(), POLLIN, 0}};
    bool stopping = false;
    for (;;) {
        if (!stopping && poll(watched, 2, -1) == -1) {
            if (errno == EINTR)
                continue;
            break;
        }
        stopping = stopping || watched[1].revents != 0;
        readingErrors_ = true;
        char buffer[4096];
        const ssize_t got = read(errors_.get(), buffer, sizeof buffer);
        if (got <= 0)
            readingErrors_ = false;
        if (got == -1 && errno == EINTR)
            continue;
        if (got == -1 && errno == EAGAIN && !stopping)
            continue;
        if (got <= 0)
            break; // closed, or nothing more once we stop
        std::lock_guard lock(mutex_);
        for (const char c : std::string_view(buffer, static_cast<std::size_t>(got))) {
            if (c != '\n') {
                if (c != '\r')
                    partial_ += c;
                continue;
            }
            if (partial_.find_first_not_of(" \t") != std::string::npos) {
                lines_.push_back(std::move(partial_));
                ++linesWritten_;
                if (lines_.size() > kKeptLines)
                    lines_.pop_front();
            }
            partial_.clear();
        }
        partial_.resize(std::min<std::size_t>(partial_.size(), 4096));
        readingErrors_ = false;
    }
    std::lock_guard lock(mutex_);
    if (partial_.find_first_not_of(" \t") == std::string::npos)
        partial_.clear();
    errorsDone_ = true;
    errorsClosed_.notify_all();
}

} // namespace brisko::platform
