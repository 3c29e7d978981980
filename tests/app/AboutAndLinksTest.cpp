#include "app/AboutDialog.h"
#include "app/MakerLinks.h"
#include "app/Version.h"
#include "widgets/UrlLink.h"

#include <QEnterEvent>
#include <QTest>
#include <fstream>
#include <memory>
#include <sstream>

using namespace brisko;
using namespace brisko::app;
using widgets::TUrlLink;

namespace {

// MemTotal of /proc/meminfo in kilobytes, read here on its own.
long long memTotalKb() {
    std::ifstream meminfo("/proc/meminfo");
    std::string line;
    while (std::getline(meminfo, line)) {
        std::istringstream fields(line);
        std::string name;
        long long kilobytes = 0;
        if (fields >> name >> kilobytes && name == "MemTotal:")
            return kilobytes;
    }
    return -1;
}

} // namespace

class AboutAndLinksTest : public QObject {
    Q_OBJECT

private slots:
    void versionText_data();
    void versionText();
    void linkTarget_data();
    void linkTarget();
    void mailLinkSubjectIsTheVersion();
    void hoverKeepsAnUnderlineThatWasThere_data();
    void hoverKeepsAnUnderlineThatWasThere();
    void aboutBoxShowsTheSystemsFacts();
};

void AboutAndLinksTest::versionText_data() {
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("release");
    QTest::addColumn<int>("build");
    QTest::addColumn<QString>("text");

    QTest::newRow("2.2.0.2") << 2 << 2 << 0 << 2 << "Brisko 2.2.00(2)";
    QTest::newRow("2.0.0.1") << 2 << 0 << 0 << 1 << "Brisko 2.0.00(1)";
    QTest::newRow("2.10.5.0") << 2 << 10 << 5 << 0 << "Brisko 2.10.05(0)";
    QTest::newRow("release over 99") << 3 << 1 << 150 << 7 << "Brisko 3.2.50(7)";
}

void AboutAndLinksTest::versionText() {
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, release);
    QFETCH(int, build);
    QFETCH(QString, text);
    const ProgramVersion version{
        static_cast<std::uint16_t>(major), static_cast<std::uint16_t>(minor),
        static_cast<std::uint16_t>(release), static_cast<std::uint16_t>(build)};
    QCOMPARE(QString::fromStdString(versionString(version)), text);
}

void AboutAndLinksTest::linkTarget_data() {
    QTest::addColumn<TUrlLink::TAddressType>("type");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("target");

    QTest::newRow("mail, subject stripped") << TUrlLink::atMail << "[Is \"it\" on?]"
                                            << "mailto:a@b.example?Subject=[Is it on]";
    QTest::newRow("mail, no subject") << TUrlLink::atMail << ""
                                      << "mailto:a@b.example";
    QTest::newRow("web ignores subject") << TUrlLink::atWWW << "x"
                                         << "http://a@b.example";
}

void AboutAndLinksTest::linkTarget() {
    QFETCH(TUrlLink::TAddressType, type);
    QFETCH(QString, subject);
    QFETCH(QString, target);
    QCOMPARE(TUrlLink::target(type, QStringLiteral("a@b.example"), subject), target);
}

void AboutAndLinksTest::mailLinkSubjectIsTheVersion() {
    QWidget parent;
    TUrlLink* link = makerLink(&parent, TUrlLink::atMail, "UrlLink2");
    QList<QUrl> opened;
    link->setOpener([&opened](const QUrl& url) { opened << url; });
    parent.show();
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened.front().scheme(), QStringLiteral("mailto"));
    QCOMPARE(opened.front().path(), kMakerMail);
    QCOMPARE(opened.front().query(QUrl::FullyDecoded),
             QStringLiteral("Subject=[%1]").arg(QString::fromStdString(versionString())));
}

void AboutAndLinksTest::hoverKeepsAnUnderlineThatWasThere_data() {
    QTest::addColumn<bool>("underlined");
    QTest::newRow("plain") << false;
    QTest::newRow("underlined") << true;
}

void AboutAndLinksTest::hoverKeepsAnUnderlineThatWasThere() {
    QFETCH(bool, underlined);
    TUrlLink link;
    QFont font = link.font();
    font.setUnderline(underlined);
    link.setFont(font);
    const QColor rest = link.palette().color(QPalette::WindowText);

    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(&link, &enter);
    QVERIFY(link.font().underline());
    QCOMPARE(link.palette().color(QPalette::WindowText), QColor(255, 0, 0));

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&link, &leave);
    QCOMPARE(link.font().underline(), underlined);
    QCOMPARE(link.palette().color(QPalette::WindowText), rest);
}

void AboutAndLinksTest::aboutBoxShowsTheSystemsFacts() {
    AboutDialog about;
    QCOMPARE(
        about.windowTitle(),
        QStringLiteral("About Brisko %1.%2").arg(BRISKO_VERSION_MAJOR).arg(BRISKO_VERSION_MINOR));
    const long long kilobytes = memTotalKb();
    QVERIFY(kilobytes > 0);
    QCOMPARE(about.findChild<QLabel*>(QStringLiteral("RAM"))->text(),
             QStringLiteral("%1 MB").arg(qRound64(static_cast<double>(kilobytes) / 1024.0)));
    QCOMPARE(about.findChild<QLabel*>(QStringLiteral("LExecName"))->text(),
             QCoreApplication::applicationFilePath());
}

QTEST_MAIN(AboutAndLinksTest)
#include "AboutAndLinksTest.moc"
