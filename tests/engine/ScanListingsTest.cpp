#include "ScanFixture.h"
#include "engine/ListingCache.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace brisko::engine::test {
namespace {

using Lines = std::vector<std::string>;

class ScanListingsTest : public ScanFixture {
protected:
    std::size_t entriesOf(ListingCache& cache, const std::string& folder) {
        platform::Listing listing = cache.list(folder);
        const std::size_t count = listing.entries.size();
        cache.handBack(folder, std::move(listing));
        return count;
    }
};

TEST_F(ScanListingsTest, AKeptListingIsHandedOutOnceThenTheDiskIsReadAgain) {
    lay({{"left/DATA/A.TXT", "a"}});
    ListingCache cache(fileSystem);
    cache.setKeeping(true);
    EXPECT_EQ(entriesOf(cache, "L:\\DATA"), 1u);
    cache.setKeeping(false);
    std::filesystem::remove(tree.path("left/DATA/A.TXT"));
    EXPECT_EQ(entriesOf(cache, "L:\\DATA"), 1u); // the first pass's listing
    EXPECT_EQ(entriesOf(cache, "L:\\DATA"), 0u); // read afresh
}

// Everything a listing says of an entry, on one line.
std::string described(const platform::DirEntry& entry) {
    const platform::FileAttributes& a = entry.attributes;
    return entry.name + "|" + std::to_string(entry.size) + "|" + std::to_string(entry.stamp) + "|" +
           entry.linkTarget + "|" + std::to_string(a.directory) + std::to_string(a.readOnly) +
           std::to_string(a.hidden) + std::to_string(a.link) + std::to_string(a.system) +
           std::to_string(a.archive) + "|" +
           (a.directory ? std::to_string(entry.identity.inode) : "");
}

Lines described(const platform::Listing& listing) {
    Lines lines;
    for (const platform::DirEntry& entry : listing.entries)
        lines.push_back(described(entry));
    for (const platform::SkippedEntry& skipped : listing.skipped)
        lines.push_back(skipped.name + "|" + skipped.reason);
    return lines;
}

TEST_F(ScanListingsTest, AKeptListingSaysWhatTheDiskSaid) {
    lay({{"left/DATA/a long name of a file.txt", "abc", kNow - 60},
         {"left/DATA/.hidden", ""},
         {"left/DATA/SUB/X.TXT", "x"}});
    std::filesystem::permissions(tree.path("left/DATA/.hidden"),
                                 std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    const bool links = brisko::test::hostMakesSymlinks();
    if (links)
        std::filesystem::create_symlink("SUB/X.TXT", tree.path("left/DATA/link"));
    ListingCache cache(fileSystem);
    cache.setKeeping(true);
    platform::Listing fresh = cache.list("L:\\DATA");
    const Lines expected = described(fresh);
    ASSERT_EQ(expected.size(), links ? 4u : 3u);
    cache.handBack("L:\\DATA", std::move(fresh));
    EXPECT_EQ(described(cache.list("L:\\DATA")), expected);
}

TEST_F(ScanListingsTest, NothingIsKeptUnlessAskedOrAfterTheFolderChanged) {
    lay({{"left/DATA/A.TXT", "a"}});
    ListingCache cache(fileSystem);
    EXPECT_EQ(entriesOf(cache, "L:\\DATA"), 1u);
    cache.setKeeping(true);
    cache.forget("L:\\DATA");
    EXPECT_EQ(entriesOf(cache, "L:\\DATA"), 1u);
    std::filesystem::remove(tree.path("left/DATA/A.TXT"));
    EXPECT_EQ(entriesOf(cache, "L:\\DATA"), 0u);
}

TEST_F(ScanListingsTest, TheSecondPassSeesAStampWrittenByTheFirst) {
    lay({{"left/DATA/A.TXT", "future", kNow + 600}, {"right/DATA/A.TXT", "target", kNow + 60}});
    operatorPort.answers = {DialogAnswer::Yes};
    execute(script::UpdateMode::Update);
    // The left file now carries the clock's time, earlier than the right one: the second pass
    // copies back without asking about a future stamp again.
    EXPECT_EQ(operatorPort.questions.size(), 1u);
    EXPECT_EQ(copies(),
              (Lines{"L:\\DATA\\A.TXT > R:\\DATA\\A.TXT", "R:\\DATA\\A.TXT > L:\\DATA\\A.TXT"}));
}

} // namespace
} // namespace brisko::engine::test
