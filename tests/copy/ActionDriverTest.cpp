#include "run/ActionDriver.h"

#include "CopyFixture.h"
#include "support/CasePrinter.h"

#include <algorithm>
#include <filesystem>

namespace brisko::test {
namespace {

namespace fs = std::filesystem;

class ActionDriverTest : public CopyTest {
protected:
    void run() {
        listPlan();
        run::runActions(context().actionContext());
    }
    HistoryRow deletionRow(std::size_t index) {
        return row(context().history().rowOf(run::PlanList::FilesToDelete, index));
    }
    HistoryRow createRow(std::size_t index) {
        return row(context().history().rowOf(run::PlanList::FoldersToCreate, index));
    }
    HistoryRow removeRow(std::size_t index) {
        return row(context().history().rowOf(run::PlanList::FoldersToDelete, index));
    }
    std::int32_t counter(Counter which) { return context().status().counter(which); }
    void makeReadOnly(std::string_view relative) {
        fs::permissions(rightHost(relative), fs::perms(0444));
    }
};

TEST_F(ActionDriverTest, CarriesOutThePhasesInOrderAndReportsEachOutcome) {
    tree.lay({{"right/OLD.TXT", "to delete"},
              {"right/GONE/FILE.TXT", "inside"},
              {"left/A.TXT", "copied into a folder made by the run"}});
    engine::Plan& plan = engine().plan;
    planDeletion("R:\\OLD.TXT");
    plan.addFolderToCreate("R:\\NEW\\SUB");
    planFolderDeletion("R:\\GONE");
    planCopy("A.TXT", "", "R:\\NEW\\SUB");

    run();

    EXPECT_EQ(deletionRow(0).status, "File deleted");
    EXPECT_EQ(createRow(0).status, "Folder created");
    EXPECT_EQ(removeRow(0).status, "Folder deleted");
    EXPECT_EQ(copyRow(0).status, "File copied");
    for (const HistoryRow& done : context().history().rows())
        EXPECT_EQ(done.colour, RowColour::Plain) << done.from;
    EXPECT_EQ(rightFiles(),
              (TreeListing{{"NEW/SUB/A.TXT", "copied into a folder made by the run"}}));
    EXPECT_EQ(counter(Counter::DlFiles), 1);
    EXPECT_EQ(counter(Counter::UpFolder), 1);
    EXPECT_EQ(counter(Counter::DlFolder), 1);
    EXPECT_EQ(counter(Counter::UpFiles), 1);
    EXPECT_EQ(display.runStates, (std::vector<RunState>{RunState::Copying, RunState::Idle}));
    EXPECT_EQ(context().runState(), RunState::Idle);
}

// Plans one copy per session while a script is scanned, as the engine would.
class PlanningExecutor final : public engine::SessionExecutor {
public:
    PlanningExecutor(run::RunContext& context, std::vector<std::string> names)
        : context_(context), names_(std::move(names)) {}
    void executeSession(script::SessionSettings& settings) override {
        engine::CopyAction action;
        action.sourceFolder = "L:";
        action.targetFolder = "R:";
        action.name = names_.at(static_cast<std::size_t>(settings.sessionCount) - 1);
        action.sourceSize = 1;
        action.session = settings.sessionCount;
        context_.engineContext(settings).plan.addCopy(action);
    }

private:
    run::RunContext& context_;
    std::vector<std::string> names_;
};

TEST_F(ActionDriverTest, EachCopyShowsTheMessageOfTheSessionThatPlannedIt) {
    tree.lay({{"left/A.TXT", "a"}, {"left/B.TXT", "b"}});
    PlanningExecutor executor(context(), {"A.TXT", "B.TXT"});
    context().setSessionExecutor(&executor);
    tree.write("job.brk", "LeftPath=\\A\nRightPath=\\B\nMessage=Saving A\nExecute\n"
                          "Message=Saving B\nExecute\nMessage=All planned\n");
    context().loadScript(tree.path("job.brk").string());
    ASSERT_TRUE(context().scan());
    ASSERT_EQ(display.messageLine, "All planned");
    display.messageLines.clear();

    run::runActions(context().actionContext());

    EXPECT_EQ(display.messageLines, (std::vector<std::string>{"Saving A", "Saving B"}));
    EXPECT_EQ(rightFiles(), (TreeListing{{"A.TXT", "a"}, {"B.TXT", "b"}}));
}

TEST_F(ActionDriverTest, EmptyPlanGoesStraightBackToIdle) {
    run();
    EXPECT_EQ(display.runStates, (std::vector<RunState>{RunState::Idle}));
    EXPECT_TRUE(asker.questions.empty());
}

struct ReadOnlyCase {
    const char* title;
    bool yes;
    TreeListing after;
    const char* firstStatus;
    RowColour firstColour;
    const char* secondStatus;
};
PRINT_CASE_AS(ReadOnlyCase, c.title);

class ReadOnlyDeletionTest : public ActionDriverTest,
                             public ::testing::WithParamInterface<ReadOnlyCase> {};

TEST_P(ReadOnlyDeletionTest, OperatorConfirmsTheDeletionOfAReadOnlyFile) {
    const ReadOnlyCase& example = GetParam();
    tree.lay({{"right/LOCKED.TXT", "read-only"}, {"right/LATER.TXT", "later"}});
    makeReadOnly("LOCKED.TXT");
    planDeletion("R:\\LOCKED.TXT");
    planDeletion("R:\\LATER.TXT");
    engine().plan.addFolderToCreate("R:\\MADE");
    asker.confirmations.push_back(example.yes);

    run();

    EXPECT_EQ(asker.confirmationTexts,
              (std::vector<std::string>{"Delete the read-only file R:\\LOCKED.TXT"}));
    EXPECT_EQ(rightFiles(), example.after);
    EXPECT_EQ(deletionRow(0).status, example.firstStatus);
    EXPECT_EQ(deletionRow(0).colour, example.firstColour);
    EXPECT_EQ(deletionRow(1).status, example.secondStatus);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ReadOnlyDeletionTest,
    // No only ends the deletions: the folders are still made.
    ::testing::Values(
        ReadOnlyCase{"Yes", true, {{"MADE/", ""}}, "File deleted", RowColour::Red, "File deleted"},
        ReadOnlyCase{"No",
                     false,
                     {{"LOCKED.TXT", "read-only"}, {"LATER.TXT", "later"}, {"MADE/", ""}},
                     "Read-only file kept",
                     RowColour::Red,
                     "Not deleted - the deletions were stopped"}),
    [](const auto& testInfo) { return std::string(testInfo.param.title); });

TEST_F(ActionDriverTest, FileThatCannotBeDeletedIsReportedAndTheRunGoesOn) {
    tree.lay({{"right/KEEP.TXT", "held open elsewhere"}, {"right/OTHER.TXT", "other"}});
    planDeletion("R:\\KEEP.TXT");
    planDeletion("R:\\OTHER.TXT");
    fileSystem.refuseRemove = [](std::string_view path) { return path == "R:\\KEEP.TXT"; };

    run();

    EXPECT_EQ(deletionRow(0).status, "Failed to delete - may be opened");
    EXPECT_EQ(deletionRow(0).colour, RowColour::Red);
    ASSERT_EQ(asker.questions.size(), 1u);
    EXPECT_EQ(asker.questions[0].kind(), DialogKind::Standard);
    EXPECT_EQ(asker.questions[0].as<StandardQuestion>().message,
              "Could not delete R:\\KEEP.TXT- file may be opened");
    EXPECT_EQ(deletionRow(1).status, "File deleted");
    EXPECT_EQ(counter(Counter::DlFiles), 1);
}

TEST_F(ActionDriverTest, FolderTreeWithReadOnlyAndHiddenFilesIsRemovedWithoutQuestions) {
    tree.lay(
        {{"right/OLD/A.TXT", "a"}, {"right/OLD/.hidden", "h"}, {"right/OLD/SUB/DEEP/B.TXT", "b"}});
    makeReadOnly("OLD/A.TXT");
    makeReadOnly("OLD/SUB/DEEP/B.TXT");
    fs::permissions(rightHost("OLD/SUB/DEEP"), fs::perms(0555));
    planFolderDeletion("R:\\OLD");

    run();

    EXPECT_FALSE(rightHas("OLD"));
    EXPECT_EQ(removeRow(0).status, "Folder deleted");
    EXPECT_TRUE(asker.confirmationTexts.empty());
    EXPECT_TRUE(asker.questions.empty());
    EXPECT_EQ(counter(Counter::DlFolder), 1);
}

TEST_F(ActionDriverTest, FolderHoldingALinkIsRemovedWithoutTouchingWhatTheLinkLeadsTo) {
    if (!hostMakesSymlinks())
        GTEST_SKIP() << "the system makes no symbolic links here";
    tree.lay({{"outside/PRECIOUS.TXT", "precious"},
              {"right/OLD/A.TXT", "a"},
              {"right/OLD/LINK", "->" + tree.path("outside").string()}});
    planFolderDeletion("R:\\OLD");
    planFolderDeletion("R:\\NEVER");

    run();

    EXPECT_EQ(tree.read("outside/PRECIOUS.TXT"), "precious");
    EXPECT_FALSE(rightHas("OLD"));
    EXPECT_EQ(removeRow(0).status, "Folder deleted");
    EXPECT_EQ(removeRow(1).status, "Folder Could not be Deleted");
    EXPECT_EQ(removeRow(1).colour, RowColour::Red);
    EXPECT_EQ(counter(Counter::DlFolder), 1);
}

TEST_F(ActionDriverTest, FolderThatCouldNotBeCreatedIsSaidSo) {
    right("FILE.TXT", "a file where a folder is wanted");
    engine().plan.addFolderToCreate("R:\\FILE.TXT\\SUB");
    engine().plan.addFolderToCreate("R:\\FILE.TXT");
    engine().plan.addFolderToCreate("R:\\MADE");

    run();

    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(createRow(i).status, "Folder could not be created");
        EXPECT_EQ(createRow(i).colour, RowColour::Red);
    }
    EXPECT_EQ(createRow(2).status, "Folder created");
    EXPECT_EQ(counter(Counter::UpFolder), 1);
}

TEST_F(ActionDriverTest, DriveShortOfSpaceCarriesNothingOut) {
    tree.lay({{"right/OLD.TXT", "stays"}, {"left/A.TXT", "not copied"}});
    planDeletion("R:\\OLD.TXT");
    engine().plan.addFolderToCreate("R:\\NEW");
    planCopy("A.TXT");
    // A free-space figure of the test's own: the real disk's may change while it runs.
    fileSystem.freeSpace = 1000000;
    engine().projection.adjust("R:", 1000000 + 1000, false);
    engine().projection.adjust("L:", 10, false);

    run();

    EXPECT_EQ(rightFiles(), (TreeListing{{"OLD.TXT", "stays"}}));
    EXPECT_FALSE(rightHas("NEW"));
    ASSERT_EQ(asker.questions.size(), 1u);
    const Question& question = asker.questions[0];
    EXPECT_EQ(question.kind(), DialogKind::FreeSpace);
    const std::vector<ShortDrive>& drives = question.as<FreeSpaceQuestion>().drives;
    ASSERT_EQ(drives.size(), 1u);
    EXPECT_EQ(drives[0].drive, "R:");
    EXPECT_LE(drives[0].lowestBalance, -1000);
    EXPECT_NE(std::find(display.taskbarTitles.begin(), display.taskbarTitles.end(),
                        "No Free Space - Brisko 2.0"),
              display.taskbarTitles.end());
    EXPECT_EQ(display.taskbarTitle, "Brisko 2.0"); // nothing was copied
    EXPECT_EQ(copyRow(0).status, "File to be copied");
    EXPECT_EQ(context().runState(), RunState::Idle);
}

} // namespace
} // namespace brisko::test
