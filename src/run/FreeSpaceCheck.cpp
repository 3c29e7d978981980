#include "run/FreeSpaceCheck.h"

namespace brisko::run {

bool checkFreeSpace(const ActionContext& context) {
    std::vector<ShortDrive> drives = context.projection.shortDrives();
    if (drives.empty())
        return true;
    context.operatorPort.ask(Question{.details = FreeSpaceQuestion{.drives = std::move(drives)}});
    return false;
}

} // namespace brisko::run
