#include "app/CommandLine.h"

#include <string_view>

namespace brisko::app {

namespace {
constexpr std::string_view kDriveOption = "--drive";
constexpr std::string_view kDriveOptionWithValue = "--drive=";
} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments,
                             const std::optional<std::string>& drivesVariable,
                             const std::string& startFolder) {
    CommandLine line{platform::DriveMap(startFolder), {}};
    if (drivesVariable && !line.drives.addEntries(*drivesVariable))
        throw CommandLineError("BRISKO_DRIVES is malformed: " + *drivesVariable);

    auto addDrive = [&line](std::string_view entry) {
        if (!line.drives.addEntry(entry))
            throw CommandLineError("malformed drive entry: " + std::string(entry));
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == kDriveOption) {
            if (i + 1 == arguments.size())
                throw CommandLineError("--drive needs LETTER=FOLDER");
            addDrive(arguments[++i]);
        } else if (argument.starts_with(kDriveOptionWithValue)) {
            addDrive(argument.substr(kDriveOptionWithValue.size()));
        } else {
            line.parameters.push_back(arguments[i]);
        }
    }
    return line;
}

} // namespace brisko::app
