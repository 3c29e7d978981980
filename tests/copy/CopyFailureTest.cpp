#include "CopyFixture.h"
#include "support/CasePrinter.h"

#include <filesystem>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace brisko::test {
namespace {

constexpr std::size_t kBlock = 262144;

TEST_F(CopyTest, SourceThatCannotBeOpenedIsReportedAndSkipped) {
#ifdef _WIN32
    GTEST_SKIP() << "a FIFO is a POSIX thing";
#else
    ASSERT_EQ(mkfifo(leftHost("FIFO.DAT").c_str(), 0644), 0);
#endif
    tree.lay({{"left/NEXT.DAT", "next"}, {"right/GONE.DAT", "old"}, {"right/FIFO.DAT", "old"}});
    planCopy("GONE.DAT"); // deleted since the scan
    planCopy("FIFO.DAT"); // not a regular file
    planCopy("NEXT.DAT");

    copyPlannedFiles();

    ASSERT_EQ(asker.questions.size(), 2u);
    EXPECT_EQ(asker.questions[0].kind(), DialogKind::Standard);
    EXPECT_EQ(asker.questions[0].as<StandardQuestion>().message,
              "Could not open Source File L:\\GONE.DAT");
    EXPECT_EQ(asker.questions[1].as<StandardQuestion>().message,
              "Could not open Source File L:\\FIFO.DAT");
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(copyRow(i).status, "Could not open Source File");
        EXPECT_EQ(copyRow(i).colour, RowColour::Red);
    }
    EXPECT_EQ(rightFiles(),
              (TreeListing{{"GONE.DAT", "old"}, {"FIFO.DAT", "old"}, {"NEXT.DAT", "next"}}));
    EXPECT_EQ(context().status().counter(Counter::UpFiles), 1);
}

struct ReadErrorCase {
    const char* title;
    DialogAnswer answer;
    bool copied;
    const char* outcome;
    bool aborts;
};
PRINT_CASE_AS(ReadErrorCase, c.title);

class ReadErrorTest : public CopyTest, public ::testing::WithParamInterface<ReadErrorCase> {};

TEST_P(ReadErrorTest, OperatorDecidesAboutASourceThatCannotBeRead) {
    const ReadErrorCase& example = GetParam();
    const std::string content = patternedContent(3 * kBlock);
    tree.lay({{"left/BIG.DAT", content},
              {"left/NEXT.DAT", "next"},
              {"right/BIG.DAT", "old"},
              {"right/BIG.DAT.DB1", "older"}});
    planCopy("BIG.DAT", "DB1");
    planCopy("NEXT.DAT");
    fileSystem.failReadAt = 2; // the second block
    fileSystem.failingReads = 1;
    asker.answers.push_back(example.answer);

    copyPlannedFiles();

    ASSERT_FALSE(asker.questions.empty());
    EXPECT_EQ(asker.questions[0].kind(), DialogKind::FileError);
    EXPECT_EQ(asker.questions[0].as<FileErrorQuestion>().message,
              "Could not read from the file L:\\BIG.DAT");
    EXPECT_EQ(copyRow(0).status, example.outcome);
    EXPECT_EQ(copyRow(0).colour, example.copied ? RowColour::Plain : RowColour::Red);
    EXPECT_EQ(context().abortRequested(), example.aborts);
    TreeListing expected{{"BIG.DAT", example.copied ? content : "old"},
                         {"BIG.DAT.DB1", example.copied ? "old" : "older"}};
    if (!example.aborts)
        expected["NEXT.DAT"] = "next";
    EXPECT_EQ(rightFiles(), expected); // no temporary file either
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ReadErrorTest,
    ::testing::Values(ReadErrorCase{"Retry", DialogAnswer::Retry, true, "File copied", false},
                      ReadErrorCase{"AbortAll", DialogAnswer::Abort, false,
                                    "Could not read from the file - Update aborted", true},
                      ReadErrorCase{"SkipFile", DialogAnswer::Ignore, false,
                                    "Could not read from the file - skipped", false}),
    [](const auto& testInfo) { return std::string(testInfo.param.title); });

