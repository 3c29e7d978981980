#pragma once

#include "platform/sftp/SftpClient.h"
#include "platform/sftp/SftpLocation.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brisko::platform::sftp {

// Where ssh may ask its questions (a passphrase, a password, a host key it does not know).
enum class SshAsking {
    Never,    // nowhere: ssh runs in batch mode and fails at once with its own reason
    Terminal, // on our terminal
    Askpass,  // through a program of ours that asks in a dialog (SSH_ASKPASS)
};

// How the program starts ssh.
struct SshSettings {
    std::vector<std::string> command{"ssh"}; // BRISKO_SSH split into words, or ssh itself
    SshAsking asking = SshAsking::Never;
    std::string askpassProgram; // Askpass: the program ssh runs with the question
    // Whether ssh's own configuration for a host sends keep-alives; when it does not, they are
    // added, so that a connection that died is noticed instead of waited on for ever.
    std::function<bool(const SftpLocation&)> configKeepsAlive;
};

// The variable that marks a start of our program by ssh as its askpass helper.
inline constexpr const char* kAskpassMarker = "BRISKO_ASKPASS";

// Splits a command into words as a POSIX shell does with quotes and backslashes (no variables,
// no globbing); nothing when a quote is left open.
std::optional<std::vector<std::string>> splitCommandWords(std::string_view text);

// The settings from the environment's BRISKO_SSH (when set); nothing and why set when it cannot
// be split or is empty.
std::optional<SshSettings> sshSettingsFrom(const std::optional<std::string>& variable,
                                           std::string& why);

// The ssh command that opens an SFTP session to a location, and how it is started.
Transport sshTransport(const SftpLocation& location, const SshSettings& settings);

} // namespace brisko::platform::sftp
