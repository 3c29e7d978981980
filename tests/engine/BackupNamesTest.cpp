#include "engine/BackupNames.h"

#include "support/MappedTree.h"

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

TEST(BackupPathTest, WholeNameNowBaseNameEarlier) {
    struct Case {
        const char* name;
        const char* path;
        const char* earlier;
    };
    const Case cases[] = {
        {"DATA.DBF", "C:\\DATA\\DATA.DBF.OLD", "C:\\DATA\\DATA.OLD"},
        {"changelog.Debian.gz", "C:\\DATA\\changelog.Debian.gz.OLD", "C:\\DATA\\changelog.OLD"},
        {"README", "C:\\DATA\\README.OLD", "C:\\DATA\\README.OLD"},
        {".PROFILE", "C:\\DATA\\.PROFILE.OLD", "C:\\DATA\\.PROFILE.OLD"},
        {".CONFIG.JSON", "C:\\DATA\\.CONFIG.JSON.OLD", "C:\\DATA\\.CONFIG.OLD"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(backupPath("C:\\DATA", c.name, "OLD"), c.path) << c.name;
        EXPECT_EQ(earlierBackupPath("C:\\DATA", c.name, "OLD"), c.earlier) << c.name;
    }
}

// FileSpecs: *.* keeps no backups, *.DBF keeps DB1 and DB2, *.TXT keeps DB2.
script::FileSpecTables sampleTables() {
    script::FileSpecTables tables;
    tables.reset();
    for (const auto& [key, value] : {std::pair{"FILESPEC", "*.DBF"},
                                     {"BACKUP", "DB1,DB2"},
                                     {"FILESPEC", "*.TXT"},
                                     {"BACKUP", "DB2"}})
        script::applyFileSpecKey(tables, key, value);
    return tables;
}

TEST(OwnsEarlierBackupsTest, OnlyWhenNoOtherFileCanHaveMadeThem) {
    struct Case {
        const char* title;
        std::vector<const char*> others; // in C:\DATA besides DATA.DBF
        bool owns;
    };
    const Case cases[] = {
        {"EarlierChainAlone", {"DATA.DB1", "DATA.DB2", "OTHER.TXT"}, true},
        {"OldestOnly", {"DATA.DB2"}, true},
        {"SameBaseKeepingNoBackups", {"DATA.DB1", "DATA.CDX"}, true},
        {"SameBaseSharingAnExtension", {"DATA.DB1", "data.txt"}, false},
        {"SameNameWithoutExtension", {"DATA.DB1", "DATA"}, false},
        {"OwnChainBegun", {"DATA.DB1", "DATA.DBF.DB2"}, false},
        {"NoEarlierBackup", {"DATA.TXT.DB2"}, false},
        {"FolderInTheEarlierPlace", {"DATA.DB1/"}, false},
    };
    // One folder of drive K for each case, and README with its backup in the root.
    test::MappedTree tree({{'K', ""}});
    std::vector<test::TreeEntry> entries{{"README"}, {"README.DB1"}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::string folder = "CASE" + std::to_string(i) + "/";
        entries.emplace_back(folder + "DATA.DBF");
        for (const char* other : cases[i].others)
            entries.emplace_back(folder + other);
    }
    tree.lay(entries);
    const auto fileSystem = tree.hostFileSystem();
    const script::FileSpecTables tables = sampleTables();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::string folder = "K:\\CASE" + std::to_string(i);
        EXPECT_EQ(ownsEarlierBackups(*fileSystem, tables, folder, "DATA.DBF", "DB1,DB2"),
                  cases[i].owns)
            << cases[i].title;
    }
    // A name without an inner dot has kept its backup names: there is nothing to take over.
    EXPECT_FALSE(ownsEarlierBackups(*fileSystem, tables, "K:", "README", "DB1"));
}

} // namespace
} // namespace brisko::engine
