#include "app/desktop/StartupRegistration.h"

#include "app/desktop/FileTypeRegistration.h"
#include "dialogs/StandardDialog.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace brisko::desktop {

namespace {

constexpr int noticeSeconds = 10;
#ifdef _WIN32
constexpr auto failureNotice = "Brisko2 failed to auto-register itself in windows registry\r"
                               "try to associate brk files manually";
#else
constexpr auto failureNotice =
    "Brisko2 failed to auto-register itself in the desktop's file types\r"
    "try to associate brk files manually";
#endif

// Whether the running program was installed with its desktop entry and file type (a package,
// or cmake --install): then the system's own entry serves, and no copy of it in the user's
// folder may shadow it.
bool installedWithItsEntry(const QString& program) {
    const QString running = QFileInfo(program).canonicalFilePath();
    const QStringList dataFolders =
        QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    for (const QString& folder : dataFolders) {
        const QDir share(folder);
        if (QFileInfo(share.filePath(QStringLiteral("../bin/brisko2"))).canonicalFilePath() ==
                running &&
            QFileInfo::exists(share.filePath(QStringLiteral("applications/brisko2.desktop"))))
            return true;
    }
    return false;
}

} // namespace

void registerAtStart(QWidget* parent) {
    if (qEnvironmentVariable("BRISKO_NO_REGISTER") == QStringLiteral("1"))
        return;
    const QString program = QCoreApplication::applicationFilePath();
    if (installedWithItsEntry(program))
        return;
    const QString failure = registerScriptFileType(program);
    if (failure.isEmpty())
        return;
    qWarning().noquote() << "file type registration:" << failure;
    dialogs::TStandardDialog(failureNotice, noticeSeconds, parent).run();
}

} // namespace brisko::desktop
