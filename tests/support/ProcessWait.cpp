#include "support/ProcessWait.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace brisko::test {

std::optional<std::string> waitForLine(const std::filesystem::path& file) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        std::ifstream in(file);
        std::ostringstream text;
        text << in.rdbuf();
        const std::string content = text.str();
        if (!content.empty() && content.back() == '\n')
            return content;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return std::nullopt;
}

ProcessStateGuard::ProcessStateGuard() : folder_(std::filesystem::current_path()) {
    if (const char* path = std::getenv("PATH"))
        path_ = path;
}

ProcessStateGuard::~ProcessStateGuard() {
    std::error_code ignored;
    std::filesystem::current_path(folder_, ignored);
    if (path_)
        setenv("PATH", path_->c_str(), 1);
    else
        unsetenv("PATH");
}

} // namespace brisko::test
