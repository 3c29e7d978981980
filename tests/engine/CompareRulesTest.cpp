#include "ScanFixture.h"
#include "platform/DosStamp.h"

#include <gtest/gtest.h>

namespace brisko::engine::test {
namespace {

using test::PrintTo;

using Lines = std::vector<std::string>;

class CompareRulesTest : public ScanFixture {
protected:
    // A pair with equal stamps: five bytes on the left, three on the right.
    void writeSameStampDifferentSizes() {
        lay({{"left/DATA/A.TXT", "12345", kNow - kHour},
             {"right/DATA/A.TXT", "123", kNow - kHour}});
    }
};

TEST_F(CompareRulesTest, SameStampDifferentSizesAsksWithBothFilesDescribed) {
    writeSameStampDifferentSizes();
    execute(script::UpdateMode::OneLTR);
    ASSERT_EQ(operatorPort.questions.size(), 1u);
    const Question& question = operatorPort.questions[0];
    const std::string text = "Files with same Time Stamp but with Different sizes !";
    EXPECT_EQ(question.kind(), DialogKind::SameStamp);
    const auto& sameStamp = question.as<SameStampQuestion>();
    EXPECT_EQ(sameStamp.text, text);
    EXPECT_EQ(sameStamp.sourceFile, "L:\\DATA\\A.TXT (5 Bytes)");
    EXPECT_EQ(sameStamp.targetFile, "R:\\DATA\\A.TXT (3 Bytes)");
    EXPECT_TRUE(question.leftToRight);
    EXPECT_EQ(question.timeoutSeconds, 60);
    EXPECT_TRUE(planIsEmpty()); // Keep as is, the time-out answer
    EXPECT_GT(host.refreshes, 0);
}

// Equal stamps and different sizes in mode Update: what each answer lists, and whether the
// right-to-left pass asks again.
struct SameStampCase {
    const char* name;
    std::vector<DialogAnswer> answers;
    Lines copies;
    std::size_t questions;
    bool aborted;
};

class SameStampAnswerTest : public CompareRulesTest,
                            public ::testing::WithParamInterface<SameStampCase> {};

TEST_P(SameStampAnswerTest, InModeUpdate) {
    const SameStampCase& c = GetParam();
    writeSameStampDifferentSizes();
    operatorPort.answers.assign(c.answers.begin(), c.answers.end());
    execute(script::UpdateMode::Update);
    EXPECT_EQ(copies(), c.copies);
    EXPECT_EQ(operatorPort.questions.size(), c.questions);
    EXPECT_EQ(host.aborted, c.aborted);
    if (c.questions == 2) {
        EXPECT_FALSE(operatorPort.questions[1].leftToRight);
    }
}

const SameStampCase kSameStamps[] = {
    // The reversed copy makes the left file the target of a listed copy: no second question.
    {"ReversedCopy", {DialogAnswer::Retry}, {"R:\\DATA\\A.TXT > L:\\DATA\\A.TXT"}, 1, false},
    {"CopyToTarget", {DialogAnswer::Yes}, {"L:\\DATA\\A.TXT > R:\\DATA\\A.TXT"}, 2, false},
    {"KeepAsIs", {}, {}, 2, false},
    {"Abort", {DialogAnswer::Abort}, {}, 1, true},
};

INSTANTIATE_TEST_SUITE_P(Answers, SameStampAnswerTest, ::testing::ValuesIn(kSameStamps),
                         CaseName());

TEST_F(CompareRulesTest, AReversedCopySwapsSizesAndDirection) {
    writeSameStampDifferentSizes();
    operatorPort.answers = {DialogAnswer::Retry};
    execute(script::UpdateMode::OneLTR);
    ASSERT_EQ(plan.filesToCopy().size(), 1u);
    const CopyAction& copy = plan.filesToCopy()[0];
    EXPECT_EQ(copy.sourceFolder, "R:\\DATA");
    EXPECT_EQ(copy.targetFolder, "L:\\DATA");
    EXPECT_EQ(copy.sourceSize, 3);
    EXPECT_EQ(copy.targetSize, 5);
    EXPECT_FALSE(copy.leftToRight);
    EXPECT_FALSE(copy.binaryFailed);
    // What it replaces is the file the scan saw on the source side.
    EXPECT_TRUE(copy.targetExisted);
    EXPECT_EQ(copy.targetStamp, platform::dosStampFromTime(kNow - kHour));
}

// The run acts only while each target is still as the scan saw it: every copy and deletion
// records that.
TEST_F(CompareRulesTest, CopiesAndDeletionsRecordWhatTheScanSaw) {
    lay({{"left/DATA/A.TXT", "12345", kNow - kHour},
         {"right/DATA/A.TXT", "123", kNow - 2 * kHour},
         {"left/DATA/B.TXT", "b"},
         {"right/DATA/C.TXT", "1234567", kNow - 3 * kHour}});
    execute(script::UpdateMode::LMaster);

    ASSERT_EQ(copies(),
              (Lines{"L:\\DATA\\A.TXT > R:\\DATA\\A.TXT", "L:\\DATA\\B.TXT > R:\\DATA\\B.TXT"}));
    const CopyAction& replacing = plan.filesToCopy()[0];
    EXPECT_TRUE(replacing.targetExisted);
    EXPECT_EQ(replacing.targetSize, 3);
    EXPECT_EQ(replacing.targetStamp, platform::dosStampFromTime(kNow - 2 * kHour));
    const CopyAction& creating = plan.filesToCopy()[1];
    EXPECT_FALSE(creating.targetExisted);
    EXPECT_EQ(creating.targetStamp, 0u);
    EXPECT_FALSE(creating.link);
    EXPECT_EQ(host.history[0].status, "File to be copied");

    ASSERT_EQ(filesToDelete(), Lines{"R:\\DATA\\C.TXT"});
    const PathAction& deletion = plan.filesToDelete()[0];
    EXPECT_EQ(deletion.size, 7);
    EXPECT_EQ(deletion.stamp, platform::dosStampFromTime(kNow - 3 * kHour));
    EXPECT_FALSE(deletion.link);
}

TEST_F(CompareRulesTest, BinaryCompareFindsADifferenceInTheLastByte) {
    script::applyFileSpecKey(settings.tables, "COMPARE", "BINARY");
    std::string content(70000, 'x');
    lay({{"left/DATA/SAME.BIN", content},
         {"right/DATA/SAME.BIN", content},
         {"left/DATA/A.BIN", content}});
    content.back() = 'y';
    lay({{"right/DATA/A.BIN", content}});
    operatorPort.answers = {DialogAnswer::Yes};
    execute(script::UpdateMode::OneLTR);

    ASSERT_EQ(operatorPort.questions.size(), 1u);
    const Question& question = operatorPort.questions[0];
    EXPECT_EQ(question.kind(), DialogKind::SameStamp);
    const auto& sameStamp = question.as<SameStampQuestion>();
    EXPECT_EQ(sameStamp.text, "Binary Compare Failed");
    EXPECT_EQ(sameStamp.sourceFile, "L:\\DATA\\A.BIN (70000 Bytes)");
    EXPECT_EQ(sameStamp.targetFile, "R:\\DATA\\A.BIN (70000 Bytes)");
    ASSERT_EQ(copies(), Lines{"L:\\DATA\\A.BIN > R:\\DATA\\A.BIN"});
    EXPECT_TRUE(plan.filesToCopy()[0].binaryFailed);
    EXPECT_EQ(host.history.back().status, "Binary failed - File to be copied");
    EXPECT_EQ(host.progressDone, 0);
}

TEST_F(CompareRulesTest, DateAndSizeAloneTakeEqualStampsAndSizesAsEqual) {
    lay({{"left/DATA/A.BIN", "abc"}, {"right/DATA/A.BIN", "xyz"}});
    execute(script::UpdateMode::Update);
    EXPECT_TRUE(planIsEmpty());
    EXPECT_TRUE(operatorPort.questions.empty());
}

// A file on the source side only, by the MissingFile rule (and the answer when it asks).
struct MissingFileCase {
    const char* name;
    script::MissingFileRule rule;
    std::vector<DialogAnswer> answers;
    std::size_t questions;
    Lines copies;
    Lines filesToDelete;
    bool aborted;
};

class MissingFileTest : public CompareRulesTest,
                        public ::testing::WithParamInterface<MissingFileCase> {};

TEST_P(MissingFileTest, InModeUpdate) {
    const MissingFileCase& c = GetParam();
    settings.tables.fileSpecs[0].missingFile = c.rule;
    lay({{"right/DATA/"}, {"left/DATA/A.TXT", "a"}});
    operatorPort.answers.assign(c.answers.begin(), c.answers.end());
    execute(script::UpdateMode::Update);
    ASSERT_EQ(operatorPort.questions.size(), c.questions);
    if (c.questions > 0) {
        const Question& question = operatorPort.questions[0];
        EXPECT_EQ(question.kind(), DialogKind::MissingItem);
        const auto& missing = question.as<MissingItemQuestion>();
        EXPECT_EQ(missing.caption, "Missing File");
        EXPECT_EQ(missing.sourcePath, "L:\\DATA\\A.TXT");
        EXPECT_EQ(missing.targetPath, "R:\\DATA\\A.TXT");
    }
    EXPECT_EQ(copies(), c.copies);
    EXPECT_EQ(filesToDelete(), c.filesToDelete);
    EXPECT_EQ(host.aborted, c.aborted);
}

const Lines kCopyA{"L:\\DATA\\A.TXT > R:\\DATA\\A.TXT"};
const Lines kDeleteA{"L:\\DATA\\A.TXT"};

const MissingFileCase kMissingFiles[] = {
    {"AskCreateTarget", script::MissingFileRule::Ask, {DialogAnswer::Yes}, 1, kCopyA, {}, false},
    {"AskDeleteSource",
     script::MissingFileRule::Ask,
     {DialogAnswer::Cancel},
     1,
     {},
     kDeleteA,
     false},
    {"AskSkip", script::MissingFileRule::Ask, {}, 1, {}, {}, false},
    {"AskAbort", script::MissingFileRule::Ask, {DialogAnswer::No}, 1, {}, {}, true},
    {"Create", script::MissingFileRule::Create, {}, 0, kCopyA, {}, false},
    // Listed for deletion in the first pass; the second pass never meets it.
    {"Delete", script::MissingFileRule::Delete, {}, 0, {}, kDeleteA, false},
};

INSTANTIATE_TEST_SUITE_P(Rules, MissingFileTest, ::testing::ValuesIn(kMissingFiles), CaseName());

TEST_F(CompareRulesTest, MasterModesNeverAskAboutAMissingFile) {
    settings.tables.fileSpecs[0].missingFile = script::MissingFileRule::Ask;
    lay({{"left/DATA/A.TXT", "a"}, {"right/DATA/B.TXT", "b"}});
    execute(script::UpdateMode::LMaster);
    EXPECT_TRUE(operatorPort.questions.empty());
    EXPECT_EQ(copies(), kCopyA);
    EXPECT_EQ(filesToDelete(), Lines{"R:\\DATA\\B.TXT"});
}

TEST_F(CompareRulesTest, AMasterCopyReplacesALaterFileOnTheCopySide) {
    lay({{"left/DATA/A.TXT", "master", kNow - 2 * kHour},
         {"right/DATA/A.TXT", "newer copy", kNow - kHour}});
    execute(script::UpdateMode::LMaster);
    ASSERT_EQ(copies(), kCopyA);
    EXPECT_EQ(plan.filesToCopy()[0].targetSize, 10);
}

} // namespace
} // namespace brisko::engine::test
