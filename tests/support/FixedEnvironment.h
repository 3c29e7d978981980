#pragma once

#include "platform/Environment.h"

#include <map>
#include <optional>
#include <string>
#include <utility>

namespace brisko::test {

// Environment variables set by the test instead of the process.
class FixedEnvironment final : public platform::Environment {
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

} // namespace brisko::test
