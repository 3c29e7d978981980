#include "app/BriskoForm.h"

#include "app/WindowDisplay.h"
#include "engine/SessionExecutor.h"
#include "platform/PosixFileSystem.h"
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

    TBriskoForm& form() { return form_; }
    test::ScriptedOperator& operatorPort() { return operator_; }
    const FormWidgets& w() const { return form_.widgets(); }

    QString writeScript(const QString& name, const char* text) {
        return QString::fromStdString(tree_.write(name.toStdString(), text).string());
    }

    QStringList scriptRow(int row) const {
        return {w().ScriptGrid->cellText(0, row), w().ScriptGrid->cellText(1, row),
                w().ScriptGrid->cellText(2, row)};
    }

private:
    test::MappedTree tree_;
    platform::PosixFileSystem fileSystem_{tree_.driveMap()};
    platform::SystemClock clock_;
    test::FixedEnvironment environment_;
    test::ScriptedOperator operator_;
    TBriskoForm form_;
};

bool highlighted(const widgets::TEnhStringGrid& grid, int row) {
    const QStyleOptionViewItem option = grid.cellOption(2, row);
    return option.font.bold() && option.palette.color(QPalette::Text) == kRed;
}

} // namespace

class BriskoFormTest : public QObject {
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
    void runStateReconfiguresTheWindow_data();
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

void BriskoFormTest::startsEmptyWithTheVersionLabel() {
    FormFixture f;
    const QString version =
        QString("Brisko %1.%2").arg(BRISKO_VERSION_MAJOR).arg(BRISKO_VERSION_MINOR);
    QCOMPARE(f.w().MainLabel->text(), version);
    QCOMPARE(f.form().windowTitle(), version);
    QVERIFY(!f.w().BCancExec->isEnabled());
    QCOMPARE(f.w().BCancExec->text(), QString("&Execute"));
    QVERIFY(!f.w().ErrBox->isVisibleTo(&f.form()));
    QCOMPARE(f.w().PageControl->currentWidget(), f.w().Execute);
    QCOMPARE(f.w().ScriptGrid->horizontalHeaderItem(1)->text(), QString("="));
    QCOMPARE(f.w().HistGrid->columnCount(), 5);
    QVERIFY(f.form().findChild<QWidget*>("ScanCopyBox") != nullptr);
}

void BriskoFormTest::scriptWithErrorsShowsThemAndCannotRun() {
    FormFixture f;
    f.form().loadScriptFile(f.writeScript("errors.BRK", kScriptWithErrors));

    QCOMPARE(f.w().ScriptGrid->dataRowCount(), 6);
    QCOMPARE(f.scriptRow(1), (QStringList{"", "", "; two bad lines"}));
    QCOMPARE(f.scriptRow(2), (QStringList{"Title", "=", "Error test"}));
    QCOMPARE(f.scriptRow(3), (QStringList{"", "?", "UpdateMode=X"}));
    QCOMPARE(f.scriptRow(4), (QStringList{"LeftRoot", "=", "C:"}));
    QCOMPARE(f.scriptRow(5), (QStringList{"", "?", "this line has no sign"}));
    QCOMPARE(f.scriptRow(6), (QStringList{"Execute", "", ""}));
    for (int row = 1; row <= 6; ++row)
        QVERIFY2(highlighted(*f.w().ScriptGrid, row) == (row == 3 || row == 5),
                 qPrintable(QString("row %1").arg(row)));

    QVERIFY(f.w().ErrBox->isVisibleTo(&f.form()));
    QCOMPARE(f.w().ReportError->text(), QString("Contains 2 errors"));
    QVERIFY(!f.w().BCancExec->isEnabled());
    QCOMPARE(f.w().PageControl->currentWidget(), f.w().Script);
    QCOMPARE(f.form().windowTitle(), QString("Error test"));
}

void BriskoFormTest::cleanScriptEnablesExecute() {
    FormFixture f;
    f.form().loadScriptFile(f.writeScript("errors.BRK", kScriptWithErrors));
    QVERIFY(!f.w().BCancExec->isEnabled());

    f.form().context().setRunState(RunState::Scanning); // shows the counters
    f.form().context().setRunState(RunState::Idle);
    const QString clean = f.writeScript("clean.brk", kCleanScript);
    f.form().loadScriptFile(clean);
    QVERIFY(f.w().BCancExec->isEnabled());
    QVERIFY(f.w().counters[0]->isHidden());
    QCOMPARE(QString::fromStdString(f.form().context().script().loadFolder),
             QFileInfo(clean).absolutePath());
    QCOMPARE(f.w().ReportError->text(), QString("Contains 0 errors"));
    QCOMPARE(f.w().ScriptGrid->dataRowCount(), 3);
    QCOMPARE(f.scriptRow(2), (QStringList{"UpdateMode", "=", "LMaster"}));
    for (int row = 1; row <= 3; ++row)
        QVERIFY(!highlighted(*f.w().ScriptGrid, row));
    QCOMPARE(f.w().UMessage->text(), clean);
}

void BriskoFormTest::reloadReadsTheChangedFile() {
    FormFixture f;
    f.form().show();
    f.form().loadScriptFile(f.writeScript("s.BRK", kScriptWithErrors));
    QVERIFY(!f.w().BCancExec->isEnabled());
    f.writeScript("s.BRK", kCleanScript);
    QTest::mouseClick(f.w().bReload, Qt::LeftButton);
    QVERIFY(f.w().BCancExec->isEnabled());
    QCOMPARE(f.w().ScriptGrid->dataRowCount(), 3);

    f.writeScript("s.BRK", "nonsense\n");
    f.form().bReloadClick();
    QVERIFY(!f.w().BCancExec->isEnabled());
    QCOMPARE(f.w().ReportError->text(), QString("Contains 1 errors"));
}

void BriskoFormTest::closeIsRefusedWhileNotIdle_data() {
    QTest::addColumn<RunState>("state");
    QTest::newRow("scanning") << RunState::Scanning;
    QTest::newRow("copying") << RunState::Copying;
    QTest::newRow("waiting") << RunState::Waiting;
}

void BriskoFormTest::closeIsRefusedWhileNotIdle() {
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

void BriskoFormTest::closeIsRefusedDuringARun_data() {
    QTest::addColumn<bool>("sessionScans");
    QTest::newRow("while scanning") << true;
    QTest::newRow("before the state changes") << false;
}

void BriskoFormTest::closeIsRefusedDuringARun() {
    QFETCH(bool, sessionScans);
    FormFixture f;
    f.form().show();
    f.form().loadScriptFile(f.writeScript("clean.BRK", kCleanScript));
    std::vector<bool> closed;
    CallbackExecutor executor([&] {
        if (sessionScans)
            f.form().context().setRunState(RunState::Scanning);
        QVERIFY(f.form().running());
        closed.push_back(f.form().close());
    });
    f.form().context().setSessionExecutor(&executor);

    QTest::mouseClick(f.w().BCancExec, Qt::LeftButton);
    QCOMPARE(executor.sessions, 1);
    QCOMPARE(closed, std::vector<bool>{false});
    QVERIFY(!f.form().running());
    QCOMPARE(f.form().context().runState(), RunState::Idle);
    QVERIFY(f.w().BCancExec->isEnabled());
    QVERIFY(f.w().BLoad->isEnabled());
    QVERIFY(f.form().close());
}

void BriskoFormTest::runStateReconfiguresTheWindow_data() {
    QTest::addColumn<RunState>("state");
    QTest::addColumn<bool>("loadShown");
    QTest::addColumn<bool>("reload");
    QTest::addColumn<bool>("scanCopy");
    QTest::addColumn<bool>("binaryCompare");
    QTest::addColumn<QString>("ledText");
    QTest::addColumn<QColor>("lamp");
    const QColor grey(128, 128, 128);
    QTest::newRow("idle") << RunState::Idle << true << true << true << true << "" << grey;
    QTest::newRow("scanning") << RunState::Scanning << true << false << true << true << "Scanning"
                              << QColor(0, 255, 0);
    QTest::newRow("copying") << RunState::Copying << true << false << false << false << "Copying"
                             << QColor(255, 0, 0);
    // Waiting keeps the colour it found and blinks.
    QTest::newRow("waiting") << RunState::Waiting << false << false << false << true << "Waiting"
                             << grey;
}

void BriskoFormTest::runStateReconfiguresTheWindow() {
    QFETCH(RunState, state);
    QFETCH(bool, loadShown);
    QFETCH(bool, reload);
    QFETCH(bool, scanCopy);
    QFETCH(bool, binaryCompare);
    QFETCH(QString, ledText);
    QFETCH(QColor, lamp);
    FormFixture f;
    f.form().show();
    f.form().context().setRunState(state);
    const FormWidgets& w = f.w();
    QCOMPARE(w.BLoad->isVisible(), loadShown);
    QCOMPARE(w.BCancExec->isVisible(), loadShown);
    QCOMPARE(w.bContinue->isVisible(), !loadShown);
    QCOMPARE(w.bAbortAll->isVisible(), !loadShown);
    QCOMPARE(w.bReload->isEnabled(), reload);
    QCOMPARE(w.ScanCopyBox->isEnabled(), scanCopy);
    QCOMPARE(w.BinaryCompareBox->isEnabled(), binaryCompare);
    QCOMPARE(w.LedLabel->text(), ledText);
    QCOMPARE(w.Led->shownColor(), lamp);
    QCOMPARE(w.Led->isBlinking(), !loadShown);
    f.form().context().setRunState(RunState::Idle);
}

void BriskoFormTest::commandLineScriptRunsOnceAndOffersToClose_data() {
    QTest::addColumn<DialogAnswer>("answer");
    QTest::addColumn<bool>("staysOpen");
    QTest::newRow("close") << DialogAnswer::Abort << false;
    QTest::newRow("stay") << DialogAnswer::Retry << true;
}

void BriskoFormTest::commandLineScriptRunsOnceAndOffersToClose() {
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
    f.form().FormActivate();
    QCOMPARE(executor.sessions, 1);
}

void BriskoFormTest::commandLineScriptWithErrorsWaits() {
    test::TempTree scripts;
    FormFixture f({scripts.write("bad.BRK", kScriptWithErrors).string(), "L=D:"});
    CallbackExecutor executor([] {});
    f.form().context().setSessionExecutor(&executor);
    f.form().show();
    QTRY_VERIFY(f.form().activated());
    QCOMPARE(executor.sessions, 0);
    QVERIFY(f.form().isVisible());
    QCOMPARE(f.w().PageControl->currentWidget(), f.w().Script);
    QVERIFY(!f.w().BCancExec->isEnabled());
    // The command-line root leads the rows, highlighted.
    QCOMPARE(f.scriptRow(1), (QStringList{"L=", "=", "D:"}));
    QVERIFY(highlighted(*f.w().ScriptGrid, 1));
    QVERIFY(f.operatorPort().questions.empty());
}

void BriskoFormTest::historyRowsAreColouredByKind() {
    FormFixture f;
    f.form().context().addHistoryRow({"C:\\A", "D:\\A", "10", "+10", "Copy", RowColour::Blue});
    f.form().context().addHistoryRow({"C:\\B", "D:\\B", "5", "", "Failed", RowColour::Red});
    f.form().context().addHistoryRow({"C:\\C", "D:\\C", "7", "", "Copied", RowColour::Plain});
    const widgets::TEnhStringGrid& grid = *f.w().HistGrid;
    QCOMPARE(grid.dataRowCount(), 3);
    QCOMPARE(grid.cellText(4, 2), QString("Failed"));
    QCOMPARE(grid.cellOption(0, 1).palette.color(QPalette::Text), kBlue);
    QCOMPARE(grid.cellOption(4, 2).palette.color(QPalette::Text), kRed);
    const QColor plain = grid.cellOption(0, 3).palette.color(QPalette::Text);
    QVERIFY(plain != kBlue && plain != kRed);
}

void BriskoFormTest::hintLineFollowsTheMouseAndClearsOnPageChange() {
    FormFixture f;
    QStatusTipEvent tip(f.w().UMessage->statusTip());
    QApplication::sendEvent(&f.form(), &tip);
    QCOMPARE(f.w().HintText->text(), QString("Messages"));
    // Leaving a control (an empty tip) keeps the hint.
    QStatusTipEvent leave{QString()};
    QApplication::sendEvent(&f.form(), &leave);
    QCOMPARE(f.w().HintText->text(), QString("Messages"));
    f.w().PageControl->setCurrentWidget(f.w().History);
    QCOMPARE(f.w().HintText->text(), QString());
}

void BriskoFormTest::panesShareExtraWidthEqually() {
    FormFixture f;
    f.form().context().showCopyDirection(true, true);
    f.form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.form()));
    const int leftBefore = f.w().FolderLeft->width();
    f.form().resize(f.form().width() + 100, f.form().height());
    QTRY_COMPARE(f.w().FolderLeft->width(), leftBefore + 50);
    QVERIFY(qAbs(f.w().FolderLeft->width() - f.w().FolderRight->width()) <= 1);
    const int gap = f.w().FolderRight->x() - (f.w().FolderLeft->x() + f.w().FolderLeft->width());
    const int arrowCentre = f.w().ArrowAvi->geometry().center().x();
    QVERIFY(qAbs(arrowCentre - (f.w().FolderLeft->geometry().right() + gap / 2)) <= 2);
}

