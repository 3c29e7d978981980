#include "platform/posix/HostNames.h"

#include "platform/posix/FolderStream.h"
#include "platform/posix/PosixErrors.h"

namespace brisko::platform {

HostLookup PosixHostNames::lookUp(const std::string& host, LinkHandling links) {
    HostLookup lookup;
    const int done = links == LinkHandling::Follow ? ::stat(host.c_str(), &lookup.status)
                                                   : ::lstat(host.c_str(), &lookup.status);
    if (done == 0) {
        lookup.outcome = HostLookup::Outcome::Found;
    } else if (errno != ENOENT) { // ENOTDIR (a file on the way) included
        lookup.outcome = HostLookup::Outcome::Failed;
        lookup.failure = resultFromErrno(errno);
    }
    return lookup;
}

FsResult PosixHostNames::listNames(const std::string& folder, std::vector<std::string>& names) {
    FolderStream stream(folder, FinalLink::Follow);
    while (const char* name = stream.next())
        names.emplace_back(name);
    return stream.result();
}

} // namespace brisko::platform
