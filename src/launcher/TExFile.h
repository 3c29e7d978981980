#pragma once

#include "launcher/TProcThread.h"
#include "platform/StopSignal.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <deque>
#include <memory>
#include <vector>

namespace brisko::launcher {

// Starts another program with a command line, optionally waits for its end (blocking, or on a
// thread of its own) and reports the outcome through two signals, on the thread the launcher
// lives in.
//
// The program is started directly, never through a shell: when ProcFileName is a path to an
// existing file it is taken whole and ProcParameters is split into words; otherwise the
// command line "ProcFileName ProcParameters" is split, and its first word is the program
// (looked up on PATH). Words are separated by blanks; double quotes group words (a literal
// quote is written as three). A relative path is taken against our folder, not the new one.
//
// A program keeps running when its wait times out and when the launcher goes; it runs in a
// session of its own. WindowType has no meaning here and is ignored; Priority sets the nice
// value of the program (normal: ours; idle 19; high -10; real-time -20; raising the priority
// needs privileges and is skipped without them), on Windows its priority class.
class TExFile : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Version READ version CONSTANT)
    Q_PROPERTY(QString ProcFileName READ procFileName WRITE setProcFileName)
    Q_PROPERTY(QString ProcParameters READ procParameters WRITE setProcParameters)
    Q_PROPERTY(QString ProcIdentifier READ procIdentifier WRITE setProcIdentifier)
    Q_PROPERTY(QString ProcCurrentDir READ procCurrentDir WRITE setProcCurrentDir)
    Q_PROPERTY(TWindowType WindowType READ windowType WRITE setWindowType)
    Q_PROPERTY(bool WaitUntilDone READ waitUntilDone WRITE setWaitUntilDone)
    Q_PROPERTY(TUseEvent UseEvent READ useEvent WRITE setUseEvent)
    Q_PROPERTY(TPriorityClass Priority READ priority WRITE setPriority)
    Q_PROPERTY(int TimeOutSec READ timeOutSec WRITE setTimeOutSec)

public:
    enum TWindowType { wtNorm, wtMinimize, wtMaximize, wtHide, wtMinNoActivate, wtShowNoActivate };
    Q_ENUM(TWindowType)
    enum TPriorityClass { prNormal, prIdle, prHigh, prRealTime };
    Q_ENUM(TPriorityClass)
    // Which of the two signals are raised.
    enum TUseEvent { ueAll, ueOnLaunchFailed, ueOnProcCompleted, ueNone };
    Q_ENUM(TUseEvent)

    // LastError values besides 0 (none) and the errno of a program that could not be started.
    enum LaunchError {
        AlreadyExecuting = -1,
        MixedWaitTypes = -2,
        WaitTimedOut = -3,
        InvalidCurrentDir = -4
    };
    static constexpr int kWaitForever = ChildProcess::kWaitForever;

    explicit TExFile(QObject* owner = nullptr);
    // Stops waiting for every program without reporting them; the programs keep running.
    ~TExFile() override;

    QString version() const;
    QString procFileName() const { return ProcFileName; }
    void setProcFileName(const QString& fileName);
    QString procParameters() const { return ProcParameters; }
    void setProcParameters(const QString& parameters) { ProcParameters = parameters; }
    // With the file name, what tells one launch from another.
    QString procIdentifier() const { return ProcIdentifier; }
    void setProcIdentifier(const QString& identifier) { ProcIdentifier = identifier; }
    // The program's working folder; empty: ours.
    QString procCurrentDir() const { return ProcCurrentDir; }
    void setProcCurrentDir(const QString& folder) { ProcCurrentDir = folder; }
    TWindowType windowType() const { return WindowType; }
    void setWindowType(TWindowType type) { WindowType = type; }
    // true: Launch returns when the program has ended; false: a thread waits for it.
    bool waitUntilDone() const { return WaitUntilDone; }
    void setWaitUntilDone(bool wait) { WaitUntilDone = wait; }
    TUseEvent useEvent() const { return UseEvent; }
    void setUseEvent(TUseEvent use) { UseEvent = use; }
    TPriorityClass priority() const { return Priority; }
    void setPriority(TPriorityClass priorityClass) { Priority = priorityClass; }
    // The longest wait in seconds (0: no limit, at most one hour); negative values are ignored.
    int timeOutSec() const { return TimeOutSec; }
    void setTimeOutSec(int seconds);

    // Starts the program; false when the launch was refused or the program could not start.
    bool Launch();

    // The wait in milliseconds that TimeOutSec gives (kWaitForever: none).
    int waitMs() const { return WaitMs; }
    // The outcome of the last launch: 0 or one of LaunchError, or an errno.
    int lastError() const { return LastError; }
    // Exit code (or TimeOutSec when timed out) and time-out of the last blocking wait.
    int retValue() const { return RetValue; }
    bool timedOut() const { return TimedOut; }
    // The process id of the last program started (0: none yet).
    qint64 processId() const { return ProcessId; }

signals:
    // A started program has ended, or waiting for it timed out (it then runs on).
    void ProcCompleted(brisko::launcher::TExFile* sender, const QString& evFileName,
                       const QString& evIdentifier, int evRetValue, bool evTimedOut);
    // A launch was refused or the program could not be started.
    void LaunchFailed(brisko::launcher::TExFile* sender, const QString& evFileName,
                      const QString& evIdentifier, int evErrorCode, const QString& evErrorMessage);

private:
    struct RunningLaunch {
        QString lowerFileName;
        QString identifier;
        std::shared_ptr<ChildProcess> process;
        bool threaded;
    };

    std::shared_ptr<ChildProcess> startProcess();
    QStringList commandArguments() const;
    void purgeRunningLaunches();
    void fail(int code, const QString& message);
    void waitForEnd(const std::shared_ptr<ChildProcess>& process);
    void startWaitingThread(std::shared_ptr<ChildProcess> process);
    void deliverCompletion(const ProcOutcome& outcome);
    void forgetThread(TProcThread* thread);
    bool reportsCompletion() const { return UseEvent == ueAll || UseEvent == ueOnProcCompleted; }
    bool reportsFailure() const { return UseEvent == ueAll || UseEvent == ueOnLaunchFailed; }

    QString ProcFileName;
    QString lowerFileName_;
    QString ProcParameters;
    QString ProcIdentifier;
    QString ProcCurrentDir;
    TWindowType WindowType = wtNorm;
    bool WaitUntilDone = false;
    TUseEvent UseEvent = ueAll;
    TPriorityClass Priority = prNormal;
    int TimeOutSec = 0;
    int WaitMs = kWaitForever;
    int LastError = 0;
    int RetValue = 0;
    bool TimedOut = false;
    qint64 ProcessId = 0;

    std::vector<RunningLaunch> running_;
    StopSignal giveUp_; // raised once every waiting thread must give up
    std::vector<std::unique_ptr<TProcThread>> threads_;
    std::deque<ProcOutcome> pendingCompletions_;
    bool delivering_ = false;
};

// Parameters that the launcher splits back into exactly these words: each is quoted, and a
// quote inside a word is written as three.
QString quotedParameters(const QStringList& words);

} // namespace brisko::launcher
