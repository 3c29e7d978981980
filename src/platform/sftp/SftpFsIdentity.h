#pragma once

#include "platform/FileSystem.h"

#include <cstdint>
#include <string_view>

namespace brisko::platform::sftp {

// SFTP version 3 tells no inode, so a file is known by where it is: the server (host and port)
// as the device, its path with every link resolved as the inode. Two names that reach one
// folder through different links have equal identities when each is resolved (folderChain),
// and a file replaced under its name keeps its identity: a change of it is seen by its size and
// stamp instead.
FileIdentity identityAt(std::string_view server, std::string_view resolvedPath);

} // namespace brisko::platform::sftp
