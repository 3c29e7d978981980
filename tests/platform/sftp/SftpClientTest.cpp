#include "SftpServer.h"
#include "support/TempTree.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <sys/stat.h>

namespace brisko::platform::sftp {
namespace {

using test::TempTree;
namespace fs = std::filesystem;

class SftpClientTest : public ::testing::Test {
protected:
    std::string remote(std::string_view relative) const {
        return test::utf8Of(tree.path(relative));
    }
    static Attributes withPermissions(std::uint32_t permissions) {
        Attributes attributes;
        attributes.permissions = permissions;
        return attributes;
    }

    TempTree tree;
    std::unique_ptr<Client> client = test::connectToServer();
};

TEST_F(SftpClientTest, WritesAFileWithManyRequestsInFlightAndReadsItBack) {
    ASSERT_TRUE(client);
    EXPECT_GT(client->limits().maxWrite, 0u);
    const std::uint32_t fresh = open_flags::kWrite | open_flags::kCreate | open_flags::kExclusive;
    auto handle = client->open(remote("new.bin"), fresh, withPermissions(0600)).get();
    ASSERT_TRUE(handle.ok()) << handle.error->message;
    const auto again = client->open(remote("new.bin"), fresh, {}).get();
    ASSERT_FALSE(again.ok());
    EXPECT_FALSE(again.error->lost);

    constexpr std::size_t kChunk = 4096, kChunks = 64;
    std::vector<std::byte> content(kChunk * kChunks);
    for (std::size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<std::byte>(i * 7 + i / 251);
    std::vector<std::future<Outcome<Done>>> writes;
    for (std::size_t i = 0; i < kChunks; ++i)
        writes.push_back(client->write(handle.value, i * kChunk,
                                       std::span(content).subspan(i * kChunk, kChunk)));
    Attributes stamp;
    stamp.modifyTime = 1'000'000'000;
    auto synced = client->fsync(handle.value);
    auto stamped = client->fsetstat(handle.value, stamp);
    auto closed = client->close(handle.value);
    for (auto& write : writes)
        EXPECT_TRUE(write.get().ok());
    EXPECT_TRUE(synced.get().ok());
    EXPECT_TRUE(stamped.get().ok());
    EXPECT_TRUE(closed.get().ok());

    const auto attributes = client->lstat(remote("new.bin")).get();
    ASSERT_TRUE(attributes.ok());
    EXPECT_EQ(attributes.value.size, content.size());
    EXPECT_EQ(attributes.value.modifyTime, 1'000'000'000u);
    EXPECT_EQ(*attributes.value.permissions & 07777, 0600u);

    auto reading = client->open(remote("new.bin"), open_flags::kRead, {}).get();
    ASSERT_TRUE(reading.ok());
    auto head = client->read(reading.value, 0, 10000);
    auto end = client->read(reading.value, content.size(), 10000);
    const auto data = head.get();
    ASSERT_TRUE(data.ok());
    EXPECT_TRUE(std::equal(data.value.begin(), data.value.end(), content.begin()));
    EXPECT_EQ(data.value.size(), 10000u);
    EXPECT_TRUE(end.get().value.empty());
    EXPECT_TRUE(client->close(reading.value).get().ok());
}

TEST_F(SftpClientTest, ListsLargeFoldersWhole) {
    ASSERT_TRUE(client);
    std::set<std::string> expected{".", ".."};
    for (int i = 0; i < 150; ++i) {
        const std::string name = "file" + std::to_string(i);
        tree.write("many/" + name, "x");
        expected.insert(name);
    }
    const auto listing = client->listFolder(remote("many"));
    ASSERT_TRUE(listing.ok());
    std::set<std::string> names;
    for (const NameEntry& entry : listing.value)
        names.insert(entry.name);
    EXPECT_EQ(names, expected);
    EXPECT_EQ(listing.value.size(), expected.size());
    const auto missing = client->listFolder(remote("nowhere"));
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error->code, Code::NoSuchFile);
}

TEST_F(SftpClientTest, RenamesLinksAndFoldersAsTheSystemDoes) {
    ASSERT_TRUE(client);
    tree.write("fresh", "new content");
    tree.write("target", "old content");
    EXPECT_TRUE(client->posixRename(remote("fresh"), remote("target")).get().ok());
    EXPECT_EQ(tree.read("target"), "new content");
    EXPECT_FALSE(tree.exists("fresh"));

    EXPECT_TRUE(client->hardlink(remote("target"), remote("second")).get().ok());
    EXPECT_EQ(fs::hard_link_count(tree.path("target")), 2u);

    EXPECT_TRUE(client->symlink(remote("link"), "some/target text").get().ok());
    EXPECT_EQ(fs::read_symlink(tree.path("link")), "some/target text");
    EXPECT_EQ(client->readlink(remote("link")).get().value, "some/target text");
    const auto link = client->lstat(remote("link")).get();
    ASSERT_TRUE(link.ok());
    EXPECT_TRUE(S_ISLNK(*link.value.permissions));

    const auto space = client->statvfs(remote("")).get();
    ASSERT_TRUE(space.ok());
    EXPECT_GT(space.value.blocks, 0u);
    EXPECT_GT(space.value.blockSize, 0u);

    EXPECT_TRUE(client->mkdir(remote("folder"), withPermissions(0700)).get().ok());
    EXPECT_TRUE(fs::is_directory(tree.path("folder")));
    EXPECT_FALSE(client->mkdir(remote("folder"), {}).get().ok());
    EXPECT_TRUE(client->rmdir(remote("folder")).get().ok());
    EXPECT_TRUE(client->remove(remote("second")).get().ok());
    EXPECT_FALSE(tree.exists("folder"));
    EXPECT_FALSE(tree.exists("second"));
    const auto gone = client->remove(remote("second")).get();
    ASSERT_FALSE(gone.ok());
    EXPECT_EQ(gone.error->code, Code::NoSuchFile);
    EXPECT_FALSE(gone.error->lost);
}

TEST_F(SftpClientTest, AnExtensionTheServerRefusesIsNeverAsked) {
    // The server leaves a refused extension out of the ones it announces.
    const auto refusing = test::connectToServer({"-P", "posix-rename"});
    ASSERT_TRUE(refusing);
    EXPECT_FALSE(refusing->hasExtension("posix-rename@openssh.com", "1"));
    EXPECT_TRUE(refusing->hasExtension("fsync@openssh.com", "1"));
    tree.write("from", "x");
    auto renaming = refusing->posixRename(remote("from"), remote("to"));
    ASSERT_EQ(renaming.wait_for(std::chrono::seconds(0)), std::future_status::ready);
    const auto renamed = renaming.get();
    ASSERT_FALSE(renamed.ok());
    EXPECT_EQ(renamed.error->code, Code::OpUnsupported);
    EXPECT_FALSE(renamed.error->lost);
    EXPECT_TRUE(refusing->alive());
    EXPECT_TRUE(refusing->lstat(remote("from")).get().ok());
    EXPECT_TRUE(tree.exists("from"));
}

} // namespace
} // namespace brisko::platform::sftp
