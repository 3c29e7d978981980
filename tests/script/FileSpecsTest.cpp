#include "script/FileSpecs.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace brisko::script {
namespace {

FileSpec spec(std::string mask, CompareRule compare = CompareRule::DateSize,
              std::string backup = "", MissingFileRule missing = MissingFileRule::Ask,
              bool process = true) {
    return FileSpec{std::move(mask), compare, std::move(backup), missing, process};
}

class FileSpecTablesTest : public ::testing::Test {
protected:
    FileSpecTablesTest() { tables.reset(); }
    void apply(std::string_view key, std::string_view value) {
        applyFileSpecKey(tables, key, value);
    }
    FileSpecTables tables;
};

TEST_F(FileSpecTablesTest, ResetLeavesTheMasterAndTheTemporaryFileRecord) {
    apply("FILESPEC", "*.DBF");
    applyExclusions(tables, "*.TMP", "");
    tables.reset();
    EXPECT_EQ(tables.fileSpecs,
              (std::vector<FileSpec>{spec("*.*"), spec("$BRISKO$.$$$", CompareRule::DateSize, "",
                                                       MissingFileRule::Ask, false)}));
    EXPECT_EQ(tables.currentFileSpec, 0u);
    EXPECT_TRUE(tables.exclusions.empty());
}

TEST_F(FileSpecTablesTest, KeysBeforeAnyFileSpecChangeTheMaster) {
    apply("COMPARE", "BINARY");
    apply("MISSINGFILE", "DELETE");
    apply("IGNORE", "YES");
    EXPECT_EQ(tables.fileSpecs[0],
              spec("*.*", CompareRule::Binary, "", MissingFileRule::Delete, false));
    apply("IGNORE", "NO");
    apply("COMPARE", "DATESIZE");
    EXPECT_TRUE(tables.fileSpecs[0].process);
    EXPECT_EQ(tables.fileSpecs[0].compare, CompareRule::DateSize);
}

TEST_F(FileSpecTablesTest, FileSpecSelectsAnExistingRecordOrAppendsAFreshOne) {
    apply("COMPARE", "BINARY");
    apply("FILESPEC", "*.DBF");
    EXPECT_EQ(tables.fileSpecs.size(), 3u);
    EXPECT_EQ(tables.currentFileSpec, 2u);
    EXPECT_EQ(tables.fileSpecs[2], spec("*.DBF")); // the master's settings are not copied
    apply("MISSINGFILE", "CREATE");

    apply("FILESPEC", "*.*");
    EXPECT_EQ(tables.currentFileSpec, 0u);
    apply("FILESPEC", "*.DBF");
    EXPECT_EQ(tables.fileSpecs.size(), 3u);
    EXPECT_EQ(tables.currentFileSpec, 2u);
    EXPECT_EQ(tables.fileSpecs[2].missingFile, MissingFileRule::Create);

    apply("FileSpec", "~$*.DOC"); // keys in any case
    apply("IGNORE", "YES");
    EXPECT_FALSE(tables.fileSpecs.back().process);
    apply("UPDATEMODE", "LMASTER"); // not a FileSpec key: nothing happens
    EXPECT_EQ(tables.fileSpecs.size(), 4u);
}

TEST_F(FileSpecTablesTest, BackupExtensionsBecomeLastingExclusions) {
    apply("FILESPEC", "*.DBF");
    apply("BACKUP", "DB1, DB2;DB3");
    EXPECT_EQ(tables.fileSpecs[2].backup, "DB1, DB2;DB3");
    EXPECT_EQ(tables.exclusions, (std::vector<ExcludeEntry>{{"*.DB1", false, "*.DBF"},
                                                            {"*.DB2", false, "*.DBF"},
                                                            {"*.DB3", false, "*.DBF"}}));
    applyExclusions(tables, "", ""); // ends plain exclusions only
    EXPECT_EQ(tables.exclusions.size(), 3u);
    EXPECT_EQ(tables.exclusions[0].backupOf, "*.DBF");
}

TEST_F(FileSpecTablesTest, ExcludeRowsDecideWhichPlainEntriesAreInForce) {
    applyExclusions(tables, "*.CDX,*.PX", "");
    EXPECT_EQ(tables.exclusions,
              (std::vector<ExcludeEntry>{{"*.CDX", true, ""}, {"*.PX", true, ""}}));
    applyExclusions(tables, "*.PX;TEMP\\", "");
    EXPECT_EQ(tables.exclusions,
              (std::vector<ExcludeEntry>{
                  {"*.CDX", false, ""}, {"*.PX", true, ""}, {"TEMP\\", true, ""}}));
    applyExclusions(tables, " , ", "");
    for (const ExcludeEntry& entry : tables.exclusions)
        EXPECT_FALSE(entry.inForce) << entry.mask;
}

TEST_F(FileSpecTablesTest, BackupAdoptsAPlainEntryOfTheSameMask) {
    applyExclusions(tables, "*.BAK", "");
    apply("BACKUP", "BAK");
    EXPECT_EQ(tables.exclusions, (std::vector<ExcludeEntry>{{"*.BAK", true, "*.*"}}));
}

TEST_F(FileSpecTablesTest, LongExcludeListKeepsOrderAndSharedEntries) {
    apply("FILESPEC", "*.DBF");
    apply("BACKUP", "DB1");
    constexpr int kItems = 20000;
    std::string list;
    for (int i = 0; i < kItems; ++i)
        list += "M" + std::to_string(i) + ",";
    applyExclusions(tables, list + "*.DB1;M5", "");
    ASSERT_EQ(tables.exclusions.size(), kItems + 1u); // M5 and *.DB1 were not added again
    EXPECT_EQ(tables.exclusions.front(), (ExcludeEntry{"*.DB1", true, "*.DBF"}));
    EXPECT_EQ(tables.exclusions[1], (ExcludeEntry{"M0", true, ""}));
    EXPECT_EQ(tables.exclusions.back(), (ExcludeEntry{"M19999", true, ""}));

    applyExclusions(tables, "M7", "");
    EXPECT_EQ(std::count_if(tables.exclusions.begin(), tables.exclusions.end(),
                            [](const ExcludeEntry& entry) { return entry.inForce; }),
              1);
    EXPECT_TRUE(tables.exclusions[8].inForce);
}

} // namespace
} // namespace brisko::script
