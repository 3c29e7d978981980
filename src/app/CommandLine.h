#pragma once

#include "platform/DriveMap.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace brisko::app {

// The window's command line once the drive options are taken out of it.
struct CommandLine {
    platform::DriveMap drives;
    std::vector<std::string> parameters; // SCRIPT [L=ROOT] [R=ROOT]
};

// A drive entry or option that cannot be understood.
class CommandLineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Builds the drive map from BRISKO_DRIVES, then from every "--drive X=DIR" (or
// "--drive=X=DIR"), which override it; everything else is a parameter, in order.
// Throws CommandLineError on a malformed entry or a "--drive" without its value.
CommandLine parseCommandLine(const std::vector<std::string>& arguments,
                             const std::optional<std::string>& drivesVariable,
                             const std::string& startFolder);

} // namespace brisko::app
