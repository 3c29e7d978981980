#include "app/desktop/FileTypeRegistration.h"
#include "app/desktop/WinFileType.h"

#include <QDir>

namespace brisko::desktop {

QString registerScriptFileType(const QString& programPath) {
    return QString::fromStdString(
        registerWinFileTypeForUser(QDir::toNativeSeparators(programPath).toStdString()).failure);
}

} // namespace brisko::desktop
