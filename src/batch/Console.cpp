#include "batch/Console.h"

#ifdef _WIN32
#include "platform/win/WinText.h"

// clang-format off
#include <windows.h> // first: shellapi.h builds on it
#include <shellapi.h>
// clang-format on
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace brisko::batch {

#ifdef _WIN32
std::vector<std::string> commandLineArguments(int, char**) {
    _setmode(_fileno(stdout), _O_BINARY);
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; wide != nullptr && i < count; ++i)
        arguments.push_back(platform::utf8FromWide(wide[i]));
    LocalFree(wide);
    return arguments;
}

bool standardErrorIsTerminal() {
    return _isatty(_fileno(stderr)) != 0;
}

bool hasTerminal() {
    return false;
}
#else
std::vector<std::string> commandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

bool standardErrorIsTerminal() {
    return isatty(STDERR_FILENO) != 0;
}

bool hasTerminal() {
    const int terminal = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (terminal < 0)
        return false;
    close(terminal);
    return true;
}
#endif

} // namespace brisko::batch
