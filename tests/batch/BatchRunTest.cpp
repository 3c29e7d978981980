#include "BatchProcess.h"
#include "support/MappedTree.h"

#include <filesystem>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <csignal>
#include <unistd.h>
#endif

namespace brisko::test {
namespace {

using Fields = std::vector<std::string>;

// Two sample trees mapped as L: and R:, and a script between them.
class BatchRunTest : public ::testing::Test {
protected:
    std::vector<std::string> arguments(std::vector<std::string> options,
                                       const std::string& script) {
        tree.write("job.brk", script);
        std::vector<std::string> all = tree.driveOptions();
        all.insert(all.end(), options.begin(), options.end());
        all.push_back(tree.path("job.brk").string());
        return all;
    }
    ProcessResult run(std::vector<std::string> options, const std::string& script) {
        return runBatchProcess(arguments(std::move(options), script));
    }

    MappedTree tree{{{'L', "left"}, {'R', "right"}}};
};

const char* kMirror = "LeftRoot=L:\nRightRoot=R:\nLeftPath=\\\nRightPath=\\\n"
                      "FileSpec=*.TXT\nBackup=BK1\nUpdateMode=LMaster\nExecute\n";

TEST_F(BatchRunTest, DryRunPrintsThePlanAndChangesNothing) {
    tree.lay({{"left/new.txt", "new"}, {"right/gone.txt", "gone"}});
    ProcessResult result = run({"--dry-run"}, kMirror);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    Records all = records(result.out);
    EXPECT_EQ(only(all, "errors"), (Records{{"errors", "0"}}));
    EXPECT_EQ(only(all, "history"),
              (Records{{"history", "blue", "R:\\gone.txt", "", "", "", "File to be deleted"},
                       {"history", "blue", "L:\\new.txt", "R:\\new.txt", "3", "+3",
                        "File to be copied"}}));
    EXPECT_EQ(all.back(), (Fields{"counters", "0", "1", "0", "0", "0", "1", "0", "0"}));
    EXPECT_EQ(tree.listing("right"), (TreeListing{{"gone.txt", "gone"}}));
}

// Records are for programs: sizes are plain integers and folders are joined with '\\' even
// where the script wrote '/'.
TEST_F(BatchRunTest, RecordsHoldPlainNumbersAndOneSeparator) {
    tree.lay({{"left/docs/sub/big.txt", std::string(1234567, 'x')}});
    ProcessResult result = run({"--dry-run"}, "LeftRoot=L:\nRightRoot=R:\nLeftPath=docs/sub\n"
                                              "RightPath=\\\nUpdateMode=LMaster\nExecute\n");
    EXPECT_EQ(only(records(result.out), "history"),
              (Records{{"history", "blue", "L:\\DOCS\\SUB\\big.txt", "R:\\big.txt", "1234567",
                        "+1234567", "File to be copied"}}));
}

// The window's grid stops at 2000 rows; the records hold every one.
TEST_F(BatchRunTest, EveryRowIsWrittenBeyondTheWindowsLimit) {
    for (int i = 0; i < 2100; ++i)
        tree.write("left/f" + std::to_string(i) + ".txt", "x");
    ProcessResult result = run({"--dry-run"}, kMirror);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(only(records(result.out), "history").size(), 2100u);
}

TEST_F(BatchRunTest, RunCarriesThePlanOutAndReportsEachOutcome) {
    tree.lay({{"left/a.txt", "left version", 1700000000}, {"right/a.txt", "right", 1600000000}});
    ProcessResult result = run({}, kMirror);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(tree.listing("right"),
              (TreeListing{{"a.txt", "left version"}, {"a.txt.BK1", "right"}}));
    Records history = only(records(result.out), "history");
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0][1], "plain");
    EXPECT_EQ(history[0][6], "File copied");
    EXPECT_EQ(records(result.out).back(),
              (Fields{"counters", "1", "1", "0", "0", "0", "0", "0", "0"}));
}

TEST_F(BatchRunTest, NamesDifferingOnlyInCaseAreMirroredEachUnderItsOwnName) {
#ifdef _WIN32
    GTEST_SKIP() << "names differing only in case cannot stand side by side in a folder here";
#endif
    tree.lay({{"left/Index.txt", "first new", 1700000000},
              {"left/index.txt", "second new", 1700000000},
              {"right/Index.txt", "first old", 1600000000},
              {"right/INDEX.TXT", "not in the master"}});
    ProcessResult result = run({}, kMirror);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(tree.listing("right"), (TreeListing{{"Index.txt", "first new"},
                                                  {"Index.txt.BK1", "first old"},
                                                  {"index.txt", "second new"}}));
}

TEST_F(BatchRunTest, PauseBetweenScanAndCopyEndsTheRunUnlessContinued) {
    tree.write("left/a.txt", "a");
    const std::string paused = std::string("BeforeCopy=Pause\n") + kMirror;

    ProcessResult stopped = run({}, paused);
    EXPECT_EQ(stopped.exitStatus, 2);
    EXPECT_EQ(only(records(stopped.out), "notice").size(), 1u) << stopped.out;
    EXPECT_FALSE(tree.exists("right/a.txt"));

    ProcessResult continued = run({"--continue", "--verify"}, paused);
    EXPECT_EQ(continued.exitStatus, 0) << continued.out;
    EXPECT_EQ(tree.read("right/a.txt"), "a");
}

