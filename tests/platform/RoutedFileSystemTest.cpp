#include "platform/RoutedFileSystem.h"

#include "platform/posix/PosixFileSystem.h"
#include "platform/sftp/SshConfig.h"
#include "platform/sftp/SshTransport.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace brisko::platform {
namespace {

// Two folders as two file systems: the host's (C:) and one of a drive of its own (R:).
struct TwoMachines {
    test::TempTree tree;
    RoutedFileSystem files{hostWith('C', "c"), drives()};

    std::unique_ptr<FileSystem> hostWith(char letter, const char* folder) {
        DriveMap map("/");
        map.addEntry(std::string{letter, '='} + tree.makeFolder(folder).string());
        return std::make_unique<PosixFileSystem>(std::move(map));
    }
    RoutedFileSystem::Drives drives() {
        RoutedFileSystem::Drives routes;
        routes.emplace("R:", hostWith('R', "r"));
        return routes;
    }
};

TEST(RoutedFileSystemTest, SendsEachPathToTheFileSystemOfItsDrive) {
    TwoMachines machines;
    machines.tree.write("c/A.TXT", "host");
    machines.tree.write("r/B.TXT", "remote");
    ::chmod(machines.tree.path("c/A.TXT").c_str(), 0750);
    FileSystem& files = machines.files;

    EXPECT_TRUE(files.fileExists("c:\\a.txt"));
    EXPECT_TRUE(files.fileExists("r:\\b.txt"));
    EXPECT_FALSE(files.fileExists("R:\\A.TXT"));
    EXPECT_TRUE(files.exactNames().fileExists("R:\\B.TXT"));
    // Between the two, only the permission bits can cross; renames and links cannot.
    EXPECT_TRUE(files.copyAttributes("C:\\A.TXT", "R:\\B.TXT").ok());
    struct stat info {};
    ASSERT_EQ(::stat(machines.tree.path("r/B.TXT").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0750u);
    EXPECT_EQ(files.rename("C:\\A.TXT", "R:\\A.TXT").status, FsStatus::Unsupported);
    EXPECT_EQ(files.link("C:\\A.TXT", "R:\\A.TXT").status, FsStatus::Unsupported);
    EXPECT_TRUE(files.rename("R:\\B.TXT", "R:\\C.TXT").ok());
    EXPECT_EQ(machines.tree.read("r/C.TXT"), "remote");
}

TEST(SshTransportTest, SplitsCommandsAsAShellDoesAndNamesTheLocationSafely) {
    using sftp::splitCommandWords;
    EXPECT_EQ(splitCommandWords(" ssh  -F '/my dir/cfg' -o \"A=b c\" x\\ y "),
              (std::vector<std::string>{"ssh", "-F", "/my dir/cfg", "-o", "A=b c", "x y"}));
    EXPECT_EQ(splitCommandWords("ssh 'open"), std::nullopt);
    EXPECT_EQ(splitCommandWords("a\"b\\\"c\"d"), (std::vector<std::string>{"ab\"cd"}));

    sftp::SshSettings settings;
    settings.command = {"ssh", "-F", "cfg"};
    settings.configKeepsAlive = [](const sftp::SftpLocation&) { return true; };
    const sftp::Transport plain =
        sftp::sshTransport(sftp::SftpLocation{"me", "nas", 2222, "/b"}, settings);
    EXPECT_EQ(plain.arguments,
              (std::vector<std::string>{"ssh", "-F", "cfg", "-T", "-x", "-a", "-e", "none", "-o",
                                        "BatchMode=yes", "-p", "2222", "-l", "me", "-s", "--",
                                        "nas", "sftp"}));
    settings.asking = sftp::SshAsking::Askpass;
    settings.askpassProgram = "/usr/bin/brisko2";
    settings.configKeepsAlive = {};
    const sftp::Transport asking =
        sftp::sshTransport(sftp::SftpLocation{"", "nas", 0, "/"}, settings);
    EXPECT_EQ(asking.arguments,
              (std::vector<std::string>{"ssh", "-F", "cfg", "-T", "-x", "-a", "-e", "none", "-o",
                                        "ServerAliveInterval=15", "-o", "ServerAliveCountMax=4",
                                        "-s", "--", "nas", "sftp"}));
    EXPECT_EQ(asking.environment.front().second, "/usr/bin/brisko2");
}

TEST(SshTransportTest, KeepAlivesAreAddedOnlyWhereSshsOwnConfigurationSendsNone) {
    EXPECT_FALSE(sftp::printedConfigKeepsAlive("user me\nserveraliveinterval 0\n"));
    EXPECT_TRUE(sftp::printedConfigKeepsAlive("user me\nserveraliveinterval 30\nport 22\n"));
    const sftp::SftpLocation nas{"", "nas.invalid", 0, "/"};
    EXPECT_TRUE(sftp::configKeepsAlive({"ssh", "-o", "ServerAliveInterval=7"})(nas));
    EXPECT_FALSE(sftp::configKeepsAlive({"ssh", "-o", "ServerAliveInterval=0"})(nas));
    EXPECT_FALSE(sftp::configKeepsAlive({"/nonexistent/ssh"})(nas));
}

} // namespace
} // namespace brisko::platform
