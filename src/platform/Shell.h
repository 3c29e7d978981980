#pragma once

#include "platform/FileSystem.h"

#include <string>
#include <vector>

namespace brisko::platform {

// Starts other programs. On POSIX a program (a name found on PATH, or a path to an executable
// file) is started directly with its parameters; anything else is opened with the desktop's
// default application.
class Shell {
public:
    virtual ~Shell() = default;
    // Starts without waiting; Ok when the program could be started.
    virtual FsResult open(const std::string& program, const std::vector<std::string>& parameters,
                          const std::string& workingFolder) = 0;
};

} // namespace brisko::platform