void BriskoFormTest::historyShowsEveryColumnAtTheStartingSize() {
    FormFixture f;
    f.form().show();
    f.w().PageControl->setCurrentWidget(f.w().History);
    QVERIFY(QTest::qWaitForWindowExposed(&f.form()));
    const widgets::TEnhStringGrid& grid = *f.w().HistGrid;
    QCOMPARE(grid.horizontalScrollBar()->maximum(), 0);
    QVERIFY(grid.columnWidth(4) >= grid.fontMetrics().horizontalAdvance("File to be copied"));
}

void BriskoFormTest::editScriptShowsWhatTheEditorSaved_data() {
    QTest::addColumn<QString>("editor");
    // One that edits and ends; one that hands the file on and ends at once, the save coming later.
    QTest::newRow("waits") << "echo 'Message=edited' >> \"$1\"\n";
    QTest::newRow("hands off") << "(sleep 0.5; echo 'Message=edited' >> \"$1\") &\n";
}

void BriskoFormTest::editScriptShowsWhatTheEditorSaved() {
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
    QCOMPARE(f.w().ScriptGrid->dataRowCount(), 3);
    f.w().bEditScript->click();
    QTRY_COMPARE_WITH_TIMEOUT(f.w().ScriptGrid->dataRowCount(), 4, 10000);
    QCOMPARE(f.scriptRow(4), (QStringList{"Message", "=", "edited"}));
    qunsetenv("VISUAL");
}

