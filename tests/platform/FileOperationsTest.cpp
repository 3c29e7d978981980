#include "DriveTree.h"

#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace brisko::test {
namespace {

using platform::FsStatus;

class FileOperationsTest : public DriveTreeTest {
protected:
    // Writes text into a new file through the file system under test.
    platform::FsResult writeFresh(std::string_view path, std::string_view text) {
        platform::FsResult result;
        auto out = fs.createFresh(path, result);
        if (!out)
            return result;
        if (auto written = out->write(reinterpret_cast<const std::byte*>(text.data()), text.size());
            !written.ok())
            return written;
        if (auto flushed = out->flush(); !flushed.ok())
            return flushed;
        return out->close();
    }
    // Reads a whole file through the file system under test.
    std::string readThrough(std::string_view path) {
        platform::FsResult result;
        auto in = fs.openRead(path, result);
        if (!in)
            return "<" + platform::describe(result.status) + ">";
        std::string text;
        std::byte buffer[3];
        for (std::int64_t n; (n = in->read(buffer, sizeof buffer)) > 0;)
            text.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(n));
        return text;
    }
};

TEST_F(FileOperationsTest, WritesAndReadsFiles) {
    tree.makeFolder("Out");
    ASSERT_TRUE(writeFresh("C:\\OUT\\New.txt", "hello world").ok());
    EXPECT_EQ(tree.read("Out/New.txt"), "hello world");
    EXPECT_EQ(readThrough("C:\\out\\new.TXT"), "hello world");
    ASSERT_TRUE(writeFresh("C:\\OUT\\NEW.TXT", "replaced").ok()); // keeps the name on disk
    EXPECT_EQ(tree.listing(), (TreeListing{{"Out/New.txt", "replaced"}}));
    EXPECT_EQ(writeFresh("C:\\MISSING\\NEW.TXT", "x").status, FsStatus::NotFound);
}

TEST_F(FileOperationsTest, ReplacingAFileLeavesItsOtherLinksAlone) {
    tree.write("data.txt", "old");
    ASSERT_TRUE(fs.link("C:\\DATA.TXT", "C:\\data.bak").ok());
    ASSERT_TRUE(writeFresh("C:\\DATA.TXT", "new").ok());
    EXPECT_EQ(tree.listing(), (TreeListing{{"data.txt", "new"}, {"data.bak", "old"}}));
    EXPECT_EQ(fs.link("C:\\DATA.TXT", "C:\\DATA.BAK").status, FsStatus::AlreadyExists);
}

TEST_F(FileOperationsTest, CreateFreshRefusesAnythingButARegularFile) {
    tree.lay({{"outside.txt", "precious"},
              {"tree/folder/"},
              {"tree/planted", "->" + host("outside.txt")},
              {"tree/dangling", "->" + host("nowhere.txt")}});
    ASSERT_EQ(mkfifo(host("tree/pipe").c_str(), 0644), 0);

    struct Case {
        const char* path;
        FsStatus status;
    };
    for (const Case& c : {Case{"C:\\TREE\\PLANTED", FsStatus::Unsupported},
                          Case{"C:\\TREE\\DANGLING", FsStatus::Unsupported},
                          Case{"C:\\TREE\\PIPE", FsStatus::Unsupported},
                          Case{"C:\\TREE\\FOLDER", FsStatus::NotAFolder}}) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(writeFresh(c.path, "overwritten").status, c.status);
    }
    EXPECT_EQ(tree.read("outside.txt"), "precious");
    EXPECT_FALSE(tree.exists("nowhere.txt"));
    EXPECT_EQ(std::filesystem::read_symlink(host("tree/planted")), host("outside.txt"));
}

TEST_F(FileOperationsTest, OpenReadRefusesWhatIsNotAFile) {
    tree.lay({{"folder/"}, {"target.txt", "x"}, {"link", "->target.txt"}});
    ASSERT_EQ(mkfifo(host("pipe").c_str(), 0644), 0); // must not wait for a writer
    EXPECT_EQ(readThrough("C:\\FOLDER"), "<" + platform::describe(FsStatus::NotAFolder) + ">");
    EXPECT_EQ(readThrough("C:\\PIPE"), "<" + platform::describe(FsStatus::Unsupported) + ">");
    EXPECT_EQ(readThrough("C:\\ABSENT"), "<" + platform::describe(FsStatus::NotFound) + ">");
    EXPECT_EQ(readThrough("C:\\link"), "<" + platform::describe(FsStatus::Unsupported) + ">");
    platform::FsResult result;
    EXPECT_NE(fs.openRead("C:\\LINK", result, platform::LinkPolicy::Follow), nullptr);
}

