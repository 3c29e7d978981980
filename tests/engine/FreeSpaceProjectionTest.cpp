#include "engine/FreeSpaceProjection.h"

#include "support/MappedTree.h"

#include <gtest/gtest.h>
#include <vector>

namespace brisko::engine {
namespace {

class FreeSpaceProjectionTest : public ::testing::Test {
protected:
    test::MappedTree tree;
    std::unique_ptr<platform::FileSystem> hostFiles = tree.hostFileSystem();
    platform::FileSystem& fileSystem = *hostFiles;
    FreeSpaceProjection projection{fileSystem};
};

TEST_F(FreeSpaceProjectionTest, NewDriveStartsAtItsFreeBytes) {
    projection.adjust("C:", 0, true);
    ASSERT_EQ(projection.entries().size(), 1u);
    const std::int64_t start = projection.entries()[0].projected;
    EXPECT_GT(start, 0);
    EXPECT_EQ(projection.entries()[0].lowest, 0);

    projection.adjust("C:", 1000, true);
    projection.adjust("C:", 300, false);
    EXPECT_EQ(projection.entries()[0].projected, start + 700);
    EXPECT_EQ(projection.entries()[0].lowest, 0); // never below zero so far
    EXPECT_TRUE(projection.shortDrives().empty());

    projection.adjust("C:", start + 1700, false); // 1,000 bytes short
    EXPECT_EQ(projection.entries()[0].projected, -1000);
    EXPECT_EQ(projection.entries()[0].lowest, -1000);
    const std::vector<ShortDrive> shortOnes = projection.shortDrives();
    ASSERT_EQ(shortOnes.size(), 1u);
    EXPECT_EQ(shortOnes[0].drive, "C:");
    EXPECT_EQ(shortOnes[0].lowestBalance, -1000);
}

TEST_F(FreeSpaceProjectionTest, DriveThatDoesNotExistHasNoFreeSpace) {
    projection.adjust("X:", 1, false);
    ASSERT_EQ(projection.entries().size(), 1u);
    EXPECT_EQ(projection.entries()[0].projected, -1);
    EXPECT_EQ(projection.entries()[0].lowest, -1);

    projection.adjust("Y:", 500, true); // credits alone never make a drive short
    EXPECT_EQ(projection.entries()[1].projected, 500);
    ASSERT_EQ(projection.shortDrives().size(), 1u);
    EXPECT_EQ(projection.shortDrives()[0].drive, "X:");
}

TEST_F(FreeSpaceProjectionTest, LowestBalanceStaysAfterLaterCredits) {
    projection.adjust("X:", 800, false);
    projection.adjust("X:", 300, true);
    projection.adjust("X:", 100, false);
    EXPECT_EQ(projection.entries()[0].projected, -600);
    EXPECT_EQ(projection.entries()[0].lowest, -800);

    projection.adjust("X:", 5000, true); // back above zero: no longer short
    EXPECT_TRUE(projection.shortDrives().empty());
    EXPECT_EQ(projection.entries()[0].lowest, -800);
}

TEST_F(FreeSpaceProjectionTest, ShortDrivesInOrderOfFirstUse) {
    projection.adjust("Y:", 10, false);
    projection.adjust("C:", 10, false);
    projection.adjust("X:", 20, false);
    projection.adjust("Y:", 5, false);
    const std::vector<ShortDrive> shortOnes = projection.shortDrives();
    ASSERT_EQ(shortOnes.size(), 2u);
    EXPECT_EQ(shortOnes[0].drive, "Y:");
    EXPECT_EQ(shortOnes[0].lowestBalance, -15);
    EXPECT_EQ(shortOnes[1].drive, "X:");
    EXPECT_EQ(shortOnes[1].lowestBalance, -20);
}

TEST_F(FreeSpaceProjectionTest, LetterCaseNamesOneDrive) {
    projection.adjust("c:", 0, true);
    const std::int64_t start = projection.entries()[0].projected;
    EXPECT_GT(start, 0); // the lower-case letter finds the mapped drive
    projection.adjust("C:", 100, false);
    ASSERT_EQ(projection.entries().size(), 1u); // its free space is not counted twice
    EXPECT_EQ(projection.entries()[0].drive, "C:");
    EXPECT_EQ(projection.entries()[0].projected, start - 100);
}

} // namespace
} // namespace brisko::engine
