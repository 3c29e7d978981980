// The throwaway OpenSSH server that the SFTP tests run against serves the current user and stops.
#include "support/SshServer.h"
#include "support/TempTree.h"

#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>

namespace brisko::test {
namespace {

// Runs a shell command; its exit status (-1 when it did not end normally) and its output.
std::pair<int, std::string> run(const std::string& command) {
    FILE* pipe = ::popen((command + " 2>&1 </dev/null").c_str(), "r");
    if (pipe == nullptr)
        return {-1, "cannot run " + command};
    std::string output;
    std::array<char, 512> buffer{};
    while (const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        output.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

TEST(LoopbackSshdTest, TakesAFileOverSftpAndRefusesConnectionsOnceStopped) {
    if (auto reason = sshServerSkipReason())
        GTEST_SKIP() << *reason;
    SshServer server;
    TempTree local;
    TempTree remote;
    const std::string source = utf8Of(local.write("sent.txt", "over the wire\n"));
    const std::string batch = utf8Of(
        local.write("batch", "put " + source + " " + utf8Of(remote.path("sent.txt")) + "\n"));
    const std::string config = utf8Of(server.configFile());

    const auto [status, output] =
        run("sftp -F " + config + " -b " + batch + " " + SshServer::alias());
    EXPECT_EQ(status, 0) << output;
    EXPECT_EQ(remote.read("sent.txt"), "over the wire\n");

    server.stop();
    const auto [statusAfterStop, outputAfterStop] =
        run(server.sshCommand() + " " + SshServer::alias() + " true");
    EXPECT_EQ(statusAfterStop, 255) << outputAfterStop;
}

} // namespace
} // namespace brisko::test
