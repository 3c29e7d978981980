#include "run/FreeSpaceCheck.h"

#include "run/RunContext.h"

namespace brisko::run {

bool checkFreeSpace(RunContext& context) {
    std::vector<ShortDrive> drives = context.projection().shortDrives();
    if (drives.empty())
        return true;
    context.services().operatorPort.ask(
        Question{.details = FreeSpaceQuestion{.drives = std::move(drives)}});
    return false;
}

} // namespace brisko::run
