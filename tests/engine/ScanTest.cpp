#include "ScanFixture.h"
#include "engine/ActionList.h"
#include "script/FileSpecs.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace brisko::engine::test {
namespace {

using Lines = std::vector<std::string>;

class ScanTest : public ScanFixture {};

TEST_F(ScanTest, WithoutSubfoldersOnlyTheRootFilesAreCompared) {
    settings.subFolders = false;
    lay({{"left/DATA/A.TXT", "a"}, {"left/DATA/SUB/B.TXT", "b"}, {"right/DATA/OTHER/C.TXT", "c"}});
    execute(script::UpdateMode::LMaster);
    EXPECT_EQ(copies(), Lines{"L:\\DATA\\A.TXT > R:\\DATA\\A.TXT"});
    EXPECT_TRUE(foldersToCreate().empty());
    EXPECT_TRUE(foldersToDelete().empty());
    EXPECT_TRUE(filesToDelete().empty());
}

TEST_F(ScanTest, ExclusionsKeepFilesAndFoldersOutOfTheScan) {
    // A lone backslash names no folder and excludes nothing.
    script::applyExclusions(settings.tables, "TEMP\\,*.TMP,/ROOT.LOG,\\", "");
    lay({{"left/DATA/A.TXT", "a"},
         {"left/DATA/A.TMP", "t"},
         {"left/DATA/ROOT.LOG", "l"},
         {"left/DATA/SUB/ROOT.LOG", "l"},
         {"left/DATA/TEMP/B.TXT", "b"},
         {"left/DATA/SUB/TEMP/C.TXT", "c"}});
    execute(script::UpdateMode::OneLTR);
    EXPECT_EQ(copies(), (Lines{"L:\\DATA\\A.TXT > R:\\DATA\\A.TXT",
                               "L:\\DATA\\SUB\\ROOT.LOG > R:\\DATA\\SUB\\ROOT.LOG",
                               "L:\\DATA\\SUB\\TEMP\\C.TXT > R:\\DATA\\SUB\\TEMP\\C.TXT"}));
    EXPECT_EQ(foldersToCreate(), (Lines{"R:\\DATA", "R:\\DATA\\SUB", "R:\\DATA\\SUB\\TEMP"}));
}

TEST_F(ScanTest, BackupExtensionsAndIgnoredFileSpecsAreNeverPlanned) {
    script::applyFileSpecKey(settings.tables, "FILESPEC", "*.DBF");
    script::applyFileSpecKey(settings.tables, "BACKUP", "DB1,DB2");
    script::applyFileSpecKey(settings.tables, "FILESPEC", "*.LOG");
    script::applyFileSpecKey(settings.tables, "IGNORE", "YES");
    lay({{"left/DATA/DATA.DBF", "d"},
         {"left/DATA/DATA.DB1", "1"},
         {"right/DATA/DATA.DB2", "2"},
         {"left/DATA/RUN.LOG", "l"}});
    execute(script::UpdateMode::LMaster);
    ASSERT_EQ(copies(), Lines{"L:\\DATA\\DATA.DBF > R:\\DATA\\DATA.DBF"});
    EXPECT_EQ(plan.filesToCopy()[0].backupList, "DB1,DB2");
    EXPECT_TRUE(filesToDelete().empty()); // the right DATA.DB2 is not the copy side's to delete
}

TEST_F(ScanTest, TheSessionMaskSelectsFilesInUpdateScansOnly) {
    settings.sessionFiles = "*.DBF";
    lay({{"left/DATA/DATA.DBF", "d"},
         {"left/DATA/README", "r"},
         {"left/DATA/DATA.DBF.OLD", "o"},
         {"left/DATA/DATA.DB", "x"}});
    execute(script::UpdateMode::OneLTR);
    EXPECT_EQ(copies(), (Lines{"L:\\DATA\\DATA.DBF > R:\\DATA\\DATA.DBF",
                               "L:\\DATA\\DATA.DBF.OLD > R:\\DATA\\DATA.DBF.OLD"}));

    plan.clear();
    execute(script::UpdateMode::LMaster);
    EXPECT_EQ(copies().size(), 4u);
}

TEST_F(ScanTest, TheTemporaryCopyNameIsNeverPlannedInAnyDirection) {
    // Whatever the FileSpec records say about it.
    settings.tables.fileSpecs[1].process = true;
    // A master holding only the temporary copy is empty; mirrored all the same, so that it is
    // scanned.
    allowEmptyMaster = true;
    lay({{"left/DATA/$BRISKO$.$$$", "partial copy"},
         {"right/DATA/$brisko$.$$$", "partial copy"},
         {"right/DATA/SUB/$BRISKO$.$$$", "partial copy"}});
    execute(script::UpdateMode::Update);
    execute(script::UpdateMode::LMaster);
    execute(script::UpdateMode::RMaster);
    // Nor when it is handed to the plan directly.
    EngineContext direct = context();
    listFileDelete(direct, "R:\\DATA\\$brisko$.$$$", 10);
    CopyRequest copy;
    copy.sourceFolder = "L:\\DATA";
    copy.targetFolder = "R:\\DATA";
    copy.name = "$BRISKO$.$$$";
    listCopy(direct, copy);
    EXPECT_TRUE(copies().empty());
    EXPECT_TRUE(filesToDelete().empty());
    EXPECT_TRUE(problems().empty());
}

TEST_F(ScanTest, SourceFilesDifferingOnlyInCaseAreEachCopiedUnderTheirOwnName) {
#ifdef _WIN32
    GTEST_SKIP() << "names differing only in case are one name on Windows";
#endif
    lay({{"left/DATA/a.txt", "lower"},
         {"left/DATA/A.TXT", "upper"},
         {"right/DATA/a.txt", "old", kNow - 2 * kHour},
         {"left/DATA/sub/"},
         {"left/DATA/SUB/X.TXT", "x"}});
    execute(script::UpdateMode::OneLTR);
    EXPECT_EQ(copies(),
              (Lines{"L:\\DATA\\A.TXT > R:\\DATA\\A.TXT", "L:\\DATA\\a.txt > R:\\DATA\\a.txt",
                     "L:\\DATA\\SUB\\X.TXT > R:\\DATA\\SUB\\X.TXT"}));
    for (const engine::CopyAction& copy : plan.filesToCopy())
        EXPECT_EQ(copy.exactName, copy.name != "X.TXT") << copy.name;
    EXPECT_FALSE(plan.filesToCopy()[0].targetExisted); // never taken for its twin
    EXPECT_EQ(foldersToCreate(), (Lines{"R:\\DATA\\SUB"}));
    // Of folders, the first is entered.
    EXPECT_EQ(problems(),
              (Lines{"L:\\DATA\\sub: Name differs only in case from another - skipped"}));
    const HistoryRow& row = host.problems.front();
    EXPECT_EQ(row.colour, RowColour::Red);
}

TEST_F(ScanTest, ANameWithSeveralCaseVariantsAtTheTargetIsMissingOnlyToAMirror) {
#ifdef _WIN32
    GTEST_SKIP() << "names differing only in case are one name on Windows";
#endif
    lay({{"left/DATA/A.Txt", "source", kNow - kHour},
         {"right/DATA/a.txt", "one", kNow - 2 * kHour},
         {"right/DATA/A.TXT", "two", kNow - 2 * kHour}});
    for (auto rule : {script::MissingFileRule::Create, script::MissingFileRule::Delete}) {
        settings.tables.fileSpecs[0].missingFile = rule;
        execute(script::UpdateMode::OneLTR);
    }
    EXPECT_TRUE(planIsEmpty());
    EXPECT_EQ(problems(),
              (Lines{"R:\\DATA\\A.Txt: Name differs only in case from another - skipped",
                     "R:\\DATA\\A.Txt: Name differs only in case from another - skipped"}));

    execute(script::UpdateMode::LMaster);
    EXPECT_EQ(copies(), Lines{"L:\\DATA\\A.Txt > R:\\DATA\\A.Txt"});
    EXPECT_TRUE(plan.filesToCopy()[0].exactName);
    EXPECT_EQ(filesToDelete(), (Lines{"R:\\DATA\\A.TXT", "R:\\DATA\\a.txt"}));
}

TEST_F(ScanTest, ATargetFileOfAnotherCaseIsComparedWithTheSource) {
    lay({{"left/DATA/Report.Txt", "new", kNow - kHour},
         {"right/DATA/REPORT.TXT", "old", kNow - 2 * kHour}});
    execute(script::UpdateMode::Update);
    ASSERT_EQ(copies(), Lines{"L:\\DATA\\Report.Txt > R:\\DATA\\Report.Txt"});
    EXPECT_EQ(plan.filesToCopy()[0].targetSize, 3);
}

TEST_F(ScanTest, AFileAndAFolderOfOneNameAreReportedAndLeftAlone) {
    lay({{"left/DATA/X", "a file on the left"},
         {"right/DATA/X/INSIDE.TXT", "a folder on the right"}});
    execute(script::UpdateMode::LMaster);
    execute(script::UpdateMode::RMaster);
    EXPECT_TRUE(planIsEmpty());
    EXPECT_EQ(problems(), (Lines{"R:\\DATA\\X: Passed over - a folder where a file is expected",
                                 "L:\\DATA\\X: Passed over - a file where a folder is expected",
                                 "R:\\DATA\\X: Passed over - a folder where a file is expected",
                                 "L:\\DATA\\X: Passed over - a file where a folder is expected"}));
}

TEST_F(ScanTest, NamesTheListingPassedOverAreReported) {
    lay({{"left/DATA/back\\slash.txt", "b"}, {"left/DATA/A.TXT", "a"}, {"right/DATA/"}});
#ifdef _WIN32
    GTEST_SKIP() << "a FIFO is a POSIX thing";
#else
    ASSERT_EQ(mkfifo(tree.path("right/DATA/A.TXT").c_str(), 0600), 0);
#endif
    execute(script::UpdateMode::OneLTR);
    EXPECT_TRUE(planIsEmpty());
    const Lines reported = problems();
    ASSERT_EQ(reported.size(), 2u);
    EXPECT_EQ(reported[0].rfind("L:\\DATA\\back\\slash.txt: Passed over - ", 0), 0u) << reported[0];
    EXPECT_EQ(reported[1].rfind("R:\\DATA\\A.TXT: Passed over - ", 0), 0u) << reported[1];
}

TEST_F(ScanTest, AbortStopsTheScanBeforeTheNextEntryAndKeepsSubfoldersClosed) {
    lay({{"left/DATA/A.TXT", "a"},
         {"left/DATA/B.TXT", "b"},
         {"left/DATA/C.TXT", "c"},
         {"left/DATA/SUB/D.TXT", "d"}});
    host.abortAtPump = 2;
    execute(script::UpdateMode::Update);
    EXPECT_EQ(copies(), Lines{"L:\\DATA\\A.TXT > R:\\DATA\\A.TXT"});
    EXPECT_EQ(foldersToCreate(), Lines{"R:\\DATA"}); // the root pair is checked first
    EXPECT_EQ(host.abortCalls, 1);
}

} // namespace
} // namespace brisko::engine::test
