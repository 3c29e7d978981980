#pragma once

#include "platform/FileSystem.h"

#include <cstddef>

namespace brisko::platform {

// The most one read or write call of a backend asks for; larger requests are split, since a single
// call of more is not portable (one ReadFile or WriteFile takes a 32-bit count).
inline constexpr std::size_t kMaxTransfer = std::size_t{1} << 30;

// What reading or writing a file that is already closed reports.
inline FsResult closedFile() {
    return {FsStatus::IoError, "the file is closed"};
}

} // namespace brisko::platform
