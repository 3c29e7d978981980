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

Startup::Startup(const std::vector<std::string>& driveOptions)
    : fileSystem(buildDriveMap(environment.get("BRISKO_DRIVES"), driveOptions,
                               std::filesystem::current_path().string())),
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
