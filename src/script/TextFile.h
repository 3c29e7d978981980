#pragma once

#include "platform/FileSystem.h"

#include <string>
#include <vector>

namespace brisko::script {

// Reads the lines of a text file: UTF-8 when valid, otherwise Windows-1252; a byte-order mark
// is dropped and CR LF ends work. False when the file cannot be opened or read.
bool readTextLines(platform::FileSystem& fileSystem, const std::string& fileName,
                   std::vector<std::string>& lines, platform::FsResult& result);

} // namespace brisko::script
