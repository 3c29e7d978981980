#include "app/Version.h"

#include "platform/HostSystem.h"

#include <QFileInfo>
#include <cstdio>

namespace brisko::app {

std::string versionString(const ProgramVersion& version) {
    // minor and release read as one number with two decimals: minor + release / 100. Whole
    // numbers keep it exact; the separator is '.', the C locale's, as on every Linux desktop.
    const unsigned hundredths = version.minor * 100U + version.release;
    char fraction[32];
    std::snprintf(fraction, sizeof fraction, "%u.%02u", hundredths / 100U, hundredths % 100U);
    return "Brisko " + std::to_string(version.major) + "." + fraction + "(" +
           std::to_string(version.build) + ")";
}

QDateTime programFileDate() {
    const QString path = QString::fromStdString(platform::runningProgramPath());
    return path.isEmpty() ? QDateTime() : QFileInfo(path).lastModified();
}

} // namespace brisko::app
