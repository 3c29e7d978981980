#include "run/Startup.h"

#include "engine/SizeText.h"

#include <filesystem>
#ifndef _WIN32
#include "platform/sftp/SftpDrives.h"
#include "platform/sftp/SshConfig.h"
#endif

namespace brisko::run {

namespace {

// The refusal's own reason, when the drive map gave one, after the text that names the entry.
std::string withReason(std::string text, const platform::DriveMap& drives) {
    if (!drives.refusal().empty())
        text += " (" + drives.refusal() + ")";
    return text;
}

} // namespace

platform::DriveMap buildDriveMap(const std::optional<std::string>& drivesVariable,
                                 const std::vector<std::string>& driveOptions,
                                 const std::string& startFolder) {
    platform::DriveMap drives(startFolder);
    if (drivesVariable && !drives.addEntries(*drivesVariable))
        throw StartupError(withReason(
            "BRISKO_DRIVES is not a list of LETTER=HOSTDIR entries: " + *drivesVariable, drives));
    for (const std::string& entry : driveOptions) {
        if (!drives.addEntry(entry))
            throw StartupError(withReason("--drive takes LETTER=HOSTDIR, not " + entry, drives));
    }
    return drives;
}

void addShareMap(platform::DriveMap& drives, const std::optional<std::string>& sharesVariable,
                 const std::vector<std::string>& shareOptions) {
    if (sharesVariable && !drives.addShareEntries(*sharesVariable))
        throw StartupError(withReason(
            "BRISKO_SHARES is not a list of \\\\SERVER\\SHARE=HOSTDIR entries: " + *sharesVariable,
            drives));
    for (const std::string& entry : shareOptions) {
        if (!drives.addShareEntry(entry))
            throw StartupError(
                withReason("--share takes \\\\SERVER\\SHARE=HOSTDIR, not " + entry, drives));
    }
}

namespace {

#ifdef _WIN32
// Windows names its drives itself: a drive map has no place there, and one that is asked for is
// refused rather than silently left out.
std::unique_ptr<platform::FileSystem> hostFileSystem(const platform::Environment& environment,
                                                     const std::vector<std::string>& driveOptions,
                                                     const std::vector<std::string>& shareOptions,
                                                     platform::sftp::SshAsking) {
    if (environment.get("BRISKO_DRIVES"))
        throw StartupError(
            "BRISKO_DRIVES is not used on Windows: drive letters are the system's own");
    if (!driveOptions.empty())
        throw StartupError("--drive is not used on Windows: drive letters are the system's own");
    if (environment.get("BRISKO_SHARES"))
        throw StartupError("BRISKO_SHARES is not used on Windows: shares are the system's own");
    if (!shareOptions.empty())
        throw StartupError("--share is not used on Windows: shares are the system's own");
    return std::make_unique<platform::WinFileSystem>();
}
#else
std::unique_ptr<platform::FileSystem> hostFileSystem(const platform::Environment& environment,
                                                     const std::vector<std::string>& driveOptions,
                                                     const std::vector<std::string>& shareOptions,
                                                     platform::sftp::SshAsking asking) {
    platform::DriveMap drives = buildDriveMap(environment.get("BRISKO_DRIVES"), driveOptions,
                                              std::filesystem::current_path().string());
    addShareMap(drives, environment.get("BRISKO_SHARES"), shareOptions);
    std::string why;
    std::optional<platform::sftp::SshSettings> ssh =
        platform::sftp::sshSettingsFrom(environment.get("BRISKO_SSH"), why);
    if (!ssh)
        throw StartupError(why);
    ssh->asking = asking;
    ssh->askpassProgram = platform::runningProgramPath();
    ssh->configKeepsAlive = platform::sftp::configKeepsAlive(ssh->command);
    return platform::sftp::hostWithLocations(std::move(drives), *ssh);
}
#endif

} // namespace

Startup::Startup(const std::vector<std::string>& driveOptions,
                 const std::vector<std::string>& shareOptions, platform::sftp::SshAsking asking)
    : hostFiles(hostFileSystem(environment, driveOptions, shareOptions, asking)),
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
