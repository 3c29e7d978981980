#pragma once

// The file system and shell of the system the program is built for.
#ifdef _WIN32
#include "platform/WinFileSystem.h"
#include "platform/WinShell.h"
namespace brisko::platform {
using HostFileSystem = WinFileSystem;
using HostShell = WinShell;
} // namespace brisko::platform
#else
#include "platform/PosixFileSystem.h"
#include "platform/PosixShell.h"
namespace brisko::platform {
using HostFileSystem = PosixFileSystem;
using HostShell = PosixShell;
} // namespace brisko::platform
#endif
