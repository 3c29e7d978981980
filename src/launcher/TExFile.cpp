#include "launcher/TExFile.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <algorithm>
#include <utility>

namespace brisko::launcher {

namespace {

constexpr int kLongestWaitSec = 3600;

QString refusalText(int code) {
    switch (code) {
    case TExFile::AlreadyExecuting:
        return QStringLiteral("Another Process with the same Name and ID is executing.");
    case TExFile::MixedWaitTypes:
        return QStringLiteral("Cannot mix 'WaitUntilDone' types.");
    case TExFile::InvalidCurrentDir:
        return QStringLiteral("Current Directory Invalid");
    default:
        return qt_error_string(code);
    }
}

ChildProcess::Priority processPriority(TExFile::TPriorityClass priority) {
    switch (priority) {
    case TExFile::prIdle:
        return ChildProcess::Priority::Idle;
    case TExFile::prHigh:
        return ChildProcess::Priority::High;
    case TExFile::prRealTime:
        return ChildProcess::Priority::RealTime;
    case TExFile::prNormal:
        break;
    }
    return ChildProcess::Priority::Normal;
}

// UTF-8, the encoding of names on the host.
std::vector<std::string> hostArguments(const QStringList& arguments) {
    std::vector<std::string> host;
    for (const QString& argument : arguments)
        host.push_back(argument.toStdString());
    return host;
}

} // namespace

TExFile::TExFile(QObject* owner) : QObject(owner) {}

TExFile::~TExFile() {
    giveUp_.raise();
    for (const std::unique_ptr<TProcThread>& thread : threads_)
        thread->wait();
}

QString TExFile::version() const {
    return QStringLiteral("1.0");
}

void TExFile::setProcFileName(const QString& fileName) {
    ProcFileName = fileName;
    lowerFileName_ = fileName.toLower();
}

void TExFile::setTimeOutSec(int seconds) {
    if (seconds < 0)
        return;
    TimeOutSec = seconds;
    WaitMs = seconds == 0 ? kWaitForever : std::min(seconds, kLongestWaitSec) * 1000;
}

bool TExFile::Launch() {
    LastError = 0;
    std::shared_ptr<ChildProcess> process = startProcess();
    if (!process)
        return false;
    if (WaitUntilDone)
        waitForEnd(process);
    else
        startWaitingThread(std::move(process));
    return true;
}

std::shared_ptr<ChildProcess> TExFile::startProcess() {
    purgeRunningLaunches();
    if (!ProcCurrentDir.isEmpty() && !QFileInfo(ProcCurrentDir).isDir()) {
        fail(InvalidCurrentDir, refusalText(InvalidCurrentDir));
        return {};
    }
    const auto isThreaded = [](const RunningLaunch& launch) { return launch.threaded; };
    if (WaitUntilDone && std::any_of(running_.begin(), running_.end(), isThreaded)) {
        fail(MixedWaitTypes, refusalText(MixedWaitTypes));
        return {};
    }
    const auto isThisLaunch = [this](const RunningLaunch& launch) {
        return launch.lowerFileName == lowerFileName_ && launch.identifier == ProcIdentifier;
    };
    if (std::any_of(running_.begin(), running_.end(), isThisLaunch)) {
        fail(AlreadyExecuting, refusalText(AlreadyExecuting));
        return {};
    }
    std::shared_ptr<ChildProcess> process;
    const int error = ChildProcess::start(hostArguments(commandArguments()),
                                          QDir::toNativeSeparators(ProcCurrentDir).toStdString(),
                                          processPriority(Priority), process);
    if (error != 0) {
        fail(error, refusalText(error));
        return {};
    }
    ProcessId = process->id();
    running_.push_back({lowerFileName_, ProcIdentifier, process, !WaitUntilDone});
    return process;
}

QStringList TExFile::commandArguments() const {
    // A path to an existing file may hold blanks; a bare name is found on PATH.
    const auto hasFolder = [](const QString& name) {
        return name.contains(QLatin1Char('/')) || name.contains(QDir::separator());
    };
    const bool wholeName = hasFolder(ProcFileName) && QFileInfo(ProcFileName).isFile();
    QStringList arguments =
        wholeName ? QStringList{ProcFileName} + QProcess::splitCommand(ProcParameters)
                  : QProcess::splitCommand(ProcFileName + QLatin1Char(' ') + ProcParameters);
    if (!arguments.isEmpty() && hasFolder(arguments.front()))
        arguments.front() =
            QDir::toNativeSeparators(QFileInfo(arguments.front()).absoluteFilePath());
    return arguments;
}

void TExFile::purgeRunningLaunches() {
    std::erase_if(running_, [](const RunningLaunch& launch) { return launch.process->hasEnded(); });
}

void TExFile::fail(int code, const QString& message) {
    LastError = code;
    if (reportsFailure())
        emit LaunchFailed(this, ProcFileName, ProcIdentifier, code, message);
}

void TExFile::waitForEnd(const std::shared_ptr<ChildProcess>& process) {
    if (process->waitForEnd(WaitMs) == ChildProcess::WaitOutcome::Ended) {
        RetValue = process->collectExitCode();
        TimedOut = false;
    } else {
        RetValue = TimeOutSec;
        LastError = WaitTimedOut;
        TimedOut = true;
    }
    // A program left running after a blocking wait is no longer tracked.
    std::erase_if(running_,
                  [&process](const RunningLaunch& launch) { return launch.process == process; });
    if (reportsCompletion())
        emit ProcCompleted(this, ProcFileName, ProcIdentifier, RetValue, TimedOut);
    purgeRunningLaunches();
}

void TExFile::startWaitingThread(std::shared_ptr<ChildProcess> process) {
    TProcThread::CompletionHandler handler;
    if (reportsCompletion())
        handler = [this](const ProcOutcome& outcome) { deliverCompletion(outcome); };
    auto* thread = new TProcThread(std::move(process), WaitMs, giveUp_,
                                   {ProcFileName, ProcIdentifier}, this, std::move(handler));
    threads_.emplace_back(thread);
    connect(thread, &QThread::finished, this, [this, thread] { forgetThread(thread); });
    thread->start();
}

void TExFile::deliverCompletion(const ProcOutcome& outcome) {
    // One completion at a time, even when a handler lets queued calls run inside it.
    pendingCompletions_.push_back(outcome);
    if (delivering_)
        return;
    delivering_ = true;
    const QPointer<TExFile> alive(this);
    while (alive && !pendingCompletions_.empty()) {
        const ProcOutcome next = pendingCompletions_.front();
        pendingCompletions_.pop_front();
        emit ProcCompleted(this, next.fileName, next.identifier, next.retValue, next.timedOut);
    }
    if (alive)
        delivering_ = false;
}

void TExFile::forgetThread(TProcThread* thread) {
    thread->wait();
    std::erase_if(threads_, [thread](const std::unique_ptr<TProcThread>& owned) {
        return owned.get() == thread;
    });
}

QString quotedParameters(const QStringList& words) {
    QStringList quoted;
    for (QString word : words) {
        word.replace(QLatin1Char('"'), QStringLiteral("\"\"\""));
        quoted.append(QLatin1Char('"') + word + QLatin1Char('"'));
    }
    return quoted.join(QLatin1Char(' '));
}

} // namespace brisko::launcher
