#include "PaintCounter.h"
#include "widgets/GradProgress.h"
#include "widgets/Led.h"

#include <QSignalSpy>
#include <QTest>

using brisko::widgets::mulDiv;
using brisko::widgets::TGradProgress;
using brisko::widgets::TLed;
using brisko::widgets::TLEDStyle;

namespace {

const QColor kLime(0, 255, 0);
const QColor kSilver(192, 192, 192);
const QColor kRed(255, 0, 0);

bool near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) <= 8 && std::abs(a.green() - b.green()) <= 8 &&
           std::abs(a.blue() - b.blue()) <= 8;
}

} // namespace

class ProgressAndLampTest : public QObject {
    Q_OBJECT

private slots:
    void mulDivRoundsHalvesAwayFromZero();
    void percentIsThatOfTheFilledPixels_data();
    void percentIsThatOfTheFilledPixels();
    void positionAndBevelRules();
    void gradientRunsFromTheEmptyEnd();
    void lampShowsItsStateColour();
    void lampStyleFixesItsSize();
};

void ProgressAndLampTest::mulDivRoundsHalvesAwayFromZero() {
    QCOMPARE(mulDiv(1, 5, 2), 3);
    QCOMPARE(mulDiv(-1, 5, 2), -3);
    QCOMPARE(mulDiv(1, 5, -2), -3);
    QCOMPARE(mulDiv(7, 1, 3), 2);
    QCOMPARE(mulDiv(1, 1, 0), -1);
    // The product is taken in 64 bits.
    QCOMPARE(mulDiv(100'000, 100'000, 1'000'000), 10'000);
}

void ProgressAndLampTest::percentIsThatOfTheFilledPixels_data() {
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("maxValue");
    QTest::addColumn<int>("filled");
    QTest::addColumn<QString>("percent");
    QTest::newRow("empty") << false << 150 << 0 << 100 << 0 << "0%";
    QTest::newRow("half") << false << 150 << 50 << 100 << 75 << "50%";
    QTest::newRow("full") << false << 233 << 100 << 100 << 233 << "100%";
    QTest::newRow("half pixel rounds up") << false << 233 << 1 << 2 << 117 << "50%";
    QTest::newRow("pixels, not position") << false << 10 << 3 << 7 << 4 << "40%";
    QTest::newRow("one pixel of a tiny share") << false << 150 << 1 << 200 << 1 << "1%";
    QTest::newRow("almost full") << false << 150 << 199 << 200 << 149 << "99%";
    QTest::newRow("vertical uses the height") << true << 40 << 1 << 3 << 13 << "33%";
    QTest::newRow("no maximum") << false << 150 << 0 << 0 << -1 << "0%";
}

void ProgressAndLampTest::percentIsThatOfTheFilledPixels() {
    QFETCH(bool, vertical);
    QFETCH(int, length);
    QFETCH(int, position);
    QFETCH(int, maxValue);
    QFETCH(int, filled);
    QFETCH(QString, percent);
    TGradProgress bar;
    bar.setStyle(vertical ? TGradProgress::Style::Vertical : TGradProgress::Style::Horizontal);
    bar.resize(vertical ? QSize(16, length) : QSize(length, 16));
    bar.setMaxValue(maxValue);
    bar.setPosition(position);
    QCOMPARE(bar.filledLength(), filled);
    QCOMPARE(bar.percentText(), percent);
}

void ProgressAndLampTest::positionAndBevelRules() {
    TGradProgress bar;
    QCOMPARE(bar.size(), QSize(150, 16));
    bar.setPosition(40);
    bar.setPosition(-5);
    QCOMPARE(bar.position(), 40);
    bar.setPosition(500);
    QCOMPARE(bar.position(), 100);
    bar.setMaxValue(30);
    QCOMPARE(bar.position(), 30);
    bar.stepit();
    QCOMPARE(bar.position(), 30);

    // 16 high leaves room for at most 6 pixels of bevel.
    bar.setBevelWidth(6);
    bar.setBevelWidth(7);
    QCOMPARE(bar.bevelWidth(), 6);
    bar.resize(10, 100);
    bar.setBevelWidth(4);
    QCOMPARE(bar.bevelWidth(), 6);
    bar.setBevelWidth(3);
    QCOMPARE(bar.bevelWidth(), 3);

    // A new position paints before control returns, without waiting for the event loop.
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    PaintCounter counter;
    bar.installEventFilter(&counter);
    bar.setPosition(10);
    QCOMPARE(counter.paints, 1);
}

void ProgressAndLampTest::gradientRunsFromTheEmptyEnd() {
    const QColor start(166, 202, 240);
    const QColor navy(0, 0, 128);
    const QColor back(10, 200, 10);
    TGradProgress bar;
    bar.setShowPercent(false);
    bar.setStartColor(start);
    bar.setEndColor(navy);
    bar.setBackColor(back);
    bar.setPosition(50);
    const QImage horizontal = bar.grab().toImage();
    QVERIFY(near(horizontal.pixelColor(1, 8), start));
    QVERIFY(horizontal.pixelColor(70, 8).blue() < start.blue());
    QVERIFY(near(horizontal.pixelColor(100, 8), back));

    bar.setStyle(TGradProgress::Style::Vertical);
    bar.resize(16, 100);
    const QImage vertical = bar.grab().toImage();
    QVERIFY(near(vertical.pixelColor(8, 98), start));
    QVERIFY(near(vertical.pixelColor(8, 20), back));
}

void ProgressAndLampTest::lampShowsItsStateColour() {
    TLed led;
    QSignalSpy ticks(&led, &TLed::onTimer);
    QCOMPARE(led.shownColor(), kSilver);
    QVERIFY(!led.isBlinking());

    led.setValue(true);
    QVERIFY(led.isBlinking());
    QCOMPARE(led.shownColor(), kLime);
    led.blinkTick();
    QCOMPARE(led.shownColor(), kSilver);
    led.blinkTick();
    QCOMPARE(led.shownColor(), kLime);
    QCOMPARE(ticks.count(), 2);

    // A new colour while off keeps the blinking, now in that colour.
    led.blinkTick();
    led.setTrueColor(kRed);
    QVERIFY(led.isBlinking());
    QCOMPARE(led.shownColor(), kRed);
    led.blinkTick();
    QCOMPARE(led.shownColor(), kSilver);

    led.setBlink(false);
    QVERIFY(!led.isBlinking());
    QCOMPARE(led.shownColor(), kRed);
    led.setValue(false);
    QCOMPARE(led.shownColor(), kSilver);

    led.setInterval(-1);
    QCOMPARE(led.interval(), 1000);
}

void ProgressAndLampTest::lampStyleFixesItsSize() {
    TLed led;
    QCOMPARE(led.size(), QSize(16, 16));
    led.setLedStyle(TLEDStyle::LEDVertical);
    QCOMPARE(led.size(), QSize(16, 22));
    led.setLedStyle(TLEDStyle::LEDHorizontal);
    QCOMPARE(led.size(), QSize(22, 16));
}

QTEST_MAIN(ProgressAndLampTest)
#include "ProgressAndLampTest.moc"
