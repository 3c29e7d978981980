#pragma once

#include "platform/FileSystem.h"

#include <cerrno>
#include <string>

namespace brisko::platform {

// The status an errno value stands for (ENOENT/ENOTDIR not found, EACCES/EPERM access denied,
// EIO input/output error, ENOSPC/EDQUOT no space, ...).
FsStatus statusFromErrno(int error);
// The system's own text for an errno value.
std::string systemMessage(int error);
// A failure with the status and text of an errno value.
FsResult resultFromErrno(int error);
// The failure of the system call that has just failed.
inline FsResult lastFailure() {
    return resultFromErrno(errno);
}

// Calls a system function again for as long as a signal interrupts it (-1 with EINTR).
template <typename Call> auto retryOnInterrupt(Call call) {
    for (;;) {
        auto result = call();
        if (result != -1 || errno != EINTR)
            return result;
    }
}

} // namespace brisko::platform
