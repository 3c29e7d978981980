#include "questions/QuestionContent.h"

#include "questions/QuestionLine.h"
#include "support/SampleQuestions.h"

#include <gtest/gtest.h>

namespace brisko::test {
namespace {

using questions::DialogBackground;
using questions::QuestionContent;

struct KindCase {
    DialogKind kind;
    std::string caption;
    std::string heading;
    std::string upper;
    std::string lower;
    std::string line; // as the console prints it
    std::string buttons;
    DialogAnswer escape;
    DialogBackground background;
};

const std::string kSameStamp = "Files with same Time Stamp but with Different sizes !";

const KindCase kKindCases[] = {
    {DialogKind::MissingItem, "Missing File", "", "C:\\SRC\\A.TXT", "D:\\DST\\A.TXT",
     "Missing File: C:\\SRC\\A.TXT -> D:\\DST\\A.TXT", "Create Target|Skip|Delete Source|Abort",
     DialogAnswer::Ignore, DialogBackground::Plain},
    {DialogKind::SameStamp, kSameStamp, kSameStamp, "C:\\SRC\\A.TXT (5 Bytes)",
     "D:\\DST\\A.TXT (3 Bytes)",
     kSameStamp + ": C:\\SRC\\A.TXT (5 Bytes) -> D:\\DST\\A.TXT (3 Bytes)",
     "Keep as is|Reversed Copy |Copy To Target|Abort", DialogAnswer::Ignore,
     DialogBackground::Info},
    {DialogKind::ZeroLength, "Zero Length Source File Warning !",
     "Zero Length Source File Copied on a non zero Length Target !", "C:\\SRC\\A.TXT (0 Byte)",
     "D:\\DST\\A.TXT (1234 Bytes)",
     "Zero Length Source File Warning !: C:\\SRC\\A.TXT -> D:\\DST\\A.TXT",
     "Reversed Copy|Copy to Target|Skip|Delete Source|Abort", DialogAnswer::Ignore,
     DialogBackground::Desktop},
    {DialogKind::FutureStamp, "Future Time Stamping", "", "C:\\SRC\\A.TXT",
     "dated 01/02/27 (future date)", "C:\\SRC\\A.TXT dated 01/02/27 (future date)",
     "Stamp File|Skip|Abort All", DialogAnswer::Abort, DialogBackground::Plain},
    {DialogKind::InvalidDrive, "Free Space Warning !", "",
     "No more free space on Drive D to copy A.TXT", "",
     "No more free space on Drive D to copy A.TXT", "Skip File|Abort All", DialogAnswer::Ignore,
     DialogBackground::Plain},
    {DialogKind::EmptyMaster, "Empty Master Folder", "",
     "Master folder C:\\SRC is empty: mirroring it would delete everything in D:\\DST", "",
     "Master folder C:\\SRC is empty: mirroring it would delete everything in D:\\DST",
     "Skip Session|&Mirror Anyway|Abort All", DialogAnswer::Ignore, DialogBackground::Plain},
    {DialogKind::FileError, "File Error", "", "Could not read from the file C:\\SRC\\A.TXT", "",
     "Could not read from the file C:\\SRC\\A.TXT", "Skip File|&Retry|Abort All",
     DialogAnswer::Ignore, DialogBackground::Plain},
    {DialogKind::FreeSpace, "Brisko", "", "Free Space Warning !", "",
     "You need to free space on: Drive C : 1 Mb Drive D : 2 Mb", "OK", DialogAnswer::Ok,
     DialogBackground::Plain},
    {DialogKind::Standard, "Brisko", "", "Cannot update Brisko using Brisko\rcopy me manually", "",
     "Cannot update Brisko using Brisko\rcopy me manually", "OK", DialogAnswer::Ok,
     DialogBackground::Plain},
    {DialogKind::Closing, "Brisko is Closing ", "", "Brisko is Closing", "", "Brisko is Closing",
     "&Stay|&Close", DialogAnswer::Abort, DialogBackground::Plain},
};

std::string buttonCaptions(const QuestionContent& content) {
    std::string captions;
    for (const questions::AnswerButton& button : content.buttons)
        captions += (captions.empty() ? "" : "|") + button.caption;
    return captions;
}

bool hasButton(const QuestionContent& content, DialogAnswer answer) {
    for (const questions::AnswerButton& button : content.buttons) {
        if (button.answer == answer)
            return true;
    }
    return false;
}

TEST(QuestionContentTest, EveryKindSaysItsTextsAndAnswersWithItsDefault) {
    for (const KindCase& c : kKindCases) {
        SCOPED_TRACE(dialogKindName(c.kind));
        const Question question = sampleQuestion(c.kind);
        ASSERT_EQ(question.kind(), c.kind);
        const QuestionContent content = questions::describeQuestion(question);
        EXPECT_EQ(content.caption, c.caption);
        EXPECT_EQ(content.heading, c.heading);
        EXPECT_EQ(content.upper, c.upper);
        EXPECT_EQ(content.lower, c.lower);
        EXPECT_EQ(questions::questionLine(question), c.line);
        EXPECT_EQ(buttonCaptions(content), c.buttons);
        EXPECT_EQ(content.background, c.background);
        EXPECT_EQ(content.showArrow, !c.lower.empty() && c.kind != DialogKind::FutureStamp);
        EXPECT_EQ(content.timeOutAnswer, defaultAnswer(c.kind));
        EXPECT_EQ(content.escapeAnswer, c.escape);
        EXPECT_TRUE(hasButton(content, content.timeOutAnswer));
        EXPECT_TRUE(hasButton(content, content.escapeAnswer));
    }
}

TEST(QuestionContentTest, ButtonsCarryTheirHintsAndTheSkipCaptionDefaultsToTheSession) {
    const QuestionContent same = questions::describeQuestion(sampleQuestion(DialogKind::SameStamp));
    EXPECT_EQ(same.buttons[1].hint, "Copy Target onto Source");
    EXPECT_EQ(same.buttons[1].name, "BitBtn5");

    const Question drive{.details = InvalidDriveQuestion{"Invalid Drive", "Target Drive Q:", ""}};
    EXPECT_EQ(questions::describeQuestion(drive).buttons.front().caption, "Skip Session");
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
