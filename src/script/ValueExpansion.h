#pragma once

#include "platform/Clock.h"
#include "platform/Environment.h"

#include <string>
#include <string_view>

namespace brisko::script {

// The first opening character and the first closing character after it, positions counted
// from 1 (0 when absent), and the token between them.
struct Delimited {
    std::size_t start = 0;
    std::size_t end = 0;
    std::string token;
};
Delimited extractDelimited(std::string_view text, char opening, char closing);

// The replacement of a date macro ({DAYNUM}, {DOW}, {WEEK}, {MTHNUM}, {MTHTXT}, {YEAR2},
// {YEAR4}) for the local date of now; empty text for an unknown name.
std::string expandDateMacro(std::string_view name, const platform::Clock& clock);

// Expands the date macros, then the environment variables of a free value. Each reference
// present before expansion is replaced once, so a value that refers to itself cannot loop.
std::string expandValue(std::string_view value, const platform::Clock& clock,
                        const platform::Environment& environment);

} // namespace brisko::script
