#include "BatchProcess.h"
#include "support/TempTree.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace brisko::test {
namespace {

TEST(BatchCheck, PrintsEveryRowTheHistoryAndTheErrorCount) {
    TempTree tree;
    tree.write("job.brk", "; nightly job\r\n"
                          "updatemode = lm\r\n"
                          "Frobnicate=1\r\n"
                          "IncludeTry=missing.brk\r\n"
                          "  execute  \r\n");
    ProcessResult result = runBatchProcess({"--check", tree.path("job.brk").string()});
    EXPECT_EQ(result.exitStatus, 1) << result.err;
    Records all = records(result.out);
    Records expectedRows{
        {"row", "-", "", "", "; nightly job"}, {"row", "-", "UpdateMode", "=", "LMaster"},
        {"row", "!", "", "?", "Frobnicate=1"}, {"row", "!", "IncludeTry", "=", "missing.brk"},
        {"row", "-", "Execute", "", ""},
    };
    EXPECT_EQ(only(all, "row"), expectedRows);
    Records history = only(all, "history");
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0], (std::vector<std::string>{"history", "red", "IncludeTry", "missing.brk",
                                                    "", "", "Include File does not exist"}));
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all.back(), (std::vector<std::string>{"errors", "1"}));
    EXPECT_NE(result.err.find(tree.path("job.brk").string() + ":3: unknown key Frobnicate"),
              std::string::npos)
        << result.err;
}

TEST(BatchCheck, CommandLineRootsComeFirstAndHighlighted) {
    TempTree tree;
    tree.write("ok.brk", "LeftRoot=C:\nLeftPath=\\DATA\n");
    ProcessResult result =
        runBatchProcess({"--check", tree.path("ok.brk").string(), "L=e:", "R=F:"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    Records rows = only(records(result.out), "row");
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"row", "!", "L=", "=", "E:"}));
    EXPECT_EQ(rows[1], (std::vector<std::string>{"row", "!", "R=", "=", "F:"}));
    EXPECT_EQ(records(result.out).back(), (std::vector<std::string>{"errors", "0"}));
}

#ifndef _WIN32 // drive maps are a POSIX thing
TEST(BatchCheck, ScriptNamedInDriveFormResolvesThroughTheDriveMap) {
    TempTree tree;
    tree.write("Jobs/Nightly.brk", "Execute\n");
    ProcessResult result = runBatchProcess(
        {"--drive", "S=" + tree.root().string(), "--check", "s:\\JOBS\\NIGHTLY.BRK"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(only(records(result.out), "row").size(), 1u);
}
#endif

// Scripts that would load without end or lose part of a value are errors that say why.
TEST(BatchCheck, HostileScriptsAreErrorsNotHangsOrCutValues) {
    TempTree tree;
    // 31 files, each including the next twice: two thousand million lines if followed.
    for (int i = 0; i < 31; ++i) {
        const std::string next = "f" + std::to_string(i + 1) + ".brk";
        tree.write("f" + std::to_string(i) + ".brk",
                   i == 30 ? std::string("Message=leaf\n")
                           : "Include=" + tree.path(next).string() +
                                 "\nInclude=" + tree.path(next).string() + "\n");
    }
    tree.write("zero.brk", std::string("LeftPath=\\DATA\0\\OTHER\nExecute\n", 30));
    struct Case {
        std::string script;
        std::string errorRowValue;
    };
    const std::vector<Case> cases{
        {"f0.brk", "Script longer than 100000 lines with its included files - loading stopped"},
        {"zero.brk", "LeftPath=\\DATA\\x00\\OTHER"},
    };
    for (const Case& c : cases) {
        ProcessResult result = runBatchProcess({"--check", tree.path(c.script).string()});
        EXPECT_EQ(result.exitStatus, 1) << c.script;
        Records rows = only(records(result.out), "row");
        EXPECT_NE(std::find(rows.begin(), rows.end(),
                            std::vector<std::string>{"row", "!", "", "?", c.errorRowValue}),
                  rows.end())
            << c.script;
        EXPECT_EQ(only(records(result.out), "errors"), (Records{{"errors", "1"}})) << c.script;
    }
}

#ifndef _WIN32
TEST(BatchCheck, RecordsThatCannotBeWrittenEndWithTheirOwnStatus) {
    TempTree tree;
    tree.write("ok.brk", "Execute\n");
    ProcessResult result =
        runBatchProcessWritingTo({"--check", tree.path("ok.brk").string()}, "/dev/full");
    EXPECT_EQ(result.exitStatus, 4);
    EXPECT_NE(result.err.find("records could not be written"), std::string::npos) << result.err;
}
#endif

TEST(BatchCheck, WrongCommandLinesExit64WithAMessage) {
    TempTree tree;
    tree.write("ok.brk", "Execute\n");
    const std::vector<std::vector<std::string>> wrong{
        {"--check", tree.path("absent.brk").string()},
        {"--check", tree.root().string()},
        {"--drive", "nonsense", "--check", tree.path("ok.brk").string()},
        {"--check"},
        {"--check", tree.path("ok.brk").string(), "X:"},
    };
    for (const auto& arguments : wrong) {
        ProcessResult result = runBatchProcess(arguments);
        EXPECT_EQ(result.exitStatus, 64) << arguments.back();
        EXPECT_TRUE(result.out.empty()) << result.out;
        EXPECT_NE(result.err.find("brisko2-batch:"), std::string::npos) << result.err;
    }
}

TEST(BatchCheck, MalformedDriveVariableIsRefused) {
    TempTree tree;
    tree.write("ok.brk", "Execute\n");
    ProcessResult result = runBatchProcess({"--check", tree.path("ok.brk").string()},
                                           {"BRISKO_DRIVES=this is no map"});
    EXPECT_EQ(result.exitStatus, 64);
    EXPECT_NE(result.err.find("BRISKO_DRIVES"), std::string::npos);
}

} // namespace
} // namespace brisko::test
