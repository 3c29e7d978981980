#pragma once

#include "support/TempTree.h"

#include <filesystem>
#include <optional>
#include <string>

namespace brisko::test {

// A throwaway OpenSSH server on 127.0.0.1 (scripts/loopback-sshd.sh) with its own host and user
// keys in a temporary folder, serving the current user; stopped when the object goes. POSIX only.
class SshServer {
public:
    // Starts the server; throws std::runtime_error with the script's message when it cannot.
    SshServer();
    ~SshServer();
    SshServer(const SshServer&) = delete;
    SshServer& operator=(const SshServer&) = delete;

    // The ssh configuration that names the server alias() for ssh, sftp and rsync's -e.
    std::filesystem::path configFile() const;
    static std::string alias() { return "brisko-test"; }
    // "ssh -F <config file>", as BRISKO_SSH takes it.
    std::string sshCommand() const;

    // Stops the server now (a lost connection); nothing when it is stopped already.
    void stop();

private:
    TempTree folder_;
};

// Why a test that needs the server is skipped: the message when /usr/sbin/sshd is missing
// outside CI. Nothing otherwise: under CI=true a missing server fails such tests instead.
std::optional<std::string> sshServerSkipReason();

} // namespace brisko::test
