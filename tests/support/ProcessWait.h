#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace brisko::test {

// The content of a file that a started program writes, once it is complete (ends with a line
// break); nothing when it did not appear within ten seconds.
std::optional<std::string> waitForLine(const std::filesystem::path& file);

// Restores the process's current folder and PATH when it goes (loading a script makes its folder
// the current one).
class ProcessStateGuard {
public:
    ProcessStateGuard();
    ~ProcessStateGuard();
    ProcessStateGuard(const ProcessStateGuard&) = delete;
    ProcessStateGuard& operator=(const ProcessStateGuard&) = delete;

private:
    std::filesystem::path folder_;
    std::optional<std::string> path_;
};

} // namespace brisko::test
