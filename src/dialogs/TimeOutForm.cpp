#include "dialogs/TimeOutForm.h"

#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace brisko::dialogs {

namespace {

constexpr int kBarHeight = 16;

} // namespace

TTimeOutForm::TTimeOutForm(QWidget* parent)
    : TBeepForm(parent), timeProgress_(new widgets::TGradProgress(this)) {
    timeProgress_->setObjectName(QStringLiteral("TimeProgress"));
    timeProgress_->setShowPercent(false);
    timeProgress_->setFixedHeight(kBarHeight);
    widgets::setProgramColours(*timeProgress_);
    frameLayout()->insertWidget(0, timeProgress_);
    timeProgress_->setMaxValue(timeOutSeconds_);
}

void TTimeOutForm::setTimeOut(int seconds) {
    timeOutSeconds_ = std::max(seconds, 1);
    timeProgress_->setMaxValue(timeOutSeconds_);
}

// The bar fills one step a tick; the tick that finds it full ends the countdown.
void TTimeOutForm::tick() {
    TBeepForm::tick();
    if (timeProgress_->position() == timeProgress_->maxValue()) {
        stopTimer();
        timeOutExpired();
        return;
    }
    timeProgress_->stepit();
}

void TTimeOutForm::timeOutExpired() {
    QPushButton* button = timeOutAnswer_ ? answerButton(*timeOutAnswer_) : nullptr;
    if (button != nullptr)
        button->click();
    else
        done(static_cast<int>(DialogAnswer::Cancel));
}

} // namespace brisko::dialogs
