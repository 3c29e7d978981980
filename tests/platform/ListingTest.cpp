#include "DriveTree.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace brisko::test {
namespace {

using platform::FsStatus;

class ListingTest : public DriveTreeTest {
protected:
    // The names of a listing's entries and of what it passed over, with the reasons.
    static std::vector<std::string> names(const platform::Listing& listing) {
        std::vector<std::string> result;
        for (const auto& entry : listing.entries)
            result.push_back(entry.name);
        return result;
    }
    struct Skipped {
        std::string name;
        std::string reason;
        bool special;
        bool operator==(const Skipped&) const = default;
    };
    static std::vector<Skipped> skipped(const platform::Listing& listing) {
        std::vector<Skipped> result;
        for (const auto& entry : listing.skipped)
            result.push_back({entry.name, entry.reason, entry.special});
        return result;
    }
    void makeSocket(std::string_view relative) {
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = host(relative);
        ASSERT_LT(path.size(), sizeof address.sun_path);
        path.copy(address.sun_path, path.size());
        ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        close(fd);
    }
};

TEST_F(ListingTest, ReportsFilesAndFoldersWithTheirAttributes) {
    tree.lay({{"b.txt", "12345", 951827696}, {"A.dat", ""}, {".hidden", "h"}, {"Sub/"}});
    chmod(host("A.dat").c_str(), 0444);

    const auto listing = fs.list("C:\\");
    ASSERT_TRUE(listing.result.ok()) << listing.result.detail;
    EXPECT_EQ(names(listing), (std::vector<std::string>{".hidden", "A.dat", "b.txt", "Sub"}));
    EXPECT_TRUE(listing.skipped.empty());
    const auto& hidden = listing.entries[0];
    const auto& readOnly = listing.entries[1];
    const auto& file = listing.entries[2];
    const auto& folder = listing.entries[3];
    EXPECT_TRUE(hidden.attributes.hidden);
    EXPECT_TRUE(readOnly.attributes.readOnly);
    EXPECT_FALSE(file.attributes.readOnly || file.attributes.hidden || file.attributes.directory);
    EXPECT_EQ(file.size, 5);
    EXPECT_EQ(file.stamp, platform::dosStampFromTime(951827696));
    EXPECT_TRUE(folder.attributes.directory);
}

TEST_F(ListingTest, OrdersByUpperCasedNameThenByTheNameItself) {
    for (const char* name : {"b.txt", "Ö.txt", "B.TXT", "ä.txt", "a.txt"})
        tree.write(name, "x");
    const auto listing = fs.list("C:");
    ASSERT_TRUE(listing.result.ok());
    EXPECT_EQ(names(listing),
              (std::vector<std::string>{"a.txt", "B.TXT", "b.txt", "ä.txt", "Ö.txt"}));
}

TEST_F(ListingTest, PassesOverWhatThePathModelCannotCarryAndSaysWhy) {
    tree.write("target.txt", "content");
    tree.write("back\\slash.txt", "b");
    ASSERT_EQ(mkfifo(host("pipe").c_str(), 0644), 0);
    makeSocket("sock");

    const auto listing = fs.list("C:");
    ASSERT_TRUE(listing.result.ok());
    EXPECT_EQ(names(listing), (std::vector<std::string>{"target.txt"}));
    EXPECT_EQ(skipped(listing),
              (std::vector<Skipped>{{"back\\slash.txt", "name contains a backslash", false},
                                    {"pipe", "named pipe", true},
                                    {"sock", "socket", true}}));
}

TEST_F(ListingTest, LinksAreEntriesOfTheirOwnAndNeverFollowed) {
    tree.lay({{"target.txt", "content"}, {"dir/"}});
    const std::string longText = std::string(1000, 'x') + "/" + std::string(2500, 'y');
    const struct {
        const char* name;
        std::string text;
        std::time_t stamp;
    } links[] = {{"to-file", "target.txt", 951827696}, {"to-dir", "dir", 1000000000},
                 {"to-root", "/", 1100000000},         {"dangling", "nowhere", 1200000000},
                 {"loop", "loop", 1300000000},         {".hidden-link", longText, 1400000000}};
    for (const auto& link : links) {
        ASSERT_TRUE(fs.createLink(std::string("C:\\") + link.name, link.text).ok()) << link.name;
        const struct timespec times[2] = {{link.stamp, 0}, {link.stamp, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, host(link.name).c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
    }
    EXPECT_EQ(fs.createLink("C:\\TO-FILE", "other").status, FsStatus::AlreadyExists);

    const auto listing = fs.list("C:");
    ASSERT_TRUE(listing.result.ok());
    EXPECT_TRUE(listing.skipped.empty());
    EXPECT_EQ(listing.entries.size(), std::size(links) + 2);
    for (const auto& link : links) {
        SCOPED_TRACE(link.name);
        const auto listed =
            std::find_if(listing.entries.begin(), listing.entries.end(),
                         [&](const auto& entry) { return entry.name == link.name; });
        ASSERT_NE(listed, listing.entries.end());
        const auto looked = fs.stat(std::string("C:\\") + link.name);
        ASSERT_TRUE(looked.result.ok()) << looked.result.detail;
        for (const platform::DirEntry& entry : {*listed, looked.entry}) {
            EXPECT_TRUE(entry.attributes.link);
            EXPECT_FALSE(entry.attributes.directory || entry.attributes.readOnly);
            EXPECT_EQ(entry.attributes.hidden, link.name[0] == '.');
            EXPECT_EQ(entry.size, 0);
            EXPECT_EQ(entry.stamp, platform::dosStampFromTime(link.stamp));
            EXPECT_EQ(entry.linkTarget, link.text);
        }
    }
}

TEST_F(ListingTest, StatTellsMissingFromUnsupported) {
    tree.lay({{"target.txt", "content"},
              {"dir/"},
              {"to-file", "->target.txt"},
              {"to-dir", "->dir"},
              {"dangling", "->nowhere"}});
    ASSERT_EQ(mkfifo(host("pipe").c_str(), 0644), 0);

    struct Case {
        const char* path;
        FsStatus status;
    };
    for (const Case& c :
         {Case{"C:\\TO-FILE", FsStatus::Ok}, Case{"C:\\DIR", FsStatus::Ok},
          Case{"C:\\TO-DIR", FsStatus::Ok}, Case{"C:\\DANGLING", FsStatus::Ok},
          Case{"C:\\PIPE", FsStatus::Unsupported}, Case{"C:\\ABSENT", FsStatus::NotFound}}) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(fs.stat(c.path).result.status, c.status);
    }
    EXPECT_TRUE(fs.fileExists("C:\\TARGET.TXT"));
    EXPECT_FALSE(fs.folderExists("C:\\TARGET.TXT"));
    EXPECT_TRUE(fs.folderExists("C:\\DIR"));
    EXPECT_FALSE(fs.folderExists("C:\\TO-DIR"));
}

TEST_F(ListingTest, ListingSomethingElseThanAFolderFails) {
    tree.lay({{"file.txt", "x"}, {"dir/"}, {"to-dir", "->dir"}});
    EXPECT_EQ(fs.list("C:\\FILE.TXT").result.status, FsStatus::NotAFolder);
    EXPECT_EQ(fs.list("C:\\TO-DIR").result.status, FsStatus::Unsupported);
    EXPECT_EQ(fs.list("C:\\ABSENT").result.status, FsStatus::NotFound);
}

TEST_F(ListingTest, SizesBeyondFourGigabytesAreKept) {
    constexpr std::int64_t kSize = (std::int64_t{5} << 30) + 3;
    tree.write("big.bin", "");
    ASSERT_EQ(truncate(host("big.bin").c_str(), kSize), 0); // sparse: takes no space
    EXPECT_EQ(fs.stat("C:\\BIG.BIN").entry.size, kSize);
    EXPECT_EQ(fs.list("C:").entries.at(0).size, kSize);
    platform::FsResult result;
    auto in = fs.openRead("C:\\BIG.BIN", result);
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(in->size(), kSize);
}

} // namespace
} // namespace brisko::test
