#include "questions/QuestionLine.h"

#include "platform/DrivePath.h"
#include "questions/FreeSpaceText.h"
#include "questions/QuestionContent.h"

namespace brisko::questions {

namespace {

std::string directedLine(const std::string& caption, const std::string& source,
                         const std::string& target) {
    return caption + ": " + source + " -> " + target;
}

std::string freeSpaceLine(const FreeSpaceQuestion& question) {
    const FreeSpaceText text = describeFreeSpace(question.drives);
    std::string line = text.intro;
    for (const FreeSpaceRow& row : text.rows)
        line += " " + text.rowLabel + " " + row.drive + " " + row.amount;
    return line;
}

} // namespace

std::string questionLine(const Question& question) {
    if (const auto* freeSpace = std::get_if<FreeSpaceQuestion>(&question.details))
        return freeSpaceLine(*freeSpace);
    const QuestionContent content = describeQuestion(question);
    if (const auto* zero = std::get_if<ZeroLengthQuestion>(&question.details)) {
        // The file's paths without the sizes the dialog adds.
        return directedLine(content.caption,
                            platform::drive_path::join(zero->sourceFolder, zero->fileName),
                            platform::drive_path::join(zero->targetFolder, zero->fileName));
    }
    switch (question.kind()) {
    case DialogKind::MissingItem:
    case DialogKind::SameStamp:
        return directedLine(content.caption, content.upper, content.lower);
    case DialogKind::FutureStamp:
        return content.upper + " " + content.lower;
    default:
        return content.upper;
    }
}

} // namespace brisko::questions
