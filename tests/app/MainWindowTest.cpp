#include "app/MainWindow.h"

#include "app/WindowDisplay.h"
#include "engine/SessionExecutor.h"
#include "platform/posix/PosixFileSystem.h"
#include "run/RunContext.h"
#include "support/Fakes.h"
#include "support/FixedEnvironment.h"
#include "support/MappedTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>
#include <vector>

using namespace brisko;
using namespace brisko::app;

Q_DECLARE_METATYPE(brisko::RunState)

namespace {

const QColor kRed(0xFF, 0x00, 0x00);
const QColor kBlue(0x00, 0x00, 0xFF);

// Stands in for the engine: calls back for every Execute row of a run.
class CallbackExecutor final : public engine::SessionExecutor {
public:
    explicit CallbackExecutor(std::function<void()> onSession) : onSession_(std::move(onSession)) {}
    void executeSession(script::SessionSettings&) override {
        ++sessions;
        onSession_();
    }
    int sessions = 0;

private:
    std::function<void()> onSession_;
};

const char kScriptWithErrors[] = "; two bad lines\n"
                                 "Title=Error test\n"
                                 "UpdateMode=X\n"
                                 "LeftRoot=C:\n"
                                 "this line has no sign\n"
                                 "Execute\n";

const char kCleanScript[] = "Message=All good\n"
                            "UpdateMode=lm\n"
                            "Execute\n";

// A form over a temporary folder mapped as drive C, with a recording operator.
class FormFixture {
public:
    explicit FormFixture(std::vector<std::string> parameters = {})
        : form_(FormServices{fileSystem_, clock_, environment_, &operator_},
                std::move(parameters)) {}

    MainWindow& form() { return form_; }
    test::ScriptedOperator& operatorPort() { return operator_; }
    const FormWidgets& w() const { return form_.widgets(); }

    QString writeScript(const QString& name, const char* text) {
        return QString::fromStdString(tree_.write(name.toStdString(), text).string());
    }

