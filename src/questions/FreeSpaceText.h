#pragma once

#include "ports/Operator.h"

#include <cstdint>
#include <string>
#include <vector>

namespace brisko::questions {

// The texts of the free-space warning: a caption, a line over the drives, a row a drive.
struct FreeSpaceRow {
    std::string drive;  // "C :"
    std::string amount; // "12 Mb"
};
struct FreeSpaceText {
    std::string caption;
    std::string intro;
    std::string rowLabel;           // "Drive", before each row
    std::vector<FreeSpaceRow> rows; // every short drive, however many there are
};

FreeSpaceText describeFreeSpace(const std::vector<ShortDrive>& drives);

// A shortfall in whole megabytes of 1,024,000 bytes, rounded up: 1 byte is 1.
std::int64_t shortfallMegabytes(std::int64_t lowestBalance);

} // namespace brisko::questions
