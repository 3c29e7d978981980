#include "platform/Environment.h"

#include <cstdlib>

namespace brisko::platform {

std::optional<std::string> ProcessEnvironment::get(const std::string& name) const {
    const char* value = std::getenv(name.c_str());
    if (value == nullptr)
        return std::nullopt;
    return std::string(value);
}

} // namespace brisko::platform
