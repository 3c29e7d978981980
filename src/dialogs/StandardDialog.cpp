#include "dialogs/StandardDialog.h"

namespace brisko::dialogs {

namespace {
Question standardQuestion(const std::string& message, int timeOutSeconds) {
    Question question;
    question.kind = DialogKind::Standard;
    question.text = message;
    question.timeoutSeconds = timeOutSeconds;
    return question;
}
} // namespace

TStandardDialog::TStandardDialog(const std::string& message, int timeOutSeconds, QWidget* parent)
    : TQuestionDialog(standardQuestion(message, timeOutSeconds), parent) {
    setObjectName(QStringLiteral("TStandardDialog"));
}

} // namespace brisko::dialogs
