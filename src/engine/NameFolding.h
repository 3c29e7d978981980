#pragma once

#include <string>
#include <string_view>

namespace brisko::engine {

// A name in upper case, as names are compared without regard to case: the same as
// platform::toUpper, with a quick way through names that are plain ASCII (most of them).
std::string foldedName(std::string_view name);

} // namespace brisko::engine
