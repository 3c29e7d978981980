#include "questions/FreeSpaceText.h"

namespace brisko::questions {

namespace {
constexpr std::uint64_t kBytesPerMegabyte = 1'024'000;

// "C :" for a drive letter; a share as it stands, followed by " :".
std::string driveLabel(const std::string& drive) {
    const bool letter = drive.size() == 2 && drive[1] == ':';
    return (letter ? drive.substr(0, 1) : drive) + " :";
}
} // namespace

std::int64_t shortfallMegabytes(std::int64_t lowestBalance) {
    // The magnitude in unsigned arithmetic, so the most negative balance does not overflow.
    const std::uint64_t bytes = lowestBalance < 0 ? 0 - static_cast<std::uint64_t>(lowestBalance)
                                                  : static_cast<std::uint64_t>(lowestBalance);
    return static_cast<std::int64_t>(bytes / kBytesPerMegabyte +
                                     (bytes % kBytesPerMegabyte != 0 ? 1 : 0));
}

FreeSpaceText describeFreeSpace(const std::vector<ShortDrive>& drives) {
    FreeSpaceText text{"Free Space Warning !", "You need to free space on:", "Drive", {}};
    for (const ShortDrive& drive : drives)
        text.rows.push_back({driveLabel(drive.drive),
                             std::to_string(shortfallMegabytes(drive.lowestBalance)) + " Mb"});
    return text;
}

} // namespace brisko::questions
