#pragma once

#include <string>

namespace brisko::app {

// "Brisko 2.0": the big title label and the caption before a script names one.
inline std::string mainLabelText() {
    return "Brisko " + std::to_string(BRISKO_VERSION_MAJOR) + "." +
           std::to_string(BRISKO_VERSION_MINOR);
}

} // namespace brisko::app