struct WriteErrorCase {
    const char* title;
    platform::FsResult failure;
    std::int64_t after;
    const char* outcome;
};
PRINT_CASE_AS(WriteErrorCase, c.title);

class WriteErrorTest : public CopyTest, public ::testing::WithParamInterface<WriteErrorCase> {};

TEST_P(WriteErrorTest, FailedWriteLeavesTargetAndBackupsAsTheyWere) {
    const WriteErrorCase& example = GetParam();
    tree.lay({{"left/DATA.DBF", patternedContent(3 * kBlock)},
              {"left/NEXT.DAT", "next"},
              {"right/DATA.DBF", "old"},
              {"right/DATA.DB1", "older"},
              {"right/DATA.DB2", "oldest"}});
    planCopy("DATA.DBF", "DB1,DB2");
    planCopy("NEXT.DAT");
    fileSystem.writeFailure = example.failure;
    fileSystem.failWritesAfter = example.after;

    copyPlannedFiles();

    EXPECT_EQ(copyRow(0).status, example.outcome);
    EXPECT_EQ(copyRow(0).colour, RowColour::Red);
    EXPECT_EQ(rightFiles(), (TreeListing{{"DATA.DBF", "old"},
                                         {"DATA.DB1", "older"},
                                         {"DATA.DB2", "oldest"},
                                         {"NEXT.DAT", "next"}}));
}

INSTANTIATE_TEST_SUITE_P(
    Failures, WriteErrorTest,
    ::testing::Values(WriteErrorCase{"DiskFullMidway",
                                     {platform::FsStatus::NoSpace, "No space left on device"},
                                     static_cast<std::int64_t>(kBlock),
                                     "Could not write the copy - disk full"},
                      WriteErrorCase{"DeviceError",
                                     {platform::FsStatus::IoError, "Input/output error"},
                                     0,
                                     "Could not write the copy - Input/output error"}),
    [](const auto& testInfo) { return std::string(testInfo.param.title); });

struct RenameCase {
    const char* title;
    std::string backupList;
    bool linksWork;
    bool backupRenameFails; // putting the old target back fails too
    const char* outcome;
    TreeListing after;
};
PRINT_CASE_AS(RenameCase, c.title);

class FinalRenameTest : public CopyTest, public ::testing::WithParamInterface<RenameCase> {};

