#include "launcher/TExFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <cerrno>
#include <memory>
#include <signal.h>
#include <sys/resource.h>
#include <vector>

using brisko::launcher::TExFile;

namespace {

struct Completion {
    QString fileName;
    QString identifier;
    int retValue;
    bool timedOut;
    QThread* thread; // where the signal arrived
};

struct Failure {
    int code;
    QString message;
};

// Records every signal of a launcher, and the thread each completion was raised on.
class Recorder : public QObject {
public:
    explicit Recorder(TExFile& launcher) {
        connect(
            &launcher, &TExFile::ProcCompleted, this,
            [this](TExFile*, const QString& fileName, const QString& identifier, int retValue,
                   bool timedOut) {
                completions.push_back(
                    {fileName, identifier, retValue, timedOut, QThread::currentThread()});
            },
            Qt::DirectConnection); // runs where the signal is raised
        connect(&launcher, &TExFile::LaunchFailed, this,
                [this](TExFile*, const QString&, const QString&, int code, const QString& message) {
                    failures.push_back({code, message});
                });
    }

    std::vector<Completion> completions;
    std::vector<Failure> failures;
};

void configure(TExFile& launcher, const QString& program, const QString& parameters,
               bool waitUntilDone) {
    launcher.setProcFileName(program);
    launcher.setProcParameters(parameters);
    launcher.setWaitUntilDone(waitUntilDone);
}

bool isRunning(qint64 pid) {
    return kill(static_cast<pid_t>(pid), 0) == 0;
}

void stop(qint64 pid) {
    kill(static_cast<pid_t>(pid), SIGTERM);
}

const QString kMissingProgram = QStringLiteral("brisko-no-such-program");

} // namespace

class LauncherTest : public QObject {
    Q_OBJECT

private slots:
    void completionReportsTheExitCode_data();
    void completionReportsTheExitCode();
    void refusedLaunchReportsItsReason_data();
    void refusedLaunchReportsItsReason();
    void runningLaunchRefusesTheSameNameAndIdentifier();
    void timedOutWaitLeavesTheProgramRunning_data();
    void timedOutWaitLeavesTheProgramRunning();
    void idlePriorityBecomesTheLowestNiceValue();
    void noEventAfterTheLauncherIsGone_data();
    void noEventAfterTheLauncherIsGone();
};

void LauncherTest::completionReportsTheExitCode_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("parameters");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("waitUntilDone");
    QTest::addColumn<int>("retValue");
    QTest::newRow("true, thread") << "true"
                                  << ""
                                  << "" << false << 0;
    QTest::newRow("false, thread") << "false"
                                   << ""
                                   << "" << false << 1;
    QTest::newRow("false, blocking") << "false"
                                     << ""
                                     << "" << true << 1;
    QTest::newRow("quoted words") << "sh"
                                  << R"(-c "exit 7")"
                                  << "" << true << 7;
    QTest::newRow("working folder") << "sh"
                                    << R"(-c "test $(pwd) = / && exit 5")"
                                    << "/" << false << 5;
}

void LauncherTest::completionReportsTheExitCode() {
    QFETCH(QString, program);
    QFETCH(QString, parameters);
    QFETCH(QString, folder);
    QFETCH(bool, waitUntilDone);
    QFETCH(int, retValue);
    TExFile launcher;
    Recorder recorder(launcher);
    configure(launcher, program, parameters, waitUntilDone);
    launcher.setProcIdentifier("id");
    launcher.setProcCurrentDir(folder);

    QVERIFY(launcher.Launch());
    QCOMPARE(launcher.lastError(), 0);
    QTRY_COMPARE(recorder.completions.size(), 1u);
    const Completion& completion = recorder.completions.front();
    QCOMPARE(completion.fileName, program);
    QCOMPARE(completion.identifier, QString("id"));
    QCOMPARE(completion.retValue, retValue);
    QVERIFY(!completion.timedOut);
    QCOMPARE(completion.thread, QThread::currentThread());
    QVERIFY(recorder.failures.empty());
}

void LauncherTest::refusedLaunchReportsItsReason_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    const QString notFound = qt_error_string(ENOENT);
    QTest::newRow("missing program") << kMissingProgram << "" << ENOENT << notFound;
    QTest::newRow("missing path") << "/nonexistent/" + kMissingProgram << "" << ENOENT << notFound;
    QTest::newRow("missing folder") << "true"
                                    << "/nonexistent-folder" << -4 << "Current Directory Invalid";
    QTest::newRow("folder is a file")
        << "true" << QCoreApplication::applicationFilePath() << -4 << "Current Directory Invalid";
}

