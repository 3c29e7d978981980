#include "questions/QuestionContent.h"

#include "platform/DrivePath.h"
#include "questions/FreeSpaceText.h"

#include <algorithm>

namespace brisko::questions {

namespace {

constexpr int kClosingSeconds = 30;

std::string sizedName(const std::string& folder, const std::string& name, std::int64_t size,
                      const char* unit) {
    return platform::drive_path::join(folder, name) + " (" + std::to_string(size) + unit;
}

// A dialog whose countdown and Escape key both give the kind's harmless default answer.
QuestionContent harmless(DialogKind kind, std::string caption, std::string upper,
                         std::vector<AnswerButton> buttons) {
    QuestionContent c;
    c.caption = std::move(caption);
    c.upper = std::move(upper);
    c.buttons = std::move(buttons);
    c.timeOutAnswer = defaultAnswer(kind);
    c.escapeAnswer = c.timeOutAnswer;
    return c;
}

// Source above, an arrow, target below.
QuestionContent withDirection(QuestionContent c, std::string lower) {
    c.lower = std::move(lower);
    c.showArrow = true;
    return c;
}

QuestionContent describe(const MissingItemQuestion& q) {
    return withDirection(harmless(q.kind, q.caption, q.sourcePath,
                                  {{"Create Target", DialogAnswer::Yes, "BitBtn1", ""},
                                   {"Skip", DialogAnswer::Ignore, "bskip", ""},
                                   {"Delete Source", DialogAnswer::Cancel, "BitBtn3", ""},
                                   {"Abort", DialogAnswer::No, "BitBtn4", ""}}),
                         q.targetPath);
}

QuestionContent describe(const SameStampQuestion& q) {
    QuestionContent c = withDirection(
        harmless(q.kind, q.text, q.sourceFile,
                 {{"Keep as is", DialogAnswer::Ignore, "BKeep", ""},
                  {"Reversed Copy ", DialogAnswer::Retry, "BitBtn5", "Copy Target onto Source"},
                  {"Copy To Target", DialogAnswer::Yes, "BitBtn1", "Copy Source onto Target"},
                  {"Abort", DialogAnswer::Abort, "BitBtn4", ""}}),
        q.targetFile);
    c.background = DialogBackground::Info;
    c.heading = q.text;
    return c;
}

QuestionContent describe(const ZeroLengthQuestion& q) {
    QuestionContent c = withDirection(
        harmless(q.kind, "Zero Length Source File Warning !",
                 sizedName(q.sourceFolder, q.fileName, q.sourceSize, " Byte)"),
                 {{"Reversed Copy", DialogAnswer::Retry, "BitBtn5", "Copy From target to Source"},
                  {"Copy to Target", DialogAnswer::Yes, "BitBtn1", ""},
                  {"Skip", DialogAnswer::Ignore, "bSkip", ""},
                  {"Delete Source", DialogAnswer::Cancel, "BitBtn3", ""},
                  {"Abort", DialogAnswer::Abort, "BitBtn4", ""}}),
        sizedName(q.targetFolder, q.fileName, q.targetSize, " Bytes)"));
    c.background = DialogBackground::Desktop;
    c.heading = "Zero Length Source File Copied on a non zero Length Target !";
    return c;
}

QuestionContent describe(const FutureStampQuestion& q) {
    QuestionContent c = harmless(
        q.kind, "Future Time Stamping", q.path,
        {{"Stamp File", DialogAnswer::Yes, "bStamp", "Stamp the the file with current date"},
         {"Skip", DialogAnswer::Ignore, "bSkip", ""},
         {"Abort All", DialogAnswer::Abort, "bAbort", "Abort all"}});
    // Escape gives Abort All here; the focus and the countdown give Skip.
    c.escapeAnswer = DialogAnswer::Abort;
    c.lower = q.dateText;
    return c;
}

QuestionContent describe(const InvalidDriveQuestion& q) {
    const std::string skip = q.skipCaption.empty() ? "Skip Session" : q.skipCaption;
    return harmless(q.kind, q.caption, q.message,
                    {{skip, DialogAnswer::Ignore, "bSkip", ""},
                     {"Abort All", DialogAnswer::Abort, "BitBtn2", ""}});
}

// A master folder found empty: mirroring it would empty the copy side.
QuestionContent describe(const EmptyMasterQuestion& q) {
    return harmless(q.kind, "Empty Master Folder", q.message,
                    {{"Skip Session", DialogAnswer::Ignore, "bSkip", ""},
                     {"&Mirror Anyway", DialogAnswer::Yes, "bMirror",
                      "Mirror the empty folder: the copy side is emptied"},
                     {"Abort All", DialogAnswer::Abort, "BitBtn2", ""}});
}

QuestionContent describe(const FileErrorQuestion& q) {
    return harmless(q.kind, "File Error", q.message,
                    {{"Skip File", DialogAnswer::Ignore, "SkipFileBtn", ""},
                     {"&Retry", DialogAnswer::Retry, "RetryBtn", ""},
                     {"Abort All", DialogAnswer::Abort, "AbortAllBtn", ""}});
}

QuestionContent describe(const ClosingQuestion& q) {
    QuestionContent c = harmless(q.kind, "Brisko is Closing ", "Brisko is Closing",
                                 {{"&Stay", DialogAnswer::Retry, "BStay", ""},
                                  {"&Close", DialogAnswer::Abort, "Bclose", ""}});
    c.timeOutSeconds = kClosingSeconds;
    c.silent = true;
    return c;
}

QuestionContent plainNotice(DialogKind kind, std::string message) {
    return harmless(kind, "Brisko", std::move(message), {{"OK", DialogAnswer::Ok, "bOk", ""}});
}

QuestionContent describe(const StandardQuestion& q) {
    return plainNotice(q.kind, q.message);
}

// The free-space warning has a window of its own; as a plain notice it names itself.
QuestionContent describe(const FreeSpaceQuestion& q) {
    return plainNotice(q.kind, describeFreeSpace(q.drives).caption);
}

} // namespace

QuestionContent describeQuestion(const Question& question) {
    QuestionContent content =
        std::visit([](const auto& details) { return describe(details); }, question.details);
    if (question.kind() == DialogKind::Closing)
        return content; // its countdown is always 30 seconds
    content.leftToRight = question.leftToRight;
    content.timeOutSeconds = std::max(question.timeoutSeconds, 1);
    return content;
}

std::string withLineBreaks(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            out += text[i];
            continue;
        }
        out += '\n';
        if (i + 1 < text.size() && text[i + 1] == '\n')
            ++i; // CR LF is one break
    }
    return out;
}

} // namespace brisko::questions
