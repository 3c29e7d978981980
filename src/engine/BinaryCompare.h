#pragma once

#include "engine/EngineContext.h"

#include <cstdint>
#include <string>

namespace brisko::engine {

// Compares two files in blocks of 65536 bytes, stopping at the first difference; true when
// none was found. A file that cannot be opened or read is reported and counts as identical.
// With fromDisk (verifying a copy) the second file's cached pages are dropped first, so what is
// on the disk is read, and a file that cannot be read counts as different: the copy is not
// verified.
bool binaryCompare(EngineContext& context, const std::string& first, const std::string& second,
                   std::int64_t size, bool fromDisk = false);

} // namespace brisko::engine
