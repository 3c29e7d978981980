#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace brisko::app {

// The window's command line, its drive and share options taken out.
struct CommandLine {
    std::vector<std::string> driveOptions; // the LETTER=HOSTDIR values of --drive, in order
    std::vector<std::string> shareOptions; // the \\SERVER\SHARE=HOSTDIR values of --share
    std::vector<std::string> parameters;   // SCRIPT [L=ROOT] [R=ROOT]
};

// A "--drive" or "--share" without its value.
class CommandLineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Takes the value of every "--drive X=DIR" (or "--drive=X=DIR") and "--share \\S\X=DIR" out of
// the arguments; everything else is a parameter, in order. Throws CommandLineError on an option
// without its value.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

} // namespace brisko::app
