#pragma once

#include <string>
#include <vector>

namespace brisko::batch {

// The command line's arguments after the program's name, in UTF-8 on every system. On Windows
// they are read from the system's UTF-16 command line, and standard output is set to write
// lines as they are, so that records are the same bytes as on other systems.
std::vector<std::string> commandLineArguments(int argc, char** argv);

// Whether standard error is a terminal (a console window on Windows).
bool standardErrorIsTerminal();

// Whether the process has a terminal of its own to ask questions on (never on Windows, where
// no location asks).
bool hasTerminal();

} // namespace brisko::batch