    QStringList scriptRow(int row) const {
        return {w().scriptGrid->cellText(0, row), w().scriptGrid->cellText(1, row),
                w().scriptGrid->cellText(2, row)};
    }

private:
    test::MappedTree tree_;
    platform::PosixFileSystem fileSystem_{tree_.driveMap()};
    platform::SystemClock clock_;
    test::FixedEnvironment environment_;
    test::ScriptedOperator operator_;
    MainWindow form_;
};

bool highlighted(const widgets::TEnhStringGrid& grid, int row) {
    const QStyleOptionViewItem option = grid.cellOption(2, row);
    return option.font.bold() && option.palette.color(QPalette::Text) == kRed;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void startsEmptyWithTheVersionLabel();
    void scriptWithErrorsShowsThemAndCannotRun();
    void cleanScriptEnablesExecute();
    void reloadReadsTheChangedFile();
    void closeIsRefusedWhileNotIdle_data();
    void closeIsRefusedWhileNotIdle();
    void closeIsRefusedDuringARun_data();
    void closeIsRefusedDuringARun();
    void runStateReconfiguresTheWindow();
    void commandLineScriptRunsOnceAndOffersToClose_data();
    void commandLineScriptRunsOnceAndOffersToClose();
    void commandLineScriptWithErrorsWaits();
    void historyRowsAreColouredByKind();
    void hintLineFollowsTheMouseAndClearsOnPageChange();
    void panesShareExtraWidthEqually();
    void historyShowsEveryColumnAtTheStartingSize();
    void editScriptShowsWhatTheEditorSaved_data();
    void editScriptShowsWhatTheEditorSaved();
    void errorRowsSayWhyAndTheFirstIsSelected();
    void historyPathsKeepTheirFileNameAndMessagesEndEmpty();
    void folderPaneShowsTheDriveTree();
    void windowKeepsItsMinimumAndEscapeCloses();
};

void MainWindowTest::startsEmptyWithTheVersionLabel() {
    FormFixture f;
    const QString version =
        QString("Brisko %1.%2").arg(BRISKO_VERSION_MAJOR).arg(BRISKO_VERSION_MINOR);
    QCOMPARE(f.w().mainLabel->text(), version);
    QCOMPARE(f.form().windowTitle(), version);
    QVERIFY(!f.w().executeButton->isEnabled());
    QCOMPARE(f.w().executeButton->text(), QString("&Execute"));
    QVERIFY(!f.w().errorBox->isVisibleTo(&f.form()));
    QCOMPARE(f.w().pages->currentWidget(), f.w().executePage);
    QCOMPARE(f.w().scriptGrid->horizontalHeaderItem(1)->text(), QString("="));
    QCOMPARE(f.w().historyGrid->columnCount(), 5);
    QVERIFY(f.form().findChild<QWidget*>("ScanCopyBox") != nullptr);
}

void MainWindowTest::scriptWithErrorsShowsThemAndCannotRun() {
    FormFixture f;
    f.form().loadScriptFile(f.writeScript("errors.BRK", kScriptWithErrors));

    QCOMPARE(f.w().scriptGrid->dataRowCount(), 6);
    QCOMPARE(f.scriptRow(1), (QStringList{"", "", "; two bad lines"}));
    QCOMPARE(f.scriptRow(2), (QStringList{"Title", "=", "Error test"}));
    QCOMPARE(f.scriptRow(3), (QStringList{"", "?", "UpdateMode=X"}));
    QCOMPARE(f.scriptRow(4), (QStringList{"LeftRoot", "=", "C:"}));
    QCOMPARE(f.scriptRow(5), (QStringList{"", "?", "this line has no sign"}));
    QCOMPARE(f.scriptRow(6), (QStringList{"Execute", "", ""}));
    for (int row = 1; row <= 6; ++row)
        QVERIFY2(highlighted(*f.w().scriptGrid, row) == (row == 3 || row == 5),
                 qPrintable(QString("row %1").arg(row)));

    QVERIFY(f.w().errorBox->isVisibleTo(&f.form()));
    QCOMPARE(f.w().errorReport->text(), QString("Contains 2 errors"));
    QVERIFY(!f.w().executeButton->isEnabled());
    QCOMPARE(f.w().pages->currentWidget(), f.w().scriptPage);
    QCOMPARE(f.form().windowTitle(), QString("Error test"));
}

void MainWindowTest::cleanScriptEnablesExecute() {
    FormFixture f;
    f.form().loadScriptFile(f.writeScript("errors.BRK", kScriptWithErrors));
    QVERIFY(!f.w().executeButton->isEnabled());

    f.form().context().setRunState(RunState::Scanning); // shows the counters
    f.form().context().setRunState(RunState::Idle);
    const QString clean = f.writeScript("clean.brk", kCleanScript);
    f.form().loadScriptFile(clean);
    QVERIFY(f.w().executeButton->isEnabled());
    QVERIFY(f.w().counters[0]->isHidden());
    QCOMPARE(QString::fromStdString(f.form().context().script().loadFolder),
             QFileInfo(clean).absolutePath());
    QCOMPARE(f.w().errorReport->text(), QString("Contains 0 errors"));
    QCOMPARE(f.w().scriptGrid->dataRowCount(), 3);
    QCOMPARE(f.scriptRow(2), (QStringList{"UpdateMode", "=", "LMaster"}));
    for (int row = 1; row <= 3; ++row)
        QVERIFY(!highlighted(*f.w().scriptGrid, row));
    QCOMPARE(f.w().messageLine->text(), clean);
}

void MainWindowTest::reloadReadsTheChangedFile() {
    FormFixture f;
    f.form().show();
    f.form().loadScriptFile(f.writeScript("s.BRK", kScriptWithErrors));
    QVERIFY(!f.w().executeButton->isEnabled());
    f.writeScript("s.BRK", kCleanScript);
    QTest::mouseClick(f.w().reloadButton, Qt::LeftButton);
    QVERIFY(f.w().executeButton->isEnabled());
    QCOMPARE(f.w().scriptGrid->dataRowCount(), 3);

    f.writeScript("s.BRK", "nonsense\n");
    f.form().reloadClicked();
    QVERIFY(!f.w().executeButton->isEnabled());
    QCOMPARE(f.w().errorReport->text(), QString("Contains 1 errors"));
}

void MainWindowTest::closeIsRefusedWhileNotIdle_data() {
    QTest::addColumn<RunState>("state");
    QTest::newRow("scanning") << RunState::Scanning;
    QTest::newRow("copying") << RunState::Copying;
    QTest::newRow("waiting") << RunState::Waiting;
}

void MainWindowTest::closeIsRefusedWhileNotIdle() {
    QFETCH(RunState, state);
    FormFixture f;
    f.form().show();
    f.form().context().setRunState(state);
    QVERIFY(!f.form().close());
    QVERIFY(f.form().isVisible());
    f.form().context().setRunState(RunState::Idle);
    QVERIFY(f.form().close());
    QVERIFY(!f.form().isVisible());
}

void MainWindowTest::closeIsRefusedDuringARun_data() {
    QTest::addColumn<bool>("sessionScans");
    QTest::newRow("while scanning") << true;
    QTest::newRow("before the state changes") << false;
}

void MainWindowTest::closeIsRefusedDuringARun() {
    QFETCH(bool, sessionScans);
    FormFixture f;
    f.form().show();
    f.form().loadScriptFile(f.writeScript("clean.BRK", kCleanScript));
    std::vector<bool> closed;
    CallbackExecutor executor([&] {
        if (sessionScans)
            f.form().context().setRunState(RunState::Scanning);
        QVERIFY(f.form().running());
        QVERIFY(!f.w().loadButton->isEnabled());
        QVERIFY(!f.w().reloadButton->isEnabled());
        closed.push_back(f.form().close());
    });
    f.form().context().setSessionExecutor(&executor);

    QTest::mouseClick(f.w().executeButton, Qt::LeftButton);
    QCOMPARE(executor.sessions, 1);
    QCOMPARE(closed, std::vector<bool>{false});
    QVERIFY(!f.form().running());
    QCOMPARE(f.form().context().runState(), RunState::Idle);
    QVERIFY(f.w().executeButton->isEnabled());
    QVERIFY(f.w().loadButton->isEnabled());
    QVERIFY(f.form().close());
}

// Each run state shows one pair of the command buttons sharing a place, and allows no reload
// and no change of an option once the run has come to use it.
void MainWindowTest::runStateReconfiguresTheWindow() {
    FormFixture f;
    f.form().show();
    const FormWidgets& w = f.w();
    for (RunState state :
         {RunState::Scanning, RunState::Copying, RunState::Waiting, RunState::Idle}) {
        f.form().context().setRunState(state);
        const bool waiting = state == RunState::Waiting;
        QCOMPARE(w.loadButton->isVisible(), !waiting);
        QCOMPARE(w.executeButton->isVisible(), !waiting);
        QCOMPARE(w.continueButton->isVisible(), waiting);
        QCOMPARE(w.abortAllButton->isVisible(), waiting);
        QCOMPARE(w.reloadButton->isEnabled(), state == RunState::Idle);
        QCOMPARE(w.stopBetweenScanAndCopyBox->isEnabled(),
                 state == RunState::Idle || state == RunState::Scanning);
        QCOMPARE(w.binaryCompareBox->isEnabled(), state != RunState::Copying);
        QCOMPARE(w.led->isBlinking(), waiting);
    }
}

void MainWindowTest::commandLineScriptRunsOnceAndOffersToClose_data() {
    QTest::addColumn<DialogAnswer>("answer");
    QTest::addColumn<bool>("staysOpen");
    QTest::newRow("close") << DialogAnswer::Abort << false;
    QTest::newRow("stay") << DialogAnswer::Retry << true;
}

void MainWindowTest::commandLineScriptRunsOnceAndOffersToClose() {
    QFETCH(DialogAnswer, answer);
    QFETCH(bool, staysOpen);
    test::TempTree scripts;
    FormFixture f({scripts.write("auto.BRK", kCleanScript).string()});
    CallbackExecutor executor([] {});
    f.form().context().setSessionExecutor(&executor);
    f.operatorPort().answers = {answer};
    f.form().show();
    QTRY_VERIFY(f.form().activated());
    QCOMPARE(executor.sessions, 1);
    QCOMPARE(f.operatorPort().questions.size(), std::size_t(1));
    QCOMPARE(f.operatorPort().questions[0].kind(), DialogKind::Closing);
    QCOMPARE(f.form().isVisible(), staysOpen);

    // A later activation reads nothing again.
    f.form().activateOnce();
    QCOMPARE(executor.sessions, 1);
}

void MainWindowTest::commandLineScriptWithErrorsWaits() {
    test::TempTree scripts;
    FormFixture f({scripts.write("bad.BRK", kScriptWithErrors).string(), "L=D:"});
    CallbackExecutor executor([] {});
    f.form().context().setSessionExecutor(&executor);
    f.form().show();
    QTRY_VERIFY(f.form().activated());
    QCOMPARE(executor.sessions, 0);
    QVERIFY(f.form().isVisible());
    QCOMPARE(f.w().pages->currentWidget(), f.w().scriptPage);
    QVERIFY(!f.w().executeButton->isEnabled());
    // The command-line root leads the rows, highlighted.
    QCOMPARE(f.scriptRow(1), (QStringList{"L=", "=", "D:"}));
    QVERIFY(highlighted(*f.w().scriptGrid, 1));
    QVERIFY(f.operatorPort().questions.empty());
}

void MainWindowTest::historyRowsAreColouredByKind() {
    FormFixture f;
    f.form().context().addHistoryRow({"C:\\A", "D:\\A", "10", "+10", "Copy", RowColour::Blue});
    f.form().context().addHistoryRow({"C:\\B", "D:\\B", "5", "", "Failed", RowColour::Red});
    f.form().context().addHistoryRow({"C:\\C", "D:\\C", "7", "", "Copied", RowColour::Plain});
    const widgets::TEnhStringGrid& grid = *f.w().historyGrid;
    QCOMPARE(grid.dataRowCount(), 3);
    QCOMPARE(grid.cellText(4, 2), QString("Failed"));
    QCOMPARE(grid.cellOption(0, 1).palette.color(QPalette::Text), kBlue);
    QCOMPARE(grid.cellOption(4, 2).palette.color(QPalette::Text), kRed);
    const QColor plain = grid.cellOption(0, 3).palette.color(QPalette::Text);
    QVERIFY(plain != kBlue && plain != kRed);
}

void MainWindowTest::hintLineFollowsTheMouseAndClearsOnPageChange() {
    FormFixture f;
    QStatusTipEvent tip(f.w().messageLine->statusTip());
    QApplication::sendEvent(&f.form(), &tip);
    QCOMPARE(f.w().hintLine->text(), QString("Messages"));
    // Leaving a control (an empty tip) keeps the hint.
    QStatusTipEvent leave{QString()};
    QApplication::sendEvent(&f.form(), &leave);
    QCOMPARE(f.w().hintLine->text(), QString("Messages"));
    f.w().pages->setCurrentWidget(f.w().historyPage);
    QCOMPARE(f.w().hintLine->text(), QString());
}

void MainWindowTest::panesShareExtraWidthEqually() {
    FormFixture f;
    f.form().context().showCopyDirection(true, true);
    f.form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.form()));
    const int leftBefore = f.w().leftPane->width();
    f.form().resize(f.form().width() + 100, f.form().height());
    QTRY_COMPARE(f.w().leftPane->width(), leftBefore + 50);
    QVERIFY(qAbs(f.w().leftPane->width() - f.w().rightPane->width()) <= 1);
    const int gap = f.w().rightPane->x() - (f.w().leftPane->x() + f.w().leftPane->width());
    const int arrowCentre = f.w().directionArrow->geometry().center().x();
    QVERIFY(qAbs(arrowCentre - (f.w().leftPane->geometry().right() + gap / 2)) <= 2);
}