TEST_P(FinalRenameTest, CopyThatCannotTakeTheTargetNameIsNotReportedCopied) {
    const RenameCase& example = GetParam();
    tree.lay({{"left/DATA.DBF", "new"}, {"right/DATA.DBF", "old"}});
    planCopy("DATA.DBF", example.backupList);
    if (!example.linksWork)
        fileSystem.linkFailure = platform::FsStatus::Unsupported;
    const bool backupRenameFails = example.backupRenameFails;
    fileSystem.refuseRename = [backupRenameFails](std::string_view from, std::string_view) {
        return from.ends_with("$BRISKO$.$$$") || (backupRenameFails && from.ends_with(".DB1"));
    };

    copyPlannedFiles();

    EXPECT_EQ(copyRow(0).status, example.outcome);
    EXPECT_EQ(copyRow(0).colour, RowColour::Red);
    EXPECT_EQ(rightFiles(), example.after);
    EXPECT_EQ(context().status().counter(Counter::UpFiles), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FinalRenameTest,
    ::testing::Values(RenameCase{"NoBackup",
                                 "",
                                 true,
                                 false,
                                 "Could not rename the copy to the target name - target kept",
                                 {{"DATA.DBF", "old"}}},
                      RenameCase{"BackupByLink",
                                 "DB1",
                                 true,
                                 false,
                                 "Could not rename the copy to the target name - target kept",
                                 {{"DATA.DBF", "old"}}},
                      RenameCase{"BackupByRename",
                                 "DB1",
                                 false,
                                 false,
                                 "Could not rename the copy to the target name - target kept",
                                 {{"DATA.DBF", "old"}}},
                      RenameCase{
                          "TargetCannotBePutBack",
                          "DB1",
                          false,
                          true,
                          "Could not rename the copy to the target name - old target kept as "
                          "R:\\DATA.DBF.DB1",
                          {{"DATA.DBF.DB1", "old"}}}),
    [](const auto& testInfo) { return std::string(testInfo.param.title); });

TEST_F(CopyTest, ADriveGoneSinceTheScanIsNamedAsGoneNotAsFull) {
    tree.lay({{"left/DATA.DBF", "new"}});
    planCopy("DATA.DBF");
    fileSystem.driveGoneBecause = "connection lost";

    copyPlannedFiles();

    EXPECT_TRUE(asker.questions.empty());
    EXPECT_EQ(copyRow(0).status, "Drive R: is no longer there (connection lost) - skipped");
    EXPECT_EQ(copyRow(0).colour, RowColour::Red);
}

TEST_F(CopyTest, CopyWhoseFolderCannotBeFlushedIsNotReportedAsASuccess) {
    tree.lay({{"left/DATA.DBF", "new"}, {"left/NEXT.DBF", "next"}});
    planCopy("DATA.DBF");
    planCopy("NEXT.DBF");
    fileSystem.folderFlushFailure = platform::FsResult{platform::FsStatus::IoError, "I/O error"};

    copyPlannedFiles();

    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(copyRow(i).status, "Copied but the folder could not be flushed - I/O error");
        EXPECT_EQ(copyRow(i).colour, RowColour::Red);
    }
    EXPECT_EQ(rightFiles(), (TreeListing{{"DATA.DBF", "new"}, {"NEXT.DBF", "next"}}));
    EXPECT_EQ(context().status().counter(Counter::UpFiles), 2);
    EXPECT_EQ(context().failedActions(), 2);
}

TEST_F(CopyTest, EachFolderIsFlushedOnceAndOnlyItsCopiesFailWithIt) {
    tree.lay({{"left/A.DBF", "a"},
              {"left/B.DBF", "b"},
              {"left/C.DBF", "c"},
              {"right/SUB/OLD.TXT", "old"}});
    planCopy("A.DBF");
    planCopy("B.DBF", "", "R:\\SUB");
    planCopy("C.DBF", "", "R:\\SUB");
    fileSystem.folderFlushFailure = platform::FsResult{platform::FsStatus::IoError, "I/O error"};
    fileSystem.folderFlushFailureIn = "R:\\SUB";

    copyPlannedFiles();

    EXPECT_EQ(fileSystem.flushedFolders, (std::vector<std::string>{"R:", "R:\\SUB"}));
    EXPECT_EQ(copyRow(0).status, "File copied");
    for (std::size_t i = 1; i < 3; ++i) {
        EXPECT_EQ(copyRow(i).status, "Copied but the folder could not be flushed - I/O error");
        EXPECT_EQ(copyRow(i).colour, RowColour::Red);
    }
    EXPECT_EQ(context().failedActions(), 2);
}

TEST_F(CopyTest, RefusedBackupLinkKeepsTheTargetUntouched) {
    tree.lay({{"left/DATA.DBF", "new"}, {"right/DATA.DBF", "old"}});
    planCopy("DATA.DBF", "DB1");
    fileSystem.linkFailure = platform::FsStatus::AccessDenied;

    copyPlannedFiles();

    EXPECT_EQ(copyRow(0).status, "Could not rename target to first backup extension DB1");
    EXPECT_EQ(rightFiles(), (TreeListing{{"DATA.DBF", "old"}}));
}

