#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brisko::platform::sftp {

// A folder on another machine reached over SFTP: sftp://[USER@]HOST[:PORT]/PATH.
struct SftpLocation {
    std::string user;       // empty: the one ssh picks (its configuration, or ours)
    std::string host;       // as written: a name, an address, or an alias of ~/.ssh/config
    std::uint16_t port = 0; // 0: the one ssh picks
    std::string path;       // the folder on the server, absolute ("/srv/backup")

    // The location as a URL, as it is shown to people.
    std::string text() const;
    bool operator==(const SftpLocation&) const = default;
};

// True for a text that is meant as an SFTP location (it begins with "sftp://", any case).
bool looksLikeSftpUrl(std::string_view text);

// The location a URL names; nothing (and why set to the reason) when it is malformed or carries
// a password, which never belongs on a command line.
std::optional<SftpLocation> parseSftpUrl(std::string_view text, std::string& why);

} // namespace brisko::platform::sftp
