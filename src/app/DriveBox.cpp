#include "app/DriveBox.h"

#include <optional>

namespace brisko::app {

namespace {

QString driveOf(const QString& folder) {
    if (folder.startsWith(QStringLiteral("\\\\")))
        return QStringLiteral("\\\\") + folder.section(QLatin1Char('\\'), 2, 3);
    return folder.section(QLatin1Char('\\'), 0, 0).toUpper();
}

void addDrive(QComboBox& box, platform::FileSystem& fileSystem, const QString& drive) {
    const std::optional<std::string> host = fileSystem.hostPath(drive.toStdString() + "\\");
    const QString shown =
        host ? drive + QStringLiteral("  ") + QString::fromStdString(*host) : drive;
    box.addItem(shown, drive);
    box.setItemData(box.count() - 1, shown, Qt::ToolTipRole);
}

} // namespace

QString pointDriveBox(QComboBox& box, platform::FileSystem& fileSystem, const std::string& folder) {
    if (box.count() == 0)
        for (char letter = 'A'; letter <= 'Z'; ++letter)
            if (fileSystem.driveExists(letter))
                addDrive(box, fileSystem, QString(QLatin1Char(letter)) + QLatin1Char(':'));
    const QString drive = driveOf(QString::fromStdString(folder));
    if (drive.isEmpty())
        return drive;
    int index = box.findData(drive);
    if (index < 0) { // a share, or a drive that does not exist
        addDrive(box, fileSystem, drive);
        index = box.count() - 1;
    }
    box.setCurrentIndex(index);
    return drive;
}

} // namespace brisko::app
