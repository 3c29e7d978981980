#include "platform/DrivePath.h"

#include "platform/PathNames.h"

#include <gtest/gtest.h>

namespace brisko::platform::drive_path {
namespace {

TEST(DrivePathTest, TakesDriveFormPathsApart) {
    struct Case {
        std::string_view path;
        char letter;
        std::string_view parent;
        std::string_view last;
        std::string_view drive = {}; // the drive part as written
    };
    const Case cases[] = {
        {"C:\\DATA\\SUB", 'C', "C:\\DATA", "SUB", "C:"},
        {"c:\\data", 'C', "c:", "data", "c:"},
        {"C:", 'C', "C:", "C:", "C:"},
        {"C:NAME", 'C', "C:NAME", "C:NAME", "C:"},
        // A share plays the drive's part and is never split.
        {"\\\\NAS\\Backup\\D", '\0', "\\\\NAS\\Backup", "D", "\\\\NAS\\Backup"},
        {"\\\\NAS\\Backup", '\0', "\\\\NAS\\Backup", "\\\\NAS\\Backup", "\\\\NAS\\Backup"},
        {"\\\\NAS", '\0', "\\", "NAS"},
        {"\\\\NAS\\", '\0', "\\\\NAS", ""},
        {"\\\\\\X", '\0', "\\\\", "X"},
        {"\\DATA\\X", '\0', "\\DATA", "X"},
        {"/srv/data", '\0', "/srv/data", "/srv/data"},
        {"1:\\X", '\0', "1:", "X"},
        {"", '\0', "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(driveLetter(c.path), c.letter);
        EXPECT_EQ(isDriveForm(c.path), c.letter != '\0');
        EXPECT_EQ(driveOrShare(c.path), c.drive);
        EXPECT_EQ(hasDrive(c.path), !c.drive.empty());
        EXPECT_EQ(parent(c.path), c.parent);
        EXPECT_EQ(lastName(c.path), c.last);
    }
    EXPECT_EQ(join("C:\\DATA", "a.txt"), "C:\\DATA\\a.txt");
    EXPECT_EQ(join("\\\\NAS\\B", "a.txt"), "\\\\NAS\\B\\a.txt");
    EXPECT_EQ(driveKey("\\\\nas\\Backup\\d"), driveKey("\\\\NAS\\BACKUP"));
    EXPECT_EQ(driveKey("c:\\x"), "C:");
}

TEST(DrivePathTest, WithinComparesWholeNamesIgnoringCase) {
    EXPECT_TRUE(isWithin("C:\\DATA\\SUB\\a.txt", "c:\\data"));
    EXPECT_TRUE(isWithin("C:\\Café\\a", "C:\\CAFÉ"));
    EXPECT_TRUE(isWithin("C:\\DATA", "C:\\DATA"));
    EXPECT_FALSE(isWithin("C:\\DATABASE\\a.txt", "C:\\DATA"));
    EXPECT_FALSE(isWithin("C:\\DAT", "C:\\DATA"));
    EXPECT_TRUE(isWithin("\\\\nas\\b\\X", "\\\\NAS\\B"));
    EXPECT_FALSE(isWithin("\\\\NAS\\BX", "\\\\NAS\\B"));
}

TEST(DrivePathTest, HostPathsSplitAtTheirLastSeparatorKeepingUtf8Names) {
    const std::string_view cases[][3] = {
        {"/home/Åsa/Skript/sync.brk", "/home/Åsa/Skript", "sync.brk"},
        {"/sync.brk", "/", "sync.brk"},
        {"C:\\Данные\\b.brk", "C:\\Данные", "b.brk"},
        {"C:\\b.brk", "C:\\", "b.brk"},
        {"b.brk", "", "b.brk"},
    };
    for (const auto& [host, folder, name] : cases) {
        EXPECT_EQ(hostFolderOf(host), folder) << host;
        EXPECT_EQ(hostNameOf(host), name) << host;
    }
}

} // namespace
} // namespace brisko::platform::drive_path
