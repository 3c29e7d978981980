#pragma once

#include "platform/FileSystem.h"

#include <string>
#include <string_view>
#include <sys/stat.h>

namespace brisko::platform {

// What one name on disk is, as the program sees it: a file or folder (result Ok, entry filled),
// gone (NotFound), or something passed over (Unsupported, AccessDenied, IoError) with the reason.
struct HostEntry {
    FsResult result;
    std::string reason; // why it is passed over, empty when result is Ok
    DirEntry entry;
};

enum class LinkHandling {
    Inspect, // a symbolic link is looked at: a link to a file is read through, others passed over
    Follow,  // the name is followed as the system follows it (a drive's own host folder)
};

// Looks at name relative to the open folder folderFd (or AT_FDCWD); entry.name is displayName.
// A link to a file gives its target's size, stamp and permissions. The stamp is converted
// through stamps, which a directory search keeps for all of its names.
HostEntry inspectEntry(int folderFd, const char* name, std::string_view displayName,
                       LinkHandling links, DosStampCache& stamps);
HostEntry inspectEntry(int folderFd, const char* name, std::string_view displayName,
                       LinkHandling links = LinkHandling::Inspect);
// The same for a name whose lstat the caller has already read (links are inspected).
HostEntry inspectEntry(const struct stat& linkStatus, int folderFd, const char* name,
                       std::string_view displayName, DosStampCache& stamps);

} // namespace brisko::platform
