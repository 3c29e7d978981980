#pragma once

#include "ports/Operator.h"

#include <string>

namespace brisko::test {

// A question of the given kind with texts of its own; its files lie in sourceFolder and
// targetFolder.
inline Question sampleQuestion(DialogKind kind, const std::string& sourceFolder = "C:\\SRC",
                               const std::string& targetFolder = "D:\\DST") {
    const std::string source = sourceFolder + "\\A.TXT";
    const std::string target = targetFolder + "\\A.TXT";
    switch (kind) {
    case DialogKind::MissingItem:
        return {.details = MissingItemQuestion{"Missing File", source, target}};
    case DialogKind::SameStamp:
        return {.details =
                    SameStampQuestion{"Files with same Time Stamp but with Different sizes !",
                                      source + " (5 Bytes)", target + " (3 Bytes)"}};
    case DialogKind::ZeroLength:
        return {.details = ZeroLengthQuestion{sourceFolder, targetFolder, "A.TXT", 0, 1234}};
    case DialogKind::FutureStamp:
        return {.details = FutureStampQuestion{source, "dated 01/02/27 (future date)"}};
    case DialogKind::InvalidDrive:
        return {.details = InvalidDriveQuestion{"Free Space Warning !",
                                                "No more free space on Drive D to copy A.TXT",
                                                "Skip File"}};
    case DialogKind::EmptyMaster:
        return {.details = EmptyMasterQuestion{
                    "Master folder " + sourceFolder +
                    " is empty: mirroring it would delete everything in " + targetFolder}};
    case DialogKind::FileError:
        return {.details = FileErrorQuestion{"Could not read from the file " + source}};
    case DialogKind::FreeSpace:
        return {.details = FreeSpaceQuestion{{{"C:", -1}, {"D:", -2'048'000}}}};
    case DialogKind::Standard:
        return {.details = StandardQuestion{"Cannot update Brisko using Brisko\rcopy me manually"}};
    case DialogKind::Closing:
        return {.details = ClosingQuestion{}};
    }
    return {};
}

} // namespace brisko::test
