#pragma once

#include <QDateTime>
#include <cstdint>
#include <string>

namespace brisko::app {

// The four numbers of a build's version: major.minor.release.build.
struct ProgramVersion {
    std::uint16_t major;
    std::uint16_t minor;
    std::uint16_t release;
    std::uint16_t build;
};

// The version this program was built as.
inline constexpr ProgramVersion kProgramVersion{BRISKO_VERSION_MAJOR, BRISKO_VERSION_MINOR,
                                                BRISKO_VERSION_RELEASE, BRISKO_VERSION_BUILD};

// The full version text of a build: 2.2.0.2 gives "Brisko 2.2.00(2)".
std::string versionString(const ProgramVersion& version);

inline std::string versionString() {
    return versionString(kProgramVersion);
}

// The last-write time of the running program's file (invalid when it cannot be told).
QDateTime programFileDate();

} // namespace brisko::app
