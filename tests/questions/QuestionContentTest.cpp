#include "questions/QuestionContent.h"

#include "questions/QuestionLine.h"
#include "support/SampleQuestions.h"

#include <gtest/gtest.h>

namespace brisko::test {
namespace {

using questions::DialogBackground;
using questions::QuestionContent;

// What each kind fills in from its question; the fixed texts of the dialogs are not retyped.
struct KindCase {
    DialogKind kind;
    std::string upper;
    std::string lower;
    std::string line; // as the console prints it
    DialogAnswer escape;
};

const KindCase kKindCases[] = {
    {DialogKind::MissingItem, "C:\\SRC\\A.TXT", "D:\\DST\\A.TXT",
     "Missing File: C:\\SRC\\A.TXT -> D:\\DST\\A.TXT", DialogAnswer::Ignore},
    {DialogKind::SameStamp, "C:\\SRC\\A.TXT (5 Bytes)", "D:\\DST\\A.TXT (3 Bytes)",
     "Files with same Time Stamp but with Different sizes !: C:\\SRC\\A.TXT (5 Bytes) -> "
     "D:\\DST\\A.TXT (3 Bytes)",
     DialogAnswer::Ignore},
    {DialogKind::ZeroLength, "C:\\SRC\\A.TXT (0 Byte)", "D:\\DST\\A.TXT (1234 Bytes)",
     "Zero Length Source File Warning !: C:\\SRC\\A.TXT -> D:\\DST\\A.TXT", DialogAnswer::Ignore},
    {DialogKind::FutureStamp, "C:\\SRC\\A.TXT", "dated 01/02/27 (future date)",
     "C:\\SRC\\A.TXT dated 01/02/27 (future date)", DialogAnswer::Abort},
    {DialogKind::InvalidDrive, "No more free space on Drive D to copy A.TXT", "",
     "No more free space on Drive D to copy A.TXT", DialogAnswer::Ignore},
    {DialogKind::EmptyMaster,
     "Master folder C:\\SRC is empty: mirroring it would delete everything in D:\\DST", "",
     "Master folder C:\\SRC is empty: mirroring it would delete everything in D:\\DST",
     DialogAnswer::Ignore},
    {DialogKind::FileError, "Could not read from the file C:\\SRC\\A.TXT", "",
     "Could not read from the file C:\\SRC\\A.TXT", DialogAnswer::Ignore},
    {DialogKind::FreeSpace, "Free Space Warning !", "",
     "You need to free space on: Drive C : 1 Mb Drive D : 2 Mb", DialogAnswer::Ok},
    {DialogKind::Standard, "Cannot update Brisko using Brisko\rcopy me manually", "",
     "Cannot update Brisko using Brisko\rcopy me manually", DialogAnswer::Ok},
    {DialogKind::Closing, "Brisko is Closing", "", "Brisko is Closing", DialogAnswer::Abort},
};

bool hasButton(const QuestionContent& content, DialogAnswer answer) {
    for (const questions::AnswerButton& button : content.buttons) {
        if (button.answer == answer)
            return true;
    }
    return false;
}

TEST(QuestionContentTest, EveryKindSaysItsValuesAndAnswersWithItsDefault) {
    for (const KindCase& c : kKindCases) {
        SCOPED_TRACE(dialogKindName(c.kind));
        const Question question = sampleQuestion(c.kind);
        ASSERT_EQ(question.kind(), c.kind);
        const QuestionContent content = questions::describeQuestion(question);
        EXPECT_EQ(content.upper, c.upper);
        EXPECT_EQ(content.lower, c.lower);
        EXPECT_EQ(questions::questionLine(question), c.line);
        EXPECT_EQ(content.showArrow, !c.lower.empty() && c.kind != DialogKind::FutureStamp);
        EXPECT_EQ(content.timeOutAnswer, defaultAnswer(c.kind));
        EXPECT_EQ(content.escapeAnswer, c.escape);
        EXPECT_TRUE(hasButton(content, content.timeOutAnswer));
        EXPECT_TRUE(hasButton(content, content.escapeAnswer));
    }
}

TEST(QuestionContentTest, CaptionsTakenFromTheQuestionAndTheSkipCaptionDefaultsToTheSession) {
    const QuestionContent same = questions::describeQuestion(sampleQuestion(DialogKind::SameStamp));
    EXPECT_EQ(same.heading, same.caption);

    const Question drive{.details = InvalidDriveQuestion{"Invalid Drive", "Target Drive Q:", ""}};
    const QuestionContent content = questions::describeQuestion(drive);
    EXPECT_EQ(content.caption, "Invalid Drive");
    EXPECT_EQ(content.buttons.front().caption, "Skip Session");
}

TEST(QuestionContentTest, CountdownAndDirectionFollowTheQuestionExceptWhenClosing) {
    Question question = sampleQuestion(DialogKind::FileError);
    for (const auto& [seconds, shown] : {std::pair{0, 1}, {-5, 1}, {7, 7}}) {
        question.timeoutSeconds = seconds;
        EXPECT_EQ(questions::describeQuestion(question).timeOutSeconds, shown) << seconds;
    }
    question.leftToRight = false;
    EXPECT_FALSE(questions::describeQuestion(question).leftToRight);

    Question closing = sampleQuestion(DialogKind::Closing);
    closing.timeoutSeconds = 60;
    const QuestionContent content = questions::describeQuestion(closing);
    EXPECT_EQ(content.timeOutSeconds, 30);
    EXPECT_TRUE(content.silent);
    EXPECT_FALSE(questions::describeQuestion(question).silent);
}

TEST(QuestionContentTest, CarriageReturnsBreakLines) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "plain"}, {"one\rtwo", "one\ntwo"}, {"one\r\ntwo", "one\ntwo"},
        {"a\r", "a\n"},     {"a\r\rb", "a\n\nb"},
    };
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(questions::withLineBreaks(text), shown) << text;
}

} // namespace
} // namespace brisko::test
