#include "ScanFixture.h"

#include <gtest/gtest.h>

namespace brisko::engine::test {
namespace {

using test::PrintTo;

using Lines = std::vector<std::string>;

struct ModeCase {
    const char* name;
    script::UpdateMode mode;
    Lines copies;
    Lines filesToDelete;
    Lines foldersToCreate;
    Lines foldersToDelete;
};

// Two trees that differ in every way a mode can tell apart: A.TXT is later on the left,
// B.TXT later on the right, SAME.TXT equal, one file and one folder tree on each side only.
class SessionModesTest : public ScanFixture, public ::testing::WithParamInterface<ModeCase> {
protected:
    void SetUp() override {
        lay({{"left/DATA/A.TXT", "left a", kNow - kHour},
             {"right/DATA/A.TXT", "right a", kNow - 2 * kHour},
             {"left/DATA/B.TXT", "left b", kNow - 2 * kHour},
             {"right/DATA/B.TXT", "right b", kNow - kHour},
             {"left/DATA/SAME.TXT", "same", kNow - 3 * kHour},
             {"right/DATA/SAME.TXT", "same", kNow - 3 * kHour},
             {"left/DATA/ONLYL.TXT", "only left"},
             {"right/DATA/ONLYR.TXT", "only right"},
             {"left/DATA/SUB/C.TXT", "c", kNow - 3 * kHour},
             {"right/DATA/SUB/C.TXT", "c", kNow - 3 * kHour},
             {"left/DATA/LSUB/D.TXT", "d"},
             {"left/DATA/LSUB/DEEP/F.TXT", "f"},
             {"right/DATA/RSUB/E.TXT", "e"},
             {"right/DATA/RSUB/DEEP/G.TXT", "g"}});
    }
};

TEST_P(SessionModesTest, PlansExactlyTheWorkOfTheMode) {
    const ModeCase& mode = GetParam();
    execute(mode.mode);
    EXPECT_EQ(copies(), mode.copies);
    EXPECT_EQ(filesToDelete(), mode.filesToDelete);
    EXPECT_EQ(foldersToCreate(), mode.foldersToCreate);
    EXPECT_EQ(foldersToDelete(), mode.foldersToDelete);
    EXPECT_TRUE(operatorPort.questions.empty());
    EXPECT_TRUE(operatorPort.notices.empty());
    EXPECT_TRUE(problems().empty());
    EXPECT_EQ(host.runState, RunState::Scanning);
    EXPECT_FALSE(host.offersExecute);
}

const ModeCase kModes[] = {
    {"Update",
     script::UpdateMode::Update,
     {"L:\\DATA\\A.TXT > R:\\DATA\\A.TXT", "L:\\DATA\\ONLYL.TXT > R:\\DATA\\ONLYL.TXT",
      "L:\\DATA\\LSUB\\D.TXT > R:\\DATA\\LSUB\\D.TXT",
      "L:\\DATA\\LSUB\\DEEP\\F.TXT > R:\\DATA\\LSUB\\DEEP\\F.TXT",
      "R:\\DATA\\B.TXT > L:\\DATA\\B.TXT", "R:\\DATA\\ONLYR.TXT > L:\\DATA\\ONLYR.TXT",
      "R:\\DATA\\RSUB\\E.TXT > L:\\DATA\\RSUB\\E.TXT",
      "R:\\DATA\\RSUB\\DEEP\\G.TXT > L:\\DATA\\RSUB\\DEEP\\G.TXT"},
     {},
     {"R:\\DATA\\LSUB", "R:\\DATA\\LSUB\\DEEP", "L:\\DATA\\RSUB", "L:\\DATA\\RSUB\\DEEP"},
     {}},
    {"OneLTR",
     script::UpdateMode::OneLTR,
     {"L:\\DATA\\A.TXT > R:\\DATA\\A.TXT", "L:\\DATA\\ONLYL.TXT > R:\\DATA\\ONLYL.TXT",
      "L:\\DATA\\LSUB\\D.TXT > R:\\DATA\\LSUB\\D.TXT",
      "L:\\DATA\\LSUB\\DEEP\\F.TXT > R:\\DATA\\LSUB\\DEEP\\F.TXT"},
     {},
     {"R:\\DATA\\LSUB", "R:\\DATA\\LSUB\\DEEP"},
     {}},
    {"TwoRTL",
     script::UpdateMode::TwoRTL,
     {"R:\\DATA\\B.TXT > L:\\DATA\\B.TXT", "R:\\DATA\\ONLYR.TXT > L:\\DATA\\ONLYR.TXT",
      "R:\\DATA\\RSUB\\E.TXT > L:\\DATA\\RSUB\\E.TXT",
      "R:\\DATA\\RSUB\\DEEP\\G.TXT > L:\\DATA\\RSUB\\DEEP\\G.TXT"},
     {},
     {"L:\\DATA\\RSUB", "L:\\DATA\\RSUB\\DEEP"},
     {}},
    // The right side becomes an exact copy: the later right B.TXT is replaced, what exists
    // only on the right is deleted, and the folder below a deleted folder is not entered.
    {"LMaster",
     script::UpdateMode::LMaster,
     {"L:\\DATA\\A.TXT > R:\\DATA\\A.TXT", "L:\\DATA\\B.TXT > R:\\DATA\\B.TXT",
      "L:\\DATA\\ONLYL.TXT > R:\\DATA\\ONLYL.TXT", "L:\\DATA\\LSUB\\D.TXT > R:\\DATA\\LSUB\\D.TXT",
      "L:\\DATA\\LSUB\\DEEP\\F.TXT > R:\\DATA\\LSUB\\DEEP\\F.TXT"},
     {"R:\\DATA\\ONLYR.TXT", "R:\\DATA\\RSUB\\E.TXT"},
     {"R:\\DATA\\LSUB", "R:\\DATA\\LSUB\\DEEP"},
     {"R:\\DATA\\RSUB"}},
    {"RMaster",
     script::UpdateMode::RMaster,
     {"R:\\DATA\\A.TXT > L:\\DATA\\A.TXT", "R:\\DATA\\B.TXT > L:\\DATA\\B.TXT",
      "R:\\DATA\\ONLYR.TXT > L:\\DATA\\ONLYR.TXT", "R:\\DATA\\RSUB\\E.TXT > L:\\DATA\\RSUB\\E.TXT",
      "R:\\DATA\\RSUB\\DEEP\\G.TXT > L:\\DATA\\RSUB\\DEEP\\G.TXT"},
     {"L:\\DATA\\ONLYL.TXT", "L:\\DATA\\LSUB\\D.TXT"},
     {"L:\\DATA\\RSUB", "L:\\DATA\\RSUB\\DEEP"},
     {"L:\\DATA\\LSUB"}},
};

INSTANTIATE_TEST_SUITE_P(Modes, SessionModesTest, ::testing::ValuesIn(kModes), CaseName());

TEST_F(ScanFixture, SubfoldersAreWalkedDepthFirstInCaseInsensitiveOrderAfterTheFiles) {
    lay({{"left/DATA/b/X.TXT", "x"},
         {"left/DATA/A/Z/Y.TXT", "y"},
         {"left/DATA/C/W.TXT", "w"},
         {"left/DATA/Z.TXT", "z"}});
    execute(script::UpdateMode::OneLTR);
    // Folders are listed as their parent's entries are met and entered afterwards.
    EXPECT_EQ(foldersToCreate(),
              (Lines{"R:\\DATA", "R:\\DATA\\A", "R:\\DATA\\b", "R:\\DATA\\C", "R:\\DATA\\A\\Z"}));
    EXPECT_EQ(copies(), (Lines{"L:\\DATA\\Z.TXT > R:\\DATA\\Z.TXT",
                               "L:\\DATA\\A\\Z\\Y.TXT > R:\\DATA\\A\\Z\\Y.TXT",
                               "L:\\DATA\\b\\X.TXT > R:\\DATA\\b\\X.TXT",
                               "L:\\DATA\\C\\W.TXT > R:\\DATA\\C\\W.TXT"}));
    EXPECT_EQ(host.leftFolder, "L:\\DATA\\C");
    EXPECT_EQ(host.rightFolder, "R:\\DATA\\C");
    EXPECT_EQ(host.currentFile, "L:\\DATA\\C\\W.TXT");
}

TEST_F(ScanFixture, RightToLeftPassShowsTheLeftTreeInTheLeftPane) {
    lay({{"right/DATA/A.TXT", "a"}});
    execute(script::UpdateMode::TwoRTL);
    EXPECT_EQ(host.leftFolder, "L:\\DATA");
    EXPECT_EQ(host.rightFolder, "R:\\DATA");
    EXPECT_FALSE(host.directionLeftToRight);
    EXPECT_TRUE(host.directionVisible);
}

TEST_F(ScanFixture, TwoSessionsAddToOnePlanWithTheirOwnNumbers) {
    lay({{"left/DATA/A.TXT", "a"}, {"left/OTHER/B.TXT", "b"}});
    execute(script::UpdateMode::OneLTR);
    settings.leftPath = "OTHER";
    settings.rightPath = "OTHER";
    execute(script::UpdateMode::OneLTR);
    ASSERT_EQ(plan.filesToCopy().size(), 2u);
    EXPECT_EQ(plan.filesToCopy()[0].session, 1);
    EXPECT_EQ(plan.filesToCopy()[1].session, 2);
    EXPECT_EQ(foldersToCreate(), (Lines{"R:\\DATA", "R:\\OTHER"}));
}

} // namespace
} // namespace brisko::engine::test
