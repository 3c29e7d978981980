#pragma once

#include "ports/DialogAnswer.h"

#include <QDialog>
#include <QString>
#include <QTimer>
#include <functional>
#include <optional>

class QPushButton;
class QVBoxLayout;

namespace brisko::dialogs {

// The root of every operator dialog: modal, one question per object, beeps every ten seconds
// while it is shown (unless silent) and answers with a DialogAnswer. Escape and a close through
// the window frame give answers of their own, so neither can be mistaken for a button that
// changes anything.
class TBeepForm : public QDialog {
    Q_OBJECT

public:
    static constexpr int kBeepEverySeconds = 10;

    explicit TBeepForm(QWidget* parent = nullptr);

    // Shows the dialog modally and returns the answer it ended with.
    DialogAnswer run();

    void setSilent(bool silent) { silent_ = silent; }
    void setEscapeAnswer(DialogAnswer answer) { escapeAnswer_ = answer; }
    void setFrameCloseAnswer(DialogAnswer answer) { frameCloseAnswer_ = answer; }
    // What sounds the beep (the system beep unless replaced) and how long one tick of the
    // one-second timer really lasts (shortened in tests).
    void setBeeper(std::function<void()> beeper) { beeper_ = std::move(beeper); }
    void setTickInterval(int milliseconds) { timer_.setInterval(milliseconds); }

    int tickCount() const { return tickCount_; }
    // The button that gives an answer, looked up by that answer; nothing when there is none.
    QPushButton* answerButton(DialogAnswer answer) const;

protected:
    // A push button that ends the dialog with the answer.
    QPushButton* makeAnswerButton(const QString& caption, DialogAnswer answer);
    // Where subclasses put their controls (below anything the frame puts on top).
    QVBoxLayout* contentLayout() const { return contentLayout_; }
    QVBoxLayout* frameLayout() const { return frameLayout_; }

    // One tick of the timer, every second while the dialog is shown.
    virtual void tick();
    void stopTimer() { timer_.stop(); }

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    QTimer timer_;
    QVBoxLayout* frameLayout_;
    QVBoxLayout* contentLayout_;
    std::function<void()> beeper_;
    int tickCount_ = 0;
    bool silent_ = false;
    DialogAnswer escapeAnswer_ = DialogAnswer::Cancel;
    DialogAnswer frameCloseAnswer_ = DialogAnswer::Cancel;
};

} // namespace brisko::dialogs
