#pragma once

#include <optional>
#include <string>

namespace brisko::test {

// The suites of the scan, the copy and the runs also run with every drive of their trees on an
// SFTP location: the same folders, served by a loopback OpenSSH server. BRISKO_TEST_SFTP names
// the server's folder (scripts/loopback-sshd.sh); when it is set, drives are mapped to
// sftp://brisko-test/FOLDER and ssh is started with the server's own configuration.

// The URL standing for a host folder when drives are on the loopback server; nothing otherwise.
std::optional<std::string> sftpUrlOf(const std::string& hostFolder);

bool drivesOverSftp();

} // namespace brisko::test

// Skips a test that asks for what only a local disk has (a file held open by another program, a
// mode the server cannot be denied), saying why, when drives are on the loopback server.
#define SKIP_OVER_SFTP(why)                                                                        \
    do {                                                                                           \
        if (::brisko::test::drivesOverSftp())                                                      \
            GTEST_SKIP() << "over SFTP: " << (why);                                                \
    } while (false)
