#include "script/Roots.h"

#include "ScriptFixture.h"
#include "support/CasePrinter.h"

namespace brisko::test {
namespace {

using script::SessionSettings;

struct RootCase {
    const char* description;
    std::vector<const char*> values; // LeftRoot values in order, upper case
    const char* root;
    int priority;
};

PRINT_CASE_AS(RootCase, c.description);

class RootPriorities : public ::testing::TestWithParam<RootCase> {};

TEST_P(RootPriorities, DecideWhichRootStands) {
    const RootCase& c = GetParam();
    SessionSettings settings;
    for (const char* value : c.values)
        script::setRoot(settings, Side::Left, value);
    EXPECT_EQ(settings.leftRoot, c.root) << c.description;
    EXPECT_EQ(settings.leftRootPriority, c.priority) << c.description;
    EXPECT_EQ(settings.rightRoot, "") << c.description;
}

INSTANTIATE_TEST_SUITE_P(
    SetRoot, RootPriorities,
    ::testing::Values(RootCase{"plain", {"C:"}, "C:", 10},
                      RootCase{"equal replaces", {"C:,20", "D:,20"}, "D:", 20},
                      RootCase{"higher replaces", {"C:,20", "E:,21"}, "E:", 21},
                      RootCase{"lower is refused", {"C:,20", "F:,19"}, "C:", 20},
                      RootCase{"no priority is 10", {"F:,20", "G:"}, "F:", 20},
                      RootCase{"not a number is 10", {"C:,ABC"}, "C:", 10},
                      RootCase{"lower fills an empty root", {"C:,5"}, "C:", 5},
                      RootCase{"further items ignored", {"C:\\X , 30 , 99"}, "C:\\X", 30},
                      RootCase{"empty value changes nothing", {"C:,20", ""}, "C:", 20},
                      RootCase{"only commas change nothing", {"C:", " , ,"}, "C:", 10},
                      RootCase{"huge number is 10", {"C:,99999999999"}, "C:", 10}));

TEST_F(ScriptFixture, CommandLineRootsAreShownAndOutrankTheScript) {
    script::applyCommandLineRoot(context, "l=e:\\Data");
    script::applyCommandLineRoot(context, "r=");
    EXPECT_EQ(settings.leftRoot, "E:\\DATA");
    EXPECT_EQ(settings.leftRootAsWritten, "e:\\Data");
    EXPECT_EQ(settings.leftRootPriority, 100);
    EXPECT_EQ(settings.rightRoot, "");
    EXPECT_EQ(settings.rightRootPriority, 100);
    EXPECT_EQ(settings.rootParamCount, 2);
    ASSERT_EQ(display.scriptRows.size(), 2u);
    EXPECT_EQ(display.scriptRows[0], (ScriptLine{"L=", "=", "E:\\DATA", true}));
    EXPECT_EQ(display.scriptRows[1], (ScriptLine{"R=", "=", "", true}));

    script::setRoot(settings, Side::Left, "C:");     // a script's root cannot replace it
    script::setRoot(settings, Side::Right, "F:,50"); // but fills an empty one
    EXPECT_EQ(settings.leftRoot, "E:\\DATA");
    EXPECT_EQ(settings.rightRoot, "F:");

    // Resets leave both roots alone once any command-line root was given.
    script::resetSettings(settings, true);
    script::resetSettings(settings, false);
    EXPECT_EQ(settings.leftRoot, "E:\\DATA");
    EXPECT_EQ(settings.leftRootAsWritten, "e:\\Data");
    EXPECT_EQ(settings.rightRoot, "F:");
    EXPECT_EQ(settings.rightRootPriority, 50);
    script::setRoot(settings, Side::Right, "G:");
    EXPECT_EQ(settings.rightRoot, "F:");
}

TEST_F(ScriptFixture, OtherCommandLineParametersEmptyBothRoots) {
    script::applyCommandLineRoot(context, "L=D:");
    script::applyCommandLineRoot(context, "X:");
    EXPECT_EQ(settings.leftRoot, "");
    EXPECT_EQ(settings.leftRootPriority, 100);
    EXPECT_EQ(settings.rootParamCount, 1);
    EXPECT_EQ(display.scriptRows.size(), 1u); // the L= row stays
}

TEST(ResetSettings, WithoutCommandLineRootsEmptiesTheRoots) {
    SessionSettings settings;
    script::setRoot(settings, Side::Right, "F:,20");
    script::resetSettings(settings, false);
    EXPECT_EQ(settings.rightRoot, "");
    EXPECT_EQ(settings.rightRootPriority, 10);
    script::setRoot(settings, Side::Right, "G:");
    EXPECT_EQ(settings.rightRoot, "G:");
}

struct JoinCase {
    const char* root;
    const char* path;
    const char* full;
};

PRINT_CASE_AS(JoinCase, "root \"" << c.root << "\" path \"" << c.path << "\"");

class JoinRootAndPath : public ::testing::TestWithParam<JoinCase> {};

TEST_P(JoinRootAndPath, GivesTheFullPath) {
    const JoinCase& c = GetParam();
    EXPECT_EQ(script::joinRootAndPath(c.root, c.path), c.full)
        << "root \"" << c.root << "\" path \"" << c.path << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    BuildFullPaths, JoinRootAndPath,
    ::testing::Values(JoinCase{"C:", "\\DATA", "C:\\DATA"}, JoinCase{"C:\\", "DATA\\", "C:\\DATA"},
                      JoinCase{"", "C:\\DATA", "C:\\DATA"}, JoinCase{"F:", "#D:\\X", "D:\\X"},
                      JoinCase{"F:", "\\", "F:"}, JoinCase{"F:\\", "\\", "F:"},
                      JoinCase{"C:", "DATA\\SUB", "C:\\DATA\\SUB"}, JoinCase{"C:", "", ""},
                      JoinCase{"", "", ""}, JoinCase{"C:", "#", ""},
                      JoinCase{"\\\\SERVER\\SHARE", "\\DIR\\", "\\\\SERVER\\SHARE\\DIR"},
                      JoinCase{"", "\\\\NAS\\SHARE\\D", "\\\\NAS\\SHARE\\D"},
                      JoinCase{"F:", "\\\\NAS\\SHARE\\", "\\\\NAS\\SHARE"}));

TEST_F(ScriptFixture, BuildFullPathsNeedsBothSides) {
    settings.leftRoot = "C:";
    settings.leftPath = "\\DATA";
    settings.rightRoot = "D:";
    EXPECT_FALSE(script::buildFullPaths(context)); // a root alone names no folder
    EXPECT_EQ(settings.leftFullPath, "C:\\DATA");
    EXPECT_EQ(settings.rightFullPath, "");

    settings.rightPath = "#E:\\ARCHIVE\\";
    EXPECT_TRUE(script::buildFullPaths(context));
    EXPECT_EQ(settings.rightFullPath, "E:\\ARCHIVE");
}

TEST_F(ScriptFixture, ShortNamesTakeTheNameFoundOnDisk) {
    tree.makeFolder("Long~Name/Inner");
    std::string path = "C:\\LONG~NAME\\INNER\\MISSING";
    script::expandShortNames(context, path);
    EXPECT_EQ(path, "C:\\Long~Name\\Inner\\MISSING");

    std::string plain = "C:\\LONG~NAME";
    script::expandShortNames(context, plain);
    EXPECT_EQ(plain, "C:\\Long~Name");

    tree.makeFolder("Plain");
    std::string noTilde = "C:\\PLAIN";
    script::expandShortNames(context, noTilde); // no '~': left alone
    EXPECT_EQ(noTilde, "C:\\PLAIN");

    std::string single = "PROGRA~1";
    script::expandShortNames(context, single);
    EXPECT_EQ(single, "PROGRA~1");
}

TEST_F(ScriptFixture, BuildFullPathsExpandsShortNames) {
    tree.makeFolder("Program~Files");
    settings.leftRoot = "C:";
    settings.leftPath = "\\PROGRAM~FILES";
    settings.rightPath = "D:\\X";
    ASSERT_TRUE(script::buildFullPaths(context));
    EXPECT_EQ(settings.leftFullPath, "C:\\Program~Files");
}

} // namespace
} // namespace brisko::test
