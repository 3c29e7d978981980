#include "platform/DrivePath.h"

#include <gtest/gtest.h>

namespace brisko::platform::drive_path {
namespace {

TEST(DrivePathTest, TakesDriveFormPathsApart) {
    struct Case {
        std::string_view path;
        char letter;
        std::string_view parent;
        std::string_view last;
    };
    const Case cases[] = {
        {"C:\\DATA\\SUB", 'C', "C:\\DATA", "SUB"},
        {"c:\\data", 'C', "c:", "data"},
        {"C:", 'C', "C:", "C:"},
        {"C:NAME", 'C', "C:NAME", "C:NAME"},
        {"\\DATA\\X", '\0', "\\DATA", "X"},
        {"/srv/data", '\0', "/srv/data", "/srv/data"},
        {"1:\\X", '\0', "1:", "X"},
        {"", '\0', "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(driveLetter(c.path), c.letter);
        EXPECT_EQ(isDriveForm(c.path), c.letter != '\0');
        EXPECT_EQ(parent(c.path), c.parent);
        EXPECT_EQ(lastName(c.path), c.last);
    }
    EXPECT_EQ(join("C:\\DATA", "a.txt"), "C:\\DATA\\a.txt");
}

TEST(DrivePathTest, WithinComparesWholeNamesIgnoringCase) {
    EXPECT_TRUE(isWithin("C:\\DATA\\SUB\\a.txt", "c:\\data"));
    EXPECT_TRUE(isWithin("C:\\Café\\a", "C:\\CAFÉ"));
    EXPECT_TRUE(isWithin("C:\\DATA", "C:\\DATA"));
    EXPECT_FALSE(isWithin("C:\\DATABASE\\a.txt", "C:\\DATA"));
    EXPECT_FALSE(isWithin("C:\\DAT", "C:\\DATA"));
}

} // namespace
} // namespace brisko::platform::drive_path