TEST_F(FileOperationsTest, RenameReplacesInOneStep) {
    tree.lay({{"a.tmp", "new"}, {"Target.txt", "old"}});
    ASSERT_TRUE(fs.rename("C:\\A.TMP", "C:\\TARGET.TXT").ok());
    EXPECT_EQ(tree.listing(), (TreeListing{{"Target.txt", "new"}}));
    EXPECT_EQ(fs.rename("C:\\A.TMP", "C:\\B.TXT").status, FsStatus::NotFound);
}

TEST_F(FileOperationsTest, RenameCanChangeOnlyTheCase) {
    tree.write("name.txt", "x");
    ASSERT_TRUE(fs.rename("C:\\name.txt", "C:\\NAME.TXT").ok());
    EXPECT_EQ(tree.listing(), (TreeListing{{"NAME.TXT", "x"}}));
}

TEST_F(FileOperationsTest, CreateFoldersFollowsExistingFoldersOfAnyCase) {
    tree.lay({{"Data/"}, {"file", "x"}});
    ASSERT_TRUE(fs.createFolders("C:\\DATA\\New\\Deep").ok());
    EXPECT_EQ(tree.listing(), (TreeListing{{"Data/New/Deep/", ""}, {"file", "x"}}));
    EXPECT_TRUE(fs.createFolders("C:\\data\\NEW").ok()); // already there
    EXPECT_EQ(fs.createFolders("C:\\FILE").status, FsStatus::NotAFolder);
    EXPECT_EQ(fs.createFolders("C:\\FILE\\SUB").status, FsStatus::NotFound);
}

TEST_F(FileOperationsTest, RemovesFilesAndEmptyFolders) {
    tree.lay({{"full/file.txt", "x"}, {"empty/"}});
    EXPECT_EQ(fs.removeFolder("C:\\FULL").status, FsStatus::NotEmpty);
    EXPECT_EQ(fs.removeFolder("C:\\FULL\\FILE.TXT").status, FsStatus::NotAFolder);
    EXPECT_EQ(fs.removeFile("C:\\FULL").status, FsStatus::NotAFolder);
    EXPECT_TRUE(fs.removeFile("C:\\FULL\\FILE.TXT").ok());
    EXPECT_TRUE(fs.removeFolder("C:\\FULL").ok());
    EXPECT_TRUE(fs.removeFolder("C:\\EMPTY").ok());
    EXPECT_EQ(fs.removeFolder("C:\\EMPTY").status, FsStatus::NotFound);
    EXPECT_TRUE(fs.list("C:").entries.empty());
}

TEST_F(FileOperationsTest, RemovingALinkLeavesItsTarget) {
    tree.lay({{"target.txt", "x"}, {"link", "->target.txt"}});
    ASSERT_TRUE(fs.removeFile("C:\\LINK").ok());
    EXPECT_EQ(tree.listing(), (TreeListing{{"target.txt", "x"}}));
}

TEST_F(FileOperationsTest, AttributesAreThePermissionBits) {
    tree.lay({{"file.txt", "x"}, {"other.txt", "y"}});
    chmod(host("file.txt").c_str(), 0664);
    ASSERT_TRUE(fs.setReadOnly("C:\\FILE.TXT", true).ok());
    EXPECT_EQ(mode("file.txt"), 0444u);
    EXPECT_TRUE(fs.stat("C:\\FILE.TXT").entry.attributes.readOnly);
    ASSERT_TRUE(fs.clearAttributes("C:\\FILE.TXT").ok());
    EXPECT_EQ(mode("file.txt"), 0644u);
    EXPECT_FALSE(fs.stat("C:\\FILE.TXT").entry.attributes.readOnly);

    chmod(host("file.txt").c_str(), 04750);
    ASSERT_TRUE(fs.copyAttributes("C:\\FILE.TXT", "C:\\OTHER.TXT").ok());
    EXPECT_EQ(mode("other.txt"), 0750u); // set-user-ID is not carried over
    EXPECT_EQ(fs.setReadOnly("C:\\ABSENT", true).status, FsStatus::NotFound);
}

