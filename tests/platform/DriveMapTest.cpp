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
