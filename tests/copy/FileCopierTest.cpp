#include "CopyFixture.h"
#include "platform/DosStamp.h"
#include "support/CasePrinter.h"
#include "support/SftpDrives.h"

#include <ctime>
#include <filesystem>

namespace brisko::test {
namespace {

struct RotationCase {
    const char* title;
    std::string name;
    std::string backupList;
    TreeListing before; // the right tree before the copy
    TreeListing after;  // the right tree afterwards: the new copy holds "new"
};
PRINT_CASE_AS(RotationCase, c.title);

class BackupRotationTest : public CopyTest,
                           public ::testing::WithParamInterface<std::tuple<RotationCase, bool>> {};

TEST_P(BackupRotationTest, KeepsTheOldTargetAsTheNewestBackup) {
    const auto& [example, linksWork] = GetParam();
    if (!linksWork)
        fileSystem.linkFailure = platform::FsStatus::Unsupported;
    left(example.name, "new");
    for (const auto& [name, content] : example.before)
        right(name, content);
    planCopy(example.name, example.backupList);

    copyPlannedFiles();

    EXPECT_EQ(rightFiles(), example.after);
    EXPECT_EQ(copyRow(0).status, "File copied");
    EXPECT_EQ(copyRow(0).colour, RowColour::Plain);
}

const RotationCase kRotations[] = {
    {"TwoLevelsFull",
     "DATA.DBF",
     "DB1,DB2",
     {{"DATA.DBF", "old"}, {"DATA.DBF.DB1", "older"}, {"DATA.DBF.DB2", "oldest"}},
     {{"DATA.DBF", "new"}, {"DATA.DBF.DB1", "old"}, {"DATA.DBF.DB2", "older"}}},
    {"BlanksAndSemicolons",
     "DATA.DBF",
     " DB1 ; DB2 ,",
     {{"DATA.DBF", "old"}, {"DATA.DBF.DB1", "older"}},
     {{"DATA.DBF", "new"}, {"DATA.DBF.DB1", "old"}, {"DATA.DBF.DB2", "older"}}},
    {"WholeNameBeforeTheExtension",
     "changelog.Debian.gz",
     "OLD",
     {{"changelog.Debian.gz", "old"}, {"changelog.gz.OLD", "other"}},
     {{"changelog.Debian.gz", "new"},
      {"changelog.Debian.gz.OLD", "old"},
      {"changelog.gz.OLD", "other"}}},
    {"NameWithoutDot",
     "README",
     "DB1",
     {{"README", "old"}},
     {{"README", "new"}, {"README.DB1", "old"}}},
    {"NoBackupList",
     "DATA.DBF",
     "",
     {{"DATA.DBF", "old"}, {"DATA.DBF.DB1", "kept"}},
     {{"DATA.DBF", "new"}, {"DATA.DBF.DB1", "kept"}}},
    {"NoTargetYet",
     "DATA.DBF",
     "DB1,DB2",
     {{"DATA.DBF.DB1", "older"}},
     {{"DATA.DBF", "new"}, {"DATA.DBF.DB2", "older"}}},
    // The chain an earlier version kept under the base name moves to the file's own names.
    {"EarlierChainTakenOver",
     "DATA.DBF",
     "DB1,DB2",
     {{"DATA.DBF", "old"}, {"DATA.DB1", "older"}, {"DATA.DB2", "oldest"}},
     {{"DATA.DBF", "new"}, {"DATA.DBF.DB1", "old"}, {"DATA.DBF.DB2", "older"}}},
    // DATA.DB1 is the file itself, never its earlier backup: DATA.DB2 is left alone.
    {"NameEndingInABackupExtension",
     "DATA.DB1",
     "DB1,DB2",
     {{"DATA.DB1", "old"}, {"DATA.DB2", "other"}},
     {{"DATA.DB1", "new"}, {"DATA.DB1.DB1", "old"}, {"DATA.DB2", "other"}}},
};

INSTANTIATE_TEST_SUITE_P(Examples, BackupRotationTest,
                         ::testing::Combine(::testing::ValuesIn(kRotations), ::testing::Bool()),
                         [](const auto& testInfo) {
                             return std::string(std::get<0>(testInfo.param).title) +
                                    (std::get<1>(testInfo.param) ? "" : "WithoutLinks");
                         });

// Files sharing a base keep chains of their own; a chain an earlier version left under the
// shared base name is kept as it is, while one that only its file can have made moves to the
// file's own names.
TEST_F(CopyTest, FilesSharingABaseKeepSeparateChainsAndEarlierChainsAreKept) {
    script::FileSpecTables& tables = engine().settings.tables;
    tables.reset();
    script::applyFileSpecKey(tables, "BACKUP", "BK1,BK2");
    script::applyFileSpecKey(tables, "FILESPEC", "*.DBF");
    script::applyFileSpecKey(tables, "BACKUP", "DB1,DB2,DB3");
    tree.lay({{"left/report.odt", "odt 2"},
              {"left/report.pdf", "pdf 2"},
              {"left/DATA.DBF", "data 3"},
              {"right/report.odt", "odt 1"},
              {"right/report.pdf", "pdf 1"},
              {"right/report.BK1", "earlier"},
              {"right/DATA.DBF", "data 2"},
              {"right/DATA.DB1", "data 1"},
              {"right/DATA.DB2", "data 0"}});
    for (const char* name : {"report.odt", "report.pdf"})
        planCopy(name, "BK1,BK2");
    planCopy("DATA.DBF", "DB1,DB2,DB3");

    copyPlannedFiles();

    EXPECT_EQ(rightFiles(), (TreeListing{{"report.odt", "odt 2"},
                                         {"report.odt.BK1", "odt 1"},
                                         {"report.pdf", "pdf 2"},
                                         {"report.pdf.BK1", "pdf 1"},
                                         {"report.BK1", "earlier"},
                                         {"DATA.DBF", "data 3"},
                                         {"DATA.DBF.DB1", "data 2"},
                                         {"DATA.DBF.DB2", "data 1"},
                                         {"DATA.DBF.DB3", "data 0"}}));
}

TEST_F(CopyTest, OldestBackupThatCannotBeDroppedStopsTheRotationWithoutLoss) {
    // A folder in the oldest place cannot be deleted: every level stays, and the old target
    // keeps its name because its backup name is still taken.
    tree.lay({{"left/DATA.DBF", "new"},
              {"right/DATA.DBF", "old"},
              {"right/DATA.DBF.DB1", "older"},
              {"right/DATA.DBF.DB2/INSIDE", "folder"}});
    planCopy("DATA.DBF", "DB1,DB2");

    copyPlannedFiles();

    EXPECT_EQ(rightFiles(), (TreeListing{{"DATA.DBF", "old"},
                                         {"DATA.DBF.DB1", "older"},
                                         {"DATA.DBF.DB2/INSIDE", "folder"}}));
    EXPECT_EQ(copyRow(0).status, "Could not rename target to first backup extension DB1");
    EXPECT_EQ(copyRow(0).colour, RowColour::Red);
}

TEST_F(CopyTest, CopyCarriesTheStampRoundedToTwoSecondsAndTheAttributes) {
    tree.lay(
        {{"left/STAMPED.TXT", "content", 1700000001}, {"left/LOCKED.TXT", "locked", 1600000000}});
    std::filesystem::permissions(leftHost("STAMPED.TXT"), std::filesystem::perms(0640));
    std::filesystem::permissions(leftHost("LOCKED.TXT"), std::filesystem::perms(0444));
    planCopy("STAMPED.TXT");
    planCopy("LOCKED.TXT");

    copyPlannedFiles();

    const std::time_t stamped = tree.time("right/STAMPED.TXT");
    EXPECT_EQ(stamped, platform::timeFromDosStamp(platform::dosStampFromTime(1700000001)));
    EXPECT_EQ(stamped % 2, 0);
    EXPECT_EQ(tree.time("right/LOCKED.TXT"), 1600000000);
    const auto permissions = [this](std::string_view name) {
        return std::filesystem::status(rightHost(name)).permissions() &
               std::filesystem::perms(0777);
    };
#ifdef _WIN32
    // Windows keeps the read-only attribute alone.
    EXPECT_EQ(permissions("STAMPED.TXT") & std::filesystem::perms::owner_write,
              std::filesystem::perms::owner_write);
    EXPECT_EQ(permissions("LOCKED.TXT") & std::filesystem::perms::owner_write,
              std::filesystem::perms::none);
#else
    EXPECT_EQ(permissions("STAMPED.TXT"), std::filesystem::perms(0640));
    EXPECT_EQ(permissions("LOCKED.TXT"), std::filesystem::perms(0444));
#endif
    EXPECT_EQ(readRight("LOCKED.TXT"), "locked");
    EXPECT_EQ(context().status().counter(Counter::UpFiles), 2);
}

TEST_F(CopyTest, ReadOnlyTargetIsReplaced) {
    tree.lay({{"left/DATA.DBF", "new"}, {"right/DATA.DBF", "old and read-only"}});
    std::filesystem::permissions(rightHost("DATA.DBF"), std::filesystem::perms(0444));
    planCopy("DATA.DBF", "BAK");

    copyPlannedFiles();

    EXPECT_EQ(rightFiles(),
              (TreeListing{{"DATA.DBF", "new"}, {"DATA.DBF.BAK", "old and read-only"}}));
    EXPECT_EQ(copyRow(0).status, "File copied");
}

TEST_F(CopyTest, LeftoverTemporaryFileIsReplacedAndNothingStaysBehind) {
    tree.lay(
        {{"left/DATA.DBF", "new"},
         // An hour old: on another machine only its age tells a leftover from a copy going on.
         {"right/$BRISKO$.$$$", "left over from an interrupted copy", std::time(nullptr) - 3600}});
    planCopy("DATA.DBF");

    copyPlannedFiles();

    EXPECT_EQ(rightFiles(), (TreeListing{{"DATA.DBF", "new"}}));
}

// A link at the temporary name (a run cut short while copying a link leaves one) goes itself.
TEST_F(CopyTest, PlantedLinkOfTheTemporaryNameIsNeverWrittenThrough) {
    if (!hostMakesSymlinks())
        GTEST_SKIP() << "the system makes no symbolic links here";
    tree.lay({{"victim.txt", "must stay"},
              {"left/DATA.DBF", "new"},
              {"left/OTHER.DBF", "other"},
              {"right/DATA.DBF", "old"},
              {"right/SUB/"},
              {"right/$BRISKO$.$$$", "->" + tree.path("victim.txt").string()}});
    planCopy("DATA.DBF");
    planCopy("OTHER.DBF", "", "R:\\SUB");

    copyPlannedFiles();

    EXPECT_EQ(tree.read("victim.txt"), "must stay");
    EXPECT_EQ(rightFiles(), (TreeListing{{"DATA.DBF", "new"}, {"SUB/OTHER.DBF", "other"}}));
    EXPECT_EQ(copyRow(0).status, "File copied");
    EXPECT_EQ(copyRow(1).status, "File copied");
}

TEST_F(CopyTest, MultiBlockFileIsCopiedWithProgressCountersAndDirection) {
    const std::string content = patternedContent(3 * 262144 + 1000);
    tree.lay({{"left/BIG.DAT", content}, {"right/BIG.DAT", "old"}});
    engine::CopyAction action = copyOf("BIG.DAT");
    action.leftToRight = false; // a copy from the right tree's side of the pair
    planCopy(action);
    engine().host.countPlanned(Counter::ToUpFiles);

    copyPlannedFiles();
    context().refreshScreen(false);

    EXPECT_EQ(readRight("BIG.DAT"), content);
    const auto size = static_cast<std::int64_t>(content.size());
    EXPECT_EQ(display.fileProgress, std::make_pair(size, size));
    EXPECT_EQ(display.totalProgress, std::make_pair(size, size));
    EXPECT_GE(display.pumps, 4);
    EXPECT_FALSE(display.directionLeftToRight);
    EXPECT_TRUE(display.directionVisible);
    EXPECT_EQ(display.leftFolder, "R:"); // the target's pane is on the left
    EXPECT_EQ(display.rightFolder, "L:");
    EXPECT_EQ(display.currentFile, "L:\\BIG.DAT");
    EXPECT_EQ(context().status().counter(Counter::UpFiles), 1);
    EXPECT_EQ(display.taskbarTitle, "1/1 Copied - Brisko 2.0");
}

TEST_F(CopyTest, SelfProtectionRefusesToOverwriteTheRunningProgram) {
    SKIP_OVER_SFTP("the running program is never a file of another machine");
    tree.lay({{"left/BRISKO2", "new build"},
              {"right/brisko2", "running program"},
              {"left/OTHER.TXT", "other"}});
    context().setOwnExecutable(rightHost("brisko2"));
    planCopy("BRISKO2");
    planCopy("OTHER.TXT");

    copyPlannedFiles();

    EXPECT_EQ(readRight("brisko2"), "running program");
    ASSERT_EQ(asker.questions.size(), 1u);
    EXPECT_EQ(asker.questions[0].kind(), DialogKind::Standard);
    EXPECT_EQ(asker.questions[0].as<StandardQuestion>().message,
              "Cannot update Brisko using Brisko\rcopy me manually\r From  L:  to  R:");
    EXPECT_EQ(copyRow(0).status, "Cannot update Brisko using Brisko");
    EXPECT_EQ(copyRow(0).colour, RowColour::Red);
    EXPECT_EQ(copyRow(1).status, "File copied");
}

TEST_F(CopyTest, VerificationComparesTheCopyAndShowsItsState) {
    left("DATA.DBF", patternedContent(100000));
    planCopy("DATA.DBF");
    context().setBinaryCompareAfterCopy(true);

    copyPlannedFiles();

    EXPECT_EQ(copyRow(0).status, "File copied");
    EXPECT_EQ(display.stateTexts, (std::vector<std::string>{"Binary compare", "Copying"}));
    EXPECT_FALSE(context().abortRequested());
}

TEST_F(CopyTest, VerificationDifferenceAbortsTheRunAndKeepsTheOldTarget) {
    tree.lay({{"left/DATA.DBF", patternedContent(100000)},
              {"left/NEXT.DBF", "next"},
              {"right/DATA.DBF", "old"}});
    planCopy("DATA.DBF", "DB1");
    planCopy("NEXT.DBF");
    context().setBinaryCompareAfterCopy(true);
    fileSystem.corruptWrites = true;

    copyPlannedFiles();

    EXPECT_EQ(copyRow(0).status, "Binary compare failed - target kept");
    EXPECT_EQ(copyRow(0).colour, RowColour::Red);
    ASSERT_FALSE(asker.questions.empty());
    EXPECT_EQ(asker.questions.back().as<StandardQuestion>().message,
              "binary compare failed between copied source file L:\\DATA.DBF and target "
              "R:\\DATA.DBF, all sessions are aborted");
    EXPECT_TRUE(context().abortRequested());
    // The copy that differs never took the target's place: the target and its backups stay.
    EXPECT_EQ(rightFiles(), (TreeListing{{"DATA.DBF", "old"}}));
    EXPECT_EQ(copyRow(1).status, "File to be copied");
}

} // namespace
} // namespace brisko::test
