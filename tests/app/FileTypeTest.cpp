#include "app/desktop/DesktopExec.h"
#include "app/desktop/EditorCommand.h"
#include "app/desktop/FileTypeRegistration.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace brisko::desktop;

namespace {

// Runs a desktop tool to check what the desktop now believes; empty when it failed.
QString ask(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(10000) || process.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

bool installed(const QStringList& tools) {
    return std::all_of(tools.begin(), tools.end(), [](const QString& tool) {
        return !QStandardPaths::findExecutable(tool).isEmpty();
    });
}

} // namespace

// Each test has its own user data and configuration folders, and no system ones, so only
// what the test sets up counts.
class FileTypeTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> home_;

    QString dataHome() const { return home_->filePath(QStringLiteral("data")); }
    QString entryPath() const {
        return dataHome() + QStringLiteral("/applications/brisko2.desktop");
    }

    // A stand-in application whose entry the desktop accepts (its program exists).
    void addApplication(const QString& id, const QString& exec, const char* mimeType) {
        writeFile(dataHome() + QStringLiteral("/applications/") + id,
                  "[Desktop Entry]\nType=Application\nName=Stand-in\nExec=" + exec.toUtf8() +
                      "\nMimeType=" + mimeType + ";\n");
    }

private slots:
    void init() {
        home_ = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", dataHome().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", home_->filePath(QStringLiteral("config")).toLocal8Bit());
        qputenv("XDG_DATA_DIRS", home_->filePath(QStringLiteral("system")).toLocal8Bit());
        qputenv("XDG_CONFIG_DIRS", home_->filePath(QStringLiteral("system-config")).toLocal8Bit());
        qputenv("XDG_CURRENT_DESKTOP", "X-Generic");
        qunsetenv("VISUAL");
        qunsetenv("EDITOR");
    }

    void scriptFilesGetTheTypeAndTheProgram_data() {
        QTest::addColumn<QString>("fileName");
        QTest::newRow("upper case") << "some.BRK";
        QTest::newRow("lower case") << "some.brk";
    }
    void scriptFilesGetTheTypeAndTheProgram() {
        if (!installed({"xdg-mime", "update-mime-database", "update-desktop-database", "mimetype"}))
            QSKIP(
                "xdg-utils, shared-mime-info, desktop-file-utils or libfile-mimeinfo-perl missing");
        QFETCH(QString, fileName);
        QCOMPARE(registerScriptFileType(QStringLiteral("/opt/brisko 2/brisko2")), QString());

        const QString script = home_->filePath(fileName);
        writeFile(script, "Title=demo\n");
        QCOMPARE(ask("xdg-mime", {"query", "filetype", script}), QString(scriptMimeType));
        QCOMPARE(ask("xdg-mime", {"query", "default", scriptMimeType}), QString(desktopEntryName));
    }

    void theEntryIsValidAndStartsTheProgramWithTheScript() {
        if (!installed({"desktop-file-validate"}))
            QSKIP("desktop-file-utils missing");
        const QString program = QStringLiteral("/opt/brisko \"2\"/$bin/brisko2%");
        QCOMPARE(registerScriptFileType(program), QString());

        QProcess validate;
        validate.start(QStringLiteral("desktop-file-validate"), {entryPath()});
        QVERIFY(validate.waitForFinished(10000));
        QCOMPARE(validate.readAllStandardOutput() + validate.readAllStandardError(), QByteArray());
        QCOMPARE(validate.exitCode(), 0);

        QFile entry(entryPath());
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QString exec =
            QString::fromUtf8(entry.readAll()).section("Exec=", 1).section('\n', 0, 0);
        QCOMPARE(expandFieldCodes(splitExec(exec), "/w/a b.brk"),
                 QStringList({program, "/w/a b.brk"}));
    }

    void aSecondStartChangesNothing() {
        QCOMPARE(registerScriptFileType(QStringLiteral("/opt/brisko2")), QString());
        const QDateTime written = QFileInfo(entryPath()).lastModified();
        QTest::qWait(20);
        QCOMPARE(registerScriptFileType(QStringLiteral("/opt/brisko2")), QString());
        QCOMPARE(QFileInfo(entryPath()).lastModified(), written);
    }

    void theUsersOwnDefaultSurvives() {
        if (!installed({"xdg-mime"}))
            QSKIP("xdg-utils missing");
        addApplication("other.desktop", "sh %f", scriptMimeType);
        QCOMPARE(ask("xdg-mime", {"default", "other.desktop", scriptMimeType}), QString());
        QCOMPARE(registerScriptFileType(QStringLiteral("/opt/brisko2")), QString());
        QCOMPARE(ask("xdg-mime", {"query", "default", scriptMimeType}), QString("other.desktop"));
    }

    void theEditorIsReadBack_data() {
        QTest::addColumn<QString>("textDefaultExec"); // empty: no default for text files
        QTest::addColumn<QString>("visual");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("text default") << "sh --new-window %U"
                                      << "cat"
                                      << "sh" << QStringList{"--new-window", "/w/my script.brk"};
        QTest::newRow("text default without file code")
            << "sh -x"
            << ""
            << "sh" << QStringList{"-x", "/w/my script.brk"};
        QTest::newRow("VISUAL") << ""
                                << "cat -n \"100%\""
                                << "cat" << QStringList{"-n", "100%", "/w/my script.brk"};
        QTest::newRow("none") << ""
                              << ""
                              << "" << QStringList{"/w/my script.brk"};
    }
    void theEditorIsReadBack() {
        if (!installed({"xdg-mime"}))
            QSKIP("xdg-utils missing");
        QFETCH(QString, textDefaultExec);
        QFETCH(QString, visual);
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        if (!textDefaultExec.isEmpty()) {
            addApplication("stand-in-editor.desktop", textDefaultExec, "text/plain");
            QCOMPARE(ask("xdg-mime", {"default", "stand-in-editor.desktop", "text/plain"}),
                     QString());
        }
        if (!visual.isEmpty())
            qputenv("VISUAL", visual.toLocal8Bit());

        const EditorCommand editor = readEditorCommand();
        QCOMPARE(editor.program, QStandardPaths::findExecutable(program));
        QCOMPARE(editor.argumentsFor("/w/my script.brk"), arguments);
        QCOMPARE(editor.missingMessage.isEmpty(), editor.isSet());
    }
};

QTEST_GUILESS_MAIN(FileTypeTest)
#include "FileTypeTest.moc"