void MainWindowTest::historyShowsEveryColumnAtTheStartingSize() {
    FormFixture f;
    f.form().show();
    f.w().pages->setCurrentWidget(f.w().historyPage);
    QVERIFY(QTest::qWaitForWindowExposed(&f.form()));
    const widgets::TEnhStringGrid& grid = *f.w().historyGrid;
    QCOMPARE(grid.horizontalScrollBar()->maximum(), 0);
    QVERIFY(grid.columnWidth(4) >= grid.fontMetrics().horizontalAdvance("File to be copied"));
}

void MainWindowTest::editScriptShowsWhatTheEditorSaved_data() {
    QTest::addColumn<QString>("editor");
    // One that edits and ends; one that hands the file on and ends at once, the save coming later.
    QTest::newRow("waits") << "echo 'Message=edited' >> \"$1\"\n";
    QTest::newRow("hands off") << "(sleep 0.5; echo 'Message=edited' >> \"$1\") &\n";
}

void MainWindowTest::editScriptShowsWhatTheEditorSaved() {
    QFETCH(QString, editor);
    QTemporaryDir desktop; // no desktop default for text files: $VISUAL is the editor
    for (const char* name :
         {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_DIRS"})
        qputenv(name, desktop.path().toLocal8Bit());
    const QString editorPath = desktop.filePath("editor.sh");
    QFile file(editorPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(("#!/bin/sh\n" + editor).toUtf8());
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    qputenv("VISUAL", editorPath.toLocal8Bit());

    FormFixture f;
    f.form().loadScriptFile(f.writeScript("s.brk", kCleanScript));
    QCOMPARE(f.w().scriptGrid->dataRowCount(), 3);
    f.w().editScriptButton->click();
    QTRY_COMPARE_WITH_TIMEOUT(f.w().scriptGrid->dataRowCount(), 4, 10000);
    QCOMPARE(f.scriptRow(4), (QStringList{"Message", "=", "edited"}));
    qunsetenv("VISUAL");
}

void MainWindowTest::errorRowsSayWhyAndTheFirstIsSelected() {
    FormFixture f;
    f.form().show();
    f.form().loadScriptFile(f.writeScript("errors.BRK", kScriptWithErrors));
    QCOMPARE(f.w().scriptGrid->currentRow() + 1, 3);
    QCOMPARE(f.w().errorReport->palette().color(QPalette::WindowText), kRed);
    f.form().loadScriptFile(f.writeScript("clean.BRK", kCleanScript));
    QCOMPARE(f.w().errorReport->text(), QString("Contains 0 errors"));
    QVERIFY(f.w().errorReport->palette().color(QPalette::WindowText) != kRed);

    // A row in error tells why: as its tool tip, and in the hint line once selected.
    const QString why = "unknown key UpdatMode; did you mean UpdateMode?";
    f.form().context().window().addScriptRow(
        4, {"", "?", "UpdatMode=Update", true, why.toStdString(), "clean.BRK", 4});
    QCOMPARE(f.w().scriptGrid->item(3, 2)->toolTip(), why);
    f.w().scriptGrid->setCurrentCell(3, 2);
    QCOMPARE(f.w().hintLine->text(), why);
}

void MainWindowTest::historyPathsKeepTheirFileNameAndMessagesEndEmpty() {
    FormFixture f;
    f.form().show();
    f.w().pages->setCurrentWidget(f.w().historyPage);
    QVERIFY(QTest::qWaitForWindowExposed(&f.form()));
    const QString from = "L:\\PROJECTS\\ARCHIVE\\2024\\QUARTERLY\\BUDGET.XLS";
    f.form().context().addHistoryRow(
        {from.toStdString(), "R:\\B.TXT", "10000000", "+10000000", "Copy", RowColour::Blue});
    const widgets::TEnhStringGrid& grid = *f.w().historyGrid;
    const QString shown = grid.cellOption(0, 1).text;
    QVERIFY2(shown.endsWith("\\BUDGET.XLS") && shown != from, qPrintable(shown));
    QCOMPARE(grid.item(0, 0)->toolTip(), from);
    QVERIFY(grid.cellText(2, 1).size() > 8); // digits grouped as the locale groups them
    for (int col : {2, 3}) {                 // sizes show whole
        const QStyleOptionViewItem option = grid.cellOption(col, 1);
        QVERIFY(QFontMetrics(option.font).horizontalAdvance(option.text) < option.rect.width());
    }
    QCOMPARE(grid.horizontalScrollBar()->maximum(), 0);
    f.form().context().addHistoryRow({"C:\\X", "", "", "", "Folder", RowColour::Blue});
    f.form().context().setRunState(RunState::Copying);
    QCOMPARE(grid.currentRow(), 0);
    f.form().context().setRunState(RunState::Idle);

    auto& display = static_cast<WindowDisplay&>(f.form().context().display());
    display.addMessage("first");
    display.addMessage("second");
    QCOMPARE(f.w().messageGrid->dataRowCount(), 3);
    QCOMPARE(f.w().messageGrid->currentRow() + 1, 2);
    QCOMPARE(f.w().messageGrid->cellText(0, 2), QString("second"));
    QCOMPARE(f.w().messageGrid->cellText(0, 3), QString());
}

void MainWindowTest::folderPaneShowsTheDriveTree() {
    FormFixture f;
    const QString sub = QFileInfo(f.writeScript("Data/Sub/x.txt", "x")).absolutePath();
    f.form().context().window().showFolder(Side::Left, "C:\\DATA\\SUB");
    QCOMPARE(f.w().leftPane->selectedPath(), sub);
    QCOMPARE(f.w().leftPane->currentIndex().parent().data().toString(), QString("Data"));
    QCOMPARE(f.w().leftDrive->currentData().toString(), QString("C:"));
    QVERIFY(!f.w().leftDrive->isEnabled());
    // A folder created later shows in the tree.
    QVERIFY(QDir(sub).mkdir("New"));
    f.form().context().window().showFolder(Side::Left, "C:\\DATA\\SUB\\NEW");
    QCOMPARE(f.w().leftPane->selectedPath(), sub + "/New");
}

void MainWindowTest::windowKeepsItsMinimumAndEscapeCloses() {
    FormFixture f;
    f.form().show();
    QVERIFY(QTest::qWaitForWindowActive(&f.form()));
    f.form().resize(300, 200);
    QVERIFY(f.form().frameGeometry().width() >= 572 && f.form().frameGeometry().height() >= 489);
    QVERIFY(f.form().width() >= 568 && f.form().height() >= 462);
    f.form().context().setRunState(RunState::Scanning);
    QTest::keyClick(&f.form(), Qt::Key_Escape);
    QVERIFY(f.form().isVisible());
    f.form().context().setRunState(RunState::Idle);
    QTest::keyClick(&f.form(), Qt::Key_Escape);
    QVERIFY(!f.form().isVisible());
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
