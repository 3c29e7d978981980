#include "dialogs/StandardDialog.h"

namespace brisko::dialogs {

namespace {
Question standardQuestion(const std::string& message, int timeOutSeconds) {
    return Question{.details = StandardQuestion{.message = message},
                    .timeoutSeconds = timeOutSeconds};
}
} // namespace

TStandardDialog::TStandardDialog(const std::string& message, int timeOutSeconds, QWidget* parent)
    : TQuestionDialog(standardQuestion(message, timeOutSeconds), parent) {
    setObjectName(QStringLiteral("TStandardDialog"));
}

} // namespace brisko::dialogs
