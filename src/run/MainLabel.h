#pragma once

#include <string>

namespace brisko::run {

// "Brisko 2.0": the program's name with its major and minor version. The window's big title
// label, and the caption and task-bar title of both front ends before a script names one.
inline std::string mainLabelText() {
    return "Brisko " + std::to_string(BRISKO_VERSION_MAJOR) + "." +
           std::to_string(BRISKO_VERSION_MINOR);
}

} // namespace brisko::run
