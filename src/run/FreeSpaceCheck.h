#pragma once

#include "run/ActionContext.h"

namespace brisko::run {

// Checks the projected free space of every drive the plan uses. When any drive would run
// short, the operator is shown those drives (a notice without a countdown) and the answer is
// false: nothing of the plan may be carried out.
bool checkFreeSpace(const ActionContext& context);

} // namespace brisko::run
