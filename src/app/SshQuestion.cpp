#include "app/SshQuestion.h"

#include "platform/sftp/SshTransport.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>

namespace brisko::app {

namespace {

const QString kTitle = QStringLiteral("Brisko 2.0 - ssh");

void answer(const QString& text) {
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

} // namespace

bool startedToAskForSsh() {
    return qEnvironmentVariableIsSet(platform::sftp::kAskpassMarker);
}

int askForSsh(const QString& prompt) {
    // ssh says what kind of answer it wants: "confirm" (yes or no, by the exit status), "none"
    // (a notice only), or nothing (a typed answer).
    const QString kind = qEnvironmentVariable("SSH_ASKPASS_PROMPT");
    if (kind == QStringLiteral("none")) {
        QMessageBox::information(nullptr, kTitle, prompt);
        return 0;
    }
    if (kind == QStringLiteral("confirm")) {
        return QMessageBox::question(nullptr, kTitle, prompt) == QMessageBox::Yes ? 0 : 1;
    }
    // A host key that ssh does not know wants "yes" or "no" typed: two buttons, No by default.
    if (prompt.contains(QStringLiteral("(yes/no"))) {
        const auto button = QMessageBox::question(
            nullptr, kTitle, prompt, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        answer(button == QMessageBox::Yes ? QStringLiteral("yes") : QStringLiteral("no"));
        return 0;
    }
    bool accepted = false;
    const QString text =
        QInputDialog::getText(nullptr, kTitle, prompt, QLineEdit::Password, {}, &accepted);
    if (!accepted)
        return 1;
    answer(text);
    return 0;
}

} // namespace brisko::app
