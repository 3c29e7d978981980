#pragma once

#include <string>

namespace brisko {

// One row of a loaded script: key, sign, value and the error highlight; for a row in error,
// why, and where the line stands (the file as named and its line number from 1).
struct ScriptLine {
    std::string key;
    std::string sign;
    std::string value;
    bool highlighted = false;
    std::string reason{}; // empty unless the row is an error (or a warning) with a known cause
    std::string file{};
    int lineNumber = 0; // 0: the row comes from no file (a command-line root)

    bool operator==(const ScriptLine&) const = default;
};

} // namespace brisko
