#include "ports/DialogAnswer.h"
#include "ports/Operator.h"

namespace brisko {

const char* answerName(DialogAnswer answer) {
    switch (answer) {
    case DialogAnswer::Ok:
        return "Ok";
    case DialogAnswer::Cancel:
        return "Cancel";
    case DialogAnswer::Abort:
        return "Abort";
    case DialogAnswer::Retry:
        return "Retry";
    case DialogAnswer::Ignore:
        return "Ignore";
    case DialogAnswer::Yes:
        return "Yes";
    case DialogAnswer::No:
        return "No";
    }
    return "?";
}

const char* dialogKindName(DialogKind kind) {
    switch (kind) {
    case DialogKind::MissingItem:
        return "MissingItem";
    case DialogKind::SameStamp:
        return "SameStamp";
    case DialogKind::ZeroLength:
        return "ZeroLength";
    case DialogKind::FutureStamp:
        return "FutureStamp";
    case DialogKind::InvalidDrive:
        return "InvalidDrive";
    case DialogKind::EmptyMaster:
        return "EmptyMaster";
    case DialogKind::FileError:
        return "FileError";
    case DialogKind::FreeSpace:
        return "FreeSpace";
    case DialogKind::Standard:
        return "Standard";
    case DialogKind::Closing:
        return "Closing";
    }
    return "?";
}

DialogAnswer defaultAnswer(DialogKind kind) {
    switch (kind) {
    case DialogKind::MissingItem:
    case DialogKind::SameStamp:
    case DialogKind::ZeroLength:
    case DialogKind::FutureStamp:
    case DialogKind::InvalidDrive:
    case DialogKind::EmptyMaster:
    case DialogKind::FileError:
        return DialogAnswer::Ignore; // skip, keep as is
    case DialogKind::FreeSpace:
    case DialogKind::Standard:
        return DialogAnswer::Ok;
    case DialogKind::Closing:
        return DialogAnswer::Abort; // "&Close"
    }
    return DialogAnswer::Ignore;
}

DialogAnswer frameCloseAnswer(DialogKind kind) {
    switch (kind) {
    case DialogKind::MissingItem:
    case DialogKind::ZeroLength:
        return defaultAnswer(kind); // Cancel would be "Delete Source" here
    case DialogKind::FreeSpace:
        return DialogAnswer::Ok;
    default:
        return DialogAnswer::Cancel;
    }
}

} // namespace brisko
