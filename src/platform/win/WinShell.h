#pragma once

#include "platform/Shell.h"

#include <string>

namespace brisko::platform {

// Starts programs on a Windows host. A program (.exe, .com, .bat, .cmd; a bare name is looked
// up as the system looks it up, on PATH among others) is started with CreateProcessW and its
// parameters quoted as Windows programs read them; any other existing file (a document) is
// opened with the program the system has for its type (ShellExecuteExW). Never waited for.
class WinShell final : public Shell {
public:
    FsResult open(const std::string& program, const std::vector<std::string>& parameters,
                  const std::string& workingFolder) override;
};

// The host path of the running program (empty when it cannot be told), so that a run never
// copies over it.
std::string runningProgramPath();

} // namespace brisko::platform
