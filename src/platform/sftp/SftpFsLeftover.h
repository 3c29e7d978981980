#pragma once

#include "platform/FileSystem.h"
#include "platform/sftp/SftpClient.h"

#include <ctime>
#include <string>
#include <sys/stat.h>

namespace brisko::platform::sftp {

// How long a file being written can go untouched: a live writer moves its modification time
// with every write, and its access time when it stamps it.
inline constexpr std::time_t kLeftoverAge = 10 * 60;

// Whether a regular file that takes the name of a new file was left by a run that ended (not
// touched for kLeftoverAge before now); a file that a live run may be writing gives InUse.
FsResult leftoverState(const struct stat& info, std::time_t now);

// Removes the regular file at host (whose lstat is info) so that a new file can take its name,
// when it is a leftover; anything but a regular file is refused and left alone.
FsResult removeLeftover(Client& client, const std::string& host, const struct stat& info,
                        std::time_t now);

} // namespace brisko::platform::sftp
