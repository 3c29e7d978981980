#include "app/DriveBox.h"

#include "platform/DrivePath.h"

#include <optional>

namespace brisko::app {

namespace {

// The drive a folder lies on: its upper-cased letter and colon, or its share.
QString driveOf(const std::string& folder) {
    if (const char letter = platform::drive_path::driveLetter(folder))
        return QString(QLatin1Char(letter)) + QLatin1Char(':');
    return QString::fromStdString(std::string(platform::drive_path::driveOrShare(folder)));
}

void addDrive(QComboBox& box, platform::FileSystem& fileSystem, const QString& drive) {
    const std::optional<std::string> host =
        fileSystem.hostPath(drive.toStdString() + platform::drive_path::kSeparator);
    const QString shown =
        host ? drive + QStringLiteral("  ") + QString::fromStdString(*host) : drive;
    box.addItem(shown, drive);
    box.setItemData(box.count() - 1, shown, Qt::ToolTipRole);
}

} // namespace

QString pointDriveBox(QComboBox& box, platform::FileSystem& fileSystem, const std::string& folder) {
    if (box.count() == 0)
        for (char letter = 'A'; letter <= 'Z'; ++letter)
            if (fileSystem.driveExists(std::string{letter, ':'}))
                addDrive(box, fileSystem, QString(QLatin1Char(letter)) + QLatin1Char(':'));
    const QString drive = driveOf(folder);
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
