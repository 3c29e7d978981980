#pragma once

#include <optional>
#include <string>

namespace brisko::platform {

// Environment variables of the process; tests hand in a fixed set.
class Environment {
public:
    virtual ~Environment() = default;
    // The whole value, however long; nothing when the variable is not set.
    virtual std::optional<std::string> get(const std::string& name) const = 0;
};

class ProcessEnvironment final : public Environment {
public:
    std::optional<std::string> get(const std::string& name) const override;
};

} // namespace brisko::platform
