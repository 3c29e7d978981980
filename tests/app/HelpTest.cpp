#include "app/MainWindow.h"
#include "dialogs/QuestionDialog.h"
#include "help/HelpKey.h"
#include "help/HelpTopics.h"
#include "help/HelpWindow.h"
#include "platform/Clock.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/FixedEnvironment.h"
#include "support/SampleQuestions.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QUrl>

using namespace brisko;

namespace {

QString pageText(const QString& resourcePath) {
    QFile file(resourcePath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// The resource path of a manual URL, and whether its anchor (if any) is in that page.
bool resolves(const QUrl& url) {
    const QString path = QLatin1Char(':') + url.path();
    if (!QFile::exists(path))
        return false;
    return !url.hasFragment() ||
           pageText(path).contains(QStringLiteral("name=\"%1\"").arg(url.fragment()));
}

QPushButton* buttonCaptioned(QWidget& window, const QString& caption) {
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        if (button->text() == caption)
            return button;
    }
    return nullptr;
}

} // namespace

class HelpTest : public QObject {
    Q_OBJECT

private slots:
    void f1OnMainWindowControlsOpensTheirTopic_data();
    void f1OnMainWindowControlsOpensTheirTopic();
    void f1InAModalDialogOpensAUsableHelpWindow_data();
    void f1InAModalDialogOpensAUsableHelpWindow();
    void everyTopicAndEveryLinkResolves();

private:
    help::HelpKey helpKey_{*qApp};
};

void HelpTest::f1OnMainWindowControlsOpensTheirTopic_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("page");
    QTest::newRow("script grid") << "ScriptGrid"
                                 << "script-page.html#grid";
    QTest::newRow("history grid") << "HistGrid"
                                  << "history-page.html#actions";
    QTest::newRow("execute button") << "BCancExec"
                                    << "buttons.html#execute";
    QTest::newRow("right folders") << "FolderRight"
                                   << "execute-page.html#folders";
    QTest::newRow("pause box") << "ScanCopyBox"
                               << "history-page.html#pause";
    QTest::newRow("edit script") << "bEditScript"
                                 << "script-page.html#edit";
    // Controls without a topic of their own take their page's.
    QTest::newRow("message line") << "UMessage"
                                  << "execute-page.html";
    QTest::newRow("error report") << "ReportError"
                                  << "script-page.html";
    // The tab bar stands for the page it shows (History, made current below).
    QTest::newRow("page tabs") << ""
                               << "history-page.html";
}

void HelpTest::f1OnMainWindowControlsOpensTheirTopic() {
    QFETCH(QString, control);
    QFETCH(QString, page);
    platform::PosixFileSystem fileSystem{platform::DriveMap(QDir::tempPath().toStdString())};
    const platform::SystemClock clock;
    const test::FixedEnvironment environment;
    app::MainWindow form({fileSystem, clock, environment}, {});
    form.widgets().pages->setCurrentWidget(form.widgets().historyPage);

    QWidget* target =
        control.isEmpty() ? form.widgets().pages->tabBar() : form.findChild<QWidget*>(control);
    QVERIFY(target != nullptr);
    QTest::keyClick(target, Qt::Key_F1);

    QVERIFY(helpKey_.hasWindow());
    QVERIFY(helpKey_.window().isVisible());
    QCOMPARE(helpKey_.window().currentPage(), QUrl(QStringLiteral("qrc:/help/") + page));
    helpKey_.window().hide();
}

void HelpTest::f1InAModalDialogOpensAUsableHelpWindow_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("page");
    QTest::newRow("same stamp") << int(DialogKind::SameStamp) << "Keep as is"
                                << "dialog-same-stamp.html";
    QTest::newRow("missing item") << int(DialogKind::MissingItem) << "Create Target"
                                  << "dialog-missing.html";
    QTest::newRow("closing") << int(DialogKind::Closing) << "&Stay"
                             << "dialog-closing.html";
}

void HelpTest::f1InAModalDialogOpensAUsableHelpWindow() {
    QFETCH(int, kind);
    QFETCH(QString, button);
    QFETCH(QString, page);
    const Question question = test::sampleQuestion(static_cast<DialogKind>(kind));
    dialogs::TQuestionDialog dialog(question);

    QUrl opened;
    bool helpTakesInput = false;
    QTimer::singleShot(0, &dialog, [&] {
        QPushButton* pressed = buttonCaptioned(dialog, button);
        QVERIFY(pressed != nullptr);
        QTest::keyClick(pressed, Qt::Key_F1);
        help::THelpWindow& window = helpKey_.window();
        opened = window.currentPage();
        // The dialog is modal: the help window must be the one that takes input now.
        helpTakesInput = window.isVisible() && QApplication::activeModalWidget() == &window;
        window.close();
        dialog.answerButton(defaultAnswer(question.kind()))->click();
    });
    dialog.run();

    QVERIFY(helpTakesInput);
    QCOMPARE(opened.adjusted(QUrl::RemoveFragment), QUrl(QStringLiteral("qrc:/help/") + page));
    // Once the dialog is gone the help window no longer blocks the program.
    QCOMPARE(helpKey_.window().windowModality(), Qt::NonModal);
}

void HelpTest::everyTopicAndEveryLinkResolves() {
    for (const int topic : help::knownTopics())
        QVERIFY2(resolves(help::topicUrl(topic)), qPrintable(QString::number(topic)));

    const QRegularExpression link(QStringLiteral("href=\"([^\"]+)\""));
    const QDir manual(QStringLiteral(":/help"));
    const QStringList pages = manual.entryList({QStringLiteral("*.html")});
    QVERIFY(pages.contains(QStringLiteral("index.html")));
    for (const QString& page : pages) {
        const QUrl base(QStringLiteral("qrc:/help/") + page);
        const QString text = pageText(manual.filePath(page));
        QVERIFY2(text.contains(QStringLiteral("<title>")), qPrintable(page));
        for (const QRegularExpressionMatch& match : link.globalMatch(text)) {
            const QUrl target = base.resolved(QUrl(match.captured(1)));
            QVERIFY2(resolves(target),
                     qPrintable(page + QStringLiteral(" -> ") + match.captured(1)));
        }
    }
}

QTEST_MAIN(HelpTest)
#include "HelpTest.moc"