TEST_F(CopyTest, AbortDuringACopyLeavesTargetAndBackupsUntouched) {
    tree.lay({{"left/BIG.DAT", patternedContent(4 * kBlock)},
              {"left/NEXT.DAT", "next"},
              {"right/BIG.DAT", "old"},
              {"right/BIG.DB1", "older"}});
    planCopy("BIG.DAT", "DB1,DB2");
    planCopy("NEXT.DAT");
    int pumps = 0;
    display.onPump = [&] {
        if (++pumps == 2) // Abort All, clicked while the first block was being copied
            context().abortAll();
    };

    copyPlannedFiles();

    EXPECT_EQ(pumps, 2); // one before the copy began, one after its first block
    EXPECT_EQ(rightFiles(), (TreeListing{{"BIG.DAT", "old"}, {"BIG.DB1", "older"}}));
    EXPECT_EQ(copyRow(0).status, "File to be copied");
    EXPECT_EQ(copyRow(1).status, "File to be copied");
    EXPECT_EQ(display.taskbarTitle, "Stopped - Brisko 2.0");
    EXPECT_FALSE(display.directionVisible);
}

struct FreeSpaceCase {
    const char* title;
    std::int64_t freeBytes;
    std::string backupList;
    bool targetPresent;
    DialogAnswer answer;
    bool asked;
    const char* outcome;
    const char* targetAfter; // nullptr: no target
};
PRINT_CASE_AS(FreeSpaceCase, c.title);

class PerFileFreeSpaceTest : public CopyTest,
                             public ::testing::WithParamInterface<FreeSpaceCase> {};

TEST_P(PerFileFreeSpaceTest, EachCopyChecksTheSpaceOfItsDrive) {
    const FreeSpaceCase& example = GetParam();
    left("DATA.DBF", std::string(100, 'n'));
    if (example.targetPresent)
        right("DATA.DBF", std::string(200, 'o'));
    planCopy("DATA.DBF", example.backupList);
    fileSystem.freeSpace = example.freeBytes;
    asker.answers.push_back(example.answer);

    copyPlannedFiles();

    EXPECT_EQ(copyRow(0).status, example.outcome);
    ASSERT_EQ(asker.questions.size(), example.asked ? 1u : 0u);
    if (example.asked) {
        const Question& question = asker.questions[0];
        EXPECT_EQ(question.kind(), DialogKind::InvalidDrive);
        const auto& full = question.as<InvalidDriveQuestion>();
        EXPECT_EQ(full.caption, "Free Space Warning !");
        EXPECT_EQ(full.message, "No more free space on Drive R to copy DATA.DBF");
        EXPECT_EQ(full.skipCaption, "Skip File");
    }
    EXPECT_EQ(context().abortRequested(), example.answer == DialogAnswer::Abort && example.asked);
    TreeListing expected; // no temporary file either
    if (example.targetAfter != nullptr)
        expected["DATA.DBF"] = example.targetAfter;
    EXPECT_EQ(rightFiles(), expected);
}

const std::string kNew(100, 'n');
const std::string kOld(200, 'o');

INSTANTIATE_TEST_SUITE_P(
    Cases, PerFileFreeSpaceTest,
    ::testing::Values(FreeSpaceCase{"EnoughSpace", 101, "", true, DialogAnswer::Ignore, false,
                                    "File copied", kNew.c_str()},
                      // A source of exactly the free space does not fit beside the target...
                      FreeSpaceCase{"ExactlyTheFreeSpaceNoTarget", 100, "", false,
                                    DialogAnswer::Ignore, true,
                                    "No more free space on Drive R - skipped", nullptr},
                      // ...but the target without backups makes room for it.
                      FreeSpaceCase{"TargetMakesRoom", 100, "", true, DialogAnswer::Ignore, false,
                                    "File copied", kNew.c_str()},
                      FreeSpaceCase{"TargetKeptAsBackupCannotMakeRoom", 100, "DB1", true,
                                    DialogAnswer::Ignore, true,
                                    "No more free space on Drive R - skipped", kOld.c_str()},
                      FreeSpaceCase{"AbortAll", 0, "", false, DialogAnswer::Abort, true,
                                    "No more free space on Drive R - Update aborted", nullptr}),
    [](const auto& testInfo) { return std::string(testInfo.param.title); });

} // namespace
} // namespace brisko::test
