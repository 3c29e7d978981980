#include "script/ScriptLoader.h"

#include "ScriptFixture.h"
#include "script/LineParser.h"
#include "support/CasePrinter.h"
#include "support/Unprivileged.h"

#include <filesystem>

namespace brisko::test {
namespace {

using Rows = std::vector<std::string>;

class ScriptLoader : public ScriptFixture {};

TEST_F(ScriptLoader, CountsErrorsAndShowsTheScriptPage) {
    load("MAIN.BRK", "\n  LeftRoot=C:\n\nbogus\nUpdateMode=sideways\n   \nExecute\n");
    EXPECT_EQ(shownRows(),
              (Rows{"LeftRoot|=|C:", "!|?|bogus", "!|?|UpdateMode=sideways", "Execute||"}));
    EXPECT_EQ(state.errorCount, 2);
    EXPECT_EQ(display.errorReport, "Contains 2 errors");
    EXPECT_TRUE(display.scriptPageShown);
    EXPECT_FALSE(display.executeEnabled);
    EXPECT_EQ(display.caption, "C:\\MAIN.BRK");
    EXPECT_EQ(display.messageLine, "C:\\MAIN.BRK");
    EXPECT_EQ(display.taskbarTitle, "Brisko 2.0"); // only the caption names the file
}

// Each error row says why, and where its line stands, so that the fix is plain.
TEST_F(ScriptLoader, ErrorRowsSayWhyAndWhere) {
    load("MAIN.BRK", "UpdatMode=LMaster\nUpdateMode=Mirror\nLeftRoot=/tmp/home,20\n"
                     "LeftRoot C:\nExecute=1\nRightPath=\\DOCS\nInclude=C:\\NONE.BRK\n");
    const std::vector<std::pair<int, std::string>> expected{
        {1, "unknown key UpdatMode; did you mean UpdateMode?"},
        {2, "Mirror is not a value of UpdateMode: Update, LMaster, RMaster, 1LTR or 2RTL"},
        {3, "/tmp/home,20 is a host folder, which scripts name through a drive letter: give "
            "--drive C=/tmp/home (or BRISKO_DRIVES) and write LeftRoot=C:"},
        {4, "a key line needs '=' between key and value: LeftRoot=..."},
        {5, "Execute is a command and takes no value: write it alone"},
        {7, "the included file C:\\NONE.BRK does not exist"},
    };
    std::vector<std::pair<int, std::string>> flagged;
    for (const ScriptLine& row : state.rows) {
        EXPECT_EQ(row.highlighted, !row.reason.empty()) << row.value;
        if (row.highlighted) {
            EXPECT_EQ(row.file, "C:\\MAIN.BRK");
            flagged.emplace_back(row.lineNumber, row.reason);
        }
    }
#ifndef _WIN32
    EXPECT_EQ(flagged, expected);
#endif
    EXPECT_EQ(state.errorCount, 6);
}

TEST_F(ScriptLoader, EmptyScriptHasNoRowsAndReportsZeroErrors) {
    load("EMPTY.BRK", "");
    EXPECT_TRUE(shownRows().empty());
    EXPECT_EQ(display.errorReport, "Contains 0 errors");
    EXPECT_FALSE(display.scriptPageShown);
    EXPECT_TRUE(display.executeEnabled);
}

TEST_F(ScriptLoader, MissingScriptLeavesEverythingAlone) {
    script::clearForLoad(context);
    script::loadScript(context, "C:\\NOWHERE.BRK");
    EXPECT_TRUE(shownRows().empty());
    EXPECT_EQ(display.errorReport, "");
    EXPECT_EQ(display.caption, "Brisko 2.0");
    EXPECT_TRUE(operatorPort.questions.empty());
}

TEST_F(ScriptLoader, ScriptThatCannotBeReadIsReportedNotTakenAsMissing) {
    // Two names that differ only in case: the name resolves to neither.
    writeFile("twin.brk", "Execute\n");
    writeFile("TWIN.BRK", "Execute\n");
    script::clearForLoad(context);
    script::loadScript(context, "C:\\Twin.brk");
    ASSERT_EQ(operatorPort.questions.size(), 1u);
    EXPECT_EQ(operatorPort.questions[0].kind(), DialogKind::Standard);
    EXPECT_EQ(operatorPort.questions[0].as<StandardQuestion>().message,
              "Could not open file C:\\Twin.brk");
    EXPECT_EQ(operatorPort.questions[0].timeoutSeconds, 60);
    EXPECT_TRUE(shownRows().empty());
}

TEST_F(ScriptLoader, FileNamesMayDifferInCaseAndBeHostPaths) {
    const std::string hostName = tree.write("sub/Mixed.brk", "Message=found\n").string();
    script::clearForLoad(context);
    script::loadScript(context, "c:\\SUB\\MIXED.BRK");
    script::loadScript(context, hostName);
    EXPECT_EQ(shownRows(), (Rows{"Message|=|found", "Message|=|found"}));
}

TEST_F(ScriptLoader, IncludedRowsFollowTheIncludeRow) {
    writeFile("PART.BRK", "SessionFiles=*.DBF\nExecute\n");
    load("MAIN.BRK", "LeftRoot=C:\nInclude=C:\\PART.BRK\nRightRoot=D:\n");
    EXPECT_EQ(shownRows(), (Rows{"LeftRoot|=|C:", "Include|=|C:\\PART.BRK", "SessionFiles|=|*.DBF",
                                 "Execute||", "RightRoot|=|D:"}));
    EXPECT_EQ(state.errorCount, 0);
    EXPECT_TRUE(state.filesBeingRead.empty());
    EXPECT_FALSE(state.readingInclude);
}

TEST_F(ScriptLoader, IncludeNamesAreExpandedAndMayBeHostPaths) {
    tree.write("lib/part.brk", "Execute\n");
    environment.set("LIBDIR", tree.path("lib").string());
    load("MAIN.BRK", "IncludeTry=%LIBDIR%/part.brk\n");
    EXPECT_EQ(shownRows(),
              (Rows{"IncludeTry|=|" + tree.path("lib").string() + "/part.brk", "Execute||"}));
}

struct MissingIncludeCase {
    const char* key;
    int errors;
};

PRINT_CASE_AS(MissingIncludeCase, c.key);

class MissingInclude : public ScriptFixture,
                       public ::testing::WithParamInterface<MissingIncludeCase> {};

TEST_P(MissingInclude, IsHighlightedAndReportedInRed) {
    const MissingIncludeCase& c = GetParam();
    load("MAIN.BRK", std::string(c.key) + "=C:\\GONE.BRK\nExecute\n");
    EXPECT_EQ(shownRows(), (Rows{"!" + std::string(c.key) + "|=|C:\\GONE.BRK", "Execute||"}));
    EXPECT_EQ(state.errorCount, c.errors);
    EXPECT_EQ(display.errorReport, "Contains " + std::to_string(c.errors) + " errors");
    ASSERT_EQ(host.historyRows.size(), 1u);
    EXPECT_EQ(host.historyRows[0], (HistoryRow{c.key, "C:\\GONE.BRK", "", "",
                                               "Include File does not exist", RowColour::Red}));
    EXPECT_TRUE(operatorPort.questions.empty());
}

TEST_P(MissingInclude, ThatCannotBeReadIsReportedAndHighlighted) {
    const MissingIncludeCase& c = GetParam();
    tree.makeFolder("realfolder");
    std::filesystem::create_directory_symlink(tree.path("realfolder"), tree.path("LINK.BRK"));
    load("MAIN.BRK", std::string(c.key) + "=C:\\LINK.BRK\n");
    EXPECT_EQ(shownRows(), (Rows{"!" + std::string(c.key) + "|=|C:\\LINK.BRK"}));
    EXPECT_EQ(state.errorCount, c.errors);
    ASSERT_EQ(operatorPort.questions.size(), 1u);
    EXPECT_EQ(operatorPort.questions[0].as<StandardQuestion>().message,
              "Could not open file C:\\LINK.BRK");
    ASSERT_EQ(host.historyRows.size(), 1u);
    EXPECT_EQ(host.historyRows[0].status, "Include File cannot be read");
}

INSTANTIATE_TEST_SUITE_P(Loader, MissingInclude,
                         ::testing::Values(MissingIncludeCase{"Include", 1},
                                           MissingIncludeCase{"IncludeTry", 0}));

TEST_F(ScriptLoader, IncludeWithoutReadPermissionIsNotMissing) {
    const std::filesystem::path part = tree.write("LOCKED.BRK", "Execute\n");
    std::filesystem::permissions(part, std::filesystem::perms::none);
    // Permissions do not bind the super-user: the load runs as an ordinary user.
    const std::string main = writeFile("MAIN.BRK", "Include=C:\\LOCKED.BRK\n");
    const int outcome = runUnprivileged(tree.root(), [&] {
        script::clearForLoad(context);
        script::loadScript(context, main);
        const bool asExpected = state.errorCount == 1 && operatorPort.questions.size() == 1 &&
                                !host.historyRows.empty() &&
                                host.historyRows.front().status == "Include File cannot be read";
        return asExpected ? 0 : 1;
    });
    if (outcome < 0)
        GTEST_SKIP() << "cannot give up root here";
    EXPECT_EQ(outcome, 0);
}

TEST_F(ScriptLoader, IncludeCyclesBecomeErrorRows) {
    writeFile("A.BRK", "Message=a\nInclude=C:\\B.BRK\n");
    writeFile("B.BRK", "Message=b\nIncludeTry=c:\\a.brk\n");
    load("MAIN.BRK", "Include=C:\\A.BRK\nInclude=C:\\MAIN.BRK\nExecute\n");
    EXPECT_EQ(shownRows(),
              (Rows{"Include|=|C:\\A.BRK", "Message|=|a", "Include|=|C:\\B.BRK", "Message|=|b",
                    "!|?|IncludeTry=c:\\a.brk", "!|?|Include=C:\\MAIN.BRK", "Execute||"}));
    EXPECT_EQ(state.errorCount, 2);
    EXPECT_TRUE(host.historyRows.empty());
}

TEST_F(ScriptLoader, IncludeNestingIsCapped) {
    // Every file includes the next one: the chain is cut where it grows too deep.
    for (int i = 1; i <= 40; ++i) {
        writeFile("N" + std::to_string(i) + ".BRK",
                  "Include=C:\\N" + std::to_string(i + 1) + ".BRK\n");
    }
    writeFile("N41.BRK", "Execute\n");
    load("MAIN.BRK", "Include=C:\\N1.BRK\n");
    EXPECT_EQ(state.errorCount, 1);
    const Rows rows = shownRows();
    ASSERT_EQ(rows.size(), 32u); // the main file and 31 nested files
    EXPECT_EQ(rows.back(), "!|?|Include=C:\\N32.BRK");
    EXPECT_TRUE(state.filesBeingRead.empty());
}

TEST_F(ScriptLoader, TitleInTheMainFileAlwaysWins) {
    load("MAIN.BRK", "Title=First\nTitle=Second\n");
    EXPECT_EQ(display.caption, "Second");
    EXPECT_EQ(display.taskbarTitle, "Second");
}

TEST_F(ScriptLoader, TitleInAnIncludedFileCountsOnlyWhenNoneWasSet) {
    writeFile("PART.BRK", "Title=Included\n");
    load("MAIN.BRK", "Title=Main\nInclude=C:\\PART.BRK\n");
    EXPECT_EQ(display.caption, "Main");

    load("OTHER.BRK", "Include=C:\\PART.BRK\n");
    EXPECT_EQ(display.caption, "Included");

    load("LATER.BRK", "Include=C:\\PART.BRK\nTitle=Main again\n");
    EXPECT_EQ(display.caption, "Main again");
}

TEST_F(ScriptLoader, NestedIncludeDoesNotEndTheOuterIncludesReading) {
    writeFile("INNER.BRK", "Message=inner\n");
    writeFile("OUTER.BRK", "Include=C:\\INNER.BRK\nTitle=Outer\n");
    load("MAIN.BRK", "Title=Main\nInclude=C:\\OUTER.BRK\n");
    EXPECT_EQ(display.caption, "Main");
    EXPECT_FALSE(state.readingInclude);
}

TEST_F(ScriptLoader, WithoutTitleTheOutermostFileNamesTheWindow) {
    writeFile("PART.BRK", "Execute\n");
    load("MAIN.BRK", "Include=C:\\PART.BRK\n");
    EXPECT_EQ(display.caption, "C:\\MAIN.BRK");
    EXPECT_EQ(display.messageLine, "C:\\MAIN.BRK");
}

struct EncodingCase {
    const char* name;
    std::string bytes;
};

PRINT_CASE_AS(EncodingCase, c.name);

class ScriptEncoding : public ScriptFixture, public ::testing::WithParamInterface<EncodingCase> {};

TEST_P(ScriptEncoding, IsDecodedToUtf8Rows) {
    load("ENC.BRK", GetParam().bytes);
    EXPECT_EQ(shownRows(), (Rows{"Message|=|Übersicht", "LeftPath|=|C:\\Ä", "Execute||"}))
        << GetParam().name;
    EXPECT_EQ(state.errorCount, 0) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Loader, ScriptEncoding,
    ::testing::Values(EncodingCase{"utf8", "Message=\xc3\x9c"
                                           "bersicht\nLeftPath=C:\\\xc3\x84\nExecute"},
                      EncodingCase{"utf8 with mark and CR LF",
                                   "\xef\xbb\xbfMessage=\xc3\x9c"
                                   "bersicht\r\nLeftPath=C:\\\xc3\x84\r\nExecute\r\n"},
                      EncodingCase{"windows-1252", "Message=\xdc"
                                                   "bersicht\r\nLeftPath=C:\\\xc4\r\nExecute\r\n"}),
    [](const ::testing::TestParamInfo<EncodingCase>& param) {
        std::string name;
        for (char c : std::string(param.param.name))
            name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

TEST_F(ScriptLoader, FolderPreviewShowsTheFirstPathOfEachSide) {
    tree.lay({{"Data/Left/"}, {"Right/"}});
    load("MAIN.BRK", "RightRoot=c:\\ignored\nRightPath=\\RIGHT\nLeftRoot=C:,20\n"
                     "LeftPath=DATA\\LEFT\nLeftPath=\\ELSEWHERE\n");
    EXPECT_EQ(display.rightFolder, "c:\\RIGHT");
    EXPECT_EQ(display.leftFolder, "C:\\DATA\\LEFT");
    EXPECT_TRUE(state.preview.leftShown);
    EXPECT_TRUE(state.preview.rightShown);
}

TEST_F(ScriptLoader, FolderPreviewFallsBackToTheDriveRoot) {
    load("MAIN.BRK", "LeftRoot=C:\nLeftPath=\\NOT THERE\nRightPath=Q:\\NOWHERE\n");
    EXPECT_EQ(display.leftFolder, "C:\\");
    EXPECT_EQ(display.rightFolder, ""); // drive Q does not exist
    EXPECT_TRUE(state.preview.rightShown);
}

TEST_F(ScriptLoader, PathLongerThanTheSystemTakesIsAnErrorAndNotPreviewed) {
    std::string longPath = "C:";
    while (longPath.size() <= script::kMaxPathValueBytes)
        longPath += "\\a";
    const std::string fitting = longPath.substr(0, script::kMaxPathValueBytes);
    load("MAIN.BRK", "LeftPath=" + longPath + "\nRightPath=" + fitting + "\nExecute\n");
    EXPECT_EQ(state.errorCount, 1);
    EXPECT_EQ(shownRows(),
              (Rows{"!LeftPath|=|" + longPath, "RightPath|=|" + fitting, "Execute||"}));
    ASSERT_EQ(host.historyRows.size(), 1u);
    EXPECT_EQ(host.historyRows[0], (HistoryRow{"LeftPath", longPath, "", "",
                                               "Path longer than 4096 bytes", RowColour::Red}));
    EXPECT_FALSE(state.preview.leftShown);
    EXPECT_TRUE(state.preview.rightShown);
}

TEST_F(ScriptLoader, ClearForLoadForgetsTheLoadedScript) {
    load("MAIN.BRK", "Title=T\nbogus\nLeftPath=C:\\\n");
    ASSERT_EQ(state.errorCount, 1);
    ASSERT_TRUE(state.preview.leftShown);
    state.messages.push_back("old");
    settings.rootParamCount = 1; // roots from a command line are forgotten by a fresh load
    settings.leftRoot = "E:";
    settings.leftRootAsWritten = "e:";
    settings.leftRootPriority = 100;

    script::clearForLoad(context);
    EXPECT_EQ(host.resets.back(), true);
    EXPECT_EQ(state.errorCount, 0);
    EXPECT_TRUE(state.rows.empty());
    EXPECT_TRUE(display.scriptRows.empty());
    EXPECT_TRUE(state.messages.empty());
    EXPECT_FALSE(state.titleSet);
    EXPECT_EQ(display.caption, "Brisko 2.0");
    EXPECT_EQ(display.taskbarTitle, "Brisko 2.0");
    EXPECT_EQ(settings.leftRoot, "");
    EXPECT_EQ(settings.leftRootAsWritten, "");
    EXPECT_EQ(settings.leftRootPriority, 10);
    EXPECT_EQ(settings.rootParamCount, 0);
    EXPECT_FALSE(state.preview.leftShown);
}

} // namespace
} // namespace brisko::test
