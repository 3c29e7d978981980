#include "engine/ActionList.h"

#include "support/CasePrinter.h"
#include "support/EngineFakes.h"
#include "support/Fakes.h"
#include "support/ManualClock.h"
#include "support/MappedTree.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace brisko::engine {
namespace {

// A plan being built on drive C (a real temporary folder); the drives X and Y do not exist,
// so their projection starts at 0 and shows exactly what was credited and debited.
class ActionListTest : public ::testing::Test {
protected:
    ActionListTest() {
        settings.sessionCount = 1;
        projection.adjust("C:", 0, true);
        startOfC = projection.entries().front().projected;
    }

    // Bytes credited (positive) or debited (negative) on a drive since the test began.
    std::int64_t change(char drive) const {
        for (const FreeSpaceProjection::Entry& entry : projection.entries()) {
            if (entry.drive == std::string{drive, ':'})
                return entry.projected - (drive == 'C' ? startOfC : 0);
        }
        return 0;
    }

    static CopyRequest request(std::string source, std::string target, std::string name,
                               std::int64_t sourceSize, std::int64_t targetSize) {
        CopyRequest copy;
        copy.sourceFolder = std::move(source);
        copy.targetFolder = std::move(target);
        copy.name = std::move(name);
        copy.sourceSize = sourceSize;
        copy.targetSize = targetSize;
        return copy;
    }

    int planned(Counter counter) const { return host.plannedCount(counter); }

