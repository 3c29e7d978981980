#include "launcher/ChildProcess.h"

#include "platform/SpawnSetup.h"

#include <QDeadlineTimer>
#include <QFile>
#include <cerrno>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace brisko::launcher {

namespace {

// A descriptor that becomes readable when the process ends (called directly: not every C
// library declares it).
int openProcessDescriptor(pid_t pid) {
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}

int waitStatus(pid_t pid, int options) {
    int status = 0;
    while (waitpid(pid, &status, options) == -1 && errno == EINTR) {
    }
    return status;
}

} // namespace

int ChildProcess::start(const QStringList& arguments, const QString& folder, int niceValue,
                        std::shared_ptr<ChildProcess>& started) {
    if (arguments.isEmpty() || arguments.front().isEmpty())
        return ENOENT;
    std::vector<QByteArray> encoded;
    encoded.reserve(static_cast<std::size_t>(arguments.size()));
    for (const QString& argument : arguments)
        encoded.push_back(QFile::encodeName(argument));
    std::vector<char*> argv;
    for (QByteArray& argument : encoded)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    const platform::SpawnSetup settings(QFile::encodeName(folder).toStdString(),
                                        platform::SpawnSetup::Session::Own);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, argv.front(), settings.actions(), settings.attributes(),
                                   argv.data(), environ);
    if (error != 0)
        return error;
    if (niceValue != 0)
        setpriority(PRIO_PROCESS, static_cast<id_t>(pid), niceValue);
    platform::UniqueFd pidFd(openProcessDescriptor(pid));
    if (!pidFd.valid()) {
        const int openError = errno;
        // Started but cannot be watched: it runs on, collected in the background.
        ChildProcess unwatched(pid, std::move(pidFd));
        return openError;
    }
    started.reset(new ChildProcess(pid, std::move(pidFd)));
    return 0;
}

ChildProcess::~ChildProcess() {
    if (collected_)
        return;
    // Still running (or not yet collected): collect its end in the background so that it
    // leaves no zombie behind; it is not stopped.
    std::thread([child = pid_] { waitStatus(child, 0); }).detach();
}

bool ChildProcess::hasEnded() const {
    pollfd watched{pidFd_.get(), POLLIN, 0};
    return poll(&watched, 1, 0) != 0;
}

ChildProcess::WaitOutcome ChildProcess::waitForEnd(int waitMs, int giveUpFd) const {
    pollfd watched[2] = {{pidFd_.get(), POLLIN, 0}, {giveUpFd, POLLIN, 0}};
    const nfds_t count = giveUpFd >= 0 ? 2 : 1;
    const QDeadlineTimer deadline(waitMs == kWaitForever ? QDeadlineTimer::Forever
                                                         : QDeadlineTimer(waitMs));
    for (;;) {
        const int ready = poll(watched, count, static_cast<int>(deadline.remainingTime()));
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
    const int status = waitStatus(pid_, 0);
    collected_ = true;
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
}

} // namespace brisko::launcher
