#pragma once

#include "ports/DialogAnswer.h"

#include <cstdint>
#include <string>
#include <variant>
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

// One drive short of space: its drive ("C:" or "\\SERVER\SHARE", upper-cased) and the lowest
// balance it reached.
struct ShortDrive {
    std::string drive = "C:";
    std::int64_t lowestBalance = 0; // bytes, negative
};

// What each kind of question carries.
struct MissingItemQuestion {
    static constexpr DialogKind kind = DialogKind::MissingItem;
    std::string caption; // "Missing File" or "Missing Folder"
    std::string sourcePath;
    std::string targetPath;
};

struct SameStampQuestion {
    static constexpr DialogKind kind = DialogKind::SameStamp;
    std::string text;       // what differs: the caption and the heading
    std::string sourceFile; // each path with its size
    std::string targetFile;
};

struct ZeroLengthQuestion {
    static constexpr DialogKind kind = DialogKind::ZeroLength;
    std::string sourceFolder;
    std::string targetFolder;
    std::string fileName; // the same on both sides
    std::int64_t sourceSize = 0;
    std::int64_t targetSize = 0;
};

struct FutureStampQuestion {
    static constexpr DialogKind kind = DialogKind::FutureStamp;
    std::string path;
    std::string dateText; // "dated ... (future date)"
};

struct InvalidDriveQuestion {
    static constexpr DialogKind kind = DialogKind::InvalidDrive;
    std::string caption;
    std::string message;
    std::string skipCaption; // the Skip button's caption; empty for "Skip Session"
};

struct EmptyMasterQuestion {
    static constexpr DialogKind kind = DialogKind::EmptyMaster;
    std::string message;
};

struct FileErrorQuestion {
    static constexpr DialogKind kind = DialogKind::FileError;
    std::string message;
};

struct FreeSpaceQuestion {
    static constexpr DialogKind kind = DialogKind::FreeSpace;
    std::vector<ShortDrive> drives;
};

struct StandardQuestion {
    static constexpr DialogKind kind = DialogKind::Standard;
    std::string message;
};

struct ClosingQuestion {
    static constexpr DialogKind kind = DialogKind::Closing;
};

// A timed question with everything its dialog shows.
struct Question {
    std::variant<StandardQuestion, MissingItemQuestion, SameStampQuestion, ZeroLengthQuestion,
                 FutureStampQuestion, InvalidDriveQuestion, EmptyMasterQuestion, FileErrorQuestion,
                 FreeSpaceQuestion, ClosingQuestion>
        details;
    bool leftToRight = true;
    int timeoutSeconds = 60; // at least 1 when shown

    DialogKind kind() const {
        return std::visit([](const auto& d) { return d.kind; }, details);
    }
    // The details of the kind the question is known to be.
    template <typename Details> const Details& as() const { return std::get<Details>(details); }
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
