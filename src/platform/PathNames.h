#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brisko::platform {

// Both '\' and '/' separate the names of a program path.
inline bool isPathSeparator(char c) {
    return c == '\\' || c == '/';
}

// Appends the names of text to names; "." is dropped and ".." removes the name before it,
// never going below the first `floor` names.
void appendPathNames(std::string_view text, std::size_t floor, std::vector<std::string>& names);

} // namespace brisko::platform
