#include "support/SshServer.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace brisko::test {

namespace {

// A word as a shell reads it: as it is when it holds no character that the shell treats apart.
std::string quoted(const std::string& word) {
    const bool plain =
        !word.empty() && word.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                                "abcdefghijklmnopqrstuvwxyz"
                                                "0123456789/._-+:@%,=") == std::string::npos;
    if (plain)
        return word;
    std::string text = "'";
    for (char c : word)
        text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return text + "'";
}

// Runs the loopback server's script with the given action; its output when it fails.
std::optional<std::string> runScript(const std::string& action, const std::filesystem::path& dir) {
    const std::string command =
        quoted(BRISKO_LOOPBACK_SSHD_SCRIPT) + " " + action + " " + quoted(utf8Of(dir)) + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return "cannot run " + command;
    std::string output;
    std::array<char, 512> buffer{};
    while (const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        output.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return std::nullopt;
    return output.empty() ? command + " failed" : output;
}

} // namespace

SshServer::SshServer() {
    if (auto failure = runScript("start", folder_.root()))
        throw std::runtime_error(*failure);
}

SshServer::~SshServer() {
    stop();
}

void SshServer::stop() {
    runScript("stop", folder_.root());
}

std::filesystem::path SshServer::configFile() const {
    return folder_.path("ssh_config");
}

std::string SshServer::sshCommand() const {
    return "ssh -F " + quoted(utf8Of(configFile()));
}

std::optional<std::string> sshServerSkipReason() {
    const char* ci = std::getenv("CI");
    if (::access("/usr/sbin/sshd", X_OK) == 0 || (ci != nullptr && std::string(ci) == "true"))
        return std::nullopt;
    return "/usr/sbin/sshd is missing (scripts/install-deps.sh installs openssh-server)";
}

} // namespace brisko::test
