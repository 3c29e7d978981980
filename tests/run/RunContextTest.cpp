#include "run/RunContext.h"

#include "support/RunWorld.h"

#include <gtest/gtest.h>

namespace brisko::run {
namespace {

// Records every session the script runner starts, with the settings that stood.
class RecordingExecutor : public engine::SessionExecutor {
public:
    void executeSession(script::SessionSettings& settings) override {
        sessions.push_back(settings);
    }
    std::vector<script::SessionSettings> sessions;
};

class RunContextTest : public ::testing::Test, public test::RunWorld {
protected:
    // A letter that no system takes for itself.
    RunContextTest() : RunWorld({{'T', ""}}, test::kFifthOfMarch2024) {}

    RunContext& context() {
        if (!context_) {
            context_ = makeContext(realFileSystem);
            context_->setSessionExecutor(&executor);
        }
        return *context_;
    }

    std::string script(const std::string& name, const std::string& text) {
        return tree.write(name, text).string();
    }

    RecordingExecutor executor;
    std::unique_ptr<RunContext> context_;
};

TEST_F(RunContextTest, StartWithoutParametersLoadsNothing) {
    EXPECT_EQ(context().startFromCommandLine({}), RunContext::StartOutcome::NoScript);
    EXPECT_FALSE(context().closeWhenFinished());
    EXPECT_TRUE(context().script().rows.empty());
}

TEST_F(RunContextTest, MissingScriptIsSaidAndNotRun) {
    auto outcome = context().startFromCommandLine({tree.path("absent.brk").string(), "L=D:"});
    EXPECT_EQ(outcome, RunContext::StartOutcome::MissingScript);
    ASSERT_EQ(asker.questions.size(), 1u);
    EXPECT_NE(asker.questions[0].as<StandardQuestion>().message.find("absent.brk"),
              std::string::npos);
    EXPECT_FALSE(context().closeWhenFinished());
}

TEST_F(RunContextTest, ScriptWithoutErrorsRunsAtOnceAndClosesAfterwards) {
    auto name = script("job.brk", "LeftPath=\\A\nRightPath=\\B\nExecute\n");
    auto outcome = context().startFromCommandLine({name, "l=d:"});
    EXPECT_EQ(outcome, RunContext::StartOutcome::Run);
    EXPECT_TRUE(context().closeWhenFinished());
    ASSERT_FALSE(context().script().rows.empty());
    EXPECT_EQ(context().script().rows[0], (ScriptLine{"L=", "=", "D:", true}));
    EXPECT_EQ(context().settings().leftRoot, "D:");
    EXPECT_EQ(context().settings().leftRootPriority, 100);
}

TEST_F(RunContextTest, ScriptWithErrorsWaitsForTheOperator) {
    auto name = script("bad.brk", "Nonsense\n");
    EXPECT_EQ(context().startFromCommandLine({name}), RunContext::StartOutcome::HasErrors);
    EXPECT_FALSE(context().closeWhenFinished());
    EXPECT_FALSE(display.executeEnabled);
}

TEST_F(RunContextTest, ExecuteRowsReachTheSessionWithTheStandingSettings) {
    auto name = script("two.brk", "LeftPath=\\Docs\nRightPath=\\Copy\nSessionFiles=*.txt\n"
                                  "UpdateMode=1LTR\nExecute\nExecute\n");
    context().loadScript(name);
    ASSERT_TRUE(context().canRun());
    EXPECT_TRUE(display.executeEnabled);
    EXPECT_TRUE(context().scan());
    ASSERT_EQ(executor.sessions.size(), 2u);
    EXPECT_EQ(executor.sessions[0].sessionFiles, "*.TXT");
    EXPECT_EQ(executor.sessions[0].updateMode, script::UpdateMode::OneLTR);
    EXPECT_EQ(executor.sessions[0].leftPath, "\\DOCS");
    EXPECT_EQ(executor.sessions[0].sessionCount, 1);
    // The per-session keys fall back after every Execute; paths stand.
    EXPECT_EQ(executor.sessions[1].sessionFiles, "*.*");
    EXPECT_EQ(executor.sessions[1].updateMode, script::UpdateMode::Update);
    EXPECT_EQ(executor.sessions[1].rightPath, "\\COPY");
    EXPECT_EQ(executor.sessions[1].sessionCount, 2);
}

TEST_F(RunContextTest, LoadingForgetsCommandLineRootsAndTheEarlierScript) {
    auto first = script("one.brk", "Title=One\nExecute\n");
    auto second = script("two.brk", "Message=Second\n");
    context().startFromCommandLine({first, "L=E:"});
    context().loadScript(second);
    EXPECT_EQ(context().settings().leftRoot, "");
    EXPECT_EQ(context().settings().rootParamCount, 0);
    ASSERT_EQ(context().script().rows.size(), 1u);
    EXPECT_EQ(context().script().rows[0].key, "Message");
    EXPECT_EQ(display.caption, second);
}

TEST_F(RunContextTest, AbortAllStopsTheWalkAndTheCloseRequest) {
    auto name = script("job.brk", "FileSpecLibrary=absent.lib\nExecute\n");
    context().startFromCommandLine({name});
    ASSERT_TRUE(context().closeWhenFinished());
    EXPECT_FALSE(context().scan());
    EXPECT_TRUE(executor.sessions.empty());
    EXPECT_FALSE(context().closeWhenFinished());
    EXPECT_EQ(display.taskbarTitle.rfind("Stopped - ", 0), 0u) << display.taskbarTitle;
}

} // namespace
} // namespace brisko::run
