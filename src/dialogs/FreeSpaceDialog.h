#pragma once

#include "dialogs/BeepForm.h"
#include "ports/Operator.h"

#include <vector>

namespace brisko::dialogs {

// The drives short of space for the planned copies. It has no countdown: an unattended run
// stops here until someone presses OK.
class TFreeSpaceDialog : public TBeepForm {
    Q_OBJECT

public:
    TFreeSpaceDialog(const std::vector<ShortDrive>& drives, QWidget* parent = nullptr);

    // A shortfall in whole megabytes of 1,024,000 bytes, rounded up: 1 byte is 1.
    static std::int64_t shortfallMegabytes(std::int64_t lowestBalance);
    // The two texts of a drive's row: "C :" and "12 Mb".
    static QString driveText(const ShortDrive& drive);
    static QString amountText(const ShortDrive& drive);
};

} // namespace brisko::dialogs
