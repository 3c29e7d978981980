#pragma once

#include <string>
#include <vector>

namespace brisko::platform {

// The command line that a Windows program (CommandLineToArgvW, the C runtime) splits back
// into exactly these arguments: each word holding a blank, a tab or a quote, or empty, is
// quoted, its quotes escaped and the backslashes before them doubled.
std::wstring windowsCommandLine(const std::vector<std::wstring>& arguments);

} // namespace brisko::platform
