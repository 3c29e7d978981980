#pragma once

#include "platform/Shell.h"

#include <string>

namespace brisko::platform {

// Starts programs on a POSIX host. A name without a folder is looked up on PATH; a path to an
// executable file is run directly; any other existing file (a document) is handed to
// xdg-open. The program runs in the working folder with the descriptors 0 to 2 only, its
// signals at their defaults, and is never waited for (its end is collected in the background).
class PosixShell final : public Shell {
public:
    FsResult open(const std::string& program, const std::vector<std::string>& parameters,
                  const std::string& workingFolder) override;
};

// The host path of the running program (empty when it cannot be told), so that a run never
// copies over it.
std::string runningProgramPath();

} // namespace brisko::platform
