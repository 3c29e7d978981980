#pragma once

#include "platform/FileSystem.h"

#include <string>

namespace brisko::run {

// Deletes a folder with everything in it, read-only and hidden files and read-only folders
// included, without asking. True when the folder itself is gone; entries that could not be deleted
// (or that a listing passes over, such as links to folders) keep it in place.
bool deleteFolderTree(platform::FileSystem& fileSystem, const std::string& path);

} // namespace brisko::run
