#include "script/ScriptRunner.h"

#include "ScriptFixture.h"
#include "platform/Unicode.h"
#include "script/Roots.h"
#include "script/ScriptLoader.h"
#include "support/CasePrinter.h"

namespace brisko::test {
namespace {

using script::MissingFolderRule;
using script::UpdateMode;

class ScriptRunner : public ScriptFixture {
protected:
    bool loadAndRun(std::string_view content) {
        load("MAIN.BRK", content);
        EXPECT_EQ(state.errorCount, 0) << "the test script has errors";
        startRun();
        return script::runScript(context);
    }
};

TEST_F(ScriptRunner, ExecuteRowsRunWithTheStandingSettings) {
    EXPECT_TRUE(loadAndRun("LeftRoot=c:\nLeftPath=\\data\nRightPath=d:\\Backup\n"
                           "SessionFiles=*.dbf\nUpdateMode=lm\nSubFolders=e\nMissingFolder=a\n"
                           "Exclude=*.cdx\nExitFolder=c:\\out\nLeftWrite=w\nExecute\n"
                           "Execute\n"));
    ASSERT_EQ(host.sessions.size(), 2u);
    const script::SessionSettings& first = host.sessions[0];
    EXPECT_EQ(first.leftRoot, "C:");
    EXPECT_EQ(first.leftPath, "\\DATA");
    EXPECT_EQ(first.rightPath, "D:\\BACKUP");
    EXPECT_EQ(first.sessionFiles, "*.DBF");
    EXPECT_EQ(first.updateMode, UpdateMode::LMaster);
    EXPECT_FALSE(first.subFolders);
    EXPECT_EQ(first.missingFolder, MissingFolderRule::Auto);
    EXPECT_EQ(first.tables.exclusions, (std::vector<script::ExcludeEntry>{{"*.CDX", true, ""}}));
    EXPECT_EQ(first.exitFolder, "C:\\OUT");
    EXPECT_EQ(first.leftWrite, "W");
    EXPECT_EQ(first.sessionCount, 1);

    // The per-session keys fall back; roots, paths and the exit folder stand.
    const script::SessionSettings& second = host.sessions[1];
    EXPECT_EQ(second.sessionFiles, "*.*");
    EXPECT_EQ(second.updateMode, UpdateMode::Update);
    EXPECT_TRUE(second.subFolders);
    EXPECT_EQ(second.missingFolder, MissingFolderRule::UserAsk);
    EXPECT_EQ(second.tables.exclusions, (std::vector<script::ExcludeEntry>{{"*.CDX", false, ""}}));
    EXPECT_EQ(second.leftPath, "\\DATA");
    EXPECT_EQ(second.rightPath, "D:\\BACKUP");
    EXPECT_EQ(second.exitFolder, "C:\\OUT");
    EXPECT_EQ(second.sessionCount, 2);
}

struct ModeCase {
    const char* line;
    UpdateMode mode;
    bool subFolders;
    MissingFolderRule missingFolder;
};

PRINT_CASE_AS(ModeCase, c.line);

class KeyValues : public ScriptRunner, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(KeyValues, SetTheirSetting) {
    const ModeCase& c = GetParam();
    ASSERT_TRUE(loadAndRun(std::string(c.line) + "\nExecute\n"));
    ASSERT_EQ(host.sessions.size(), 1u);
    EXPECT_EQ(host.sessions[0].updateMode, c.mode) << c.line;
    EXPECT_EQ(host.sessions[0].subFolders, c.subFolders) << c.line;
    EXPECT_EQ(host.sessions[0].missingFolder, c.missingFolder) << c.line;
}

INSTANTIATE_TEST_SUITE_P(
    Runner, KeyValues,
    ::testing::Values(
        ModeCase{"UpdateMode=r", UpdateMode::RMaster, true, MissingFolderRule::UserAsk},
        ModeCase{"UpdateMode=1", UpdateMode::OneLTR, true, MissingFolderRule::UserAsk},
        ModeCase{"UpdateMode=2", UpdateMode::TwoRTL, true, MissingFolderRule::UserAsk},
        ModeCase{"UpdateMode=u", UpdateMode::Update, true, MissingFolderRule::UserAsk},
        ModeCase{"SubFolders=No", UpdateMode::Update, false, MissingFolderRule::UserAsk},
        ModeCase{"SubFolders=Yes", UpdateMode::Update, true, MissingFolderRule::UserAsk},
        ModeCase{"SubFolders=Inc", UpdateMode::Update, true, MissingFolderRule::UserAsk},
        ModeCase{"MissingFolder=skip", UpdateMode::Update, true, MissingFolderRule::Skip},
        ModeCase{"MissingFolder=u", UpdateMode::Update, true, MissingFolderRule::UserAsk}));

TEST_F(ScriptRunner, ResetRowGivesTheNextSessionDefaultsButKeepsCommandLineRoots) {
    load("MAIN.BRK", "RightRoot=F:,20\nLeftPath=A\nRightPath=B\nFileSpec=*.X\nExecute\nReset\n"
                     "RightRoot=G:\nExecute\n");
    settings.rootParamCount = 1; // as if "L=E:" came from the command line
    settings.leftRoot = "E:";
    settings.leftRootPriority = 100;
    startRun();
    ASSERT_TRUE(script::runScript(context));
    EXPECT_EQ(host.resets, (std::vector<bool>{true, true, false}));
    ASSERT_EQ(host.sessions.size(), 2u);
    EXPECT_EQ(host.sessions[0].leftRoot, "E:");
    EXPECT_EQ(host.sessions[0].rightRoot, "F:");
    EXPECT_EQ(host.sessions[1].leftRoot, "E:");
    EXPECT_EQ(host.sessions[1].rightRoot, "F:"); // survived the Reset, so G: is refused
    EXPECT_EQ(host.sessions[1].leftPath, "");
    EXPECT_EQ(host.sessions[1].rightPath, "");
    EXPECT_EQ(host.sessions[1].tables.fileSpecs.size(), 2u);
    EXPECT_EQ(host.sessions[1].sessionCount, 2);
}

TEST_F(ScriptRunner, ResetRowWithoutCommandLineRootsEmptiesThem) {
    ASSERT_TRUE(loadAndRun("RightRoot=F:,20\nReset\nRightRoot=G:\nExecute\n"));
    EXPECT_EQ(host.sessions.at(0).rightRoot, "G:");
}

TEST_F(ScriptRunner, MessagesAreShownAndRecordedPerSession) {
    ASSERT_TRUE(loadAndRun("Execute\nMessage=Copy {DOW} Übersicht\nExecute\nExecute\n"
                           "Message=Second\nExecute\n"));
    EXPECT_EQ(state.messages, (std::vector<std::string>{"Copy TUE Übersicht", "Second"}));
    EXPECT_EQ(display.messages, state.messages);
    EXPECT_EQ(display.messageLine, "Second");
    // The first message names the window when the script has no title.
    EXPECT_EQ(display.caption, "Copy TUE Übersicht");
    EXPECT_EQ(display.taskbarTitle, "Copy TUE Übersicht");
    EXPECT_EQ(
        host.sessions.back().sessionMessages,
        (std::vector<std::string>{"", "", "Copy TUE Übersicht", "Copy TUE Übersicht", "Second"}));
}

TEST_F(ScriptRunner, MessagesDoNotReplaceATitle) {
    ASSERT_TRUE(loadAndRun("Title=My backup\nMessage=working\n"));
    EXPECT_EQ(display.caption, "My backup");
    EXPECT_EQ(display.messageLine, "working");
}

TEST_F(ScriptRunner, SessionsWithoutMessagesRecordEmptyTexts) {
    ASSERT_TRUE(loadAndRun("Execute\nExecute\n"));
    EXPECT_EQ(host.sessions.back().sessionMessages, (std::vector<std::string>{"", "", ""}));
}

TEST_F(ScriptRunner, ASecondRunStartsFromTheSameState) {
    load("MAIN.BRK", "Message=m\nFileSpec=*.A\nExecute\nExecute\n");
    startRun();
    ASSERT_TRUE(script::runScript(context));
    startRun();
    ASSERT_TRUE(script::runScript(context));
    ASSERT_EQ(host.sessions.size(), 4u);
    EXPECT_EQ(host.sessions[2].sessionCount, 1);
    EXPECT_EQ(host.sessions[2].tables.fileSpecs.size(), 3u);
    EXPECT_EQ(host.sessions[3].sessionMessages, (std::vector<std::string>{"", "m", "m"}));
    EXPECT_EQ(state.messages.size(), 1u);
}

TEST_F(ScriptRunner, ValuesRunInUpperCaseExceptMessageAndProgram) {
    ASSERT_TRUE(loadAndRun("LeftPath=c:\\übersicht\nMessage=übersicht\n"
                           "ExitProgram=/usr/bin/notify-send Done\nExecute\n"));
    EXPECT_EQ(host.sessions[0].leftPath, "C:\\ÜBERSICHT");
    EXPECT_EQ(host.sessions[0].sessionMessages.at(1), "übersicht");
    EXPECT_EQ(host.sessions[0].exitProgram, "/usr/bin/notify-send Done");
}

TEST_F(ScriptRunner, RootsAndPathsAreAlsoKeptAsWritten) {
    std::vector<script::SessionSettings> joined;
    host.duringSession = [this, &joined] {
        script::buildFullPaths(context);
        joined.push_back(settings);
    };
    ASSERT_TRUE(loadAndRun("LeftRoot=c:\\Base,20\nLeftRoot=x:\\Lower,5\nLeftPath=\\Doc\\über\n"
                           "RightPath=#d:\\Mixed\\Case\\\nExecute\n"
                           "Reset\nLeftPath=e:\\New\nRightRoot=f:\nRightPath=Sub\nExecute\n"));
    ASSERT_EQ(joined.size(), 2u);
    EXPECT_EQ(joined[0].leftRootAsWritten, "c:\\Base"); // the lower priority was refused
    EXPECT_EQ(joined[0].leftFullPathAsWritten, "c:\\Base\\Doc\\über");
    EXPECT_EQ(joined[0].rightFullPathAsWritten, "d:\\Mixed\\Case");
    EXPECT_EQ(joined[1].leftRootAsWritten, ""); // Reset emptied it
    EXPECT_EQ(joined[1].leftFullPathAsWritten, "e:\\New");
    EXPECT_EQ(joined[1].rightFullPathAsWritten, "f:\\Sub");
    for (const script::SessionSettings& session : joined) {
        EXPECT_EQ(platform::toUpper(session.leftRootAsWritten), session.leftRoot);
        EXPECT_EQ(platform::toUpper(session.rightRootAsWritten), session.rightRoot);
        EXPECT_EQ(platform::toUpper(session.leftPathAsWritten), session.leftPath);
        EXPECT_EQ(platform::toUpper(session.rightPathAsWritten), session.rightPath);
        EXPECT_EQ(platform::toUpper(session.leftFullPathAsWritten), session.leftFullPath);
        EXPECT_EQ(platform::toUpper(session.rightFullPathAsWritten), session.rightFullPath);
    }
}

TEST_F(ScriptRunner, WhenFinishDecidesWhetherTheWindowCloses) {
    ASSERT_TRUE(loadAndRun("WhenFinish=c\n"));
    EXPECT_TRUE(host.closeWhenFinished);
    EXPECT_TRUE(state.whenFinishGiven);

    ASSERT_TRUE(loadAndRun("WhenFinish=Stay\n"));
    EXPECT_FALSE(host.closeWhenFinished);
    EXPECT_TRUE(state.whenFinishGiven);
}

TEST_F(ScriptRunner, ScriptsTickTheCheckBoxesButNeverClearThem) {
    ASSERT_TRUE(loadAndRun("BeforeCopy=NoPause\nCompareAfterCopy=No\n"));
    EXPECT_FALSE(options.stopBetweenScanAndCopy);
    EXPECT_FALSE(options.binaryCompareAfterCopy);
    EXPECT_FALSE(display.scanCopyBox);

    ASSERT_TRUE(loadAndRun("BeforeCopy=Pause\nCompareAfterCopy=Yes\nBeforeCopy=NoPause\n"
                           "CompareAfterCopy=No\n"));
    EXPECT_TRUE(options.stopBetweenScanAndCopy);
    EXPECT_TRUE(options.binaryCompareAfterCopy);
    EXPECT_TRUE(display.scanCopyBox);
    EXPECT_TRUE(display.binaryCompareBox);
}

TEST_F(ScriptRunner, OperatorsTickIsKeptByNoPause) {
    options.stopBetweenScanAndCopy = true;
    ASSERT_TRUE(loadAndRun("BeforeCopy=NoPause\n"));
    EXPECT_TRUE(options.stopBetweenScanAndCopy);
}

TEST_F(ScriptRunner, AbortStopsTheWalkAfterTheRowThatSetIt) {
    host.duringSession = [this] { host.abortFlag = true; };
    EXPECT_FALSE(loadAndRun("SessionFiles=*.A\nExecute\nMessage=never\nExecute\n"));
    EXPECT_EQ(host.sessions.size(), 1u);
    EXPECT_TRUE(state.messages.empty());
}

TEST_F(ScriptRunner, CommentsTitlesIncludesAndCommandLineRowsDoNothing) {
    writeFile("PART.BRK", "; nothing\n");
    script::clearForLoad(context);
    script::applyCommandLineRoot(context, "L=E:");
    script::loadScript(context, writeFile("MAIN.BRK", "; Execute\nTitle=T\nInclude=C:\\PART.BRK\n"
                                                      "IncludeTry=C:\\GONE.BRK\n"));
    startRun();
    EXPECT_TRUE(script::runScript(context));
    EXPECT_TRUE(host.sessions.empty());
    EXPECT_EQ(settings.leftRoot, "E:");
}

} // namespace
} // namespace brisko::test
