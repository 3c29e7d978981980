#pragma once

#include "platform/posix/PosixFileSystemImpl.h"
#include "platform/posix/UniqueFd.h"

#include <sys/stat.h>

namespace brisko::platform {

// Calls on the entry a target names, made relative to the folder that holds it.

// Sets the permission bits of a file or folder, never through a link: a link (even one planted
// since the name was looked at) is left as it is and counts as done.
FsResult changeModeOfEntry(const Target& target, mode_t mode);
// Opens an existing regular file; a FIFO is never waited on. A link at the last name is
// followed only when links say so.
UniqueFd openRegularFile(const Target& target, LinkHandling links, FsResult& result,
                         struct stat& info);
// Removes the regular file at the target so that a new one can take its name, unless a live
// run is writing it (it holds the file's lock); anything but a regular file is left alone.
FsResult removeUnheldFile(const Target& target);
// Takes the exclusive advisory lock of an open file without waiting. False only when another
// holder has it: a file system without such locks has no holder to tell of.
bool takeLock(int fd);

} // namespace brisko::platform
