#pragma once

#include "ports/Operator.h"

#include <string>
#include <vector>

namespace brisko::dialogs {

// One button of a question dialog.
struct AnswerButton {
    std::string caption;
    DialogAnswer answer;
};

// What a question's dialog shows and how it answers, worked out from the question alone.
struct QuestionContent {
    std::string caption;
    std::string heading; // a bold line over the texts; empty for none
    std::string upper;   // the source, or the message
    std::string lower;   // the target, or a second message line
    bool showArrow = false;
    bool leftToRight = true;
    std::vector<AnswerButton> buttons; // left to right
    DialogAnswer timeOutAnswer;        // focused, and pressed when the countdown runs out
    DialogAnswer escapeAnswer;         // the Escape key
    int timeOutSeconds = 60;
    bool silent = false;
};

// Every timed question kind; the free-space warning has a dialog of its own.
QuestionContent describeQuestion(const Question& question);

// A text as a label shows it: a carriage return breaks the line.
std::string withLineBreaks(const std::string& text);

} // namespace brisko::dialogs
