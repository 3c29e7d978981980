#pragma once

#include "platform/FileSystem.h"

#include <string>

namespace brisko::run {

// The reason for a failure in the history's words; a full disk is said so.
std::string failureReason(const platform::FsResult& result);
// Why the temporary file could not be made, as the history shows it.
std::string temporaryFailure(const platform::FsResult& result);
// Why a copy could not be written, or not put on the disk, as the history shows it.
std::string writeFailure(const platform::FsResult& result);

} // namespace brisko::run
