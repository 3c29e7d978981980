#include "dialogs/QuestionContent.h"

#include <algorithm>

namespace brisko::dialogs {

namespace {

constexpr int kClosingSeconds = 30;

std::string sizedName(const std::string& folder, const std::string& name, std::int64_t size,
                      const char* unit) {
    return folder + "\\" + name + " (" + std::to_string(size) + unit;
}

// A dialog whose countdown and Escape key both give the harmless answer.
QuestionContent harmless(std::string caption, std::vector<AnswerButton> buttons,
                         DialogAnswer harmlessAnswer) {
    QuestionContent c;
    c.caption = std::move(caption);
    c.buttons = std::move(buttons);
    c.timeOutAnswer = harmlessAnswer;
    c.escapeAnswer = harmlessAnswer;
    return c;
}

QuestionContent missingItem(const Question& q) {
    QuestionContent c = harmless(q.text,
                                 {{"Create Target", DialogAnswer::Yes, "BitBtn1", ""},
                                  {"Skip", DialogAnswer::Ignore, "bskip", ""},
                                  {"Delete Source", DialogAnswer::Cancel, "BitBtn3", ""},
                                  {"Abort", DialogAnswer::No, "BitBtn4", ""}},
                                 DialogAnswer::Ignore);
    c.upper = q.str1;
    c.lower = q.str2;
    c.showArrow = true;
    return c;
}

QuestionContent sameStamp(const Question& q) {
    QuestionContent c =
        harmless(q.text,
                 {{"Keep as is", DialogAnswer::Ignore, "BKeep", ""},
                  {"Reversed Copy ", DialogAnswer::Retry, "BitBtn5", "Copy Target onto Source"},
                  {"Copy To Target", DialogAnswer::Yes, "BitBtn1", "Copy Source onto Target"},
                  {"Abort", DialogAnswer::Abort, "BitBtn4", ""}},
                 DialogAnswer::Ignore);
    c.background = DialogBackground::Info;
    c.heading = q.str3;
    c.upper = q.str1;
    c.lower = q.str2;
    c.showArrow = true;
    return c;
}

QuestionContent zeroLength(const Question& q) {
    QuestionContent c =
        harmless("Zero Length Source File Warning !",
                 {{"Reversed Copy", DialogAnswer::Retry, "BitBtn5", "Copy From target to Source"},
                  {"Copy to Target", DialogAnswer::Yes, "BitBtn1", ""},
                  {"Skip", DialogAnswer::Ignore, "bSkip", ""},
                  {"Delete Source", DialogAnswer::Cancel, "BitBtn3", ""},
                  {"Abort", DialogAnswer::Abort, "BitBtn4", ""}},
                 DialogAnswer::Ignore);
    c.background = DialogBackground::Desktop;
    c.heading = "Zero Length Source File Copied on a non zero Length Target !";
    c.upper = sizedName(q.str1, q.str3, q.num1, " Byte)");
    c.lower = sizedName(q.str2, q.str3, q.num2, " Bytes)");
    c.showArrow = true;
    return c;
}

QuestionContent futureStamp(const Question& q) {
    QuestionContent c = harmless(
        "Future Time Stamping",
        {{"Stamp File", DialogAnswer::Yes, "bStamp", "Stamp the the file with current date"},
         {"Skip", DialogAnswer::Ignore, "bSkip", ""},
         {"Abort All", DialogAnswer::Abort, "bAbort", "Abort all"}},
        DialogAnswer::Ignore);
    // Escape gives Abort All here; the focus and the countdown give Skip.
    c.escapeAnswer = DialogAnswer::Abort;
    c.upper = q.text;
    c.lower = q.str1;
    return c;
}

QuestionContent invalidDrive(const Question& q) {
    QuestionContent c =
        harmless(q.text,
                 {{q.str2.empty() ? "Skip Session" : q.str2, DialogAnswer::Ignore, "bSkip", ""},
                  {"Abort All", DialogAnswer::Abort, "BitBtn2", ""}},
                 DialogAnswer::Ignore);
    c.upper = q.str1;
    return c;
}

// A master folder found empty: mirroring it would empty the copy side.
QuestionContent emptyMaster(const Question& q) {
    QuestionContent c = harmless(q.text,
                                 {{"Skip Session", DialogAnswer::Ignore, "bSkip", ""},
                                  {"&Mirror Anyway", DialogAnswer::Yes, "bMirror",
                                   "Mirror the empty folder: the copy side is emptied"},
                                  {"Abort All", DialogAnswer::Abort, "BitBtn2", ""}},
                                 DialogAnswer::Ignore);
    c.upper = q.str1;
    return c;
}

QuestionContent fileError(const Question& q) {
    QuestionContent c = harmless("File Error",
                                 {{"Skip File", DialogAnswer::Ignore, "SkipFileBtn", ""},
                                  {"&Retry", DialogAnswer::Retry, "RetryBtn", ""},
                                  {"Abort All", DialogAnswer::Abort, "AbortAllBtn", ""}},
                                 DialogAnswer::Ignore);
    c.upper = q.text;
    return c;
}

QuestionContent closing() {
    QuestionContent c = harmless("Brisko is Closing ",
                                 {{"&Stay", DialogAnswer::Retry, "BStay", ""},
                                  {"&Close", DialogAnswer::Abort, "Bclose", ""}},
                                 DialogAnswer::Abort);
    c.upper = "Brisko is Closing";
    c.timeOutSeconds = kClosingSeconds;
    c.silent = true;
    return c;
}

QuestionContent standard(const Question& q) {
    QuestionContent c = harmless("Brisko", {{"OK", DialogAnswer::Ok, "bOk", ""}}, DialogAnswer::Ok);
    c.upper = q.text;
    return c;
}

} // namespace

QuestionContent describeQuestion(const Question& question) {
    QuestionContent content;
    switch (question.kind) {
    case DialogKind::MissingItem:
        content = missingItem(question);
        break;
    case DialogKind::SameStamp:
        content = sameStamp(question);
        break;
    case DialogKind::ZeroLength:
        content = zeroLength(question);
        break;
    case DialogKind::FutureStamp:
        content = futureStamp(question);
        break;
    case DialogKind::InvalidDrive:
        content = invalidDrive(question);
        break;
    case DialogKind::EmptyMaster:
        content = emptyMaster(question);
        break;
    case DialogKind::FileError:
        content = fileError(question);
        break;
    case DialogKind::Closing:
        return closing(); // its countdown is always 30 seconds
    case DialogKind::Standard:
    case DialogKind::FreeSpace:
        content = standard(question);
        break;
    }
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

} // namespace brisko::dialogs
