#include "dialogs/TimeOutForm.h"

#include <QGuiApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

namespace brisko::dialogs {

namespace {

constexpr int kBarHeight = 16;
constexpr int kRichColourDepth = 16;

QString barStyle() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    // On screens of few colours the bar is one solid blue.
    const char* chunk = (screen != nullptr && screen->depth() < kRichColourDepth)
                            ? "background: rgb(0, 0, 255);"
                            : "background: qlineargradient(x1:0, y1:0, x2:1, y2:0, "
                              "stop:0 rgb(166, 202, 240), stop:1 rgb(0, 0, 128));";
    return QStringLiteral("QProgressBar { border: 1px inset gray; background: palette(button); }"
                          "QProgressBar::chunk { %1 }")
        .arg(QLatin1String(chunk));
}

} // namespace

TTimeOutForm::TTimeOutForm(QWidget* parent)
    : TBeepForm(parent), timeProgress_(new QProgressBar(this)) {
    timeProgress_->setObjectName(QStringLiteral("TimeProgress"));
    timeProgress_->setTextVisible(false);
    timeProgress_->setFixedHeight(kBarHeight);
    timeProgress_->setStyleSheet(barStyle());
    frameLayout()->insertWidget(0, timeProgress_);
    timeProgress_->setRange(0, timeOutSeconds_);
    timeProgress_->setValue(0);
}

void TTimeOutForm::setTimeOut(int seconds) {
    timeOutSeconds_ = std::max(seconds, 1);
    timeProgress_->setRange(0, timeOutSeconds_);
    timeProgress_->setValue(std::clamp(timeProgress_->value(), 0, timeOutSeconds_));
}

void TTimeOutForm::tick() {
    TBeepForm::tick();
    if (timeProgress_->value() >= timeProgress_->maximum()) {
        stopTimer();
        timeOutExpired();
        return;
    }
    timeProgress_->setValue(timeProgress_->value() + 1);
}

void TTimeOutForm::timeOutExpired() {
    QPushButton* button = timeOutAnswer_ ? answerButton(*timeOutAnswer_) : nullptr;
    if (button != nullptr)
        button->click();
    else
        done(static_cast<int>(DialogAnswer::Cancel));
}

} // namespace brisko::dialogs
