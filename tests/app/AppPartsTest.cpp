#include "app/CommandLine.h"
#include "app/ProgressScale.h"
#include "app/RunStateLayout.h"
#include "app/ScriptFileDialog.h"

#include <QFile>
#include <QFileDialog>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <cstdint>
#include <limits>

using namespace brisko;
using namespace brisko::app;

namespace {

QStringList toQt(const std::vector<std::string>& items) {
    QStringList list;
    for (const std::string& item : items)
        list << QString::fromStdString(item);
    return list;
}

std::vector<std::string> toStd(const QStringList& items) {
    std::vector<std::string> list;
    for (const QString& item : items)
        list.push_back(item.toStdString());
    return list;
}

} // namespace

class AppPartsTest : public QObject {
    Q_OBJECT

private slots:
    void driveOptionsLeaveTheParameters_data();
    void driveOptionsLeaveTheParameters();
    void driveOptionWithoutValueIsRefused();
    void progressPosition_data();
    void progressPosition();
    void waitingSwapsTheCommandButtons();
    void scriptDialogListsScriptsInAnyCase();
};

void AppPartsTest::driveOptionsLeaveTheParameters_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("parameters");
    QTest::addColumn<QStringList>("driveOptions");

    QTest::newRow("nothing") << QStringList{} << QStringList{} << QStringList{};
    QTest::newRow("script and roots") << QStringList{"/s/a.BRK", "L=C:", "R=F:"}
                                      << QStringList{"/s/a.BRK", "L=C:", "R=F:"} << QStringList{};
    QTest::newRow("options anywhere")
        << QStringList{"--drive", "F=/media/b", "x.BRK", "--drive=C=/c", "R=F:", "--drive", "C"}
        << QStringList{"x.BRK", "R=F:"} << QStringList{"F=/media/b", "C=/c", "C"};
}

void AppPartsTest::driveOptionsLeaveTheParameters() {
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, parameters);
    QFETCH(QStringList, driveOptions);
    const CommandLine line = parseCommandLine(toStd(arguments));
    QCOMPARE(toQt(line.parameters), parameters);
    QCOMPARE(toQt(line.driveOptions), driveOptions);
}

void AppPartsTest::driveOptionWithoutValueIsRefused() {
    QVERIFY_THROWS_EXCEPTION(CommandLineError, parseCommandLine({"a.BRK", "--drive"}));
}

void AppPartsTest::progressPosition_data() {
    QTest::addColumn<qint64>("done");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<int>("position");
    constexpr qint64 huge = std::numeric_limits<qint64>::max();
    QTest::newRow("nothing to do") << qint64(0) << qint64(0) << 0;
    QTest::newRow("negative total") << qint64(5) << qint64(-1) << 0;
    QTest::newRow("half") << qint64(5) << qint64(10) << kProgressRange / 2;
    QTest::newRow("done") << qint64(10) << qint64(10) << kProgressRange;
    QTest::newRow("past the end") << qint64(11) << qint64(10) << kProgressRange;
    QTest::newRow("large file half")
        << qint64(3) * 1024 * 1024 * 1024 << qint64(6) * 1024 * 1024 * 1024 << kProgressRange / 2;
    QTest::newRow("huge half") << huge / 2 << huge << kProgressRange / 2 - 1;
    QTest::newRow("huge almost done") << huge - 1 << huge << kProgressRange - 1;
}

void AppPartsTest::progressPosition() {
    QFETCH(qint64, done);
    QFETCH(qint64, total);
    QFETCH(int, position);
    const int actual = app::progressPosition(done, total);
    // Scaling very large totals may lose one step, never more.
    QVERIFY2(actual == position || actual == position + 1, qPrintable(QString::number(actual)));
    QVERIFY(actual >= 0 && actual <= kProgressRange);
}

void AppPartsTest::waitingSwapsTheCommandButtons() {
    for (RunState state :
         {RunState::Idle, RunState::Scanning, RunState::Copying, RunState::Waiting}) {
        const RunStateLayout layout = runStateLayout(state);
        // Load/Execute and Continue/Abort All share places: exactly one pair shows.
        QVERIFY(layout.loadAndExecuteShown != layout.continueAndAbortAllShown);
        QCOMPARE(layout.continueAndAbortAllShown, state == RunState::Waiting);
        QCOMPARE(layout.ledBlinking, !layout.ledColour.has_value());
    }
}

void AppPartsTest::scriptDialogListsScriptsInAnyCase() {
    QTemporaryDir folder;
    for (const char* name : {"upper.BRK", "lower.brk", "mixed.Brk", "notes.txt"}) {
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QFileDialog dialog;
    prepareScriptFileDialog(dialog);
    dialog.setDirectory(folder.path());
    dialog.show();
    auto* list = dialog.findChild<QListView*>("listView");
    QVERIFY(list != nullptr);
    QTRY_COMPARE(list->model()->rowCount(list->rootIndex()), 3);
    QStringList shown;
    for (int row = 0; row < 3; ++row)
        shown << list->model()->index(row, 0, list->rootIndex()).data().toString();
    shown.sort();
    QCOMPARE(shown, (QStringList{"lower.brk", "mixed.Brk", "upper.BRK"}));
}

QTEST_MAIN(AppPartsTest)
#include "AppPartsTest.moc"
