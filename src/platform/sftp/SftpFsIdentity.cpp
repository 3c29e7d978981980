#include "platform/sftp/SftpFsIdentity.h"

namespace brisko::platform::sftp {

namespace {

// FNV-1a: stable from run to run and spread over all 64 bits.
std::uint64_t hashOf(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

} // namespace

FileIdentity identityAt(std::string_view server, std::string_view resolvedPath) {
    return FileIdentity{hashOf(server), hashOf(resolvedPath)};
}

} // namespace brisko::platform::sftp
