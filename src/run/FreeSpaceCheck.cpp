#include "run/FreeSpaceCheck.h"

#include "run/RunContext.h"

namespace brisko::run {

bool checkFreeSpace(RunContext& context) {
    std::vector<ShortDrive> drives = context.projection().shortDrives();
    if (drives.empty())
        return true;
    Question question;
    question.kind = DialogKind::FreeSpace;
    question.text = "Free Space Warning !";
    question.num1 = static_cast<std::int64_t>(drives.size()) - 1;
    question.shortDrives = std::move(drives);
    context.services().operatorPort.ask(question);
    return false;
}

} // namespace brisko::run
