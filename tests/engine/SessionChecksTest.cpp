#include "ScanFixture.h"

#include <gtest/gtest.h>

namespace brisko::engine::test {
namespace {

using test::PrintTo;

using Lines = std::vector<std::string>;

class SessionChecksTest : public ScanFixture {};

TEST_F(SessionChecksTest, APathMissingOnEitherSideEndsTheSessionWithAMessage) {
    settings.leftPath.clear();
    lay({{"right/DATA/A.TXT", "a"}});
    execute(script::UpdateMode::Update);
    EXPECT_EQ(operatorPort.notices, Lines{"No Specified Right or Left path..."});
    EXPECT_TRUE(planIsEmpty());
    EXPECT_TRUE(host.offersExecute); // the passes never started
    EXPECT_EQ(host.runState, RunState::Scanning);
}

TEST_F(SessionChecksTest, AnEmptySessionMaskScansEveryFile) {
    settings.sessionFiles.clear();
    lay({{"left/DATA/A.TXT", "a"}, {"left/DATA/README", "r"}});
    execute(script::UpdateMode::OneLTR);
    EXPECT_EQ(settings.sessionFiles, "*.*");
    EXPECT_EQ(copies().size(), 2u);
}

// What a missing source root comes to under each MissingFolder rule and mode.
struct MissingSourceCase {
    const char* name;
    script::UpdateMode mode;
    script::MissingFolderRule rule;
    Lines notices;
    Lines foldersToCreate;
    std::size_t copies;
    Lines problems = {};
};

class MissingSourceRootTest : public ScanFixture,
                              public ::testing::WithParamInterface<MissingSourceCase> {};

TEST_P(MissingSourceRootTest, LeftRootMissing) {
    const MissingSourceCase& c = GetParam();
    settings.missingFolder = c.rule;
    lay({{"right/DATA/A.TXT", "a"}});
    execute(c.mode);
    EXPECT_EQ(operatorPort.notices, c.notices);
    EXPECT_EQ(foldersToCreate(), c.foldersToCreate);
    EXPECT_EQ(copies().size(), c.copies);
    EXPECT_TRUE(filesToDelete().empty());
    EXPECT_EQ(problems(), c.problems);
}

const std::string kLeftMissing = "Source L:\\DATA does not exist, Left to Right Update is aborted";
// A session that was not carried out is a red row, unless the script asked to skip quietly.
const Lines kLeftSkipped = {"L:\\DATA: Session skipped - the source folder does not exist"};

const MissingSourceCase kMissingSources[] = {
    // Passed over silently; the other pass creates the folder as its target.
    {"UpdateAuto",
     script::UpdateMode::Update,
     script::MissingFolderRule::Auto,
     {},
     {"L:\\DATA"},
     1},
    {"OneLTRAuto",
     script::UpdateMode::OneLTR,
     script::MissingFolderRule::Auto,
     {kLeftMissing},
     {},
     0,
     kLeftSkipped},
    {"OneLTRUserAsk",
     script::UpdateMode::OneLTR,
     script::MissingFolderRule::UserAsk,
     {kLeftMissing},
     {},
     0,
     kLeftSkipped},
    {"OneLTRSkip", script::UpdateMode::OneLTR, script::MissingFolderRule::Skip, {}, {}, 0},
    // A missing master root is never created by the copy side's pass: that would delete the
    // whole copy side.
    {"LMasterAuto",
     script::UpdateMode::LMaster,
     script::MissingFolderRule::Auto,
     {kLeftMissing},
     {},
     0,
     kLeftSkipped},
    {"LMasterSkip", script::UpdateMode::LMaster, script::MissingFolderRule::Skip, {}, {}, 0},
};

INSTANTIATE_TEST_SUITE_P(Rules, MissingSourceRootTest, ::testing::ValuesIn(kMissingSources),
                         CaseName());

TEST_F(SessionChecksTest, AMissingMasterRootOnTheRightDeletesNothingOnTheLeft) {
    lay({{"left/DATA/A.TXT", "a"}, {"left/DATA/SUB/B.TXT", "b"}});
    execute(script::UpdateMode::RMaster);
    EXPECT_TRUE(planIsEmpty());
    EXPECT_EQ(operatorPort.notices,
              Lines{"Source R:\\DATA does not exist, Right to Left Update is aborted"});
}

TEST_F(SessionChecksTest, AMissingCopyRootIsCreatedAndThenAcceptedAsSource) {
    lay({{"left/DATA/A.TXT", "a"}});
    settings.rightFullPathAsWritten = "R:\\Data";
    execute(script::UpdateMode::LMaster);
    EXPECT_EQ(foldersToCreate(), Lines{"R:\\DATA"});
    // The root is created in the letter case the script wrote it in.
    EXPECT_EQ(plan.foldersToCreate()[0].spelling, "R:\\Data");
    EXPECT_EQ(copies(), Lines{"L:\\DATA\\A.TXT > R:\\DATA\\A.TXT"});
    EXPECT_TRUE(operatorPort.notices.empty());
    EXPECT_TRUE(problems().empty());
}

// An empty master root (an unmounted mount point) facing a copy side that holds files.
struct EmptyMasterCase {
    const char* name;
    std::vector<DialogAnswer> answers;
    bool allowed;
    Lines filesToDelete;
    Lines problems;
    bool aborted;
};

class EmptyMasterTest : public ScanFixture,
                        public ::testing::WithParamInterface<EmptyMasterCase> {};

TEST_P(EmptyMasterTest, MirrorsOnlyWhenTold) {
    const EmptyMasterCase& c = GetParam();
    lay({{"left/DATA/"}, {"right/DATA/A.TXT", "a"}});
    operatorPort.answers.assign(c.answers.begin(), c.answers.end());
    allowEmptyMaster = c.allowed;
    execute(script::UpdateMode::LMaster);

    EXPECT_EQ(filesToDelete(), c.filesToDelete);
    EXPECT_EQ(problems(), c.problems);
    EXPECT_EQ(host.aborted, c.aborted);
    if (c.allowed) {
        EXPECT_TRUE(operatorPort.questions.empty());
        return;
    }
    ASSERT_EQ(operatorPort.questions.size(), 1u);
    const Question& question = operatorPort.questions[0];
    EXPECT_EQ(question.kind(), DialogKind::EmptyMaster);
    EXPECT_EQ(question.as<EmptyMasterQuestion>().message,
              "Master folder L:\\DATA is empty: mirroring it would delete everything in R:\\DATA");
}

const EmptyMasterCase kEmptyMasters[] = {
    {"Yes", {DialogAnswer::Yes}, false, {"R:\\DATA\\A.TXT"}, {}, false},
    {"TimeOutKeepsEverything",
     {},
     false,
     {},
     {"L:\\DATA: Session skipped - the master folder is empty"},
     false},
    {"Abort", {DialogAnswer::Abort}, false, {}, {}, true},
    {"AllowedByTheRun", {}, true, {"R:\\DATA\\A.TXT"}, {}, false},
};

INSTANTIATE_TEST_SUITE_P(Answers, EmptyMasterTest, ::testing::ValuesIn(kEmptyMasters), CaseName());

// The drive questions: their texts, and what Skip Session and Abort All do.
struct DriveCase {
    const char* name;
    std::string leftRoot;
    std::string rightRoot;
    std::string message;
    std::string skipped; // the red row of the skipped session
};

class MissingDriveTest : public ScanFixture, public ::testing::WithParamInterface<DriveCase> {};

TEST_P(MissingDriveTest, SkipSessionLeavesOutTheRestOfThisSessionOnly) {
    const DriveCase& c = GetParam();
    lay({{"left/DATA/A.TXT", "a"}, {"right/DATA/B.TXT", "b"}});
    settings.leftRoot = c.leftRoot;
    settings.rightRoot = c.rightRoot;
    execute(script::UpdateMode::Update);
    ASSERT_EQ(operatorPort.questions.size(), 1u);
    const Question& question = operatorPort.questions[0];
    EXPECT_EQ(question.kind(), DialogKind::InvalidDrive);
    const auto& drive = question.as<InvalidDriveQuestion>();
    EXPECT_EQ(drive.caption, "Invalid Drive");
    EXPECT_EQ(drive.message, c.message);
    EXPECT_EQ(drive.skipCaption, "Skip Session");
    EXPECT_EQ(question.timeoutSeconds, 60);
    EXPECT_TRUE(planIsEmpty());
    EXPECT_FALSE(host.aborted);
    EXPECT_EQ(problems(), Lines{c.skipped});

    // The next Execute runs both its passes.
    settings.leftRoot = "L:";
    settings.rightRoot = "R:";
    execute(script::UpdateMode::Update);
    EXPECT_EQ(copies().size(), 2u);
}

// What the red row adds about a letter that no drive map names (Windows has only its own).
#ifdef _WIN32
const std::string kUnmappedQ;
const std::string kUnmappedShare;
#else
const std::string kUnmappedQ =
    " (Q: is not mapped to a host folder: give --drive Q=HOSTDIR or set BRISKO_DRIVES)";
const std::string kUnmappedShare = " (\\\\SERVER\\SHARE is not mapped to a host folder: give "
                                   "--share \\\\SERVER\\SHARE=HOSTDIR or set BRISKO_SHARES)";
#endif

const DriveCase kDrives[] = {
    {"SourceDrive", "Q:", "R:", "Source Drive Q:\\ does not exist",
     "Q:\\DATA: Session skipped - drive Q: does not exist" + kUnmappedQ},
    {"TargetDrive", "L:", "Q:", "Target Drive Q: does not exist",
     "Q:\\DATA: Session skipped - drive Q: does not exist" + kUnmappedQ},
    {"NetworkPath", "\\\\SERVER\\SHARE", "R:", "Source Drive \\\\SERVER\\SHARE\\ does not exist",
     "\\\\SERVER\\SHARE\\DATA: Session skipped - drive \\\\SERVER\\SHARE does not exist" +
         kUnmappedShare},
};

INSTANTIATE_TEST_SUITE_P(Drives, MissingDriveTest, ::testing::ValuesIn(kDrives), CaseName());

TEST_F(SessionChecksTest, AbortAllAtADriveQuestionStopsTheRun) {
    lay({{"right/DATA/B.TXT", "b"}});
    settings.leftRoot = "Q:";
    operatorPort.answers = {DialogAnswer::Abort};
    execute(script::UpdateMode::Update);
    EXPECT_TRUE(host.aborted);
    EXPECT_EQ(operatorPort.questions.size(), 1u);
    EXPECT_TRUE(planIsEmpty());
}

// The "Missing Folder" question about a target folder, answer by answer.
struct MissingFolderAnswer {
    const char* name;
    DialogAnswer answer;
    Lines foldersToCreate;
    Lines foldersToDelete;
    std::size_t copies;
    bool aborted;
};

class MissingFolderQuestionTest : public ScanFixture,
                                  public ::testing::WithParamInterface<MissingFolderAnswer> {};

TEST_P(MissingFolderQuestionTest, SubfolderMissingOnTheTarget) {
    const MissingFolderAnswer& c = GetParam();
    settings.missingFolder = script::MissingFolderRule::UserAsk;
    lay({{"right/DATA/"}, {"left/DATA/SUB/A.TXT", "a"}});
    operatorPort.answers = {c.answer};
    execute(script::UpdateMode::OneLTR);
    ASSERT_EQ(operatorPort.questions.size(), 1u);
    const Question& question = operatorPort.questions[0];
    EXPECT_EQ(question.kind(), DialogKind::MissingItem);
    const auto& missing = question.as<MissingItemQuestion>();
    EXPECT_EQ(missing.caption, "Missing Folder");
    EXPECT_EQ(missing.sourcePath, "L:\\DATA\\SUB");
    EXPECT_EQ(missing.targetPath, "R:\\DATA\\SUB");
    EXPECT_TRUE(question.leftToRight);
    EXPECT_EQ(foldersToCreate(), c.foldersToCreate);
    EXPECT_EQ(foldersToDelete(), c.foldersToDelete);
    EXPECT_EQ(copies().size(), c.copies);
    EXPECT_EQ(host.aborted, c.aborted);
}

const MissingFolderAnswer kFolderAnswers[] = {
    {"CreateTarget", DialogAnswer::Yes, {"R:\\DATA\\SUB"}, {}, 1, false},
    {"DeleteSource", DialogAnswer::Cancel, {}, {"L:\\DATA\\SUB"}, 0, false},
    {"Skip", DialogAnswer::Ignore, {}, {}, 0, false},
    {"Abort", DialogAnswer::No, {}, {}, 0, true},
};

INSTANTIATE_TEST_SUITE_P(Answers, MissingFolderQuestionTest, ::testing::ValuesIn(kFolderAnswers),
                         CaseName());

TEST_F(SessionChecksTest, SkippingTheTargetRootInTheFirstPassSkipsTheSecondPass) {
    settings.missingFolder = script::MissingFolderRule::UserAsk;
    lay({{"left/DATA/A.TXT", "a"}});
    execute(script::UpdateMode::Update);
    // Only the first pass asked; the second pass (whose source is missing) never ran.
    EXPECT_EQ(questionKinds(), std::vector<DialogKind>{DialogKind::MissingItem});
    EXPECT_TRUE(operatorPort.notices.empty());
    EXPECT_TRUE(planIsEmpty());
}

TEST_F(SessionChecksTest, MissingFolderSkipListsNothingAndAsksNothing) {
    settings.missingFolder = script::MissingFolderRule::Skip;
    lay({{"right/DATA/"}, {"left/DATA/SUB/A.TXT", "a"}, {"left/DATA/B.TXT", "b"}});
    execute(script::UpdateMode::OneLTR);
    EXPECT_EQ(copies(), Lines{"L:\\DATA\\B.TXT > R:\\DATA\\B.TXT"});
    EXPECT_TRUE(foldersToCreate().empty());
    EXPECT_TRUE(operatorPort.questions.empty());
}

TEST_F(SessionChecksTest, AFolderListedForCreationCountsAsExistingInTheOtherPass) {
    // Left DATA is missing; the right-to-left pass lists it for creation; nothing is asked
    // twice and the folder is listed once.
    lay({{"right/DATA/SUB/A.TXT", "a"}});
    execute(script::UpdateMode::Update);
    EXPECT_EQ(foldersToCreate(), (Lines{"L:\\DATA", "L:\\DATA\\SUB"}));
    EXPECT_EQ(host.plannedCount(Counter::ToUpFolder), 2);
}

// Roots that exist but cannot be used are reported and never created over or emptied.
TEST_F(SessionChecksTest, ATargetRootThatCannotBeResolvedIsReportedNotCreated) {
#ifdef _WIN32
    GTEST_SKIP() << "names differing only in case are one name on Windows";
#endif
    lay({{"right/data/"}, {"right/DATA/"}});
    settings.rightPath = "Data";
    lay({{"left/DATA/A.TXT", "a"}});
    execute(script::UpdateMode::LMaster);
    EXPECT_TRUE(planIsEmpty());
    ASSERT_FALSE(problems().empty());
    EXPECT_EQ(problems()[0], "R:\\Data: Could not be read - skipped");
}

TEST_F(SessionChecksTest, AFileWhereTheTargetRootShouldBeIsReported) {
    lay({{"right/DATA", "a file"}, {"left/DATA/A.TXT", "a"}});
    execute(script::UpdateMode::OneLTR);
    EXPECT_TRUE(planIsEmpty());
    EXPECT_EQ(problems(), Lines{"R:\\DATA: Passed over - a file where a folder is expected"});
}

TEST_F(SessionChecksTest, ASourceRootThatCannotBeResolvedIsReportedAndItsPassGivenUp) {
#ifdef _WIN32
    GTEST_SKIP() << "names differing only in case are one name on Windows";
#endif
    lay({{"left/data/"}, {"left/DATA/"}});
    settings.leftPath = "Data";
    lay({{"right/DATA/A.TXT", "a"}});
    execute(script::UpdateMode::RMaster);
    // Neither pass lists anything: the left tree can be neither read nor emptied.
    EXPECT_TRUE(planIsEmpty());
    EXPECT_EQ(problems(), (Lines{"L:\\Data: Folder could not be read - skipped",
                                 "L:\\Data: Could not be read - skipped"}));
}

} // namespace
} // namespace brisko::engine::test
