#include "run/RunControl.h"

#include "platform/Shell.h"
#include "support/RunWorld.h"

#include <functional>
#include <gtest/gtest.h>

namespace brisko::run {
namespace {

class RecordingShell : public platform::Shell {
public:
    platform::FsResult open(const std::string& program, const std::vector<std::string>&,
                            const std::string&) override {
        started.push_back(program);
        return {};
    }
    std::vector<std::string> started;
};

// The files are written now; every throttled pump reaches the display.
class RunControlTest : public ::testing::Test, public test::RunWorld {
protected:
    RunControlTest()
        : RunWorld({{'L', "left"}, {'R', "right"}}, std::time(nullptr), std::chrono::seconds(1)) {
        tree.write("left/a.txt", "a");
        context.setShell(&shell);
    }

    RunResult run(const std::string& keys) {
        tree.write("job.brk",
                   "Title=Nightly\nLeftRoot=L:\nRightRoot=R:\nLeftPath=\\\nRightPath=\\\n" + keys +
                       "UpdateMode=LMaster\nExecute\n");
        context.loadScript(tree.path("job.brk").string());
        EXPECT_TRUE(context.canRun());
        return executeRun(context);
    }

    RecordingShell shell;
    std::unique_ptr<RunContext> owned = makeContext(realFileSystem);
    RunContext& context = *owned;
};

TEST_F(RunControlTest, ARunScansCarriesOutAndEndsIdle) {
    RunResult result = run("");
    EXPECT_TRUE(result.scriptCompleted);
    EXPECT_FALSE(result.aborted);
    EXPECT_EQ(result.failedActions, 0);
    EXPECT_EQ(result.window, WindowAfterRun::Stay);
    EXPECT_EQ(tree.read("right/a.txt"), "a");
    EXPECT_EQ(context.runState(), RunState::Idle);
    EXPECT_TRUE(asker.questions.empty());
}

TEST_F(RunControlTest, WhenFinishCloseAsksTheClosingNoticeWhoseDefaultCloses) {
    EXPECT_EQ(run("WhenFinish=Close\n").window, WindowAfterRun::Close);
    ASSERT_EQ(asker.questions.size(), 1u);
    EXPECT_EQ(asker.questions[0].kind(), DialogKind::Closing);

    asker.answers = {DialogAnswer::Retry}; // "&Stay"
    EXPECT_EQ(run("WhenFinish=Close\n").window, WindowAfterRun::Stay);
    EXPECT_FALSE(context.closeWhenFinished());
}

TEST_F(RunControlTest, AStartedExitProgramClosesAtOnceUnlessWhenFinishSaysStay) {
    EXPECT_EQ(run("ExitProgram=editor notes.txt\n").window, WindowAfterRun::Close);
    EXPECT_EQ(shell.started, (std::vector<std::string>{"editor"})); // its case kept
    EXPECT_TRUE(asker.questions.empty());
    EXPECT_EQ(run("WhenFinish=Stay\nExitProgram=editor\n").window, WindowAfterRun::Stay);
}

TEST_F(RunControlTest, PauseWaitsForContinueOrAbortAll) {
    context.setStopBetweenScanAndCopy(true);
    display.onWait = [this] {
        EXPECT_EQ(context.runState(), RunState::Waiting);
        abortAllWaiting(context);
    };
    RunResult aborted = run("");
    EXPECT_TRUE(aborted.aborted);
    EXPECT_FALSE(tree.exists("right/a.txt"));
    EXPECT_EQ(display.taskbarTitle, "Stopped - Nightly");

    display.onWait = [this] { continueRun(context); };
    RunResult continued = run("");
    EXPECT_FALSE(continued.aborted);
    EXPECT_EQ(tree.read("right/a.txt"), "a");
}

TEST_F(RunControlTest, StopAsksForConfirmationAndOnlyYesStops) {
    asker.confirmations = {false};
    display.onPump = [this] { // Stop is clicked once
        display.onPump = nullptr;
        requestStop(context);
    };
    EXPECT_FALSE(run("WhenFinish=Close\n").aborted);
    EXPECT_EQ(asker.confirmationTexts.back(),
              "Are you sure you want to Interrupt your Update Session");
    EXPECT_TRUE(tree.exists("right/a.txt"));

    tree.write("left/b.txt", "b");
    asker.confirmations = {true};
    display.onPump = [this] { // Stop is clicked once
        display.onPump = nullptr;
        requestStop(context);
    };
    RunResult stopped = run("WhenFinish=Close\n");
    EXPECT_TRUE(stopped.aborted);
    EXPECT_EQ(stopped.window, WindowAfterRun::Stay);
    EXPECT_FALSE(tree.exists("right/b.txt"));
}

} // namespace
} // namespace brisko::run
