#include "platform/posix/PosixShell.h"

#include "support/CasePrinter.h"
#include "support/ProcessWait.h"
#include "support/TempTree.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace brisko::test {
namespace {

namespace fs = std::filesystem;

class PosixShellTest : public ::testing::Test {
protected:
    PosixShellTest() : work(fs::canonical(tree.makeFolder("work")).string()) {}

    // An executable shell script inside the tree.
    void script(const std::string& relative, const std::string& body) {
        tree.write(relative, "#!/bin/sh\n" + body);
        fs::permissions(tree.path(relative), fs::perms(0755));
    }

    ProcessStateGuard guard;
    TempTree tree;
    std::string work;
    platform::PosixShell shell;
};

struct StartCase {
    const char* title;
    const char* program; // "<tree>" stands for the tree's host folder
    std::vector<std::string> parameters;
};
PRINT_CASE_AS(StartCase, c.title);

class ProgramStartTest : public PosixShellTest, public ::testing::WithParamInterface<StartCase> {};

TEST_P(ProgramStartTest, ProgramRunsInTheWorkingFolderWithItsParameters) {
    const StartCase& example = GetParam();
    script("tools/here.sh", "pwd > out.txt\necho \"$1\" >> out.txt\n");
    std::string program = example.program;
    if (program.starts_with("<tree>"))
        program = tree.root().string() + program.substr(6);
    std::vector<std::string> parameters = example.parameters;

    const platform::FsResult started = shell.open(program, parameters, work);

    ASSERT_TRUE(started.ok()) << started.detail;
    const auto written = waitForLine(fs::path(work) / "out.txt");
    ASSERT_TRUE(written.has_value());
    // The parameter written last shows that the program had its parameters.
    EXPECT_TRUE(written->starts_with(work + "\n")) << *written;
}

INSTANTIATE_TEST_SUITE_P(
    Programs, ProgramStartTest,
    ::testing::Values(
        StartCase{"NameFoundOnPath", "sh", {"-c", "pwd > out.txt; echo x >> out.txt"}},
        StartCase{"AbsolutePathToAnExecutable", "<tree>/tools/here.sh", {"done"}},
        StartCase{"PathRelativeToTheWorkingFolder", "../tools/here.sh", {"done"}}),
    [](const auto& testInfo) { return std::string(testInfo.param.title); });

TEST_F(PosixShellTest, DocumentIsHandedToTheDesktopOpener) {
    script("bin/xdg-open", "echo \"$1\" > \"" + tree.path("opened.txt").string() + "\"\n");
    setenv("PATH", (tree.path("bin").string() + ":/usr/bin:/bin").c_str(), 1);
    tree.write("work/notes.txt", "a document");

    const platform::FsResult started = shell.open("notes.txt", {}, work);

    ASSERT_TRUE(started.ok()) << started.detail;
    EXPECT_EQ(waitForLine(tree.path("opened.txt")), work + "/notes.txt\n");
}

TEST_F(PosixShellTest, MissingProgramIsNotStarted) {
    const platform::FsResult started = shell.open("no-such-program-anywhere", {"x"}, work);
    EXPECT_EQ(started.status, platform::FsStatus::NotFound);
    EXPECT_FALSE(shell.open("sh", {}, tree.path("missing").string()).ok());
}

TEST_F(PosixShellTest, ProgramInheritsNoDescriptorBeyondTheStandardThree) {
    const int open = ::open(tree.write("held.txt", "x").c_str(), O_RDONLY); // no close-on-exec
    ASSERT_GE(open, 0);
    ASSERT_EQ(dup2(open, 57), 57);
    ::close(open);

    const platform::FsResult started = shell.open(
        "sh", {"-c", "if [ -e /proc/self/fd/57 ]; then echo open; else echo closed; fi > fd.txt"},
        work);
    ::close(57);

    ASSERT_TRUE(started.ok());
    EXPECT_EQ(waitForLine(fs::path(work) / "fd.txt"), "closed\n");
}

} // namespace
} // namespace brisko::test
