#pragma once

#include "ports/DialogAnswer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace brisko {

// Which question is put to the operator; each kind has its own buttons and default answer.
enum class DialogKind {
    MissingItem,  // a folder or file exists on one side only
    SameStamp,    // equal stamps with different sizes, or a binary difference
    ZeroLength,   // a zero-length source over a non-empty target
    FutureStamp,  // a file dated in the future
    InvalidDrive, // a drive that does not exist, or is full
    EmptyMaster,  // a master root folder that is empty while the copy side is not
    FileError,    // a file that cannot be read
    FreeSpace,    // the drives short of space (no countdown)
    Standard,     // a plain notice with an OK button
    Closing,      // the window is about to close after a run
};

const char* dialogKindName(DialogKind kind);

// One drive short of space: its letter and the lowest balance it reached.
struct ShortDrive {
    char letter = 'C';
    std::int64_t lowestBalance = 0; // bytes, negative
};

// A timed question with everything its dialog shows.
struct Question {
    DialogKind kind = DialogKind::Standard;
    std::string text; // the formatted caption or message
    std::int64_t num1 = 0;
    std::int64_t num2 = 0;
    std::string str1;
    std::string str2;
    std::string str3;
    bool leftToRight = true;
    int timeoutSeconds = 60;             // at least 1 when shown
    std::vector<ShortDrive> shortDrives; // FreeSpace only
};

// The answer the question gives itself when its countdown runs out.
DialogAnswer defaultAnswer(DialogKind kind);
// The answer of a dialog closed through its window frame. Where Cancel would mean "Delete
// Source" the frame gives the default answer instead, so closing never deletes anything.
DialogAnswer frameCloseAnswer(DialogKind kind);

// Every question and notice to a person goes through here. The window shows modal dialogs
// with a countdown; the batch runner answers at once with the default; tests script answers.
class Operator {
public:
    virtual ~Operator() = default;
    virtual DialogAnswer ask(const Question& question) = 0;
    // A plain message box with an OK button and no countdown.
    virtual void notify(const std::string& text) = 0;
    // A yes/no confirmation without a default; true for Yes.
    virtual bool confirm(const std::string& text) = 0;
};

} // namespace brisko
