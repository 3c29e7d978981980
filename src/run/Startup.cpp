#include "run/Startup.h"

#include "engine/SizeText.h"

#include <filesystem>

namespace brisko::run {

platform::DriveMap buildDriveMap(const std::optional<std::string>& drivesVariable,
                                 const std::vector<std::string>& driveOptions,
                                 const std::string& startFolder) {
    platform::DriveMap drives(startFolder);
    if (drivesVariable && !drives.addEntries(*drivesVariable))
        throw StartupError("BRISKO_DRIVES is not a list of LETTER=HOSTDIR entries: " +
                           *drivesVariable);
    for (const std::string& entry : driveOptions) {
        if (!drives.addEntry(entry))
            throw StartupError("--drive takes LETTER=HOSTDIR, not " + entry);
    }
    return drives;
}

namespace {

#ifdef _WIN32
// Windows names its drives itself: a drive map has no place there, and one that is asked for is
// refused rather than silently left out.
platform::WinFileSystem hostFileSystem(const std::optional<std::string>& drivesVariable,
                                       const std::vector<std::string>& driveOptions) {
    if (drivesVariable)
        throw StartupError(
            "BRISKO_DRIVES is not used on Windows: drive letters are the system's own");
    if (!driveOptions.empty())
        throw StartupError("--drive is not used on Windows: drive letters are the system's own");
    return {};
}
#else
platform::PosixFileSystem hostFileSystem(const std::optional<std::string>& drivesVariable,
                                         const std::vector<std::string>& driveOptions) {
    return platform::PosixFileSystem(
        buildDriveMap(drivesVariable, driveOptions, std::filesystem::current_path().string()));
}
#endif

} // namespace

Startup::Startup(const std::vector<std::string>& driveOptions)
    : fileSystem(hostFileSystem(environment.get("BRISKO_DRIVES"), driveOptions)),
      ownExecutable(platform::runningProgramPath()),
      thousandsSeparator(engine::localeThousandsSeparator()) {}

Services Startup::services(Display& display, Operator& operatorPort) {
    return {fileSystem, clock, environment, display, operatorPort};
}

void Startup::applyTo(RunContext& context) {
    context.setShell(&shell);
    context.setOwnExecutable(ownExecutable);
    // Sizes are grouped as the user's locale groups them.
    context.setThousandsSeparator(thousandsSeparator);
}

} // namespace brisko::run
