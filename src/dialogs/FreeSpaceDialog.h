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
};

} // namespace brisko::dialogs
