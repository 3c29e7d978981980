#include "platform/sftp/SftpLocation.h"

#include <charconv>

namespace brisko::platform::sftp {

namespace {

constexpr std::string_view kScheme = "sftp://";

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Characters that never belong in a user or host name handed to ssh: a leading '-' would be
// read as an option, and blanks or controls would be split or hidden.
bool safeWord(std::string_view word) {
    if (word.empty() || word.front() == '-')
        return false;
    for (const char c : word) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || byte == 0x7f || c == '/' || c == '\\' || c == '@')
            return false;
    }
    return true;
}

} // namespace

std::string SftpLocation::text() const {
    std::string url(kScheme);
    if (!user.empty())
        url += user + '@';
    url += host.find(':') != std::string::npos ? '[' + host + ']' : host;
    if (port != 0)
        url += ':' + std::to_string(port);
    return url + path;
}

bool looksLikeSftpUrl(std::string_view text) {
    if (text.size() < kScheme.size())
        return false;
    for (std::size_t i = 0; i < kScheme.size(); ++i) {
        if (lower(text[i]) != kScheme[i])
            return false;
    }
    return true;
}

std::optional<SftpLocation> parseSftpUrl(std::string_view text, std::string& why) {
    const auto refuse = [&why](std::string reason) -> std::optional<SftpLocation> {
        why = std::move(reason);
        return std::nullopt;
    };
    if (!looksLikeSftpUrl(text))
        return refuse("an SFTP location begins with sftp://");
    std::string_view rest = text.substr(kScheme.size());
    const auto slash = rest.find('/');
    if (slash == std::string_view::npos)
        return refuse("an SFTP location names a folder: sftp://[USER@]HOST[:PORT]/PATH");
    std::string_view authority = rest.substr(0, slash);
    SftpLocation location;
    location.path = std::string(rest.substr(slash));

    if (const auto at = authority.rfind('@'); at != std::string_view::npos) {
        const std::string_view user = authority.substr(0, at);
        if (user.find(':') != std::string_view::npos)
            return refuse("a password does not belong in an SFTP location: ssh asks for it, "
                          "or use a key");
        if (!safeWord(user))
            return refuse("the user name of an SFTP location is not valid");
        location.user = std::string(user);
        authority.remove_prefix(at + 1);
    }

    std::string_view host = authority;
    std::optional<std::string_view> port;
    const bool bracketed = authority.starts_with('[');
    if (bracketed) {
        const auto close = authority.find(']');
        if (close == std::string_view::npos)
            return refuse("the host of an SFTP location is not valid");
        host = authority.substr(1, close - 1);
        const std::string_view after = authority.substr(close + 1);
        if (!after.empty()) {
            if (after.front() != ':')
                return refuse("the host of an SFTP location is not valid");
            port = after.substr(1);
        }
    } else if (const auto colon = authority.find(':'); colon != std::string_view::npos) {
        host = authority.substr(0, colon);
        port = authority.substr(colon + 1);
    }
    if (!safeWord(host) || (!bracketed && host.find(':') != std::string_view::npos))
        return refuse("the host of an SFTP location is not valid");
    location.host = std::string(host);
    if (port) {
        unsigned value = 0;
        const auto [end, error] = std::from_chars(port->data(), port->data() + port->size(), value);
        if (error != std::errc{} || end != port->data() + port->size() || value == 0 ||
            value > 65535)
            return refuse("the port of an SFTP location is not a number from 1 to 65535");
        location.port = static_cast<std::uint16_t>(value);
    }
    for (const char c : location.path) {
        if (c == '\0' || c == '\\')
            return refuse("the folder of an SFTP location is not valid");
    }
    while (location.path.size() > 1 && location.path.back() == '/')
        location.path.pop_back();
    return location;
}

} // namespace brisko::platform::sftp
