#include "SftpServer.h"
#include "support/ProcessWait.h"
#include "support/TempTree.h"

#include <chrono>
#include <signal.h>

namespace brisko::platform::sftp {
namespace {

using namespace std::chrono_literals;

// Every future answered within a bound with the connection lost.
template <class T> void expectLost(std::vector<std::future<Outcome<T>>>& futures) {
    for (auto& future : futures) {
        ASSERT_EQ(future.wait_for(10s), std::future_status::ready);
        const Outcome<T> outcome = future.get();
        ASSERT_TRUE(outcome.error);
        EXPECT_TRUE(outcome.error->lost);
        EXPECT_EQ(outcome.error->code, Code::ConnectionLost);
        EXPECT_FALSE(outcome.error->message.empty());
    }
}

// The server started through a shell that leaves its process id in a file and a warning on
// its standard error first.
struct WatchedServer {
    test::TempTree tree;
    std::unique_ptr<Client> client;
    pid_t pid = 0;

    WatchedServer() {
        const std::string pidFile = test::utf8Of(tree.path("pid"));
        std::string why;
        client = Client::connect(
            {{"/bin/sh", "-c",
              std::string("echo $$ >\"$0\"; echo 'Warning: a host key added' >&2; exec ") +
                  test::kSftpServer,
              pidFile},
             {},
             false},
            why);
        EXPECT_TRUE(client) << why;
        if (const auto line = test::waitForLine(pidFile))
            pid = std::stoi(*line);
        EXPECT_GT(pid, 0);
    }
};

TEST(SftpConnectionFaults, AServerKilledWithRequestsInFlightFailsThemAllAtOnce) {
    WatchedServer server;
    ASSERT_TRUE(server.client && server.pid > 0);
    ASSERT_EQ(kill(server.pid, SIGSTOP), 0); // nothing is answered from here on
    std::vector<std::future<Outcome<Attributes>>> inFlight;
    for (int i = 0; i < 50; ++i)
        inFlight.push_back(server.client->lstat(test::utf8Of(server.tree.path("pid"))));
    ASSERT_EQ(kill(server.pid, SIGKILL), 0);
    expectLost(inFlight);
    EXPECT_FALSE(server.client->alive());
    EXPECT_EQ(server.client->lostReason(), "the connection to the server was closed");

    auto later = server.client->stat("/");
    EXPECT_EQ(later.wait_for(0s), std::future_status::ready);
    std::vector<std::future<Outcome<Attributes>>> afterwards;
    afterwards.push_back(std::move(later));
    expectLost(afterwards);
}

TEST(SftpConnectionFaults, AClientGoesWithoutWaitingForAStoppedServer) {
    WatchedServer server;
    ASSERT_TRUE(server.client && server.pid > 0);
    ASSERT_EQ(kill(server.pid, SIGSTOP), 0);
    std::vector<std::future<Outcome<std::string>>> pending;
    pending.push_back(server.client->realpath("."));
    server.client.reset(); // ends the stopped server: closed, then killed
    expectLost(pending);
}

TEST(SftpConnectionFaults, ATransportThatDoesNotAnswerGivesItsReason) {
    const struct {
        std::vector<std::string> arguments;
        std::string why;
    } cases[] = {
        {{"/nonexistent/ssh"}, "cannot start /nonexistent/ssh: No such file or directory"},
        {{"/bin/false"}, "/bin/false ended without answering as an SFTP server"},
        {{"/bin/sh", "-c",
          "echo 'ssh: connect to host x port 22: Connection refused' >&2; exit 255"},
         "ssh: connect to host x port 22: Connection refused"},
        {{"cat"}, "cat does not answer as an SFTP server"}, // our INIT comes back
    };
    for (const auto& transport : cases) {
        std::string why;
        EXPECT_FALSE(Client::connect({transport.arguments, {}, false}, why));
        EXPECT_EQ(why, transport.why);
    }
}

TEST(SftpConnectionFaults, AnAnswerThatCannotBeTrustedEndsTheConnection) {
    // Servers that announce no extension, then answer the first request (id 1) with these.
    const struct {
        const char* answer;
        const char* reason;
    } cases[] = {
        {"\\0\\0\\0\\5\\145\\0\\0\\1\\0", "the server sent an answer that cannot be understood"},
        {"\\0\\0\\0\\5\\145\\0\\0\\0\\1", "the server sent an answer that cannot be understood"},
        {"\\377\\377\\377\\377", "the server sent a packet of a length no answer has"},
    };
    for (const auto& server : cases) {
        const std::string script = "head -c 9 >/dev/null; printf '\\0\\0\\0\\5\\2\\0\\0\\0\\3';"
                                   "head -c 1 >/dev/null; printf '" +
                                   std::string(server.answer) + "'";
        std::string why;
        const auto client = Client::connect({{"/bin/sh", "-c", script}, {}, false}, why);
        ASSERT_TRUE(client) << why;
        std::vector<std::future<Outcome<Attributes>>> asked;
        asked.push_back(client->lstat("/"));
        expectLost(asked);
        EXPECT_EQ(client->lostReason(), server.reason);
    }
}

} // namespace
} // namespace brisko::platform::sftp
