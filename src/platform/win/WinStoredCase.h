#pragma once

#include "platform/win/WinPaths.h"

#include <string>

namespace brisko::platform {

// A path as the system holds it: each name that exists is spelled as it is stored (its letter
// case, and its long name for a short one), so that two spellings of one file or folder give
// one text. Names from the first missing one on stay as written.
std::string storedSpelling(const WinPath& path);

} // namespace brisko::platform
