#include "app/CommandLine.h"

#include <string_view>

namespace brisko::app {

namespace {
constexpr std::string_view kDriveOption = "--drive";
constexpr std::string_view kDriveOptionWithValue = "--drive=";
} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == kDriveOption) {
            if (i + 1 == arguments.size())
                throw CommandLineError("--drive needs LETTER=FOLDER");
            line.driveOptions.push_back(arguments[++i]);
        } else if (argument.starts_with(kDriveOptionWithValue)) {
            line.driveOptions.emplace_back(argument.substr(kDriveOptionWithValue.size()));
        } else {
            line.parameters.push_back(arguments[i]);
        }
    }
    return line;
}

} // namespace brisko::app
