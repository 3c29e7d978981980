#include "dialogs/FreeSpaceDialog.h"
#include "dialogs/QuestionDialog.h"
#include "dialogs/StandardDialog.h"
#include "widgets/GradProgress.h"

#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <cstdint>
#include <limits>

using namespace brisko;
using namespace brisko::dialogs;

Q_DECLARE_METATYPE(brisko::DialogKind)
Q_DECLARE_METATYPE(brisko::DialogAnswer)

namespace {

constexpr DialogKind kTimedKinds[] = {
    DialogKind::MissingItem, DialogKind::SameStamp,    DialogKind::ZeroLength,
    DialogKind::FutureStamp, DialogKind::InvalidDrive, DialogKind::EmptyMaster,
    DialogKind::FileError,   DialogKind::Standard,     DialogKind::Closing};

Question question(DialogKind kind, int timeoutSeconds = 60) {
    Question q;
    q.kind = kind;
    q.text = "Missing File";
    q.str1 = "C:\\SRC\\A.TXT";
    q.str2 = "D:\\DST\\A.TXT";
    q.timeoutSeconds = timeoutSeconds;
    return q;
}

bool hasButton(const QuestionContent& content, DialogAnswer answer) {
    for (const AnswerButton& button : content.buttons) {
        if (button.answer == answer)
            return true;
    }
    return false;
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
    void everyTimedKindTimesOutWithItsDefaultAnswer();
    void contentFollowsTheQuestion();
    void everyTextFitsInsideItsDialog_data();
    void everyTextFitsInsideItsDialog();
    void lineBreaks_data();
    void lineBreaks();
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
    void freeSpaceShortfall_data();
    void freeSpaceShortfall();
    void freeSpaceListsEveryShortDrive();
};

void DialogsTest::everyTimedKindTimesOutWithItsDefaultAnswer() {
    for (DialogKind kind : kTimedKinds) {
        const QuestionContent content = describeQuestion(question(kind));
        QVERIFY2(content.timeOutAnswer == defaultAnswer(kind), dialogKindName(kind));
        QVERIFY2(hasButton(content, content.timeOutAnswer), dialogKindName(kind));
        QVERIFY2(hasButton(content, content.escapeAnswer), dialogKindName(kind));
    }
}

void DialogsTest::contentFollowsTheQuestion() {
    Question zero = question(DialogKind::ZeroLength);
    zero.str1 = "C:\\SRC";
    zero.str2 = "D:\\DST";
    zero.str3 = "A.TXT";
    zero.num1 = 0;
    zero.num2 = 1234;
    zero.text = "ignored";
    const QuestionContent zeroContent = describeQuestion(zero);
    QCOMPARE(zeroContent.caption, std::string("Zero Length Source File Warning !"));
    QCOMPARE(zeroContent.upper, std::string("C:\\SRC\\A.TXT (0 Byte)"));
    QCOMPARE(zeroContent.lower, std::string("D:\\DST\\A.TXT (1234 Bytes)"));

    Question drive = question(DialogKind::InvalidDrive);
    drive.text = "Free Space Warning !";
    drive.str1 = "No more free space on Drive D to copy A.TXT";
    drive.str2 = "Skip File";
    const QuestionContent driveContent = describeQuestion(drive);
    QCOMPARE(driveContent.caption, drive.text);
    QCOMPARE(driveContent.upper, drive.str1);
    QCOMPARE(driveContent.buttons.front().caption, std::string("Skip File"));

    const QuestionContent closing = describeQuestion(question(DialogKind::Closing, 60));
    QCOMPARE(closing.timeOutSeconds, 30);
    QVERIFY(closing.silent);

    QCOMPARE(describeQuestion(question(DialogKind::FileError, 0)).timeOutSeconds, 1);
    QCOMPARE(describeQuestion(question(DialogKind::FileError, -5)).timeOutSeconds, 1);

    const QuestionContent same = describeQuestion(question(DialogKind::SameStamp));
    QCOMPARE(same.buttons[1].caption, std::string("Reversed Copy "));
    QCOMPARE(same.buttons[1].hint, std::string("Copy Target onto Source"));
    QCOMPARE(same.background, DialogBackground::Info);
}

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
    Question q = question(kind);
    q.str1 = folder.toStdString() + "\\Summary of every account.xlsx (38 Bytes)";
    q.str2 = q.str1;
    q.str3 = "Files with same Time Stamp but with Different sizes !";
    TQuestionDialog dialog(q);
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

void DialogsTest::lineBreaks_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("none") << "plain"
                          << "plain";
    QTest::newRow("cr") << "one\rtwo"
                        << "one\ntwo";
    QTest::newRow("cr lf") << "one\r\ntwo"
                           << "one\ntwo";
    QTest::newRow("trailing") << "a\r"
                              << "a\n";
    QTest::newRow("two") << "a\r\rb"
                         << "a\n\nb";
}

void DialogsTest::lineBreaks() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(QString::fromStdString(withLineBreaks(text.toStdString())), shown);
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
        QCOMPARE(source->text(), QString::fromStdString(q.str1));
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

void DialogsTest::freeSpaceShortfall_data() {
    QTest::addColumn<qint64>("balance");
    QTest::addColumn<qint64>("megabytes");
    QTest::newRow("one byte") << qint64(-1) << qint64(1);
    QTest::newRow("exactly one") << qint64(-1'024'000) << qint64(1);
    QTest::newRow("one more byte") << qint64(-1'024'001) << qint64(2);
    QTest::newRow("twelve") << qint64(-12 * 1'024'000) << qint64(12);
    QTest::newRow("lowest possible")
        << std::numeric_limits<qint64>::min() << qint64(9'007'199'254'741);
}

void DialogsTest::freeSpaceShortfall() {
    QFETCH(qint64, balance);
    QFETCH(qint64, megabytes);
    QCOMPARE(TFreeSpaceDialog::shortfallMegabytes(balance), megabytes);
}

void DialogsTest::freeSpaceListsEveryShortDrive() {
    const std::vector<ShortDrive> drives{
        {'C', -1}, {'D', -2'048'000}, {'F', -5}, {'G', -1'024'001}};
    TFreeSpaceDialog dialog(drives);
    QCOMPARE(dialog.windowTitle(), QString("Free Space Warning !"));
    for (int i = 0; i < 4; ++i) {
        auto* letter = dialog.findChild<QLabel*>(QString("Drive%1").arg(i + 1));
        auto* amount = dialog.findChild<QLabel*>(QString("Panel%1").arg(i + 1));
        QVERIFY(letter && amount);
        QCOMPARE(letter->text(), QString(QChar(drives[i].letter)) + " :");
    }
    QCOMPARE(dialog.findChild<QLabel*>("Panel2")->text(), QString("2 Mb"));
    QCOMPARE(dialog.findChild<QLabel*>("Panel4")->text(), QString("2 Mb"));
    // No countdown: only OK or the frame ends it, both with OK.
    QVERIFY(dialog.findChild<widgets::TGradProgress*>() == nullptr);
    QCOMPARE(runFast(dialog, [&dialog] { dialog.close(); }), DialogAnswer::Ok);
}

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
