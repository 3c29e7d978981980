#include "CopyFixture.h"
#include "run/ActionDriver.h"
#include "run/TempCopier.h"
#include "run/TemporaryFile.h"
#include "support/CasePrinter.h"
#include "support/SftpDrives.h"

#include <ctime>
#include <filesystem>
#include <fstream>

namespace brisko::test {
namespace {

namespace fs = std::filesystem;

// What another program does to the right tree between the scan and the copy.
struct ChangeCase {
    const char* title;
    TreeListing before; // the right tree when the plan is made
    std::function<void(TempTree&)> change;
    TreeListing after; // the right tree after the run
};
PRINT_CASE_AS(ChangeCase, c.title);

class TargetChangedTest : public CopyTest, public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(TargetChangedTest, CopyOverATargetThatChangedSinceTheScanIsSkipped) {
    const ChangeCase& example = GetParam();
    left("A.TXT", "from the left");
    for (const auto& [name, content] : example.before)
        right(name, content);
    planCopy("A.TXT", "BAK");
    example.change(tree);

    copyPlannedFiles();

    EXPECT_EQ(rightFiles(), example.after);
    EXPECT_EQ(copyRow(0).status, "Target changed since the scan - skipped");
    EXPECT_EQ(copyRow(0).colour, RowColour::Red);
    EXPECT_EQ(context().failedActions(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TargetChangedTest,
    ::testing::Values(
        ChangeCase{"CreatedAfterTheScan",
                   {},
                   [](TempTree& tree) { tree.write("right/A.TXT", "written meanwhile"); },
                   {{"A.TXT", "written meanwhile"}}},
        ChangeCase{"RewrittenAfterTheScan",
                   {{"A.TXT", "old"}},
                   [](TempTree& tree) { tree.write("right/A.TXT", "rewritten meanwhile"); },
                   {{"A.TXT", "rewritten meanwhile"}}},
        ChangeCase{"DeletedAfterTheScan",
                   {{"A.TXT", "old"}},
                   [](TempTree& tree) { fs::remove(tree.path("right/A.TXT")); },
                   {}}),
    [](const auto& testInfo) { return std::string(testInfo.param.title); });

TEST_F(CopyTest, SourceRewrittenDuringItsCopyNeverReplacesTheTarget) {
    tree.lay({{"left/BIG.DAT", patternedContent(3 * run::TempCopier::kBlockSize)},
              {"right/BIG.DAT", "old"}});
    planCopy("BIG.DAT");
    int pumps = 0;
    display.onPump = [&] {
        if (++pumps == 2) // after the first block (the first pump comes before the copy)
            left("BIG.DAT", "rewritten while it was read");
    };

    copyPlannedFiles();

    EXPECT_EQ(rightFiles(), (TreeListing{{"BIG.DAT", "old"}}));
    EXPECT_EQ(copyRow(0).status, "Source changed during the copy - target kept");
}

TEST_F(CopyTest, SourceRewrittenInPlaceWithItsStampPutBackNeverReplacesTheTarget) {
    SKIP_OVER_SFTP("the server keeps no change time: a rewrite that puts its stamp back is unseen");
    const std::string original = patternedContent(4 * run::TempCopier::kBlockSize);
    tree.lay({{"left/BIG.DAT", original}, {"right/BIG.DAT", "old"}});
    planCopy("BIG.DAT");
    const fs::path source = tree.path("left/BIG.DAT");
    const fs::file_time_type stamp = fs::last_write_time(source);
    fileSystem.beforeRead = [&](int call) {
        if (call != 2) // after the first block
            return;
        std::fstream file(source, std::ios::in | std::ios::out | std::ios::binary);
        file.write("HEAD", 4);
        file.seekp(-4, std::ios::end);
        file.write("TAIL", 4);
        file.close();
        fs::last_write_time(source, stamp);
    };

    copyPlannedFiles();

    EXPECT_TRUE(readRight("BIG.DAT") == "old") << "a torn copy took the target's place";
    EXPECT_EQ(copyRow(0).status, "Source changed during the copy - target kept");
    EXPECT_EQ(copyRow(0).colour, RowColour::Red);
}

TEST_F(CopyTest, TemporaryFileOfAnotherLiveRunIsLeftAlone) {
    tree.lay({{"left/A.TXT", "mine"}, {"right/A.TXT", "old"}});
    planCopy("A.TXT");
    run::TemporaryFile otherRun(realFileSystem, "R:");
    ASSERT_TRUE(otherRun.create().ok());

    copyPlannedFiles();

    EXPECT_EQ(copyRow(0).status, "Another copy is in progress in this folder - skipped");
    EXPECT_EQ(rightFiles(), (TreeListing{{"A.TXT", "old"}, {run::TemporaryFile::kName, ""}}));
}

TEST_F(CopyTest, CopyIsFlushedBeforeItTakesItsNameAndTheFolderAfterwards) {
    tree.lay({{"left/A.TXT", "new"}, {"right/A.TXT", "old"}});
    planCopy("A.TXT");

    copyPlannedFiles();

    const std::string temporary = std::string("R:\\") + run::TemporaryFile::kName;
    EXPECT_EQ(
        fileSystem.events(),
        (std::vector<std::string>{"flush " + temporary, "rename " + temporary + " -> R:\\A.TXT",
                                  "flush folder R:"}));
}

TEST_F(CopyTest, LinkIsReproducedAsALink) {
    if (!hostMakesSymlinks())
        GTEST_SKIP() << "the system makes no symbolic links here";
    tree.lay({{"left/LINK", "->../elsewhere/target.txt"},
              {"right/LINK", "a file of that name is never replaced by a link"},
              {"left/OTHER", "->old/target"},
              {"right/OTHER", "->stale"}});
    engine::CopyAction link = copyOf("OTHER");
    link.link = true;
    planCopy(link);

    copyPlannedFiles();

    EXPECT_EQ(rightFiles(),
              (TreeListing{{"LINK", "a file of that name is never replaced by a link"},
                           {"OTHER", "->old/target"}}));
    EXPECT_EQ(copyRow(0).status, "Link copied");
}

TEST_F(CopyTest, FolderHoldingAFileThatChangedSinceTheScanIsKept) {
    tree.lay({{"right/OLD/A.TXT", "planned for deletion"},
              {"right/OLD/B.TXT", "left to the folder deletion"}});
    planDeletion("R:\\OLD\\A.TXT");
    planFolderDeletion("R:\\OLD");
    right("OLD/A.TXT", "changed by another program");

    listPlan();
    run::runActions(context().actionContext());

    EXPECT_EQ(rightFiles(), (TreeListing{{"OLD/A.TXT", "changed by another program"},
                                         {"OLD/B.TXT", "left to the folder deletion"}}));
    EXPECT_EQ(row(context().history().rowOf(run::PlanList::FilesToDelete, 0)).status,
              "Changed since the scan - kept");
    EXPECT_EQ(row(context().history().rowOf(run::PlanList::FoldersToDelete, 0)).status,
              "Folder kept - it holds a file that was kept");
    EXPECT_EQ(context().failedActions(), 2);
}

TEST_F(CopyTest, MirrorDeletesAFolderWithOnlyWhatItsScanSaw) {
    clock.set(std::time(nullptr)); // the files are written now: no stamp is in the future
    tree.lay({{"left/KEEP.TXT", "k"},
              {"right/KEEP.TXT", "k"},
              {"right/OLD/O", "o"},
              {"right/OLD/SUB/S", "s"},
              {"right/OLD/SUB/DONE/D", "d"}});
    tree.write("job.brk", "LeftRoot=L:\nRightRoot=R:\nLeftPath=\\\nRightPath=\\\n"
                          "UpdateMode=LMaster\nExecute\n");
    context().loadScript(tree.path("job.brk").string());
    ASSERT_TRUE(context().scan());
    ASSERT_EQ(context().plan().foldersToDelete().size(), 1u);
    right("OLD/NEWWORK", "created after the scan");
    right("OLD/SUB/S", "edited after the scan");

    run::runActions(context().actionContext());

    EXPECT_EQ(rightFiles(), (TreeListing{{"KEEP.TXT", "k"},
                                         {"OLD/NEWWORK", "created after the scan"},
                                         {"OLD/SUB/S", "edited after the scan"}}));
    EXPECT_EQ(row(context().history().rowOf(run::PlanList::FoldersToDelete, 0)),
              (HistoryRow{"R:\\OLD", "", "", "",
                          "Folder holds entries added or changed since the scan - kept",
                          RowColour::Red}));
    const std::vector<HistoryRow>& rows = context().history().rows();
    const std::vector<HistoryRow> kept(rows.end() - 2, rows.end());
    EXPECT_EQ(kept,
              (std::vector<HistoryRow>{
                  {"R:\\OLD\\NEWWORK", "", "", "", "Added since the scan - kept", RowColour::Red},
                  {"R:\\OLD\\SUB\\S", "", "", "", "Changed since the scan - kept", RowColour::Red},
              }));
    EXPECT_GT(context().failedActions(), 0);
}

} // namespace
} // namespace brisko::test
