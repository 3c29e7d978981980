#include "dialogs/BeepForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace brisko::dialogs {

namespace {
constexpr int kTickMilliseconds = 1000;
constexpr char kAnswerProperty[] = "briskoAnswer";
} // namespace

TBeepForm::TBeepForm(QWidget* parent)
    : QDialog(parent), frameLayout_(new QVBoxLayout(this)), contentLayout_(new QVBoxLayout),
      beeper_([] { QApplication::beep(); }) {
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    frameLayout_->setContentsMargins(0, 0, 0, 0);
    frameLayout_->setSpacing(0);
    frameLayout_->addLayout(contentLayout_);
    contentLayout_->setContentsMargins(12, 8, 12, 10);
    timer_.setInterval(kTickMilliseconds);
    connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
}

DialogAnswer TBeepForm::run() {
    const int result = exec();
    // 0 would be "no answer", which never reaches a caller.
    if (result < static_cast<int>(DialogAnswer::Ok) || result > static_cast<int>(DialogAnswer::No))
        return frameCloseAnswer_;
    return static_cast<DialogAnswer>(result);
}

QPushButton* TBeepForm::makeAnswerButton(const QString& caption, DialogAnswer answer) {
    auto* button = new QPushButton(caption, this);
    button->setProperty(kAnswerProperty, static_cast<int>(answer));
    connect(button, &QPushButton::clicked, this,
            [this, answer] { done(static_cast<int>(answer)); });
    return button;
}

QPushButton* TBeepForm::answerButton(DialogAnswer answer) const {
    const auto buttons = findChildren<QPushButton*>();
    for (QPushButton* button : buttons) {
        if (button->property(kAnswerProperty).toInt() == static_cast<int>(answer))
            return button;
    }
    return nullptr;
}

void TBeepForm::tick() {
    ++tickCount_;
    if (!silent_ && tickCount_ % kBeepEverySeconds == 0 && beeper_)
        beeper_();
}

void TBeepForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    tickCount_ = 0;
    timer_.start();
}

void TBeepForm::closeEvent(QCloseEvent* event) {
    timer_.stop();
    if (isVisible())
        done(static_cast<int>(frameCloseAnswer_));
    event->accept();
}

void TBeepForm::reject() {
    timer_.stop();
    done(static_cast<int>(escapeAnswer_));
}

} // namespace brisko::dialogs
