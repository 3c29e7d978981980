#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace brisko::widgets {

// a * b / c with a 64-bit product, rounded to the nearest integer with halves away from zero;
// -1 when c is 0 or the result does not fit.
int mulDiv(int a, int b, int c);

// The filled pixels of a bar `extent` pixels long at `position` of `maxValue` (-1 for a
// maximum of 0: nothing is filled).
int gradFilledLength(int position, int maxValue, int extent);
// The percentage shown for `filled` pixels of `extent`: it moves in steps of one pixel.
QString gradPercentText(int filled, int extent);

// A progress bar whose filled part runs as a colour gradient from StartColor to EndColor,
// horizontal (left to right) or vertical (bottom to top), in a bevel, with an optional
// percentage drawn in the widget's font and WindowText colour (white at creation) over the
// gradient, and in ButtonText over a light unfilled rest.
class TGradProgress : public QWidget {
    Q_OBJECT

public:
    enum class Style { Vertical, Horizontal };
    enum class BevelStyle { Lowered, Raised, None };

    explicit TGradProgress(QWidget* parent = nullptr);

    Style style() const { return style_; }
    void setStyle(Style style);
    BevelStyle bevelStyle() const { return bevelStyle_; }
    void setBevelStyle(BevelStyle style);
    int bevelWidth() const { return bevelWidth_; }
    // A width that leaves less than 4 pixels of bar across or along is refused.
    void setBevelWidth(int width);
    QColor startColor() const { return startColor_; }
    void setStartColor(const QColor& colour);
    QColor endColor() const { return endColor_; }
    void setEndColor(const QColor& colour);
    QColor backColor() const { return backColor_; }
    void setBackColor(const QColor& colour);
    bool showPercent() const { return showPercent_; }
    void setShowPercent(bool shown);

    int position() const { return position_; }
    // Negative positions are ignored, positions past MaxValue cut to it; the bar repaints at
    // once, so that it moves even while long work keeps the event loop waiting.
    void setPosition(int position);
    int maxValue() const { return maxValue_; }
    // Pulls Position down to the new maximum when it lies above.
    void setMaxValue(int maxValue);
    int step() const { return step_; }
    void setStep(int step) { step_ = step; }
    // Advances Position by Step, never past MaxValue.
    void stepit() { setPosition(position_ + step_); }

    // The filled pixels at the current size and position.
    int filledLength() const;
    QString percentText() const;

    QSize sizeHint() const override { return {150, 16}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect barRect() const;
    void drawGradient(QPainter& painter, const QRect& bar, int filled) const;
    void drawPercent(QPainter& painter, const QRect& bar, const QColor& colour) const;

    Style style_ = Style::Horizontal;
    BevelStyle bevelStyle_ = BevelStyle::Lowered;
    int bevelWidth_ = 1;
    QColor startColor_{0, 0, 255};
    QColor endColor_{255, 0, 0};
    QColor backColor_;
    bool showPercent_ = true;
    int position_ = 0;
    int maxValue_ = 100;
    int step_ = 1;
};

// The program's bars run from light blue to navy; on screens of fewer than 16 bits per pixel,
// where such a gradient would band, they are plain blue.
void setProgramColours(TGradProgress& bar);

} // namespace brisko::widgets
