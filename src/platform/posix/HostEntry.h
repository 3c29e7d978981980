#pragma once

#include "platform/FileSystem.h"

#include <string>
#include <string_view>
#include <sys/stat.h>

namespace brisko::platform {

// What one name on disk is, as the program sees it: a file, folder or symbolic link (result Ok,
// entry filled), gone (NotFound), or something passed over (Unsupported, AccessDenied, IoError)
// with the reason.
struct HostEntry {
    FsResult result;
    std::string reason;   // why it is passed over, empty when result is Ok
    bool special = false; // a device, pipe or socket: passed over by design
    DirEntry entry;
};

enum class LinkHandling {
    Inspect, // a symbolic link is an entry of its own and is never followed
    Follow,  // the name is followed as the system follows it (a drive's own host folder)
};

// Looks at name relative to the open folder folderFd (or AT_FDCWD); entry.name is displayName.
// A link gives its own stamp and the text it holds. The stamp is converted through stamps,
// which a directory search keeps for all of its names.
HostEntry inspectEntry(int folderFd, const char* name, std::string_view displayName,
                       LinkHandling links, DosStampCache& stamps);
HostEntry inspectEntry(int folderFd, const char* name, std::string_view displayName,
                       LinkHandling links = LinkHandling::Inspect);
// The same for a name whose lstat the caller has already read (links are inspected).
HostEntry inspectEntry(const struct stat& linkStatus, int folderFd, const char* name,
                       std::string_view displayName, DosStampCache& stamps);

} // namespace brisko::platform
