#include "ScriptFixture.h"
#include "script/LineParser.h"
#include "script/ScriptLoader.h"
#include "support/CasePrinter.h"

namespace brisko::test {
namespace {

struct LineCase {
    const char* line;
    const char* row; // "key|sign|value", "!" in front when highlighted
    int errors;
};

PRINT_CASE_AS(LineCase, c.line);

class LineKinds : public ScriptFixture, public ::testing::WithParamInterface<LineCase> {};

TEST_P(LineKinds, GiveTheirRowAndErrorCount) {
    const LineCase& c = GetParam();
    environment.set("DATA", "D:\\DATA");
    load("ONE.BRK", std::string(c.line) + "\n");
    EXPECT_EQ(shownRows(), std::vector<std::string>{c.row}) << "line: " << c.line;
    EXPECT_EQ(state.errorCount, c.errors) << "line: " << c.line;
    EXPECT_EQ(state.rows, display.scriptRows);
    EXPECT_TRUE(host.historyRows.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Loader, LineKinds,
    ::testing::Values(LineCase{"  execute  ", "Execute||", 0}, LineCase{"RESET", "Reset||", 0},
                      LineCase{"Execute=1", "!|?|Execute=1", 1},
                      LineCase{"Reset = ", "!|?|Reset =", 1},
                      LineCase{"updatemode = lm", "UpdateMode|=|LMaster", 0},
                      LineCase{"UpdateMode=X", "!|?|UpdateMode=X", 1},
                      LineCase{"UpdateMode=", "!|?|UpdateMode=", 1},
                      LineCase{"compare=B", "Compare|=|Binary", 0},
                      LineCase{"BeforeCopy= p", "BeforeCopy|=|Pause", 0},
                      LineCase{"Message=a=b", "Message|=|a=b", 0},
                      LineCase{"Message =  Hello World ", "Message|=|Hello World", 0},
                      LineCase{";Include=NOWHERE.BRK", "||;Include=NOWHERE.BRK", 0},
                      LineCase{"; any comment = here", "||; any comment = here", 0},
                      LineCase{"LeftPath C:\\DATA", "!|?|LeftPath C:\\DATA", 1},
                      LineCase{"Unknown=1", "!|?|Unknown=1", 1},
                      LineCase{"=value", "!|?|=value", 1}, LineCase{"Exclude=", "Exclude|=|", 0},
                      LineCase{"SessionFiles=*.{MTHTXT}", "SessionFiles|=|*.MAR", 0},
                      LineCase{"LeftPath=%DATA%\\{YEAR4}", "LeftPath|=|D:\\DATA\\2024", 0},
                      // An expansion that comes out empty leaves the text as written.
                      LineCase{"Backup={UNKNOWN}", "Backup|=|{UNKNOWN}", 0},
                      LineCase{"Backup=%NOT_SET%", "Backup|=|%NOT_SET%", 0}));

TEST_F(ScriptFixture, ParsedCommentsAndCommandsCarryTheUpperCasedLine) {
    const script::ParsedLine comment = script::parseScriptLine(context, "; übersicht");
    EXPECT_TRUE(comment.accepted);
    EXPECT_EQ(comment.key, "; ÜBERSICHT");
    EXPECT_EQ(comment.value, "");

    const script::ParsedLine command = script::parseScriptLine(context, "Execute");
    EXPECT_TRUE(command.accepted);
    EXPECT_EQ(command.key, "EXECUTE");

    const script::ParsedLine keyLine = script::parseScriptLine(context, "missingfile = c");
    EXPECT_TRUE(keyLine.accepted);
    EXPECT_EQ(keyLine.key, "MissingFile");
    EXPECT_EQ(keyLine.value, "Create");
    EXPECT_EQ(keyLine.rawValue, "c");
}

} // namespace
} // namespace brisko::test
