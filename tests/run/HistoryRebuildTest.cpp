#include "run/History.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

namespace brisko::run {
namespace {

engine::Plan samplePlan() {
    engine::Plan plan;
    engine::CopyAction copy;
    copy.sourceFolder = "L:\\A";
    copy.targetFolder = "R:\\A";
    copy.sourceSize = 2000;
    copy.targetSize = 1500;
    copy.name = "X.DBF";
    copy.session = 1;
    plan.addCopy(copy);
    plan.addFolderToDelete("R:\\OLD");
    plan.addFileToDelete("R:\\A\\GONE.TXT", 12);
    plan.addFolderToCreate("R:\\NEW");
    return plan;
}

TEST(HistoryRebuild, ListsThePlanInTheOrderItIsCarriedOutThenTheProblems) {
    test::RecordingDisplay display;
    WindowFeed window{&display};
    const engine::Plan plan = samplePlan();
    History history(display, window, plan);
    history.addRow({"live row", "", "", "", "File to be copied", RowColour::Blue});
    const std::vector<HistoryRow> problems{
        {"R:\\A\\LOCKED", "", "", "", "Could not be read - skipped", RowColour::Red}};

    history.rebuild(problems, ',');

    const std::vector<HistoryRow> expected{
        {"R:\\A\\GONE.TXT", "", "", "", "File to be deleted", RowColour::Blue},
        {"R:\\NEW", "", "", "", "Folder to be created", RowColour::Blue},
        {"R:\\OLD", "", "", "", "Folder to be deleted", RowColour::Blue},
        {"L:\\A\\X.DBF", "R:\\A\\X.DBF", "2,000", "+500", "File to be copied", RowColour::Blue},
        problems[0],
    };
    EXPECT_EQ(history.rows(), expected);
    EXPECT_EQ(display.historyRows, expected);
    EXPECT_EQ(history.rowOf(PlanList::FilesToDelete, 0), 1);
    EXPECT_EQ(history.rowOf(PlanList::FilesToCopy, 0), 4);

    history.writeOutcome(4, "File copied", RowColour::Plain, false);
    EXPECT_EQ(history.rows()[3].status, "File copied");
    history.writeOutcome(1, "File deleted", RowColour::Plain, true); // skipped
    EXPECT_EQ(history.rows()[0].status, "File to be deleted");
}

TEST(HistoryRebuild, AfterTheLimitWasPassedOnlyFolderRowsAndOneRedRowRemain) {
    test::RecordingDisplay display;
    WindowFeed window{&display};
    const engine::Plan plan = samplePlan();
    History history(display, window, plan);
    history.setStopped(true);

    history.rebuild({}, ',');

    ASSERT_EQ(history.rows().size(), 3u);
    EXPECT_EQ(history.rows()[0].status, "Folder to be created");
    EXPECT_EQ(history.rows()[1].status, "Folder to be deleted");
    EXPECT_EQ(history.rows()[2].from, "no files reporting, lines will exceed 2000");
    EXPECT_EQ(history.rows()[2].colour, RowColour::Red);
    EXPECT_EQ(history.rowOf(PlanList::FilesToCopy, 0), 0);
    EXPECT_EQ(history.rowOf(PlanList::FilesToDelete, 0), 0);
}

} // namespace
} // namespace brisko::run
