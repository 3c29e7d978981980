#pragma once

#include "ports/Operator.h"

#include <string>

namespace brisko::questions {

// A question's main text on one line, as a console shows it: its message where the kind fixes
// the caption, else its caption, with the source and target where it has a direction.
std::string questionLine(const Question& question);

} // namespace brisko::questions
