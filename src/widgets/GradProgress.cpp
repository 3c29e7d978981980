#include "widgets/GradProgress.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <qdrawutil.h>

namespace brisko::widgets {

int mulDiv(int a, int b, int c) {
    if (c == 0)
        return -1;
    const std::int64_t product = std::int64_t{a} * b;
    std::int64_t quotient = product / c;
    const std::int64_t remainder = product % c;
    if (2 * std::llabs(remainder) >= std::llabs(c))
        quotient += ((product < 0) != (c < 0)) ? -1 : 1;
    if (quotient > std::numeric_limits<int>::max() || quotient < std::numeric_limits<int>::min())
        return -1;
    return static_cast<int>(quotient);
}

int gradFilledLength(int position, int maxValue, int extent) {
    return mulDiv(position, extent, maxValue);
}

QString gradPercentText(int filled, int extent) {
    const int percent = (filled <= 0 || extent <= 0) ? 0 : mulDiv(filled, 100, extent);
    return QStringLiteral("%1%").arg(percent);
}

TGradProgress::TGradProgress(QWidget* parent) : QWidget(parent) {
    backColor_ = palette().color(QPalette::Button);
    QFont small = font();
    small.setPointSize(8);
    setFont(small);
    QPalette text = palette();
    text.setColor(QPalette::WindowText, Qt::white);
    setPalette(text);
    resize(sizeHint());
}

void TGradProgress::setStyle(Style style) {
    if (style_ == style)
        return;
    style_ = style;
    update();
}

void TGradProgress::setBevelStyle(BevelStyle style) {
    if (bevelStyle_ == style)
        return;
    bevelStyle_ = style;
    update();
}

void TGradProgress::setBevelWidth(int width) {
    if (bevelWidth_ == width)
        return;
    if (width >= 0 && 2 * width <= height() - 4 && 2 * width <= this->width() - 4)
        bevelWidth_ = width;
    update();
}

void TGradProgress::setStartColor(const QColor& colour) {
    if (startColor_ == colour)
        return;
    startColor_ = colour;
    update();
}

void TGradProgress::setEndColor(const QColor& colour) {
    if (endColor_ == colour)
        return;
    endColor_ = colour;
    update();
}

void TGradProgress::setBackColor(const QColor& colour) {
    if (backColor_ == colour)
        return;
    backColor_ = colour;
    update();
}

void TGradProgress::setShowPercent(bool shown) {
    if (showPercent_ == shown)
        return;
    showPercent_ = shown;
    update();
}

void TGradProgress::setPosition(int position) {
    if (position < 0)
        return;
    position = std::min(position, maxValue_);
    if (position_ == position)
        return;
    position_ = position;
    repaint();
}

void TGradProgress::setMaxValue(int maxValue) {
    if (maxValue_ == maxValue)
        return;
    maxValue_ = maxValue;
    position_ = std::min(position_, maxValue_);
    update();
}

int TGradProgress::filledLength() const {
    return gradFilledLength(position_, maxValue_, style_ == Style::Horizontal ? width() : height());
}

QString TGradProgress::percentText() const {
    return gradPercentText(filledLength(), style_ == Style::Horizontal ? width() : height());
}

QRect TGradProgress::barRect() const {
    if (bevelStyle_ == BevelStyle::None)
        return rect().adjusted(1, 1, -1, -1);
    return rect().adjusted(bevelWidth_, bevelWidth_, -bevelWidth_, -bevelWidth_);
}

// Qt paints widgets through its own back buffer and shows the result in one step, so the bar
// needs no off-screen bitmap of its own to draw without flicker.
void TGradProgress::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (bevelStyle_ != BevelStyle::None && bevelWidth_ > 0)
        qDrawShadePanel(&painter, rect(), palette(), bevelStyle_ == BevelStyle::Lowered,
                        bevelWidth_);
    const QRect bar = barRect();
    painter.setClipRect(bar);
    const int filled = filledLength();
    if (filled > 0)
        drawGradient(painter, bar, filled);
    // The unfilled rest; it also covers the gradient's last line.
    const QRect rest =
        style_ == Style::Horizontal
            ? QRect(QPoint(filled, bar.top()), QPoint(width() - 1, height() - 1))
            : QRect(bar.topLeft(), QPoint(bar.right(), std::abs(filled - height()) - 1));
    painter.fillRect(rest, backColor_);
    if (!showPercent_)
        return;
    // The text colour reads well on the gradient; over a light rest the text turns dark.
    const QColor textColour = palette().color(QPalette::WindowText);
    const QColor restTextColour =
        qGray(backColor_.rgb()) < 128 ? textColour : palette().color(QPalette::ButtonText);
    painter.setClipRegion(QRegion(bar).subtracted(rest));
    drawPercent(painter, bar, textColour);
    painter.setClipRegion(QRegion(bar).intersected(rest));
    drawPercent(painter, bar, restTextColour);
}

// One line of one colour per pixel: the colour at line i of `filled` lies i / filled of the
// way from the start colour to the end colour.
void TGradProgress::drawGradient(QPainter& painter, const QRect& bar, int filled) const {
    const auto channel = [](int start, int end, int t) {
        return start + mulDiv(t, end - start, 255);
    };
    for (int i = 0; i <= filled; ++i) {
        const int t = mulDiv(255, i, filled);
        painter.setPen(QColor(channel(startColor_.red(), endColor_.red(), t),
                              channel(startColor_.green(), endColor_.green(), t),
                              channel(startColor_.blue(), endColor_.blue(), t)));
        if (style_ == Style::Horizontal) {
            painter.drawLine(i, bar.top(), i, bar.bottom());
        } else {
            const int y = std::abs(i - height());
            painter.drawLine(bar.left(), y, bar.right(), y);
        }
    }
}

// Horizontal bars and vertical bars wide enough show the text across; narrower vertical bars
// show it turned to read downwards, centred.
void TGradProgress::drawPercent(QPainter& painter, const QRect& bar, const QColor& colour) const {
    const QString text = percentText();
    painter.setPen(colour);
    painter.setFont(font());
    const QFontMetrics metrics(font());
    const int textWidth = metrics.horizontalAdvance(text);
    if (style_ == Style::Horizontal || textWidth <= width() - 6 - 2 * bevelWidth_) {
        painter.drawText(bar, Qt::AlignCenter | Qt::TextSingleLine, text);
        return;
    }
    const int textHeight = metrics.height();
    painter.save();
    painter.translate(std::round((width() + textHeight - 3) / 2.0),
                      std::round((height() - textWidth + 3) / 2.0));
    painter.rotate(90);
    painter.drawText(QRect(0, 0, textWidth, textHeight), Qt::AlignLeft | Qt::AlignTop, text);
    painter.restore();
}

void setProgramColours(TGradProgress& bar) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const bool fewColours = screen != nullptr && screen->depth() < 16;
    bar.setStartColor(fewColours ? QColor(0, 0, 255) : QColor(166, 202, 240));
    bar.setEndColor(fewColours ? QColor(0, 0, 255) : QColor(0, 0, 128));
}

} // namespace brisko::widgets
