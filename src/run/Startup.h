#pragma once

#include "platform/Clock.h"
#include "platform/DriveMap.h"
#include "platform/Environment.h"
#include "platform/HostSystem.h"
#include "platform/sftp/SshTransport.h"
#include "ports/Display.h"
#include "ports/Operator.h"
#include "run/RunContext.h"

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace brisko::run {

// A BRISKO_DRIVES value or a --drive entry that is not LETTER=HOSTDIR, or the like for shares.
class StartupError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The drive map of BRISKO_DRIVES (when set), then of every --drive entry in order, which add to
// or override it; relative host folders are taken against startFolder. Throws StartupError
// naming the first malformed value.
platform::DriveMap buildDriveMap(const std::optional<std::string>& drivesVariable,
                                 const std::vector<std::string>& driveOptions,
                                 const std::string& startFolder);

// Adds the shares of BRISKO_SHARES (when set), then of every --share entry in order. Throws
// StartupError naming the first malformed value.
void addShareMap(platform::DriveMap& drives, const std::optional<std::string>& sharesVariable,
                 const std::vector<std::string>& shareOptions);

// The host as every front end hands it to the core: the process environment, the file system
// over the drive map, the clock, the shell, the program's own path and the locale's thousands
// separator. Built once at start; the run context refers to it, so it does not move.
struct Startup {
    // driveOptions, shareOptions: the values of --drive and --share, in order; asking: where ssh
    // may ask its questions for a drive on another machine. Throws StartupError on a malformed
    // entry or BRISKO_SSH, and on Windows on any entry at all (its drive letters and shares are
    // the system's own).
    explicit Startup(const std::vector<std::string>& driveOptions,
                     const std::vector<std::string>& shareOptions = {},
                     platform::sftp::SshAsking asking = platform::sftp::SshAsking::Never);
    Startup(const Startup&) = delete;
    Startup& operator=(const Startup&) = delete;

    Services services(Display& display, Operator& operatorPort);
    // Gives the context the shell, the program's own path and the thousands separator.
    void applyTo(RunContext& context);

    platform::ProcessEnvironment environment;
    std::unique_ptr<platform::FileSystem> hostFiles;
    platform::FileSystem& fileSystem = *hostFiles;
    platform::SystemClock clock;
    platform::HostShell shell;
    std::string ownExecutable;
    char thousandsSeparator;
};

} // namespace brisko::run
