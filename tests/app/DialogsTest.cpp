#include "dialogs/FreeSpaceDialog.h"
#include "dialogs/QuestionDialog.h"
#include "dialogs/StandardDialog.h"
#include "support/SampleQuestions.h"
#include "widgets/GradProgress.h"

#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

using namespace brisko;
using namespace brisko::dialogs;

Q_DECLARE_METATYPE(brisko::DialogKind)
Q_DECLARE_METATYPE(brisko::DialogAnswer)

namespace {

Question question(DialogKind kind, int timeoutSeconds = 60) {
    Question q = test::sampleQuestion(kind);
    q.timeoutSeconds = timeoutSeconds;
    return q;
}

// Runs a dialog with a fast clock; the action, when given, happens once it is shown.
template <typename Dialog>
DialogAnswer runFast(Dialog& dialog, const std::function<void()>& action = {}) {
    dialog.setTickInterval(1);
    if (action)
        QTimer::singleShot(0, &dialog, action);
    return dialog.run();
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    void everyTextFitsInsideItsDialog_data();
    void everyTextFitsInsideItsDialog();
    void countdownPressesTheDefaultAfterItsLength_data();
    void countdownPressesTheDefaultAfterItsLength();
    void beepsEveryTenSecondsUnlessSilent();
    void pressedButtonAnswers();
    void frameCloseNeverDeletesAnything_data();
    void frameCloseNeverDeletesAnything();
    void escapeGivesTheCancelButtonsAnswer_data();
    void escapeGivesTheCancelButtonsAnswer();
    void directionSetsTheArrowAndAlignment();
    void standardDialogKeepsItsCaption();
    void freeSpaceListsEveryShortDrive();
};

void DialogsTest::everyTextFitsInsideItsDialog_data() {
    QTest::addColumn<DialogKind>("kind");
    QTest::addColumn<QString>("folder");
    const QString deep = QStringLiteral("C:\\Projects\\Customer Archive 2026\\Quarterly Reports");
    QString tooLongForTheScreen = QStringLiteral("C:");
    for (int level = 0; level < 40; ++level)
        tooLongForTheScreen += QStringLiteral("\\Folder%1").arg(level);
    for (DialogKind kind :
         {DialogKind::MissingItem, DialogKind::SameStamp, DialogKind::ZeroLength}) {
        QTest::addRow("%s deep", dialogKindName(kind)) << kind << deep;
        QTest::addRow("%s too long", dialogKindName(kind)) << kind << tooLongForTheScreen;
    }
}

void DialogsTest::everyTextFitsInsideItsDialog() {
    QFETCH(DialogKind, kind);
    QFETCH(QString, folder);
    TQuestionDialog dialog(test::sampleQuestion(kind, folder.toStdString(), folder.toStdString()));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        QVERIFY(label->geometry().right() < dialog.width());
        QVERIFY2(label->heightForWidth(label->width()) <= label->height() || !label->wordWrap(),
                 qPrintable(label->objectName()));
        // No piece that cannot be broken is wider than its label.
        for (const QString& piece : label->text().split(QRegularExpression("[ \\n\\x{200B}]")))
            QVERIFY2(label->fontMetrics().horizontalAdvance(piece) <= label->contentsRect().width(),
                     qPrintable(piece));
    }
}

void DialogsTest::countdownPressesTheDefaultAfterItsLength_data() {
    QTest::addColumn<DialogKind>("kind");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<DialogAnswer>("answer");
    QTest::addColumn<int>("ticks");
    QTest::newRow("missing item") << DialogKind::MissingItem << 60 << DialogAnswer::Ignore << 61;
    QTest::newRow("zero seconds") << DialogKind::FileError << 0 << DialogAnswer::Ignore << 2;
    QTest::newRow("standard") << DialogKind::Standard << 10 << DialogAnswer::Ok << 11;
    QTest::newRow("closing") << DialogKind::Closing << 60 << DialogAnswer::Abort << 31;
}

void DialogsTest::countdownPressesTheDefaultAfterItsLength() {
    QFETCH(DialogKind, kind);
    QFETCH(int, seconds);
    QFETCH(DialogAnswer, answer);
    QFETCH(int, ticks);
    TQuestionDialog dialog(question(kind, seconds));
    QCOMPARE(runFast(dialog), answer);
    QCOMPARE(dialog.tickCount(), ticks);
    QCOMPARE(dialog.timeProgress()->position(), dialog.timeProgress()->maxValue());
}

void DialogsTest::beepsEveryTenSecondsUnlessSilent() {
    int beeps = 0;
    TQuestionDialog loud(question(DialogKind::SameStamp, 60));
    loud.setBeeper([&beeps] { ++beeps; });
    runFast(loud);
    QCOMPARE(beeps, 6); // at 10, 20, ... 60 seconds

    beeps = 0;
    TQuestionDialog closing(question(DialogKind::Closing));
    closing.setBeeper([&beeps] { ++beeps; });
    runFast(closing);
    QCOMPARE(beeps, 0);
}

