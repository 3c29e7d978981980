#pragma once

#include "dialogs/TimeOutForm.h"
#include "questions/QuestionContent.h"

class QLabel;

namespace brisko::dialogs {

// The timed dialog of one question: its texts (source above, direction arrow, target below
// where the question has a direction), its buttons, and the button the countdown presses.
class TQuestionDialog : public TTimeOutForm {
    Q_OBJECT

public:
    TQuestionDialog(const Question& question, QWidget* parent = nullptr);

    const questions::QuestionContent& content() const { return content_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* addTextLabel(const std::string& text, const char* objectName);
    void addDirectionArrow();
    void addButtons();
    void applyBackground();
    // Makes the dialog wide enough for its longest line (up to most of the screen).
    void fitToTexts();

    questions::QuestionContent content_;
};

} // namespace brisko::dialogs
