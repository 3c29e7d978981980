#pragma once

#include "platform/FileSystem.h"

#include <QComboBox>
#include <QString>
#include <string>

namespace brisko::app {

// Points a drive box at the drive of a folder (drive form, "C:\DATA" or "\\SERVER\SHARE\DATA")
// and returns that drive ("C:", "\\SERVER\SHARE"). The box lists the drives that exist, each
// with the host folder it stands for, the first time it is pointed anywhere.
QString pointDriveBox(QComboBox& box, platform::FileSystem& fileSystem, const std::string& folder);

} // namespace brisko::app
