#pragma once

#include "platform/posix/HostNames.h"
#include "platform/sftp/SftpClient.h"
#include "platform/sftp/SftpFsSessions.h"

#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace brisko::platform::sftp {

// Why a name the server sent cannot be a name of a folder's entry (empty, "." or "..", holding
// '/', '\' or NUL); empty when it can. Such a name is never used as a path: a hostile server
// cannot steer a copy outside the folder it lists.
std::string whyNotAName(std::string_view name);

// The attributes of SFTP version 3 as the lstat of a host file (type and permission bits, size,
// times in whole seconds, owner).
struct stat statOf(const Attributes& attributes);

// The server's own names, matched exactly: lookups by LSTAT (STAT for a followed name), listings
// by READDIR, with the names that cannot be names left out.
class SftpHostNames final : public HostNames {
public:
    explicit SftpHostNames(SftpFsSessions& sessions) : sessions_(sessions) {}

    HostLookup lookUp(const std::string& host, LinkHandling links) override;
    FsResult listNames(const std::string& folder, std::vector<std::string>& names) override;

private:
    SftpFsSessions& sessions_;
};

} // namespace brisko::platform::sftp
