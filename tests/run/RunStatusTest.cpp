#include "run/RunStatus.h"

#include "support/Fakes.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>
#include <map>

namespace brisko::run {
namespace {

class RunStatusTest : public ::testing::Test {
protected:
    test::RecordingDisplay display;
    test::ManualClock clock{test::kFifthOfMarch2024};
    std::string caption = "Nightly";
    WindowFeed window{&display};
    RunStatus status{display, window, clock, caption};
};

TEST_F(RunStatusTest, OnlyChangedCountersReachTheScreenAtMostThreeTimesASecond) {
    status.refresh(false);
    status.setCounter(Counter::ToUpFiles, 0); // unchanged: never written
    status.addToCounter(Counter::ToUpFiles, 2);
    status.refresh(true); // less than a third of a second since the last refresh
    EXPECT_TRUE(display.counterWrites.empty());

    clock.advance(std::chrono::milliseconds(340));
    status.refresh(true);
    ASSERT_EQ(display.counterWrites.size(), 1u);
    EXPECT_EQ(display.counterWrites[0], (std::pair{Counter::ToUpFiles, 2}));

    clock.advance(std::chrono::milliseconds(340));
    status.refresh(true); // nothing changed since
    EXPECT_EQ(display.counterWrites.size(), 1u);
}

TEST_F(RunStatusTest, TaskbarTitleFollowsTheRun) {
    status.setState(RunState::Scanning, false);
    EXPECT_EQ(display.taskbarTitle, "Scanning - Nightly");

    status.setCounter(Counter::ToUpFiles, 10);
    status.setCounter(Counter::UpFiles, 3);
    status.refresh(false);
    EXPECT_EQ(display.taskbarTitle, "3/10 Copied - Nightly");
    // Back to Idle after copies: the copied title stays.
    status.setState(RunState::Idle, false);
    EXPECT_EQ(display.taskbarTitle, "3/10 Copied - Nightly");

    status.reset();
    status.setState(RunState::Waiting, false);
    EXPECT_EQ(display.taskbarTitle, "Waiting - Nightly");
    status.setState(RunState::Idle, false); // nothing copied, no abort
    EXPECT_EQ(display.taskbarTitle, "Nightly");

    display.setTaskbarTitle("Stopped - Nightly");
    status.setState(RunState::Idle, true); // an abort keeps its title
    EXPECT_EQ(display.taskbarTitle, "Stopped - Nightly");
}

TEST_F(RunStatusTest, FolderPanesChangeOnlyWhenTheFoldersDifferBeyondCase) {
    status.showFolders("L:\\DATA", "R:\\DATA");
    status.refresh(false);
    display.leftFolder.clear();
    status.showFolders("l:\\data", "R:\\Data");
    status.refresh(false);
    EXPECT_EQ(display.leftFolder, "");
    status.showFolders("L:\\OTHER", "R:\\DATA");
    status.refresh(false);
    EXPECT_EQ(display.leftFolder, "L:\\OTHER");
}

} // namespace
} // namespace brisko::run
