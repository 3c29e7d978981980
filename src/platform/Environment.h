#pragma once

#include <map>
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

class FixedEnvironment final : public Environment {
public:
    FixedEnvironment() = default;
    explicit FixedEnvironment(std::map<std::string, std::string> values)
        : values_(std::move(values)) {}
    void set(const std::string& name, const std::string& value) { values_[name] = value; }
    std::optional<std::string> get(const std::string& name) const override {
        auto it = values_.find(name);
        if (it == values_.end())
            return std::nullopt;
        return it->second;
    }

private:
    std::map<std::string, std::string> values_;
};

} // namespace brisko::platform
