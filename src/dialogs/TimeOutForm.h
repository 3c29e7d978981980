#pragma once

#include "dialogs/BeepForm.h"
#include "widgets/GradProgress.h"

namespace brisko::dialogs {

// A dialog that answers itself: a bar along its top fills one step a second, and the tick
// after it is full presses the time-out button (or, without one, ends the dialog with Cancel).
class TTimeOutForm : public TBeepForm {
    Q_OBJECT

public:
    explicit TTimeOutForm(QWidget* parent = nullptr);

    // The countdown in seconds; anything below 1 counts as 1.
    void setTimeOut(int seconds);
    int timeOutSeconds() const { return timeOutSeconds_; }
    // The answer whose button the countdown presses.
    void setTimeOutAnswer(DialogAnswer answer) { timeOutAnswer_ = answer; }

    widgets::TGradProgress* timeProgress() const { return timeProgress_; }

protected:
    void tick() override;
    virtual void timeOutExpired();

private:
    widgets::TGradProgress* timeProgress_;
    int timeOutSeconds_ = 60;
    std::optional<DialogAnswer> timeOutAnswer_;
};

} // namespace brisko::dialogs
