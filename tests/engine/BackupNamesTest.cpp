#include "engine/BackupNames.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace brisko::engine {
namespace {

TEST(BackupExtensionsTest, SplitsAtCommasAndSemicolons) {
    EXPECT_EQ(backupExtensions("DB1, DB2;DB3"), (std::vector<std::string>{"DB1", "DB2", "DB3"}));
    EXPECT_EQ(backupExtensions(" ;,BAK,, "), (std::vector<std::string>{"BAK"}));
    EXPECT_TRUE(backupExtensions("").empty());
    EXPECT_TRUE(backupExtensions(" , ; ").empty());
}

TEST(BackupPathTest, TakesTheBaseNameUpToTheFirstDot) {
    struct Case {
        const char* name;
        const char* extension;
        const char* path;
    };
    const Case cases[] = {
        {"DATA.DBF", "DB1", "C:\\DATA\\DATA.DB1"},
        {"ARCHIVE.2020.DBF", "DB1", "C:\\DATA\\ARCHIVE.DB1"},
        {"README", "DB1", "C:\\DATA\\README.DB1"},
        {"NOTES.", "BAK", "C:\\DATA\\NOTES.BAK"},
        // A leading dot is part of the base, so dot-files keep backups of their own.
        {".PROFILE", "DB1", "C:\\DATA\\.PROFILE.DB1"},
        {".CONFIG.JSON", "DB1", "C:\\DATA\\.CONFIG.DB1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(backupPath("C:\\DATA", c.name, c.extension), c.path) << c.name;
}

} // namespace
} // namespace brisko::engine