    test::MappedTree tree;
    std::unique_ptr<platform::FileSystem> hostFiles = tree.hostFileSystem();
    platform::FileSystem& fileSystem = *hostFiles;
    test::ManualClock clock;
    test::ScriptedOperator operatorPort;
    test::RecordingEngineHost host;
    script::SessionSettings settings;
    Plan plan;
    FreeSpaceProjection projection{fileSystem};
    EngineContext context{fileSystem, clock,      operatorPort, host, settings,
                          plan,       projection, ',',          {}};
    std::int64_t startOfC = 0;
};

TEST_F(ActionListTest, FolderToCreateIsListedOnce) {
    listFolderCreate(context, "X:\\NEW");
    listFolderCreate(context, "X:\\NEW");
    ASSERT_EQ(plan.foldersToCreate().size(), 1u);
    EXPECT_EQ(planned(Counter::ToUpFolder), 1);
    ASSERT_EQ(host.history.size(), 1u);
    EXPECT_EQ(host.history[0],
              (HistoryRow{"X:\\NEW", "", "", "", "Folder to be created", RowColour::Blue}));
    EXPECT_EQ(projection.entries().size(), 1u); // creating a folder changes no balance
}

TEST_F(ActionListTest, FolderToDeleteCreditsEveryFileOfItsTree) {
    tree.lay({{"OLD/A.TXT", std::string(100, 'a')},
              {"OLD/SUB/B.TXT", std::string(50, 'b')},
              {"OLD/SUB/DEEP/C.TXT", std::string(25, 'c')},
              {"OLD/SUB/.HIDDEN", std::string(5, 'h')},
              {"ELSEWHERE/BIG.BIN", std::string(4000, 'x')},
              {"OLD/LINK", "->" + tree.path("ELSEWHERE").string()}});

    listFolderDelete(context, "C:\\OLD");
    listFolderDelete(context, "C:\\OLD");

    ASSERT_EQ(plan.foldersToDelete().size(), 1u);
    EXPECT_EQ(planned(Counter::ToDelFolders), 1);
    EXPECT_EQ(change('C'), 180); // the link to a folder is not entered
    ASSERT_EQ(host.history.size(), 1u);
    EXPECT_EQ(host.history[0],
              (HistoryRow{"C:\\OLD", "", "", "", "Folder to be deleted", RowColour::Blue}));
}

TEST_F(ActionListTest, FileToDeleteShowsItsSizeAndCreditsItsDrive) {
    listFileDelete(context, "X:\\DIR\\DATA.DBF", 1234567);
    listFileDelete(context, "X:\\DIR\\DATA.DBF", 1234567);
    ASSERT_EQ(plan.filesToDelete().size(), 1u);
    EXPECT_EQ(plan.filesToDelete()[0].size, 1234567);
    EXPECT_EQ(planned(Counter::ToDelFiles), 1);
    EXPECT_EQ(change('X'), 1234567);
    ASSERT_EQ(host.history.size(), 1u);
    EXPECT_EQ(host.history[0], (HistoryRow{"X:\\DIR\\DATA.DBF", "", "1,234,567", "",
                                           "File to be deleted", RowColour::Blue}));

    context.thousandsSeparator = '.';
    listFileDelete(context, "X:\\DIR\\OTHER", 5000);
    EXPECT_EQ(host.history.back().size, "5.000");
}

TEST_F(ActionListTest, FilesInsideAFolderToDeleteAreCreditedOnce) {
    tree.lay({{"OLD/A.TXT", std::string(100, 'a')},
              {"OLD/SUB/B.TXT", std::string(50, 'b')},
              {"OLD/SUB/DEEP/C.TXT", std::string(25, 'c')}});

    // A file listed first, then its folder.
    listFileDelete(context, "C:\\OLD\\A.TXT", 100);
    // A subfolder listed first, then its parent.
    listFolderDelete(context, "C:\\OLD\\SUB");
    listFolderDelete(context, "C:\\OLD");
    EXPECT_EQ(change('C'), 175);

    // Files and folders listed after a folder above them.
    listFileDelete(context, "C:\\OLD\\SUB\\DEEP\\C.TXT", 25);
    listFolderDelete(context, "C:\\OLD\\SUB\\DEEP");
    EXPECT_EQ(change('C'), 175);
    // They are listed and counted all the same.
    EXPECT_EQ(plan.filesToDelete().size(), 2u);
    EXPECT_EQ(plan.foldersToDelete().size(), 3u);
    EXPECT_EQ(planned(Counter::ToDelFiles), 2);
    EXPECT_EQ(planned(Counter::ToDelFolders), 3);
}

TEST_F(ActionListTest, CopyIsListedWithItsSessionRowAndDebit) {
    settings.sessionCount = 3;
    CopyRequest copy = request("X:\\L", "Y:\\R", "DATA.DBF", 2000, 1500);
    copy.leftToRight = false;
    copy.backupList = "DB1";
    listCopy(context, copy);

    ASSERT_EQ(plan.filesToCopy().size(), 1u);
    const CopyAction& listed = plan.filesToCopy()[0];
    EXPECT_EQ(listed.sourcePath(), "X:\\L\\DATA.DBF");
    EXPECT_EQ(listed.targetPath(), "Y:\\R\\DATA.DBF");
    EXPECT_EQ(listed.backupList, "DB1");
    EXPECT_EQ(listed.sourceSize, 2000);
    EXPECT_EQ(listed.targetSize, 1500);
    EXPECT_FALSE(listed.leftToRight);
    EXPECT_EQ(listed.session, 3);
    EXPECT_FALSE(listed.binaryFailed);

    EXPECT_EQ(plan.sessionBytes(), (std::vector<std::int64_t>{0, 0, 0, 2000}));
    EXPECT_EQ(change('Y'), -2000);
    EXPECT_EQ(change('X'), 0);
    EXPECT_EQ(planned(Counter::ToUpFiles), 1);
    ASSERT_EQ(host.history.size(), 1u);
    EXPECT_EQ(host.history[0], (HistoryRow{"X:\\L\\DATA.DBF", "Y:\\R\\DATA.DBF", "2,000", "+500",
                                           "File to be copied", RowColour::Blue}));
    EXPECT_TRUE(operatorPort.questions.empty());

    listCopy(context, request("X:\\L", "Y:\\R", "MORE.DBF", 500, 0));
    EXPECT_EQ(plan.sessionBytes()[3], 2500);
}

TEST_F(ActionListTest, CopyAfterFailedBinaryCompareIsRed) {
    CopyRequest copy = request("X:\\L", "Y:\\R", "A.BIN", 10, 10);
    copy.binaryFailed = true;
    listCopy(context, copy);
    ASSERT_EQ(host.history.size(), 1u);
    EXPECT_EQ(host.history[0], (HistoryRow{"X:\\L\\A.BIN", "Y:\\R\\A.BIN", "10", "0",
                                           "Binary failed - File to be copied", RowColour::Red}));
    EXPECT_TRUE(plan.filesToCopy()[0].binaryFailed);
}

TEST_F(ActionListTest, CopyIsRefusedWhereItWouldRepeatOrCouldOnlyFail) {
    listCopy(context, request("X:\\L", "Y:\\R", "A.TXT", 10, 0));
    listCopy(context, request("X:\\OTHER", "Y:\\R", "A.TXT", 99, 0)); // same target
    listFolderDelete(context, "X:\\GONE");
    listCopy(context, request("X:\\GONE", "Y:\\R", "B.TXT", 10, 0)); // source folder deleted
    listFileDelete(context, "X:\\L\\C.TXT", 10);
    listCopy(context, request("X:\\L", "Y:\\R", "C.TXT", 10, 0)); // source file deleted

    ASSERT_EQ(plan.filesToCopy().size(), 1u);
    EXPECT_EQ(plan.filesToCopy()[0].sourceFolder, "X:\\L");
    EXPECT_EQ(planned(Counter::ToUpFiles), 1);
    EXPECT_EQ(change('Y'), -10);
    EXPECT_EQ(plan.sessionBytes()[1], 10);
    EXPECT_EQ(host.history.size(), 3u); // the copy, the folder and the file to delete
}

struct ZeroLengthCase {
    const char* label;
    std::optional<DialogAnswer> answer; // none: the question times out
    bool copyAsAsked;
    bool reversedCopy;
    bool sourceDeleted;
    bool aborted;
};
PRINT_CASE_AS(ZeroLengthCase, c.label);

class ZeroLengthTest : public ActionListTest,
                       public ::testing::WithParamInterface<ZeroLengthCase> {};

TEST_P(ZeroLengthTest, AnswerDecidesWhatIsListed) {
    const ZeroLengthCase& c = GetParam();
    if (c.answer)
        operatorPort.answers.push_back(*c.answer);
    CopyRequest copy = request("X:\\L", "Y:\\R", "EMPTY.TXT", 0, 100);
    copy.backupList = "BAK";
    listCopy(context, copy);

    ASSERT_EQ(operatorPort.questions.size(), 1u);
    const Question& question = operatorPort.questions[0];
    EXPECT_EQ(question.kind(), DialogKind::ZeroLength);
    const auto& zero = question.as<ZeroLengthQuestion>();
    EXPECT_EQ(zero.sourceFolder, "X:\\L");
    EXPECT_EQ(zero.targetFolder, "Y:\\R");
    EXPECT_EQ(zero.fileName, "EMPTY.TXT");
    EXPECT_EQ(zero.sourceSize, 0);
    EXPECT_EQ(zero.targetSize, 100);
    EXPECT_TRUE(question.leftToRight);
    EXPECT_EQ(question.timeoutSeconds, 60);

    EXPECT_EQ(host.aborted, c.aborted);
    const std::size_t copies = (c.copyAsAsked || c.reversedCopy) ? 1u : 0u;
    ASSERT_EQ(plan.filesToCopy().size(), copies);
    EXPECT_EQ(planned(Counter::ToUpFiles), static_cast<int>(copies));
    if (c.copyAsAsked) {
        EXPECT_EQ(plan.filesToCopy()[0].targetPath(), "Y:\\R\\EMPTY.TXT");
        EXPECT_EQ(change('Y'), 0); // nothing to debit for an empty file
    }
    if (c.reversedCopy) {
        const CopyAction& back = plan.filesToCopy()[0];
        EXPECT_EQ(back.sourcePath(), "Y:\\R\\EMPTY.TXT");
        EXPECT_EQ(back.targetPath(), "X:\\L\\EMPTY.TXT");
        EXPECT_EQ(back.sourceSize, 100);
        EXPECT_EQ(back.targetSize, 0);
        EXPECT_FALSE(back.leftToRight);
        EXPECT_EQ(back.backupList, "BAK");
        EXPECT_EQ(change('X'), -100); // the drive that receives the copy
        EXPECT_EQ(change('Y'), 0);
        EXPECT_EQ(plan.sessionBytes()[1], 100);
        EXPECT_EQ(host.history.back(), (HistoryRow{"Y:\\R\\EMPTY.TXT", "X:\\L\\EMPTY.TXT", "100",
                                                   "+100", "File to be copied", RowColour::Blue}));
    }
    ASSERT_EQ(plan.filesToDelete().size(), c.sourceDeleted ? 1u : 0u);
    if (c.sourceDeleted) {
        EXPECT_EQ(plan.filesToDelete()[0].path, "X:\\L\\EMPTY.TXT");
        EXPECT_EQ(planned(Counter::ToDelFiles), 1);
    }
    if (!c.copyAsAsked && !c.reversedCopy && !c.sourceDeleted) {
        EXPECT_TRUE(host.history.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ZeroLengthTest,
    ::testing::Values(
        ZeroLengthCase{"CopyToTarget", DialogAnswer::Yes, true, false, false, false},
        ZeroLengthCase{"ReversedCopy", DialogAnswer::Retry, false, true, false, false},
        ZeroLengthCase{"DeleteSource", DialogAnswer::Cancel, false, false, true, false},
        ZeroLengthCase{"AbortAll", DialogAnswer::Abort, false, false, false, true},
        ZeroLengthCase{"Skip", DialogAnswer::Ignore, false, false, false, false},
        ZeroLengthCase{"TimeOut", std::nullopt, false, false, false, false}),
    [](const ::testing::TestParamInfo<ZeroLengthCase>& answer) { return answer.param.label; });

TEST_F(ActionListTest, ZeroLengthQuestionOnlyForAnEmptySourceOverANonEmptyTarget) {
    listCopy(context, request("X:\\L", "Y:\\R", "BOTH.TXT", 0, 0));
    listCopy(context, request("X:\\L", "Y:\\R", "NEW.TXT", 0, 0));
    listCopy(context, request("X:\\L", "Y:\\R", "FULL.TXT", 5, 100));
    EXPECT_TRUE(operatorPort.questions.empty());
    EXPECT_EQ(plan.filesToCopy().size(), 3u);
}

TEST_F(ActionListTest, BackupRotationCreditsOnlyTheOldestExistingBackup) {
    tree.lay({{"DATA/DATA.DBF", std::string(10, 'd')},
              {"DATA/DATA.DB1", std::string(30, '1')},
              {"DATA/DATA.DB2", std::string(70, '2')},
              {"DATA/ONLY.DB1", std::string(30, '1')},
              {"DATA/ODD.DB2/"}});

    EXPECT_EQ(planBackupRotation(context, "C:\\DATA", "DATA.DBF", "DB1, DB2"), "DB1");
    EXPECT_EQ(change('C'), 70);
    // No backup at the oldest level, or a folder there: nothing is deleted, nothing credited.
    EXPECT_EQ(planBackupRotation(context, "C:\\DATA", "ONLY.DBF", "DB1;DB2"), "DB1");
    EXPECT_EQ(planBackupRotation(context, "C:\\DATA", "ODD.DBF", "DB1;DB2"), "DB1");
    EXPECT_EQ(change('C'), 70);
    EXPECT_EQ(planBackupRotation(context, "C:\\DATA", "DATA.DBF", " ; "), "");
    EXPECT_EQ(change('C'), 70);
}

TEST_F(ActionListTest, CopyWithBackupsCreditsTheOldestAndDebitsTheSource) {
    tree.lay({{"DATA/DATA.DBF", std::string(10, 'd')}, {"DATA/DATA.DB1", std::string(30, '1')}});
    CopyRequest copy = request("X:\\L", "C:\\DATA", "DATA.DBF", 500, 10);
    copy.backupList = "DB1";
    listCopy(context, copy);
    EXPECT_EQ(change('C'), 30 - 500);
}

} // namespace
} // namespace brisko::engine