TEST_F(FileOperationsTest, NothingIsChangedThroughALink) {
    // Both spellings: a name found as written takes a shorter way through the file system.
    TempTree outside;
    outside.write("secret.txt", "x");
    outside.makeFolder("dir");
    const std::string secret = outside.path("secret.txt").string();
    const std::string folder = outside.path("dir").string();
    chmod(secret.c_str(), 0440);
    chmod(folder.c_str(), 0550);
    tree.lay({{"other.txt", "y"}, {"to-file", "->" + secret}, {"to-dir", "->" + folder}});
    chmod(host("other.txt").c_str(), 0600);
    struct stat before {};
    ASSERT_EQ(::stat(secret.c_str(), &before), 0);

    constexpr platform::DosStamp kStamp = 0x285D645Cu; // 2000-02-29 12:34:56
    for (const std::string link : {"to-file", "TO-FILE", "to-dir", "TO-DIR"}) {
        SCOPED_TRACE(link);
        const std::string path = "C:\\" + link;
        EXPECT_TRUE(fs.clearAttributes(path).ok());
        EXPECT_TRUE(fs.setReadOnly(path, false).ok());
        EXPECT_TRUE(fs.copyAttributes("C:\\OTHER.TXT", path).ok());
        EXPECT_TRUE(fs.copyAttributes(path, "C:\\OTHER.TXT").ok());
        ASSERT_TRUE(fs.setStamp(path, kStamp).ok());
        EXPECT_EQ(fs.stat(path).entry.stamp, kStamp); // the link's own stamp
    }
    struct stat after {};
    ASSERT_EQ(::stat(secret.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode & 07777, 0440u);
    EXPECT_EQ(after.st_mtime, before.st_mtime);
    EXPECT_EQ(mode("other.txt"), 0600u);
    struct stat folderInfo {};
    ASSERT_EQ(::stat(folder.c_str(), &folderInfo), 0);
    EXPECT_EQ(folderInfo.st_mode & 07777, 0550u);
    chmod(folder.c_str(), 0750);
}

// A folder on the way that is a link (say one swapped in after a scan) is never gone through:
// every operation below it fails and leaves the folder it points to as it was.
TEST_F(FileOperationsTest, NothingIsDoneThroughALinkOnTheWay) {
    tree.lay({{"outside/file.txt", "precious"},
              {"outside/inner/"},
              {"mine.txt", "mine"},
              {"tree/hop", "->" + host("outside")}});
    const TreeListing before = tree.listing("outside");
    const unsigned modeBefore = mode("outside/file.txt");
    const std::time_t timeBefore = tree.time("outside/file.txt");
    using Operation = std::function<platform::FsResult(const std::string& hop)>;
    auto failureOf = [&](std::unique_ptr<platform::InputFile> file, platform::FsResult result) {
        return file ? platform::FsResult::success() : result;
    };
    const std::pair<const char*, Operation> operations[] = {
        {"removeFile", [&](const std::string& hop) { return fs.removeFile(hop + "\\FILE.TXT"); }},
        {"rename from",
         [&](const std::string& hop) { return fs.rename(hop + "\\FILE.TXT", "C:\\MOVED.TXT"); }},
        {"rename to",
         [&](const std::string& hop) { return fs.rename("C:\\MINE.TXT", hop + "\\FILE.TXT"); }},
        {"createFresh", [&](const std::string& hop) { return writeFresh(hop + "\\NEW.TXT", "x"); }},
        {"createFolders",
         [&](const std::string& hop) { return fs.createFolders(hop + "\\NEW\\DEEP"); }},
        {"removeFolder", [&](const std::string& hop) { return fs.removeFolder(hop + "\\INNER"); }},
        {"setStamp",
         [&](const std::string& hop) { return fs.setStamp(hop + "\\FILE.TXT", 0x285D645Cu); }},
        {"setReadOnly",
         [&](const std::string& hop) { return fs.setReadOnly(hop + "\\FILE.TXT", true); }},
        {"copyAttributes",
         [&](const std::string& hop) {
             return fs.copyAttributes("C:\\MINE.TXT", hop + "\\FILE.TXT");
         }},
        {"list", [&](const std::string& hop) { return fs.list(hop + "\\INNER").result; }},
        {"stat", [&](const std::string& hop) { return fs.stat(hop + "\\FILE.TXT").result; }},
        {"openRead",
         [&](const std::string& hop) {
             platform::FsResult result;
             auto file = fs.openRead(hop + "\\FILE.TXT", result);
             return failureOf(std::move(file), result);
         }},
        {"link from",
         [&](const std::string& hop) { return fs.link(hop + "\\FILE.TXT", "C:\\SECOND.TXT"); }},
        {"link to",
         [&](const std::string& hop) { return fs.link("C:\\MINE.TXT", hop + "\\SECOND.TXT"); }},
        {"createLink",
         [&](const std::string& hop) { return fs.createLink(hop + "\\LINK", "file.txt"); }},
        {"flushFolder", [&](const std::string& hop) { return fs.flushFolder(hop + "\\INNER"); }},
    };
    // As written, and in another case (matched through the listings first).
    for (const std::string hop : {"C:\\tree\\hop", "C:\\TREE\\HOP"}) {
        for (const auto& [title, operation] : operations) {
            SCOPED_TRACE(hop + " " + title);
            const platform::FsResult result = operation(hop);
            EXPECT_EQ(result.status, FsStatus::Unsupported);
            EXPECT_EQ(result.detail, "a symbolic link is on the way");
        }
        EXPECT_EQ(fs.identityOf(hop + "\\FILE.TXT"), std::nullopt);
    }
    EXPECT_EQ(tree.listing("outside"), before);
    EXPECT_EQ(mode("outside/file.txt"), modeBefore);
    EXPECT_EQ(tree.time("outside/file.txt"), timeBefore);
    EXPECT_EQ(tree.listing(), (TreeListing{{"mine.txt", "mine"},
                                           {"outside/file.txt", "precious"},
                                           {"outside/inner/", ""},
                                           {"tree/hop", "->" + host("outside")}}));
}

TEST_F(FileOperationsTest, ALiveTemporaryFileIsNeverReplaced) {
    platform::FsResult result;
    auto first = fs.createFresh("C:\\copy.tmp", result);
    ASSERT_NE(first, nullptr) << result.detail;
    EXPECT_EQ(first->identity(), fs.identityOf("C:\\COPY.TMP"));
    EXPECT_EQ(fs.createFresh("C:\\COPY.TMP", result), nullptr);
    EXPECT_EQ(result.status, FsStatus::InUse);
    EXPECT_EQ(first->identity(), fs.identityOf("C:\\COPY.TMP")); // left alone

    ASSERT_TRUE(first->close().ok());
    auto second = fs.createFresh("C:\\COPY.TMP", result);
    ASSERT_NE(second, nullptr) << result.detail; // a leftover without a holder is replaced
    EXPECT_EQ(second->identity(), fs.identityOf("C:\\copy.tmp"));
}

class StampRoundTripTest : public FileOperationsTest,
                           public ::testing::WithParamInterface<platform::DosStamp> {};

TEST_P(StampRoundTripTest, StampWrittenIsStampRead) {
    tree.write("file.txt", "x");
    ASSERT_TRUE(fs.setStamp("C:\\FILE.TXT", GetParam()).ok());
    EXPECT_EQ(fs.stat("C:\\FILE.TXT").entry.stamp, GetParam());
    struct stat info {};
    ASSERT_EQ(::stat(host("file.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mtime, platform::timeFromDosStamp(GetParam()));
    EXPECT_EQ(info.st_atime, info.st_mtime);
}

INSTANTIATE_TEST_SUITE_P(Stamps, StampRoundTripTest,
                         ::testing::Values(0x00210000u,   // 1980-01-01 00:00:00
                                           0x285D645Cu,   // 2000-02-29 12:34:56
                                           0x5A8F7C0Fu,   // 2025-04-15 15:32:30
                                           0xFF9FBF7Du)); // 2107-12-31 23:59:58

// Copies a whole file step by step through copyFrom, as a copy does; "<status>" on a failure.
std::string copyThrough(platform::FileSystem& fs, std::string_view from, std::string_view to) {
    platform::FsResult result;
    auto in = fs.openRead(from, result);
    auto out = in ? fs.createFresh(to, result) : nullptr;
    if (!out)
        return "<" + platform::describe(result.status) + ">";
    std::vector<std::byte> buffer(65536);
    for (;;) {
        const platform::CopyStep step = out->copyFrom(*in, buffer);
        if (!step.readFailure.ok() || !step.writeFailure.ok())
            return "<failed>";
        if (step.count == 0)
            break;
    }
    return out->close().ok() ? std::string() : "<close failed>";
}

TEST_F(FileOperationsTest, CopiesWholeFilesStepByStep) {
    std::string large(300001, '\0');
    for (std::size_t i = 0; i < large.size(); ++i)
        large[i] = static_cast<char>(i * 7919 % 251);
    tree.lay({{"large.bin", large}, {"empty.txt", ""}});
    // A file of /proc gives text although its size says nothing is there.
    std::ifstream version("/proc/version");
    const std::string kernelText((std::istreambuf_iterator<char>(version)), {});

    const struct {
        std::string from;
        std::string expected;
    } cases[] = {{"C:\\LARGE.BIN", large}, {"C:\\EMPTY.TXT", ""}, {"/proc/version", kernelText}};
    for (const auto& c : cases) {
        EXPECT_EQ(copyThrough(fs, c.from, "C:\\copy.out"), "") << c.from;
        EXPECT_EQ(tree.read("copy.out"), c.expected) << c.from;
    }
    EXPECT_FALSE(kernelText.empty());
}

TEST_F(FileOperationsTest, FlushesAndForgetsCachedPages) {
    tree.write("Sub/file.txt", "x");
    EXPECT_TRUE(fs.flushFolder("C:\\SUB").ok());
    fs.dropCache("C:\\SUB\\FILE.TXT");
    EXPECT_EQ(fs.flushFolder("C:\\NONE").status, FsStatus::NotFound);
}

} // namespace
} // namespace brisko::test
