#pragma once

#include "platform/FileSystem.h"

#include <string>

namespace brisko::platform {

// The status a Win32 error code stands for (ERROR_FILE_NOT_FOUND not found, ERROR_ACCESS_DENIED
// access denied, ERROR_SHARING_VIOLATION in use, ERROR_DISK_FULL no space, ...).
FsStatus statusFromWinError(unsigned long error);
// The system's own text for a Win32 error code, in UTF-8 and without the closing line break.
std::string winErrorMessage(unsigned long error);
// A failure with the status and text of a Win32 error code.
FsResult resultFromWinError(unsigned long error);
// The same for the calling thread's last error.
FsResult lastWinFailure();

} // namespace brisko::platform