void LauncherTest::refusedLaunchReportsItsReason() {
    QFETCH(QString, program);
    QFETCH(QString, folder);
    QFETCH(int, code);
    QFETCH(QString, message);
    TExFile launcher;
    Recorder recorder(launcher);
    configure(launcher, program, "", false);
    launcher.setProcCurrentDir(folder);

    QVERIFY(!launcher.Launch());
    QCOMPARE(launcher.lastError(), code);
    QCOMPARE(recorder.failures.size(), 1u);
    QCOMPARE(recorder.failures.front().code, code);
    QCOMPARE(recorder.failures.front().message, message);
    QTest::qWait(50);
    QVERIFY(recorder.completions.empty());
}

void LauncherTest::runningLaunchRefusesTheSameNameAndIdentifier() {
    TExFile launcher;
    Recorder recorder(launcher);
    configure(launcher, "sleep", "5", false);
    launcher.setProcIdentifier("edit");
    QVERIFY(launcher.Launch());
    const qint64 first = launcher.processId();

    launcher.setProcFileName("SLEEP"); // the name is compared in lower case
    QVERIFY(!launcher.Launch());
    QCOMPARE(launcher.lastError(), -1);
    QCOMPARE(recorder.failures.back().message,
             QString("Another Process with the same Name and ID is executing."));

    launcher.setProcFileName("sleep");
    launcher.setWaitUntilDone(true);
    QVERIFY(!launcher.Launch());
    QCOMPARE(launcher.lastError(), -2);
    QCOMPARE(recorder.failures.back().message, QString("Cannot mix 'WaitUntilDone' types."));

    launcher.setWaitUntilDone(false);
    launcher.setProcIdentifier("other");
    QVERIFY(launcher.Launch());
    const qint64 second = launcher.processId();
    QVERIFY(second != first);

    stop(first);
    stop(second);
    QTRY_COMPARE(recorder.completions.size(), 2u);
    QCOMPARE(recorder.completions.front().retValue, 128 + SIGTERM);
    // Once the program has ended the same launch is allowed again.
    launcher.setProcIdentifier("edit");
    QVERIFY(launcher.Launch());
    stop(launcher.processId());
    QTRY_COMPARE(recorder.completions.size(), 3u);
}

void LauncherTest::timedOutWaitLeavesTheProgramRunning_data() {
    QTest::addColumn<bool>("waitUntilDone");
    QTest::addColumn<int>("lastError");
    QTest::newRow("blocking") << true << -3;
    QTest::newRow("thread") << false << 0;
}

void LauncherTest::timedOutWaitLeavesTheProgramRunning() {
    QFETCH(bool, waitUntilDone);
    QFETCH(int, lastError);
    TExFile launcher;
    Recorder recorder(launcher);
    configure(launcher, "sleep", "5", waitUntilDone);
    launcher.setTimeOutSec(1);
    QElapsedTimer clock;
    clock.start();

    QVERIFY(launcher.Launch());
    QCOMPARE(launcher.lastError(), lastError);
    QTRY_COMPARE(recorder.completions.size(), 1u);
    QVERIFY(clock.elapsed() >= 900 && clock.elapsed() < 4000);
    QCOMPARE(recorder.completions.front().retValue, 1);
    QVERIFY(recorder.completions.front().timedOut);
    QVERIFY(isRunning(launcher.processId()));
    stop(launcher.processId());
}

void LauncherTest::idlePriorityBecomesTheLowestNiceValue() {
    TExFile launcher;
    configure(launcher, "sleep", "5", false);
    launcher.setPriority(TExFile::prIdle);
    QVERIFY(launcher.Launch());
    QCOMPARE(getpriority(PRIO_PROCESS, static_cast<id_t>(launcher.processId())), 19);
    stop(launcher.processId());
}

void LauncherTest::noEventAfterTheLauncherIsGone_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("parameters");
    QTest::newRow("while waiting") << "sleep"
                                   << "5";
    QTest::newRow("ended, not yet delivered") << "true"
                                              << "";
}

void LauncherTest::noEventAfterTheLauncherIsGone() {
    QFETCH(QString, program);
    QFETCH(QString, parameters);
    auto launcher = std::make_unique<TExFile>();
    int completions = 0;
    connect(launcher.get(), &TExFile::ProcCompleted, this, [&completions] { ++completions; });
    configure(*launcher, program, parameters, false);
    QVERIFY(launcher->Launch());
    const qint64 pid = launcher->processId();
    QThread::msleep(300); // a short program ends and its completion is queued meanwhile

    QElapsedTimer clock;
    clock.start();
    launcher.reset();
    QVERIFY(clock.elapsed() < 1000);
    QTest::qWait(100);
    QCOMPARE(completions, 0);
    if (program == "sleep") {
        QVERIFY(isRunning(pid));
        stop(pid);
    }
}

QTEST_GUILESS_MAIN(LauncherTest)
#include "LauncherTest.moc"
