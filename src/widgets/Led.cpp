#include "widgets/Led.h"

#include <QPainter>
#include <QTimer>

namespace brisko::widgets {

namespace {

const QColor kRing(96, 96, 96);

void drawShape(QPainter& painter, TLEDStyle style, const QRectF& area) {
    switch (style) {
    case TLEDStyle::LEDSmall:
    case TLEDStyle::LEDLarge:
        painter.drawEllipse(area);
        return;
    case TLEDStyle::LEDSqSmall:
    case TLEDStyle::LEDSqLarge:
        painter.drawRect(area);
        return;
    case TLEDStyle::LEDVertical:
    case TLEDStyle::LEDHorizontal:
        painter.drawRoundedRect(area, 3, 3);
        return;
    }
}

} // namespace

TLed::TLed(QWidget* parent) : QWidget(parent) {
    borderColor_ = palette().color(QPalette::Button);
    setFixedSize(styleSize(ledStyle_));
}

QSize TLed::styleSize(TLEDStyle style) {
    switch (style) {
    case TLEDStyle::LEDSmall:
    case TLEDStyle::LEDSqSmall:
        return {16, 16};
    case TLEDStyle::LEDLarge:
    case TLEDStyle::LEDSqLarge:
        return {22, 22};
    case TLEDStyle::LEDVertical:
        return {16, 22};
    case TLEDStyle::LEDHorizontal:
        return {22, 16};
    }
    return {16, 16};
}

void TLed::showLit(bool lit) {
    lit_ = lit;
    update();
}

void TLed::startBlinking() {
    if (blinkTimer_ != nullptr)
        return;
    blinkTimer_ = new QTimer(this);
    connect(blinkTimer_, &QTimer::timeout, this, &TLed::blinkTick);
    blinkTimer_->start(interval_);
    showLit(true);
}

void TLed::stopBlinking() {
    delete blinkTimer_;
    blinkTimer_ = nullptr;
}

void TLed::blinkTick() {
    showLit(!lit_);
    emit onTimer();
}

void TLed::setValue(bool value) {
    if (value_ == value)
        return;
    value_ = value;
    if (value) {
        showLit(true);
        if (blink_)
            startBlinking();
    } else {
        stopBlinking();
        showLit(false);
    }
}

void TLed::setBlink(bool blink) {
    if (blink_ == blink)
        return;
    showLit(value_);
    blink_ = blink;
    if (blink_ && value_)
        startBlinking();
    else
        stopBlinking();
}

void TLed::changeColour(QColor& colour, const QColor& value) {
    if (colour == value)
        return;
    const bool blinking = blink_;
    setBlink(false);
    colour = value;
    setBlink(blinking);
    update();
}

void TLed::setTrueColor(const QColor& colour) {
    changeColour(trueColor_, colour);
}

void TLed::setFalseColor(const QColor& colour) {
    changeColour(falseColor_, colour);
}

void TLed::setBorderColor(const QColor& colour) {
    changeColour(borderColor_, colour);
}

void TLed::setBordered(bool bordered) {
    if (bordered_ == bordered)
        return;
    bordered_ = bordered;
    update();
}

void TLed::setInterval(int milliseconds) {
    if (milliseconds < 0 || interval_ == milliseconds)
        return;
    interval_ = milliseconds;
    if (blinkTimer_ != nullptr)
        blinkTimer_->setInterval(interval_);
}

void TLed::setLedStyle(TLEDStyle style) {
    if (ledStyle_ == style)
        return;
    ledStyle_ = style;
    setFixedSize(styleSize(style));
    update();
}

// The lamp is drawn at its shape's size and stretched over the control: with a dark ring when
// bordered, otherwise on a surround of BorderColor so that only the lamp stands out.
void TLed::paintEvent(QPaintEvent*) {
    const QSize size = styleSize(ledStyle_);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(width() / qreal(size.width()), height() / qreal(size.height()));
    const QRectF whole(0, 0, size.width(), size.height());
    if (bordered_) {
        painter.setPen(QPen(kRing, 1));
        painter.setBrush(Qt::NoBrush);
        drawShape(painter, ledStyle_, whole.adjusted(0.5, 0.5, -0.5, -0.5));
    } else {
        painter.fillRect(whole, borderColor_);
    }
    const QColor lamp = shownColor();
    painter.setPen(QPen(lamp.darker(130), 1));
    painter.setBrush(lamp);
    const qreal inset = bordered_ ? 2.5 : 1.5;
    drawShape(painter, ledStyle_, whole.adjusted(inset, inset, -inset, -inset));
}

void TLed::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    emit onMouseEnter();
}

void TLed::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    emit onMouseLeave();
}

} // namespace brisko::widgets
