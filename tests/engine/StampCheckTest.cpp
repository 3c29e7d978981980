#include "engine/StampCheck.h"

#include "ScanFixture.h"
#include "platform/DosStamp.h"
#include "support/ManualClock.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace brisko::engine::test {
namespace {

using test::PrintTo;

using Lines = std::vector<std::string>;
using platform::DosStamp;

DosStamp stampAt(int year, int month, int day, int hour, int minute, int second) {
    platform::LocalDateTime t;
    t.year = year;
    t.month = month;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    return platform::packDosStamp(t);
}

struct StandingCase {
    const char* name;
    DosStamp now;
    DosStamp file;
    bool updateSource;
    StampStanding expected;
};

class StampStandingTest : public ::testing::TestWithParam<StandingCase> {};

TEST_P(StampStandingTest, JudgesTheDifferenceOfThePackedStamps) {
    const StandingCase& c = GetParam();
    EXPECT_EQ(stampStanding(c.file, c.now, c.updateSource), c.expected);
}

const DosStamp kBase = stampAt(2024, 3, 10, 10, 58, 30);

const StandingCase kStandings[] = {
    {"TwoMinutesAheadInTheSameHour", stampAt(2024, 3, 10, 11, 0, 0), stampAt(2024, 3, 10, 11, 2, 0),
     true, StampStanding::InTune},
    {"PastTheHourIs192Ahead", kBase, stampAt(2024, 3, 10, 11, 0, 30), true, StampStanding::Future},
    {"TenMinutesAhead", kBase, stampAt(2024, 3, 10, 11, 8, 30), false, StampStanding::Future},
    {"TwoDaysAhead", kBase, stampAt(2024, 3, 12, 10, 58, 30), false, StampStanding::OutOfTune},
    {"MidnightTwentyThreeHoursAheadOfOne", stampAt(2024, 3, 10, 1, 0, 0),
     stampAt(2024, 3, 11, 0, 0, 0), true, StampStanding::Future},
    {"InThePast", kBase, stampAt(2020, 1, 1, 0, 0, 0), true, StampStanding::InTune},
    {"Exactly95", kBase, kBase + 95, true, StampStanding::InTune},
    {"Exactly96", kBase, kBase + 96, true, StampStanding::Future},
    {"LimitForAnUpdateSource", kBase, kBase + 65530, true, StampStanding::OutOfTune},
    {"LimitForOtherFilesStillAsks", kBase, kBase + 65530, false, StampStanding::Future},
    {"JustPastTheLimit", kBase, kBase + 65531, false, StampStanding::OutOfTune},
};

INSTANTIATE_TEST_SUITE_P(Examples, StampStandingTest, ::testing::ValuesIn(kStandings), CaseName());

TEST(StampDateTextTest, LeavesTheTimeOutAtMidnight) {
    const std::string midnight = stampDateText(stampAt(2024, 3, 11, 0, 0, 0));
    const std::string later = stampDateText(stampAt(2024, 3, 11, 0, 0, 2));
    EXPECT_FALSE(midnight.empty());
    EXPECT_GT(later.size(), midnight.size());
    EXPECT_EQ(later.rfind(midnight, 0), 0u);
}

TEST(CurrentStampTest, FollowsTheClock) {
    brisko::test::ManualClock clock(kNow);
    CurrentStamp current(clock);
    const DosStamp first = current.now();
    EXPECT_EQ(first, platform::dosStampFromTime(kNow));
    EXPECT_EQ(current.now(), first);
    clock.set(kNow + 60);
    EXPECT_EQ(current.now(), platform::dosStampFromTime(kNow + 60));
}

// Stamps of real files during a session (the clock stands at kNow = 11:00:00 unless set).
struct FileStampCase {
    const char* name;
    std::time_t clockAt;
    std::time_t fileAt;
    bool asks;
    bool outOfTune;
};

class FileStampTest : public ScanFixture, public ::testing::WithParamInterface<FileStampCase> {};

TEST_P(FileStampTest, SourceAgainstTheClock) {
    const FileStampCase& c = GetParam();
    clock.set(c.clockAt);
    lay({{"left/DATA/A.TXT", "future", c.fileAt},
         {"left/DATA/B.TXT", "later entry", c.clockAt - kHour},
         {"left/DATA/SUB/C.TXT", "in a subfolder", c.clockAt - kHour}});
    execute(script::UpdateMode::OneLTR);

    const std::size_t questions = c.asks ? 1 : 0;
    ASSERT_EQ(operatorPort.questions.size(), questions);
    if (c.asks) {
        const Question& question = operatorPort.questions[0];
        EXPECT_EQ(question.kind(), DialogKind::FutureStamp);
        const auto& future = question.as<FutureStampQuestion>();
        EXPECT_EQ(future.path, "L:\\DATA\\A.TXT");
        const DosStamp stamp = platform::dosStampFromTime(c.fileAt);
        EXPECT_EQ(future.dateText, "dated " + stampDateText(stamp) + " (future date)");
        EXPECT_EQ(question.timeoutSeconds, 60);
    }
    EXPECT_EQ(host.aborted, c.outOfTune);
    if (c.outOfTune) {
        EXPECT_EQ(operatorPort.notices, Lines{"L:\\DATA\\A.TXT Date and time out of tune"});
        EXPECT_EQ(host.history.back(), (HistoryRow{"L:\\DATA\\A.TXT", "Future Time Stamping", "6",
                                                   "", "X", RowColour::Red}));
        EXPECT_TRUE(copies().empty()); // the scan ended at once
        return;
    }
    // Skipped when asked (the time-out answer); copied otherwise; the scan goes on.
    Lines expected;
    if (!c.asks)
        expected.push_back("L:\\DATA\\A.TXT > R:\\DATA\\A.TXT");
    expected.push_back("L:\\DATA\\B.TXT > R:\\DATA\\B.TXT");
    expected.push_back("L:\\DATA\\SUB\\C.TXT > R:\\DATA\\SUB\\C.TXT");
    EXPECT_EQ(copies(), expected);
}

constexpr std::time_t kAt1058m30 = kNow - 90; // 10:58:30
constexpr std::time_t kAt0100 = kNow - 10 * kHour;

const FileStampCase kFileStamps[] = {
    {"TwoMinutesAhead", kNow, kNow + 120, false, false},
    {"AheadOverTheHour", kAt1058m30, kNow + 30, true, false},
    {"TenMinutesAhead", kNow, kNow + 600, true, false},
    {"TwoDaysAhead", kNow, kNow + 48 * kHour, false, true},
    {"MidnightAfterOneInTheMorning", kAt0100, kAt0100 + 23 * kHour, true, false},
};

INSTANTIATE_TEST_SUITE_P(Examples, FileStampTest, ::testing::ValuesIn(kFileStamps), CaseName());

class StampAnswerTest : public ScanFixture {
protected:
    std::time_t modificationTime(std::string_view hostRelative) const {
        return tree.time(hostRelative);
    }
};

TEST_F(StampAnswerTest, StampFileWritesTheClockButTheOldStampDecides) {
    // The target is later than the clock, earlier than the source.
    lay({{"left/DATA/A.TXT", "future", kNow + 600}, {"right/DATA/A.TXT", "target", kNow + 60}});
    operatorPort.answers = {DialogAnswer::Yes};
    execute(script::UpdateMode::OneLTR);
    EXPECT_EQ(modificationTime("left/DATA/A.TXT"), kNow);
    EXPECT_EQ(copies(), Lines{"L:\\DATA\\A.TXT > R:\\DATA\\A.TXT"});
    EXPECT_FALSE(host.aborted);
}

struct StampFailureCase {
    const char* name;
    bool targetIsFuture;
    std::string notice;
};

class StampFailureTest : public ScanFixture,
                         public ::testing::WithParamInterface<StampFailureCase> {};

TEST_P(StampFailureTest, AFileThatCannotBeStampedAbortsTheRun) {
    const StampFailureCase& c = GetParam();
    lay({{"left/DATA/A.TXT", "a", c.targetIsFuture ? kNow - kHour : kNow + 600},
         {"right/DATA/A.TXT", "a", c.targetIsFuture ? kNow + 600 : kNow - kHour},
         {"left/DATA/B.TXT", "b"}});
    operatorPort.answers = {DialogAnswer::Yes};
    // The file goes away while the question is on the screen.
    operatorPort.onAsk = [this, &c](const Question&) {
        std::filesystem::remove(
            tree.path(c.targetIsFuture ? "right/DATA/A.TXT" : "left/DATA/A.TXT"));
    };
    execute(script::UpdateMode::Update);
    EXPECT_EQ(operatorPort.notices, Lines{c.notice});
    EXPECT_TRUE(host.aborted);
    EXPECT_TRUE(planIsEmpty());
}

const StampFailureCase kStampFailures[] = {
    {"Source", false, "Could not set the TimeStamp to L:\\DATA\\A.TXT - Update Aborted"},
    {"Target", true, "Could not set the TimeStamp to  R:\\DATA\\A.TXT - Update Aborted"},
};

INSTANTIATE_TEST_SUITE_P(Files, StampFailureTest, ::testing::ValuesIn(kStampFailures), CaseName());

struct StampAbortCase {
    const char* name;
    script::UpdateMode mode;
    bool targetIsFuture;
    std::string path;
    std::string status;
};

class StampAbortTest : public ScanFixture, public ::testing::WithParamInterface<StampAbortCase> {};

TEST_P(StampAbortTest, AbortAllAddsARedRowAndEndsTheScan) {
    const StampAbortCase& c = GetParam();
    lay({{"left/DATA/A.TXT", std::string(1234, 'a'), c.targetIsFuture ? kNow - kHour : kNow + 600},
         {"right/DATA/A.TXT", std::string(1234, 'a'), c.targetIsFuture ? kNow + 600 : kNow - kHour},
         {"left/DATA/B.TXT", "b"}});
    operatorPort.answers = {DialogAnswer::Abort};
    execute(c.mode);
    EXPECT_TRUE(host.aborted);
    EXPECT_EQ(host.history.back(),
              (HistoryRow{c.path, "Future Time Stamping", "1,234", "", c.status, RowColour::Red}));
    EXPECT_TRUE(copies().empty());
    EXPECT_EQ(operatorPort.questions.size(), 1u);
}

const StampAbortCase kStampAborts[] = {
    {"UpdateSource", script::UpdateMode::Update, false, "L:\\DATA\\A.TXT", "aborted"},
    {"UpdateTarget", script::UpdateMode::Update, true, "R:\\DATA\\A.TXT", "aborted"},
    {"MasterSource", script::UpdateMode::LMaster, false, "L:\\DATA\\A.TXT", "aborted"},
    {"MasterTarget", script::UpdateMode::LMaster, true, "R:\\DATA\\A.TXT", "Aborted"},
};

INSTANTIATE_TEST_SUITE_P(Answers, StampAbortTest, ::testing::ValuesIn(kStampAborts), CaseName());

} // namespace
} // namespace brisko::engine::test