void DialogsTest::pressedButtonAnswers() {
    TQuestionDialog dialog(question(DialogKind::MissingItem, 3600));
    QPushButton* abort = dialog.answerButton(DialogAnswer::No);
    QVERIFY(abort != nullptr);
    QCOMPARE(abort->text(), QString("Abort"));
    QCOMPARE(runFast(dialog, [abort] { abort->click(); }), DialogAnswer::No);
    QVERIFY(dialog.tickCount() < 3600);
}

void DialogsTest::frameCloseNeverDeletesAnything_data() {
    QTest::addColumn<DialogKind>("kind");
    QTest::addColumn<DialogAnswer>("answer");
    QTest::newRow("missing item") << DialogKind::MissingItem << DialogAnswer::Ignore;
    QTest::newRow("zero length") << DialogKind::ZeroLength << DialogAnswer::Ignore;
    QTest::newRow("same stamp") << DialogKind::SameStamp << DialogAnswer::Cancel;
    QTest::newRow("closing means stay") << DialogKind::Closing << DialogAnswer::Cancel;
}

void DialogsTest::frameCloseNeverDeletesAnything() {
    QFETCH(DialogKind, kind);
    QFETCH(DialogAnswer, answer);
    TQuestionDialog dialog(question(kind, 3600));
    QCOMPARE(runFast(dialog, [&dialog] { dialog.close(); }), answer);
}

void DialogsTest::escapeGivesTheCancelButtonsAnswer_data() {
    QTest::addColumn<DialogKind>("kind");
    QTest::addColumn<DialogAnswer>("answer");
    QTest::newRow("missing item skips") << DialogKind::MissingItem << DialogAnswer::Ignore;
    QTest::newRow("future stamp aborts") << DialogKind::FutureStamp << DialogAnswer::Abort;
    QTest::newRow("closing closes") << DialogKind::Closing << DialogAnswer::Abort;
}

void DialogsTest::escapeGivesTheCancelButtonsAnswer() {
    QFETCH(DialogKind, kind);
    QFETCH(DialogAnswer, answer);
    TQuestionDialog dialog(question(kind, 3600));
    QCOMPARE(runFast(dialog, [&dialog] { QTest::keyClick(&dialog, Qt::Key_Escape); }), answer);
}

void DialogsTest::directionSetsTheArrowAndAlignment() {
    for (bool leftToRight : {true, false}) {
        Question q = question(DialogKind::MissingItem);
        q.leftToRight = leftToRight;
        TQuestionDialog dialog(q);
        auto* arrow = dialog.findChild<QLabel*>("ArrowAvi");
        auto* source = dialog.findChild<QLabel*>("LSource");
        auto* target = dialog.findChild<QLabel*>("LTarget");
        QVERIFY(arrow && source && target);
        QCOMPARE(arrow->text(), leftToRight ? QString("\u2192") : QString("\u2190"));
        QCOMPARE(bool(source->alignment() & Qt::AlignLeft), leftToRight);
        QCOMPARE(bool(target->alignment() & Qt::AlignRight), leftToRight);
        QCOMPARE(source->text(), QString::fromStdString(q.as<MissingItemQuestion>().sourcePath));
        QVERIFY(target->font().italic());
        QVERIFY(!source->font().italic());
    }
}

void DialogsTest::standardDialogKeepsItsCaption() {
    TStandardDialog dialog("Cannot update Brisko using Brisko\rcopy me manually\r", 60);
    QCOMPARE(dialog.windowTitle(), QString("Brisko"));
    auto* message = dialog.findChild<QLabel*>("MsgText");
    QVERIFY(message != nullptr);
    QCOMPARE(message->text(), QString("Cannot update Brisko using Brisko\ncopy me manually\n"));
    QVERIFY(message->font().bold());
    QVERIFY(message->wordWrap());
    QVERIFY(message->alignment() & Qt::AlignHCenter);
    QCOMPARE(runFast(dialog), DialogAnswer::Ok);
}

void DialogsTest::freeSpaceListsEveryShortDrive() {
    const std::vector<ShortDrive> drives{
        {"C:", -1}, {"D:", -2'048'000}, {"F:", -5}, {"G:", -1'024'001}};
    TFreeSpaceDialog dialog(drives);
    QCOMPARE(dialog.windowTitle(), QString("Free Space Warning !"));
    for (int i = 0; i < 4; ++i) {
        auto* letter = dialog.findChild<QLabel*>(QString("Drive%1").arg(i + 1));
        auto* amount = dialog.findChild<QLabel*>(QString("Panel%1").arg(i + 1));
        QVERIFY(letter && amount);
        QCOMPARE(letter->text(), QString::fromStdString(drives[i].drive.substr(0, 1)) + " :");
    }
    QCOMPARE(dialog.findChild<QLabel*>("Panel2")->text(), QString("2 Mb"));
    QCOMPARE(dialog.findChild<QLabel*>("Panel4")->text(), QString("2 Mb"));
    // No countdown: only OK or the frame ends it, both with OK.
    QVERIFY(dialog.findChild<widgets::TGradProgress*>() == nullptr);
    QCOMPARE(runFast(dialog, [&dialog] { dialog.close(); }), DialogAnswer::Ok);
}

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