TEST_F(BatchRunTest, AnActionNotCarriedOutExitsThree) {
    // The mirror would delete a read-only file; nobody confirms that on a console.
    tree.lay({{"left/a.txt", "a"}, {"right/locked.txt", "keep me"}});
    namespace fs = std::filesystem;
    fs::permissions(tree.path("right/locked.txt"),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    ProcessResult result = run({}, kMirror);
    EXPECT_EQ(result.exitStatus, 3) << result.out;
    EXPECT_TRUE(tree.exists("right/locked.txt"));
    Records asks = only(records(result.out), "ask");
    ASSERT_EQ(asks.size(), 1u);
    EXPECT_EQ(asks[0],
              (Fields{"ask", "Confirm", "Delete the read-only file R:\\locked.txt", "No"}));
}

TEST_F(BatchRunTest, AnEmptyMasterIsNotMirroredUnlessAllowed) {
    // An empty master folder is what an unmounted disk looks like.
    tree.write("right/precious.txt", "the only copy");
    ProcessResult skipped = run({}, kMirror);
    EXPECT_EQ(skipped.exitStatus, 3) << skipped.out;
    EXPECT_EQ(tree.read("right/precious.txt"), "the only copy");
    Records asks = only(records(skipped.out), "ask");
    ASSERT_EQ(asks.size(), 1u);
    EXPECT_EQ(asks[0][1], "EmptyMaster");
    EXPECT_EQ(asks[0][3], "Ignore");

    ProcessResult allowed = run({"--allow-empty-master"}, kMirror);
    EXPECT_EQ(allowed.exitStatus, 0) << allowed.out;
    EXPECT_FALSE(tree.exists("right/precious.txt"));
}

TEST_F(BatchRunTest, QuestionsTakeTheirHarmlessDefault) {
    tree.write("left/only-left.txt", "x");
    ProcessResult result =
        run({}, "LeftRoot=L:\nRightRoot=R:\nLeftPath=\\\nRightPath=\\\nExecute\n");
    EXPECT_EQ(result.exitStatus, 0);
    Records asks = only(records(result.out), "ask");
    ASSERT_EQ(asks.size(), 1u);
    EXPECT_EQ(asks[0][1], "MissingItem");
    EXPECT_EQ(asks[0][3], "Ignore");
    EXPECT_FALSE(tree.exists("right/only-left.txt"));
}

#ifndef _WIN32 // shares are the system's own on Windows
TEST_F(BatchRunTest, AShareMappedToAHostFolderRunsAsADriveDoes) {
    tree.lay({{"left/a.txt", "new", 1700000000}, {"right/docs/a.txt", "old", 1600000000}});
    const std::string script = "LeftRoot=L:\nLeftPath=\\\nRightPath=\\\\NAS\\backup\\docs\n"
                               "FileSpec=*.TXT\nBackup=BK1\nUpdateMode=LMaster\nExecute\n";
    // Not mapped: a drive that does not exist, and nothing is touched.
    ProcessResult missing = run({}, script);
    EXPECT_EQ(missing.exitStatus, 3) << missing.out;
    EXPECT_EQ(only(records(missing.out), "ask"),
              (Records{{"ask", "InvalidDrive", "Target Drive \\\\NAS\\BACKUP does not exist",
                        "Ignore"}}));
    EXPECT_EQ(tree.read("right/docs/a.txt"), "old");

    ProcessResult mapped =
        run({"--share", "\\\\nas\\Backup=" + tree.path("right").string()}, script);
    EXPECT_EQ(mapped.exitStatus, 0) << mapped.out << mapped.err;
    EXPECT_EQ(tree.listing("right"),
              (TreeListing{{"docs/a.txt", "new"}, {"docs/a.txt.BK1", "old"}}));
    const Records history = only(records(mapped.out), "history");
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0][3], "\\\\NAS\\BACKUP\\DOCS\\a.txt");
    EXPECT_EQ(history[0][6], "File copied");
}
#endif

#ifndef _WIN32 // a signal, and a sparse file
TEST_F(BatchRunTest, TerminationStopsALargeCopyAndLeavesNoTemporaryFile) {
    // A sparse file reads fast but still takes many blocks to copy. The signal comes once the
    // copy has begun, that is once its temporary file is there.
    tree.lay({{"left/big.txt", ""}, {"right/big.txt", "old", 1600000000}});
    ASSERT_EQ(truncate(tree.path("left/big.txt").c_str(), 3LL << 30), 0);
    ProcessResult result = runBatchProcessAndSignal(
        arguments({}, kMirror), SIGTERM, [this] { return tree.exists("right/$BRISKO$.$$$"); });
    EXPECT_EQ(result.exitStatus, 2) << result.out << result.err;
    EXPECT_EQ(tree.listing("right"), (TreeListing{{"big.txt", "old"}}));
}
#endif

} // namespace
} // namespace brisko::test