void BriskoFormTest::errorRowsSayWhyAndTheFirstIsSelected() {
    FormFixture f;
    f.form().show();
    f.form().loadScriptFile(f.writeScript("errors.BRK", kScriptWithErrors));
    QCOMPARE(f.w().ScriptGrid->currentRow() + 1, 3);
    QCOMPARE(f.w().ReportError->palette().color(QPalette::WindowText), kRed);
    f.form().loadScriptFile(f.writeScript("clean.BRK", kCleanScript));
    QCOMPARE(f.w().ReportError->text(), QString("Contains 0 errors"));
    QVERIFY(f.w().ReportError->palette().color(QPalette::WindowText) != kRed);

    // A row in error tells why: as its tool tip, and in the hint line once selected.
    const QString why = "unknown key UpdatMode; did you mean UpdateMode?";
    f.form().context().window().addScriptRow(
        4, {"", "?", "UpdatMode=Update", true, why.toStdString(), "clean.BRK", 4});
    QCOMPARE(f.w().ScriptGrid->item(3, 2)->toolTip(), why);
    f.w().ScriptGrid->setCurrentCell(3, 2);
    QCOMPARE(f.w().HintText->text(), why);
}

void BriskoFormTest::historyPathsKeepTheirFileNameAndMessagesEndEmpty() {
    FormFixture f;
    f.form().show();
    f.w().PageControl->setCurrentWidget(f.w().History);
    QVERIFY(QTest::qWaitForWindowExposed(&f.form()));
    const QString from = "L:\\PROJECTS\\ARCHIVE\\2024\\QUARTERLY\\BUDGET.XLS";
    f.form().context().addHistoryRow(
        {from.toStdString(), "R:\\B.TXT", "10000000", "+10000000", "Copy", RowColour::Blue});
    const widgets::TEnhStringGrid& grid = *f.w().HistGrid;
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
    QCOMPARE(f.w().MessageGrid->dataRowCount(), 3);
    QCOMPARE(f.w().MessageGrid->currentRow() + 1, 2);
    QCOMPARE(f.w().MessageGrid->cellText(0, 2), QString("second"));
    QCOMPARE(f.w().MessageGrid->cellText(0, 3), QString());
}

void BriskoFormTest::folderPaneShowsTheDriveTree() {
    FormFixture f;
    const QString sub = QFileInfo(f.writeScript("Data/Sub/x.txt", "x")).absolutePath();
    f.form().context().window().showFolder(Side::Left, "C:\\DATA\\SUB");
    QCOMPARE(f.w().FolderLeft->selectedPath(), sub);
    QCOMPARE(f.w().FolderLeft->currentIndex().parent().data().toString(), QString("Data"));
    QCOMPARE(f.w().LeftDrive->currentData().toString(), QString("C:"));
    QVERIFY(!f.w().LeftDrive->isEnabled());
    // A folder created later shows in the tree.
    QVERIFY(QDir(sub).mkdir("New"));
    f.form().context().window().showFolder(Side::Left, "C:\\DATA\\SUB\\NEW");
    QCOMPARE(f.w().FolderLeft->selectedPath(), sub + "/New");
}

void BriskoFormTest::windowKeepsItsMinimumAndEscapeCloses() {
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

QTEST_MAIN(BriskoFormTest)
#include "BriskoFormTest.moc"
