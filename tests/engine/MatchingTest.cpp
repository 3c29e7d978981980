#include "engine/Matching.h"

#include "script/SessionSettings.h"
#include "script/SplitList.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace brisko::engine {
namespace {

script::FileSpec fileSpec(const char* mask) {
    script::FileSpec record;
    record.mask = mask;
    return record;
}

script::ExcludeEntry exclusion(const char* mask, bool inForce) {
    script::ExcludeEntry entry;
    entry.mask = mask;
    entry.inForce = inForce;
    return entry;
}

struct PartCase {
    const char* name;
    const char* mask;
    bool matches;
};

TEST(PartMatchTest, FollowsTheWildcardRules) {
    const PartCase cases[] = {
        {"ABC", "ABC", true},
        {"ABC", "ABD", false},
        {"ABC", "ABC*", false},
        {"ABCD", "ABC*", true},
        {"ABC", "A*", true},
        {"ABC", "*", true},
        {"ABC", "A?C", true},
        {"AB", "A?C", false},
        {"ABC", "??", false},
        {"ABC", "????", false},
        {"ABCD", "ABC", false},
        {"ABC", "", false},
        {"", "XYZ", true},
        {"", "", true},
        {"\xC3\x84"
         "BC",
         "?BC", true}, // '?' passes one whole character (Ä)
    };
    for (const PartCase& c : cases)
        EXPECT_EQ(partMatch(c.name, c.mask), c.matches) << c.name << " vs " << c.mask;
}

TEST(MaskMatchTest, MatchesBaseAndExtensionSeparately) {
    const PartCase cases[] = {
        {"DATA.DBF", "*.DBF", true},
        {"DATA.DBF.OLD", "*.DBF", true},
        {"DATA.DB", "*.DBF", false},
        // A given extension other than "*" takes only names that have one.
        {"README", "*.DBF", false},
        {"Makefile", "*.tmp", false},
        {".bashrc", "*.tmp", false},
        {"HEAD", "*.tmp", false},
        {"a.tmp", "*.tmp", true},
        {"README", "*.?", false},
        {"README", "*.D*", false},
        {"ABC", "ABC*", false},
        {"ABCDEF.TXT", "ABC*.TXT", true},
        // "*" takes names without an extension, "*.*" every name.
        {"README", "*", true},
        {"DATA.DBF", "*", false},
        {"DATA.DBF", "*.*", true},
        {"README", "*.*", true},
        {".bashrc", "*.*", true},
        // NAME takes NAME alone, NAME.* also NAME with any extension.
        {"README", "README", true},
        {"README.TXT", "README", false},
        {"README", "README.*", true},
        {"README.TXT", "README.*", true},
        {".PROFILE", "PROFILE", true}, // base PROFILE, no extension
        {".PROFILE", "*", true},
        {".PROFILE", "*.PROFILE", false},
        {"ARCHIVE.TAR.GZ", "*.TAR", true},
        {"ARCHIVE.TAR.GZ", "*.GZ", false},
        {"data.dbf", "*.DBF", true},
        {"DATA.DBF", "data.*", true},
        {"\xC3\xBC"
         "BER.TXT",
         "\xC3\x9C"
         "BER.TXT",
         true}, // über against ÜBER
        {"$BRISKO$.$$$", "$BRISKO$.$$$", true},
        {"DATA.DBF", "DAT?.DB?", true},
        {"DATA.DBF", "DAT?.DB", false},
    };
    for (const PartCase& c : cases)
        EXPECT_EQ(maskMatch(c.name, c.mask), c.matches) << c.name << " vs " << c.mask;
}

TEST(MaskMatchTest, SplitsNamesLikeScriptLists) {
    // Blanks around pieces and empty pieces go, as script lists drop them.
    const std::vector<std::string> names = {" DATA . DBF ", "DATA..DBF", "..DATA.DBF", "DATA.DBF."};
    for (const std::string& name : names) {
        const std::vector<std::string> pieces = script::splitList(name, ".");
        ASSERT_EQ(pieces.size(), 2u) << name;
        EXPECT_TRUE(maskMatch(name, pieces[0] + "." + pieces[1])) << name;
        EXPECT_TRUE(maskMatch(name, "DATA.DBF")) << name;
        EXPECT_FALSE(maskMatch(name, "DATA.DBX")) << name;
    }
}

TEST(FileSpecForTest, NewestMatchingRecordWins) {
    script::FileSpecTables tables;
    tables.reset(); // 0 "*.*", 1 the temporary file
    tables.fileSpecs.push_back(fileSpec("*.DBF"));
    tables.fileSpecs.push_back(fileSpec("DATA.*"));

    EXPECT_EQ(fileSpecFor(tables, "DATA.DBF"), 3u);
    EXPECT_EQ(fileSpecFor(tables, "data.dbf"), 3u);
    EXPECT_EQ(fileSpecFor(tables, "OTHER.DBF"), 2u);
    EXPECT_EQ(fileSpecFor(tables, "README"), 0u); // *.DBF takes names with an extension only
    EXPECT_EQ(fileSpecFor(tables, "$brisko$.$$$"), 1u);
    EXPECT_EQ(fileSpecFor(tables, "NOTES.TXT"), 0u);
}

TEST(FileSpecForTest, FallsBackToTheMasterRecord) {
    script::FileSpecTables tables;
    tables.fileSpecs = {fileSpec("*.DBF"), fileSpec("*.IDX")};
    EXPECT_EQ(fileSpecFor(tables, "NOTES.TXT"), 0u);
    tables.fileSpecs.clear();
    EXPECT_EQ(fileSpecFor(tables, "NOTES.TXT"), 0u);
}

constexpr const char* kRoot = "C:\\USER";

struct ExclusionCase {
    const char* entry;
    const char* name;
    const char* folder;
    bool isFolder;
    bool excluded;
};

script::FileSpecTables inForce(const char* mask) {
    script::FileSpecTables tables;
    tables.exclusions.push_back(exclusion(mask, true));
    return tables;
}

TEST(IsExcludedTest, AppliesEachEntryFormWhereItBelongs) {
    const ExclusionCase cases[] = {
        // A folder entry names one folder below the root.
        {"TEMP\\", "TEMP", "C:\\USER", true, true},
        {"TEMP\\", "TEMP", "C:\\USER\\DATA", true, false},
        {"TEMP\\", "TEMPORARY", "C:\\USER", true, false},
        {"/TEMP\\", "TEMP", "C:\\USER", true, true},
        {"\\TEMP\\", "TEMP", "C:\\USER", true, true},
        {"DATA\\TEMP\\", "TEMP", "C:\\USER\\DATA", true, true},
        {"DATA\\TEMP\\", "TEMP", "C:\\USER", true, false},
        {"temp\\", "Temp", "c:\\user", true, true},
        // "*\" names folders of that name at any depth below the root, and files under them.
        {"*\\node_modules\\", "NODE_MODULES", "C:\\USER\\A\\B", true, true},
        {"*\\NODE_MODULES\\", "NODE_MODULES", "C:\\USER", true, true},
        {"*\\NODE_MODULES\\", "MY_NODE_MODULES", "C:\\USER\\A", true, false},
        {"*\\NODE_MODULES\\", "NODE_MODULES", "C:\\", true, false}, // above the root
        {"*\\CACHE\\*.TMP", "X.TMP", "C:\\USER\\A\\CACHE\\SUB", false, true},
        {"*\\CACHE\\*.TMP", "X.TMP", "C:\\USER\\A\\CACHED", false, false},
        {"*\\CACHE\\*.TMP", "X.DAT", "C:\\USER\\CACHE", false, false},
        // Folder entries never match files, and file masks never match folders.
        {"TEMP\\", "TEMP", "C:\\USER", false, false},
        {"*\\", "README", "C:\\USER", false, false},
        {"*.TMP", "X.TMP", "C:\\USER", true, false},
        // Anchored folder part: that folder only.
        {"/PROG\\*.IDX", "MYFILE.IDX", "C:\\USER\\PROG", false, true},
        {"/PROG\\*.IDX", "MYFILE.IDX", "C:\\USER\\PROG\\MORE", false, false},
        {"/PROG\\*.IDX", "MYFILE.DAT", "C:\\USER\\PROG", false, false},
        {"/PROG\\*.IDX", "MYFILE.IDX", "C:\\USER", false, false},
        // Free folder part: that folder and everything below it, but not a longer name.
        {"PROG\\*.IDX", "MYFILE.IDX", "C:\\USER\\PROG", false, true},
        {"PROG\\*.IDX", "MYFILE.IDX", "C:\\USER\\PROG\\MORE", false, true},
        {"PROG\\*.IDX", "MYFILE.IDX", "C:\\USER\\PROGRAMS", false, false},
        {"PROG\\*.IDX", "MYFILE.IDX", "C:\\USER", false, false},
        {"prog\\*.idx", "myfile.idx", "c:\\User\\Prog", false, true},
        // "/" before a plain mask: files directly in the root.
        {"/*.TMP", "X.TMP", "C:\\USER", false, true},
        {"/*.TMP", "X.TMP", "C:\\USER\\SUB", false, false},
        // A plain mask applies in every folder.
        {"*.TMP", "X.TMP", "C:\\USER\\SUB\\DEEP", false, true},
        {"*.TMP", "X.TXT", "C:\\USER", false, false},
        // A mask with an extension never takes a name without one.
        {"*.tmp", "Makefile", "C:\\USER", false, false},
        {"*.tmp", "HEAD", "C:\\USER\\.git", false, false},
        // A folder part that does not apply never falls back to matching the name alone.
        {"*\\FOO.TXT", "A.TXT", "C:\\USER", false, false},
        {"V1.0\\*.IDX", "V1", "C:\\USER", false, false},
        // A lone backslash excludes nothing.
        {"\\", "TEMP", "C:\\USER", true, false},
        {"/\\", "TEMP", "C:\\USER", true, false},
        {"\\", "README", "C:\\USER", false, false},
    };
    for (const ExclusionCase& c : cases) {
        EXPECT_EQ(isExcluded(inForce(c.entry), c.name, c.folder, c.isFolder, kRoot), c.excluded)
            << c.entry << " / " << c.folder << "\\" << c.name << (c.isFolder ? " (folder)" : "");
    }
}

TEST(IsExcludedTest, PlainEntriesEndAfterTheSessionBackupEntriesStay) {
    script::SessionSettings settings;
    script::applyExclusions(settings.tables, "DB1,DB2", "*.DBF");
    script::applyExclusions(settings.tables, "*.TMP, TEMP\\", "");
    const script::FileSpecTables& tables = settings.tables;

    EXPECT_TRUE(isExcluded(tables, "DATA.DB1", "C:\\USER\\SUB", false, kRoot));
    EXPECT_TRUE(isExcluded(tables, "X.TMP", "C:\\USER", false, kRoot));
    EXPECT_TRUE(isExcluded(tables, "TEMP", "C:\\USER", true, kRoot));
    EXPECT_FALSE(isExcluded(tables, "DATA.DBF", "C:\\USER", false, kRoot));

    script::resetAfterExecute(settings);
    EXPECT_TRUE(isExcluded(tables, "DATA.DB1", "C:\\USER", false, kRoot));
    EXPECT_TRUE(isExcluded(tables, "DATA.DB2", "C:\\USER", false, kRoot));
    EXPECT_FALSE(isExcluded(tables, "X.TMP", "C:\\USER", false, kRoot));
    EXPECT_FALSE(isExcluded(tables, "TEMP", "C:\\USER", true, kRoot));
}

// A Backup list excludes names whose last extension is one of its own; the same mask as a
// plain Exclude follows the mask rule (the extension is the second piece).
TEST(IsExcludedTest, BackupEntriesTakeOnlyNamesWithTheirExtension) {
    script::FileSpecTables backupOnly;
    script::applyExclusions(backupOnly, "DB1", "*.DBF");
    script::FileSpecTables alsoExcluded = backupOnly;
    script::applyExclusions(alsoExcluded, "*.DB1", "");
    const struct {
        const char* name;
        bool byBackup;
        bool byBoth;
    } cases[] = {
        {"DATA.DB1", true, true},        {"data.db1", true, true},
        {"README", false, false},        {"Makefile", false, false},
        {".PROFILE", false, false},      {".DB1", false, false},
        {"DATA.DB10", false, false},     {"DATA.DB", false, false},
        {"REPORT.ODT.DB1", true, true},  {"ARCHIVE.DB1.GZ", false, true},
        {"Changes.db1.gz", false, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isExcluded(backupOnly, c.name, "C:\\USER", false, kRoot), c.byBackup) << c.name;
        EXPECT_EQ(isExcluded(alsoExcluded, c.name, "C:\\USER", false, kRoot), c.byBoth) << c.name;
    }
}

TEST(IsExcludedTest, EntriesOutOfEffectExcludeNothing) {
    script::FileSpecTables tables;
    tables.exclusions = {exclusion("*.TMP", false), exclusion("", true)};
    EXPECT_FALSE(isExcluded(tables, "X.TMP", "C:\\USER", false, kRoot));
    EXPECT_FALSE(isExcluded(tables, "README", "C:\\USER", false, kRoot));
    EXPECT_FALSE(isExcluded(tables, "TEMP", "C:\\USER", true, kRoot));
}

TEST(IsExcludedTest, FirstOfSeveralEntriesThatExcludesDecides) {
    script::FileSpecTables tables;
    for (const char* mask : {"*.BAK", "/PROG\\*.IDX", "TEMP\\"})
        tables.exclusions.push_back(exclusion(mask, true));
    EXPECT_TRUE(isExcluded(tables, "A.IDX", "C:\\USER\\PROG", false, kRoot));
    EXPECT_TRUE(isExcluded(tables, "A.BAK", "C:\\USER\\PROG", false, kRoot));
    EXPECT_TRUE(isExcluded(tables, "TEMP", "C:\\USER", true, kRoot));
    EXPECT_FALSE(isExcluded(tables, "A.IDX", "C:\\USER", false, kRoot));
    // The source root decides: the same folder is not excluded below another root.
    EXPECT_FALSE(isExcluded(tables, "TEMP", "C:\\USER", true, "D:\\USER"));
}

} // namespace
} // namespace brisko::engine
