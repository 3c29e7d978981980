#pragma once

// The file system and shell of the system the program is built for.
#ifdef _WIN32
#include "platform/win/WinFileSystem.h"
#include "platform/win/WinShell.h"
namespace brisko::platform {
using HostFileSystem = WinFileSystem;
using HostShell = WinShell;
} // namespace brisko::platform
#else
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixShell.h"
namespace brisko::platform {
using HostFileSystem = PosixFileSystem;
using HostShell = PosixShell;
} // namespace brisko::platform
#endif
