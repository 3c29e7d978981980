#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brisko::script {

// Splits text at any of the separators, trims each item and drops empty ones.
std::vector<std::string> splitList(std::string_view text, std::string_view separators);

// Trims leading and trailing blanks and control characters.
std::string trim(std::string_view text);

} // namespace brisko::script
