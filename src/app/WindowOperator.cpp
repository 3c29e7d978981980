#include "app/WindowOperator.h"

#include "dialogs/FreeSpaceDialog.h"
#include "dialogs/QuestionDialog.h"
#include "dialogs/StandardDialog.h"
#include "questions/QuestionContent.h"

#include <QMessageBox>

namespace brisko::app {

namespace {
const QString kCaption = QStringLiteral("Brisko");

QString messageText(const std::string& text) {
    return QString::fromStdString(questions::withLineBreaks(text));
}
} // namespace

DialogAnswer WindowOperator::ask(const Question& question) {
    switch (question.kind()) {
    case DialogKind::FreeSpace:
        return dialogs::TFreeSpaceDialog(question.as<FreeSpaceQuestion>().drives, window_).run();
    case DialogKind::Standard:
        return dialogs::TStandardDialog(question.as<StandardQuestion>().message,
                                        question.timeoutSeconds, window_)
            .run();
    default:
        return dialogs::TQuestionDialog(question, window_).run();
    }
}

void WindowOperator::notify(const std::string& text) {
    QMessageBox::information(window_, kCaption, messageText(text));
}

bool WindowOperator::confirm(const std::string& text) {
    return QMessageBox::question(window_, QStringLiteral("Confirmation"), messageText(text),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

} // namespace brisko::app
