#pragma once

#include "ports/Operator.h"

#include <string>
#include <vector>

namespace brisko::questions {

// One button of a question dialog.
struct AnswerButton {
    std::string caption;
    DialogAnswer answer;
    std::string name; // the button's object name
    std::string hint; // shown as its tool tip; empty for none
};

// The background a question dialog is drawn on.
enum class DialogBackground {
    Plain,   // the window colour
    Info,    // the tool tip colour: two files that may both be wanted
    Desktop, // a dark desktop colour with white texts: a copy that would empty a file
};

// What a question's dialog shows and how it answers, worked out from the question alone.
struct QuestionContent {
    std::string caption;
    std::string heading; // a bold line over the texts; empty for none
    std::string upper;   // the source, or the message
    std::string lower;   // the target, or a second message line
    bool showArrow = false;
    bool leftToRight = true;
    DialogBackground background = DialogBackground::Plain;
    std::vector<AnswerButton> buttons; // left to right
    DialogAnswer timeOutAnswer;        // focused, and pressed when the countdown runs out
    DialogAnswer escapeAnswer;         // the Escape key
    int timeOutSeconds = 60;
    bool silent = false;
};

// Every timed question kind; the free-space warning has texts of its own (FreeSpaceText.h).
QuestionContent describeQuestion(const Question& question);

// A text as a label shows it: a carriage return breaks the line.
std::string withLineBreaks(const std::string& text);

} // namespace brisko::questions
