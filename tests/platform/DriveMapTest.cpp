#include "platform/DriveMap.h"

#include "platform/Environment.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace brisko::platform {
namespace {

TEST(DriveMapTest, ZIsTheHostRootWhileNothingIsMapped) {
    DriveMap drives("/home/me");
    EXPECT_EQ(drives.hostFolder('Z'), "/");
    EXPECT_EQ(drives.hostFolder('z'), "/");
    EXPECT_EQ(drives.hostFolder('C'), std::nullopt);
    ASSERT_TRUE(drives.addEntry("C=/srv/data"));
    EXPECT_EQ(drives.hostFolder('Z'), std::nullopt);
}

TEST(DriveMapTest, ReadsTheEnvironmentList) {
    DriveMap drives("/home/me");
    ASSERT_TRUE(drives.addEntries(" C=/srv/data ; f=/media/backup/;;G:=relative/dir;"));
    EXPECT_EQ(drives.hostFolder('c'), "/srv/data");
    EXPECT_EQ(drives.hostFolder('F'), "/media/backup");
    EXPECT_EQ(drives.hostFolder('G'), "/home/me/relative/dir");
    EXPECT_EQ(drives.hostFolder('D'), std::nullopt);
    EXPECT_EQ(drives.entries().size(), 3u);
}

TEST(DriveMapTest, LaterEntriesOverrideEarlierOnes) {
    DriveMap drives("/start");
    ASSERT_TRUE(drives.addEntries("C=/one;D=/two"));
    ASSERT_TRUE(drives.addEntry("c=../up"));
    EXPECT_EQ(drives.hostFolder('C'), "/up");
    EXPECT_EQ(drives.hostFolder('D'), "/two");
}

TEST(DriveMapTest, SharesAreDrivesOfTheirOwnIgnoringCase) {
    DriveMap drives("/start");
    ASSERT_TRUE(drives.addShareEntries("\\\\NAS\\Backup=/mnt/nas; \\\\srv\\b=rel"));
    ASSERT_TRUE(drives.addShareEntry("\\\\SRV\\B=/other"));
    EXPECT_EQ(drives.folderOfDrive("\\\\nas\\BACKUP\\D"), "/mnt/nas");
    EXPECT_EQ(drives.folderOfDrive("\\\\srv\\b"), "/other");
    EXPECT_EQ(drives.folderOfDrive("\\\\NAS\\OTHER"), std::nullopt);
    EXPECT_EQ(drives.folderOfDrive("Z:\\X"), "/"); // shares map no letter
    for (const std::string_view bad : {"\\\\NAS=/x", "NAS\\B=/x", "\\\\NAS\\B\\D=/x",
                                       "\\\\NAS\\B=", "\\\\NAS\\B=sftp://nas/x"}) {
        EXPECT_FALSE(drives.addShareEntry(bad)) << bad;
        EXPECT_FALSE(drives.addShareEntries(std::string("\\\\A\\B=/a;") + std::string(bad)));
    }
    EXPECT_EQ(drives.folderOfDrive("\\\\A\\B"), std::nullopt);
}

class MalformedEntryTest : public ::testing::TestWithParam<std::string> {};

TEST_P(MalformedEntryTest, IsRefusedAndAddsNothing) {
    DriveMap drives("/start");
    EXPECT_FALSE(drives.addEntries("A=/fine;" + GetParam()));
    EXPECT_FALSE(drives.addEntry(GetParam()));
    EXPECT_TRUE(drives.entries().empty());
    EXPECT_EQ(drives.hostFolder('Z'), "/");
}

INSTANTIATE_TEST_SUITE_P(Entries, MalformedEntryTest,
                         ::testing::Values("C", "=/x", "CD=/x", "1=/x", "C=", "C= ", "C::=/x",
                                           "/srv/data"));

TEST(ProcessEnvironmentTest, GivesTheWholeValue) {
    const std::string name = "BRISKO_PLATFORM_TEST_VALUE";
    const std::string longValue(40000, 'v');
    setenv(name.c_str(), longValue.c_str(), 1);
    EXPECT_EQ(ProcessEnvironment().get(name), longValue);
    unsetenv(name.c_str());
    EXPECT_EQ(ProcessEnvironment().get(name), std::nullopt);
}

} // namespace
} // namespace brisko::platform
