#pragma once

#include <QColor>
#include <QWidget>

class QTimer;

namespace brisko::widgets {

enum class TLEDStyle { LEDSmall, LEDLarge, LEDSqSmall, LEDSqLarge, LEDVertical, LEDHorizontal };

// A lamp, on or off, optionally blinking, in one of six shapes; the shape fixes the size.
// On it shows TrueColor, off FalseColor. While Value and Blink are both set it alternates
// between the two every Interval milliseconds.
class TLed : public QWidget {
    Q_OBJECT

public:
    explicit TLed(QWidget* parent = nullptr);

    static QSize styleSize(TLEDStyle style);

    QColor trueColor() const { return trueColor_; }
    void setTrueColor(const QColor& colour);
    QColor falseColor() const { return falseColor_; }
    void setFalseColor(const QColor& colour);
    // The surround of a lamp without border.
    QColor borderColor() const { return borderColor_; }
    void setBorderColor(const QColor& colour);
    bool blink() const { return blink_; }
    // Turning blinking off leaves the lamp in its steady state.
    void setBlink(bool blink);
    bool bordered() const { return bordered_; }
    void setBordered(bool bordered);
    bool value() const { return value_; }
    void setValue(bool value);
    int interval() const { return interval_; }
    // Milliseconds per blink phase; negative values are refused.
    void setInterval(int milliseconds);
    TLEDStyle ledStyle() const { return ledStyle_; }
    void setLedStyle(TLEDStyle style);

    bool isBlinking() const { return blinkTimer_ != nullptr; }
    // The lamp colour on the screen now.
    QColor shownColor() const { return lit_ ? trueColor_ : falseColor_; }
    // One blink phase: the lamp flips between on and off.
    void blinkTick();

signals:
    void onTimer();
    void onMouseEnter();
    void onMouseLeave();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void showLit(bool lit);
    void startBlinking();
    void stopBlinking();
    // Colours change with blinking held, so a blinking lamp goes on blinking in the new colour.
    void changeColour(QColor& colour, const QColor& value);

    QColor trueColor_{0, 255, 0};
    QColor falseColor_{192, 192, 192};
    QColor borderColor_;
    bool blink_ = true;
    bool bordered_ = true;
    bool value_ = false;
    bool lit_ = false;
    int interval_ = 1000;
    TLEDStyle ledStyle_ = TLEDStyle::LEDSmall;
    QTimer* blinkTimer_ = nullptr;
};

} // namespace brisko::widgets
