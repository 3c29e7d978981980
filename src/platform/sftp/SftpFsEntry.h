#pragma once

#include "platform/DosStamp.h"
#include "platform/FileSystem.h"

#include <string>
#include <string_view>
#include <sys/stat.h>

namespace brisko::platform::sftp {

// What one name on the server is, as the program sees it: a file, folder or symbolic link
// (result Ok, entry filled; a link's text is read by the caller, so that many are asked at
// once), or something passed over with the reason.
struct ServerEntry {
    FsResult result;
    std::string reason;   // why it is passed over, empty when result is Ok
    bool special = false; // a device, pipe or socket: passed over by design
    DirEntry entry;
};

// The entry for name from its lstat; stamps from the modification time as the host's own
// listings convert them.
ServerEntry entryOf(const struct stat& info, std::string_view name, DosStampCache& stamps);

} // namespace brisko::platform::sftp
