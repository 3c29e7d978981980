#include "app/CommandLine.h"

#include <string_view>

namespace brisko::app {

namespace {

// Takes the value of "--NAME VALUE" or "--NAME=VALUE" into values and returns true when
// arguments[i] is that option (i then stands on the value).
bool takeMapOption(const std::vector<std::string>& arguments, std::size_t& i, std::string_view name,
                   std::string_view valueForm, std::vector<std::string>& values) {
    const std::string_view argument = arguments[i];
    if (argument == name) {
        if (i + 1 == arguments.size())
            throw CommandLineError(std::string(name) + " needs " + std::string(valueForm));
        values.push_back(arguments[++i]);
        return true;
    }
    if (argument.size() > name.size() && argument.starts_with(name) &&
        argument[name.size()] == '=') {
        values.emplace_back(argument.substr(name.size() + 1));
        return true;
    }
    return false;
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (!takeMapOption(arguments, i, "--drive", "LETTER=FOLDER", line.driveOptions) &&
            !takeMapOption(arguments, i, "--share", "\\\\SERVER\\SHARE=FOLDER", line.shareOptions))
            line.parameters.push_back(arguments[i]);
    }
    return line;
}

} // namespace brisko::app
