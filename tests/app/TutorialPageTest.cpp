#include "app/tutorial/TutorialPage.h"

#include "app/tutorial/ExplanationTable.h"
#include "app/tutorial/SampleScripts.h"
#include "script/KeyTable.h"

#include <QFocusEvent>
#include <QStatusTipEvent>
#include <QTest>

using namespace brisko::tutorial;

namespace {

const QString kNoValues = QStringLiteral("no specific values");
const QString kPathsText = QStringLiteral("All actions in an update session occur");

// Catches the status tips that reach the window holding the page.
class StatusTipCatcher final : public QWidget {
public:
    QString tip;

protected:
    bool event(QEvent* event) override {
        if (event->type() != QEvent::StatusTip)
            return QWidget::event(event);
        tip = static_cast<QStatusTipEvent*>(event)->tip();
        return true;
    }
};

} // namespace

class TutorialPageTest : public QObject {
    Q_OBJECT

private:
    static QString shownValues(const TutorialPage& page) {
        return page.allValues->text().remove(QChar(0x200B));
    }
    static QString firstExplanationLine(const TutorialPage& page) {
        return page.explanationText->toPlainText().section(QLatin1Char('\n'), 0, 0);
    }
    static void select(TutorialPage& page, int level, int row) {
        page.levelBar->setValue(level);
        page.sampleGrid->setCurrentCell(row - 1, 2);
    }

private slots:
    void startsWithTheBeginnerSampleExplained();
    void selectedRowExplainsItsKey_data();
    void selectedRowExplainsItsKey();
    void everySampleKeyHasAnExplanation();
    void valueListsNameTheValuesTheScriptAccepts();
    void shorterSampleLeavesNoRowsBehind();
    void enteringTheLevelBarShowsItsHint();
};

void TutorialPageTest::startsWithTheBeginnerSampleExplained() {
    TutorialPage page;
    QCOMPARE(page.levelBar->value(), 0);
    QCOMPARE(page.sampleGrid->rowCount(), 19);
    QCOMPARE(page.sampleGrid->currentRow(), 0);
    QCOMPARE(page.sampleGrid->cellText(0, 1), QStringLiteral("LeftPath"));
    QCOMPARE(page.sampleGrid->cellText(2, 2), QStringLiteral("F:\\DATA"));
    QCOMPARE(page.sampleGrid->cellText(0, 3), QStringLiteral("Execute"));
    QCOMPARE(page.sampleGrid->cellText(1, 3), QString());
    QCOMPARE(firstExplanationLine(page), kPathsText);
    QCOMPARE(shownValues(page), kNoValues);
}

void TutorialPageTest::selectedRowExplainsItsKey_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("values");
    QTest::addColumn<QString>("firstLine");
    const auto row = [](const char* name, int level, int line, const char* key, const char* values,
                        const char* firstLine) {
        QTest::newRow(name) << level << line << QString::fromLatin1(key)
                            << QString::fromLatin1(values) << QString::fromLatin1(firstLine);
    };
    row("beginner Execute", 0, 3, "Execute", "no specific values",
        "When this Command script-line is");
    row("beginner empty row", 0, 4, "", "no specific values", "");
    row("title", 1, 1, "Title", "no specific values",
        "The value of Title is Shown on the Title bar of the main window");
    row("update mode", 1, 5, "UpdateMode", "[Update,LMASTER,RMaster,1LTR,2RTL]",
        "Update:  Bi-directional updating.");
    row("missing folder", 1, 7, "MissingFolder", "[Userask,Auto,Skip]",
        "Indicates how Brisko2 reacts when the");
    row("level 1 empty row", 1, 11, "", "no specific values", "");
    row("ignore", 2, 3, "Ignore", "[No,Yes]", "If Ignore=Yes is specified, then BRISKO2");
    row("compare", 2, 4, "Compare", "[DateSize,Binary]",
        "Indicates the compare-method to be used.");
    row("missing file", 2, 6, "MissingFile", "[Ask,Create,Delete]",
        "Indicates how BRISKO2 reacts when the");
    row("right root as paths", 2, 9, "RightRoot", "no specific values",
        "All actions in an update session occur");
    row("sub-folders", 2, 13, "SubFolders", "[Included,Excluded,Yes,No]",
        "When Subfolders are Included, all the");
    row("when finish", 2, 17, "WhenFinish", "[Stay,Close]", "Stay: BRISKO2 does not close");
    row("include", 2, 19, "Include", "no specific values",
        "Specifies another BRISKO2 script-file,");
}

void TutorialPageTest::selectedRowExplainsItsKey() {
    QFETCH(int, level);
    QFETCH(int, row);
    QFETCH(QString, key);
    QFETCH(QString, values);
    QFETCH(QString, firstLine);
    TutorialPage page;
    // Leave an explanation behind first, so that an empty row must clear it.
    select(page, level, 1);
    select(page, level, row);
    QCOMPARE(page.sampleGrid->cellText(0, row), key);
    QCOMPARE(shownValues(page), values);
    QCOMPARE(firstExplanationLine(page), firstLine);
}

void TutorialPageTest::everySampleKeyHasAnExplanation() {
    for (int level = 0; level <= 2; ++level)
        for (const SampleLine& line : sampleScript(level))
            QVERIFY2(explanationFor(line.key) != nullptr, qPrintable(line.key));
    QCOMPARE(sampleScript(1).constFirst().value, QStringLiteral("Update  C:\\DATA and  F:\\DATA"));
    QCOMPARE(sampleScript(2).size(), 19);
}

// The page spells and orders its value lists in its own way; the values are the key table's.
void TutorialPageTest::valueListsNameTheValuesTheScriptAccepts() {
    for (const Explanation& explanation : explanations()) {
        for (const QString& key : explanation.keys) {
            const auto found = brisko::script::findKey(key.toStdString());
            if (!found)
                continue; // a command such as Execute
            QStringList accepted;
            for (const std::string& value : brisko::script::keyDefinition(*found).allowedValues)
                accepted << QString::fromStdString(value).toUpper();
            QString list = explanation.allValues.toUpper();
            list.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
            QStringList shown = list.split(QLatin1Char(','), Qt::SkipEmptyParts);
            accepted.sort();
            shown.sort();
            QVERIFY2(shown == accepted,
                     qPrintable(key + ": " + shown.join(',') + " against " + accepted.join(',')));
        }
    }
}

void TutorialPageTest::shorterSampleLeavesNoRowsBehind() {
    TutorialPage page;
    select(page, 2, 15);
    page.levelBar->setValue(0);
    QCOMPARE(page.sampleGrid->rowCount(), 19);
    QCOMPARE(page.sampleGrid->currentRow(), 0);
    for (int row = 4; row <= 19; ++row)
        for (int col = 0; col < 3; ++col)
            QCOMPARE(page.sampleGrid->cellText(col, row), QString());
    QCOMPARE(firstExplanationLine(page), kPathsText);
}

void TutorialPageTest::enteringTheLevelBarShowsItsHint() {
    StatusTipCatcher window;
    auto* page = new TutorialPage(&window);
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(page->levelBar, &focusIn);
    QCOMPARE(window.tip, QStringLiteral("Adjust the Level track bar to show more or less details"));
    QCOMPARE(page->statusTip(), window.tip);
}

QTEST_MAIN(TutorialPageTest)
#include "TutorialPageTest.moc"
