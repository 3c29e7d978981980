#include "app/desktop/StartupRegistration.h"

#include "app/desktop/FileTypeRegistration.h"
#include "dialogs/StandardDialog.h"

#include <QCoreApplication>
#include <QDebug>

namespace brisko::desktop {

namespace {
constexpr int noticeSeconds = 10;
}

EditorCommand registerAtStart(QWidget* parent) {
    if (qEnvironmentVariable("BRISKO_NO_REGISTER") != QStringLiteral("1")) {
        const QString failure = registerScriptFileType(QCoreApplication::applicationFilePath());
        if (!failure.isEmpty()) {
            qWarning().noquote() << "file type registration:" << failure;
            dialogs::TStandardDialog(
                "Brisko2 failed to auto-register itself in the desktop's file types\r"
                "try to associate brk files manually",
                noticeSeconds, parent)
                .run();
        }
    }
    return readEditorCommand();
}

} // namespace brisko::desktop
