#pragma once

#include "platform/FileSystem.h"
#include "platform/posix/HostEntry.h"
#include "platform/posix/UniqueFd.h"

#include <cstddef>
#include <string>
#include <vector>

namespace brisko::platform {

// Opens the folder name below the open folder parent (or AT_FDCWD) with the given access
// (O_PATH to hold it for calls relative to it, O_RDONLY to list or flush it). Unless links says
// Follow, a link at that name is not followed: it fails with Unsupported ("symbolic link"), a
// file with NotAFolder.
UniqueFd openFolderAt(int parent, const char* name, LinkHandling links, int access,
                      FsResult& result);

// Opens the host folder base as the system finds it, then each of names[0, count) below it in
// turn. With onTheWay Inspect a folder on the way that is a symbolic link is never followed: the
// walk stops there with Unsupported ("a symbolic link is on the way"). A missing name gives
// NotFound. On success the last folder reached is returned, held open (O_PATH).
UniqueFd walkFolders(const std::string& base, const std::vector<std::string>& names,
                     std::size_t count, LinkHandling onTheWay, FsResult& result);

} // namespace brisko::platform
