// The SFTP location's file system against OpenSSH's own server, started over pipes on real
// temporary folders.
#include "platform/sftp/SftpFileSystem.h"

#include "SftpServer.h"
#include "platform/DosStamp.h"
#include "platform/sftp/SftpNames.h"
#include "support/TempTree.h"

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>

namespace brisko::platform::sftp {
namespace {

constexpr const char* kTemporary = "R:\\SUB\\$BRISKO$.$$$";

std::string pattern(std::size_t size) {
    std::string text(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        text[i] = static_cast<char>('a' + (i * 7 + i / 1000) % 26);
    return text;
}

FsResult writeAll(OutputFile& output, std::string_view data) {
    return output.write(reinterpret_cast<const std::byte*>(data.data()), data.size());
}

std::string readAll(InputFile& input) {
    std::string text;
    std::vector<std::byte> buffer(100000); // not a multiple of the chunks asked ahead
    for (;;) {
        const std::int64_t count = input.read(buffer.data(), buffer.size());
        if (count <= 0)
            return count < 0 ? "read failed" : text;
        text.append(reinterpret_cast<const char*>(buffer.data()), static_cast<std::size_t>(count));
    }
}

// Both times of a name itself (a link's own), as a run that ended long ago left them.
void setBothTimes(const std::filesystem::path& path, std::time_t time) {
    const struct timespec times[2] = {{time, 0}, {time, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
}

struct stat linkStatus(const std::filesystem::path& path) {
    struct stat info {};
    lstat(path.c_str(), &info);
    return info;
}

class SftpFileSystemTest : public ::testing::Test {
protected:
    // A file system over the tree, its sessions served by the server started with options;
    // every server started writes its process id into "pids" beside the tree.
    std::unique_ptr<SftpFileSystem> connect(std::vector<std::string> options = {}) {
        const std::string pids = (pidFolder.root() / "pids").string();
        Transport transport;
        transport.arguments = {"/bin/sh", "-c", "echo $$ >> '" + pids + "'; exec \"$0\" \"$@\"",
                               test::kSftpServer};
        transport.arguments.insert(transport.arguments.end(), options.begin(), options.end());
        SftpLocation location{"", "localhost", 0, tree.root().string()};
        return std::make_unique<SftpFileSystem>(
            location, [transport](std::string& why) { return Client::connect(transport, why); });
    }

    void killServers() {
        std::ifstream pids(pidFolder.root() / "pids");
        for (pid_t pid = 0; pids >> pid;)
            kill(pid, SIGKILL);
    }

    test::TempTree tree;
    test::TempTree pidFolder;
    const DosStamp stamp = dosStampFromTime(1'600'000'000);
};

TEST_F(SftpFileSystemTest, CopyPutInPlaceShowsContentAndStampOnDisk) {
    tree.write("SUB/FILE.TXT", "old");
    auto files = connect();
    const std::string content = pattern(1'700'000); // many writes in flight
    FsResult result;
    // "sub" is reached through its one case variant.
    auto output = files->createFresh("R:\\sub\\$BRISKO$.$$$", result);
    ASSERT_TRUE(output) << result.detail;
    for (std::size_t at = 0; at < content.size(); at += 65536)
        ASSERT_TRUE(writeAll(*output, std::string_view(content).substr(at, 65536)).ok());
    EXPECT_TRUE(files->setStamp(kTemporary, stamp).ok());
    EXPECT_TRUE(output->flush().ok());
    EXPECT_TRUE(output->close().ok());
    EXPECT_TRUE(files->rename(kTemporary, "R:\\SUB\\FILE.TXT").ok());

    EXPECT_EQ(tree.read("SUB/FILE.TXT"), content);
    EXPECT_EQ(tree.time("SUB/FILE.TXT"), timeFromDosStamp(stamp));
    EXPECT_FALSE(tree.exists("SUB/$BRISKO$.$$$"));
    EXPECT_EQ(files->stat("R:\\SUB\\FILE.TXT").entry.stamp, stamp);
    auto input = files->openRead("R:\\SUB\\file.txt", result);
    ASSERT_TRUE(input) << result.detail;
    EXPECT_EQ(readAll(*input), content);
    EXPECT_EQ(input->version()->size, static_cast<std::int64_t>(content.size()));
}

// As a copy goes: the stamp and permissions of the file being written go on its handle, behind
// its writes, and it is renamed before it is closed.
TEST_F(SftpFileSystemTest, StampAndPermissionsOfAFileBeingWrittenHoldAfterItsWrites) {
    tree.write("SUB/FILE.TXT", "old");
    auto files = connect();
    const std::string content = pattern(1'000'000);
    FsResult result;
    auto output = files->createFresh(kTemporary, result);
    ASSERT_TRUE(output) << result.detail;
    ASSERT_TRUE(writeAll(*output, content).ok());
    EXPECT_TRUE(files->setStamp(kTemporary, stamp).ok());
    EXPECT_TRUE(files->setPermissions(kTemporary, 0640).ok());
    EXPECT_TRUE(files->setReadOnly(kTemporary, true).ok());
    EXPECT_TRUE(output->flush().ok());
    // The target as just looked at, by its one case variant.
    EXPECT_TRUE(files->stat("R:\\SUB\\file.txt").result.ok());
    EXPECT_TRUE(files->rename(kTemporary, "R:\\SUB\\file.txt").ok());
    EXPECT_TRUE(output->close().ok());

    EXPECT_FALSE(tree.exists("SUB/file.txt"));
    EXPECT_EQ(tree.read("SUB/FILE.TXT"), content);
    EXPECT_EQ(tree.time("SUB/FILE.TXT"), timeFromDosStamp(stamp));
    EXPECT_EQ(linkStatus(tree.path("SUB/FILE.TXT")).st_mode & 07777, 0440u);
    EXPECT_FALSE(tree.exists("SUB/$BRISKO$.$$$"));
    // The name is free for the next copy.
    auto next = files->createFresh(kTemporary, result);
    ASSERT_TRUE(next) << result.detail;
    EXPECT_TRUE(next->close().ok());
}

// Subfolders are listed ahead of the scan; a change made here in between is never missed.
TEST_F(SftpFileSystemTest, ListingReadAheadIsNotHandedOutAfterAChangeHere) {
    tree.write("SUB/OLD.TXT", "old");
    tree.write("SUB/DEEP/KEEP.TXT", "keep");
    auto files = connect();
    const auto names = [&](std::string_view folder) {
        std::vector<std::string> found;
        for (const DirEntry& entry : files->list(folder).entries)
            found.push_back(entry.name);
        return found;
    };
    EXPECT_EQ(names("R:\\"), std::vector<std::string>{"SUB"}); // SUB is listed meanwhile
    EXPECT_TRUE(files->removeFile("R:\\SUB\\OLD.TXT").ok());
    EXPECT_EQ(names("R:\\SUB"), std::vector<std::string>{"DEEP"}); // DEEP is listed meanwhile
    ASSERT_TRUE(files->createFolders("R:\\SUB\\DEEP\\NEW").ok());
    EXPECT_EQ(names("R:\\SUB\\DEEP"), (std::vector<std::string>{"KEEP.TXT", "NEW"}));
    EXPECT_TRUE(files->identityOf("R:\\SUB\\DEEP\\NEW"));
    EXPECT_TRUE(files->removeFolder("R:\\SUB\\DEEP\\NEW").ok());
    EXPECT_FALSE(files->identityOf("R:\\SUB\\DEEP\\NEW"));
}

TEST_F(SftpFileSystemTest, TakenTemporaryNameIsLeftToALiveRunAndReplacedWhenLeftOver) {
    struct Case {
        std::time_t age;
        FsStatus status;
        std::string left; // what the name holds afterwards
    };
    for (const Case& taken :
         {Case{60, FsStatus::InUse, "theirs"}, Case{11 * 60, FsStatus::Ok, ""}}) {
        setBothTimes(tree.write("SUB/$BRISKO$.$$$", "theirs"), std::time(nullptr) - taken.age);
        auto files = connect();
        FsResult result;
        auto output = files->createFresh(kTemporary, result);
        EXPECT_EQ(result.status, taken.status) << taken.age;
        if (taken.status == FsStatus::InUse) {
            EXPECT_EQ(result.detail, "another run may be writing it");
        }
        if (output)
            output->close();
        EXPECT_EQ(tree.read("SUB/$BRISKO$.$$$"), taken.left) << taken.age;
    }
}

TEST_F(SftpFileSystemTest, ServerWithoutAnExtensionOfAPromiseGetsNoCopy) {
    tree.makeFolder("SUB");
    for (const std::string extension : {"posix-rename", "fsync"}) {
        auto files = connect({"-P", extension});
        FsResult result;
        EXPECT_FALSE(files->createFresh(kTemporary, result));
        EXPECT_EQ(result.status, FsStatus::Unsupported);
        EXPECT_EQ(result.detail, "the server does not offer " + extension + "@openssh.com");
        EXPECT_FALSE(tree.exists("SUB/$BRISKO$.$$$"));
    }
}

TEST_F(SftpFileSystemTest, NamesMatchExactlyThenByTheOneCaseVariant) {
    tree.write("A/one.txt", "1");
    tree.write("A/ONE.TXT", "2");
    tree.write("B/Two.txt", "3");
    auto files = connect();
    EXPECT_EQ(files->stat("R:\\a\\one.txt").entry.name, "one.txt");
    EXPECT_EQ(files->stat("R:\\A\\One.Txt").result.status, FsStatus::Ambiguous);
    EXPECT_EQ(files->stat("R:\\b\\TWO.TXT").entry.name, "Two.txt");
    // A name made through the file system is told to the listings kept.
    ASSERT_TRUE(files->exactNames().createLink("R:\\B\\two.txt", "x").ok());
    EXPECT_EQ(files->stat("R:\\b\\TWO.TXT").result.status, FsStatus::Ambiguous);
    EXPECT_EQ(files->exactNames().stat("R:\\B\\two.txt").entry.linkTarget, "x");
}

TEST(SftpUnreachableTest, LocationThatCannotBeReachedIsADriveThatDoesNotExist) {
    int starts = 0;
    SftpFileSystem files(SftpLocation{"", "nas", 0, "/srv/b"}, [&starts](std::string& why) {
        ++starts;
        why = "ssh: connect to host nas port 22: Connection refused";
        return std::unique_ptr<Client>();
    });
    EXPECT_FALSE(files.driveExists("R:"));
    EXPECT_EQ(
        files.whyNoDrive("R:"),
        "cannot reach sftp://nas/srv/b: ssh: connect to host nas port 22: Connection refused");
    // Never "missing": a copy or a deletion must not follow from it.
    EXPECT_EQ(files.stat("R:\\FILE").result.status, FsStatus::IoError);
    EXPECT_EQ(starts, 1);
}

TEST_F(SftpFileSystemTest, FoldersAreKnownByWhereTheyAreWhateverLinkLeadsThere) {
    tree.makeFolder("REAL");
    std::filesystem::create_directory_symlink("REAL", tree.path("ALIAS"));
    auto files = connect();
    ASSERT_TRUE(files->createFolders("R:\\real\\SUB\\DEEP").ok());
    EXPECT_TRUE(tree.exists("REAL/SUB/DEEP"));
    EXPECT_EQ(files->removeFolder("R:\\REAL\\SUB").status, FsStatus::NotEmpty);
    const auto chain = files->folderChain("R:\\REAL\\SUB\\DEEP");
    ASSERT_GE(chain.size(), 3u);
    EXPECT_EQ(chain[1], files->identityOf("R:\\real\\sub"));
    // The same folder through a location whose own folder is a link.
    SftpFileSystem alias(SftpLocation{"", "localhost", 0, tree.path("ALIAS").string()},
                         [](std::string& why) {
                             Transport transport;
                             transport.arguments = {test::kSftpServer};
                             return Client::connect(transport, why);
                         });
    EXPECT_EQ(alias.identityOf("S:\\SUB"), chain[1]);
    EXPECT_EQ(alias.folderChain("S:\\SUB").front(), chain[1]);
    EXPECT_NE(alias.identityOf("S:\\SUB\\DEEP"), chain[1]);
}

TEST(SftpNamesTest, NameFromTheServerThatCannotBeANameIsRefused) {
    for (const std::string& bad :
         std::vector<std::string>{"", ".", "..", "../x", "a/b", "a\\b", std::string("a\0b", 3)})
        EXPECT_FALSE(whyNotAName(bad).empty()) << bad;
    for (const char* good : {"x", ".hidden", "...", "a b"})
        EXPECT_EQ(whyNotAName(good), "") << good;
}

TEST_F(SftpFileSystemTest, LinkIsKeptAsALinkWithItsOwnStamp) {
    tree.write("FILE", "data");
    auto files = connect();
    ASSERT_TRUE(files->createLink("R:\\LINK", "FILE").ok());
    ASSERT_TRUE(files->setStamp("R:\\LINK", stamp).ok());
    EXPECT_EQ(linkStatus(tree.path("LINK")).st_mtime, timeFromDosStamp(stamp));
    EXPECT_NE(tree.time("FILE"), timeFromDosStamp(stamp));
    const Listing listing = files->list("R:\\");
    ASSERT_EQ(listing.entries.size(), 2u);
    EXPECT_TRUE(listing.entries[1].attributes.link);
    EXPECT_EQ(listing.entries[1].linkTarget, "FILE");
    EXPECT_EQ(listing.entries[1].stamp, stamp);
    FsResult result;
    EXPECT_FALSE(files->openRead("R:\\LINK", result));
    EXPECT_EQ(result.status, FsStatus::Unsupported);
}

TEST_F(SftpFileSystemTest, ServerKilledDuringAWriteFailsTheCopyWithoutAHang) {
    tree.makeFolder("SUB");
    auto files = connect();
    FsResult result;
    auto output = files->createFresh(kTemporary, result);
    ASSERT_TRUE(output) << result.detail;
    ASSERT_TRUE(writeAll(*output, pattern(300'000)).ok());
    killServers();
    FsResult written = writeAll(*output, pattern(3'000'000));
    if (written.ok())
        written = output->flush();
    EXPECT_EQ(written.status, FsStatus::IoError);
    EXPECT_EQ(written.detail.rfind("connection lost: ", 0), 0u) << written.detail;
    const FsResult renamed = files->rename(kTemporary, "R:\\SUB\\FILE");
    EXPECT_EQ(renamed.status, FsStatus::IoError);
    EXPECT_FALSE(tree.exists("SUB/FILE"));
}

TEST_F(SftpFileSystemTest, FullServerDiskIsReportedAsFullAndLeavesNoFile) {
    // The location on a disk of 256 KiB: only root may make one.
    if (mount("brisko-full", tree.root().c_str(), "tmpfs", 0, "size=256k") != 0)
        GTEST_SKIP() << "a small disk needs root";
    struct Unmount {
        std::string folder;
        ~Unmount() { umount2(folder.c_str(), MNT_DETACH); }
    } unmount{tree.root().string()};
    tree.makeFolder("SUB");
    auto files = connect();
    const std::optional<std::int64_t> free = files->freeBytes("R:");
    ASSERT_TRUE(free);
    EXPECT_LE(*free, 256 * 1024);

    FsResult result;
    auto output = files->createFresh(kTemporary, result);
    ASSERT_TRUE(output) << result.detail;
    FsResult written = writeAll(*output, pattern(1'000'000));
    if (written.ok())
        written = output->flush();
    EXPECT_EQ(written.status, FsStatus::NoSpace) << written.detail;
    output->close();
    EXPECT_FALSE(tree.exists("SUB/FILE"));
}

// Sets or clears the immutable flag of a folder: nothing in it may then be made, removed or
// renamed, by root too. False where the file system or the user cannot.
bool setImmutable(const std::filesystem::path& folder, bool immutable) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    int flags = 0;
    bool done = fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = immutable ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = done && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    if (fd >= 0)
        close(fd);
    return done;
}

TEST_F(SftpFileSystemTest, PermissionRefusedByTheServerIsSaidAndChangesNothing) {
    tree.write("SUB/FILE", "old");
    if (!setImmutable(tree.root() / "SUB", true))
        GTEST_SKIP() << "an immutable folder needs root and a file system that keeps the flag";
    struct Release {
        std::filesystem::path folder;
        ~Release() { setImmutable(folder, false); }
    } release{tree.root() / "SUB"};
    auto files = connect();

    FsResult result;
    EXPECT_FALSE(files->createFresh(kTemporary, result));
    EXPECT_EQ(result.status, FsStatus::AccessDenied) << result.detail;
    EXPECT_EQ(files->removeFile("R:\\SUB\\FILE").status, FsStatus::AccessDenied);
    EXPECT_EQ(tree.read("SUB/FILE"), "old");
    EXPECT_FALSE(tree.exists("SUB/$BRISKO$.$$$"));
}

} // namespace
} // namespace brisko::platform::sftp
