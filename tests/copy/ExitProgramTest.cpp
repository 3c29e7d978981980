#include "CopyFixture.h"
#include "platform/posix/PosixShell.h"
#include "run/ActionDriver.h"
#include "support/CasePrinter.h"
#include "support/ProcessWait.h"
#include "support/SftpDrives.h"

#include <chrono>
#include <filesystem>
#include <thread>

namespace brisko::test {
namespace {

namespace fs = std::filesystem;

class ExitProgramTest : public CopyTest {
protected:
    ExitProgramTest() { context().setShell(&shell); }

    // Loads a script from the current folder and scans it (it has no sessions), then carries
    // the empty plan out: all that is left to do is the exit step.
    void runScript(const std::string& text) {
        tree.write("script.brk", text);
        context().loadScript(tree.path("script.brk").string());
        ASSERT_EQ(context().errorCount(), 0);
        ASSERT_TRUE(context().scan());
        run::runActions(context().actionContext());
    }
    std::string hostFolder(std::string_view relative) {
        return fs::canonical(tree.makeFolder(relative)).string();
    }

    ProcessStateGuard guard;
    platform::PosixShell shell;
};

TEST_F(ExitProgramTest, ProgramOnPathStartsInTheExitFolderAndTheWindowMayClose) {
    SKIP_OVER_SFTP("a folder on another machine cannot be a program's working folder");
    right("WORK/write.sh", "pwd > out.txt\n");
    const std::string work = hostFolder("right/WORK");

    runScript("ExitFolder=R:\\WORK\nExitProgram=sh write.sh\n");

    EXPECT_EQ(waitForLine(fs::path(work) / "out.txt"), work + "\n");
    EXPECT_EQ(fs::current_path().string(), work);
    EXPECT_TRUE(context().closeWhenFinished());
    EXPECT_TRUE(asker.notices.empty());
}

TEST_F(ExitProgramTest, WithoutExitFolderTheLoadFolderIsUsedAndWhenFinishStands) {
    const std::string home = hostFolder("home");
    tree.write("home/write.sh", "pwd > out.txt\n");
    fs::current_path(home);
    tree.write("home/script.brk", "WhenFinish=Stay\nExitProgram=/bin/sh write.sh\n");
    context().loadScript("script.brk");
    fs::current_path(tree.root());
    ASSERT_TRUE(context().scan());

    run::runActions(context().actionContext());

    EXPECT_EQ(waitForLine(fs::path(home) / "out.txt"), home + "\n");
    EXPECT_FALSE(context().closeWhenFinished());
}

struct FailureCase {
    const char* title;
    const char* script;
    const char* notice;
};
PRINT_CASE_AS(FailureCase, c.title);

class ExitProgramFailureTest : public ExitProgramTest,
                               public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ExitProgramFailureTest, ProgramThatCannotBeStartedIsSaidAndKeepsTheWindowOpen) {
    right("WORK/write.sh", "pwd > out.txt\n");
    runScript(GetParam().script);
    EXPECT_EQ(asker.notices, (std::vector<std::string>{GetParam().notice}));
    EXPECT_FALSE(context().closeWhenFinished());
    EXPECT_FALSE(rightHas("WORK/out.txt"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExitProgramFailureTest,
    ::testing::Values(FailureCase{"UnknownProgram",
                                  "WhenFinish=Close\nExitProgram=no-such-program -x\n",
                                  "Failed to execute no-such-program -x"},
                      // A program is never started in another folder than its own.
                      FailureCase{"ExitFolderMissing",
                                  "ExitFolder=R:\\NOWHERE\nExitProgram=sh write.sh\n",
                                  "Failed to execute sh write.sh"}),
    [](const auto& testInfo) { return std::string(testInfo.param.title); });

TEST_F(ExitProgramTest, StoppedRunStartsNothingAndStaysInItsFolder) {
    right("WORK/write.sh", "pwd > out.txt\n");
    const fs::path before = fs::current_path();
    tree.write("script.brk", "ExitFolder=R:\\WORK\nExitProgram=sh write.sh\n");
    context().loadScript(tree.path("script.brk").string());
    ASSERT_TRUE(context().scan());
    context().abortAll();

    run::runActions(context().actionContext());

    EXPECT_EQ(fs::current_path(), before);
    EXPECT_TRUE(asker.notices.empty());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(rightHas("WORK/out.txt"));
}

} // namespace
} // namespace brisko::test
