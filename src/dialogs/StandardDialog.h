#pragma once

#include "dialogs/QuestionDialog.h"

namespace brisko::dialogs {

// A timed notice: caption "Brisko", the message bold and centred, one OK button that the
// countdown presses.
class TStandardDialog : public TQuestionDialog {
    Q_OBJECT

public:
    TStandardDialog(const std::string& message, int timeOutSeconds, QWidget* parent = nullptr);
};

} // namespace brisko::dialogs
