#pragma once

#include "platform/FileSystem.h"
#include "platform/posix/HostEntry.h"

#include <string>
#include <sys/stat.h>
#include <vector>

namespace brisko::platform {

// What a host path names, as far as matching names is concerned.
struct HostLookup {
    enum class Outcome {
        Found,   // something has that very name; status holds what lstat (or stat) said
        Missing, // no such name in a folder that exists: a case variant may be there
        Failed,  // cannot be told, or a file stands on the way; failure says why
    };
    Outcome outcome = Outcome::Missing;
    FsResult failure;
    struct stat status {};
};

// The host's own names, matched exactly: the little that case-insensitive lookup is built on.
class HostNames {
public:
    virtual ~HostNames() = default;

    // What is at host: the entry itself (a link, not its target) unless links says Follow.
    virtual HostLookup lookUp(const std::string& host, LinkHandling links) = 0;
    // Every name in a host folder ("." and ".." may be among them), or why it cannot be read.
    // The whole listing is handed over at once.
    virtual FsResult listNames(const std::string& folder, std::vector<std::string>& names) = 0;
};

// The names of the real file system, through lstat and readdir.
class PosixHostNames final : public HostNames {
public:
    HostLookup lookUp(const std::string& host, LinkHandling links) override;
    FsResult listNames(const std::string& folder, std::vector<std::string>& names) override;
};

} // namespace brisko::platform
