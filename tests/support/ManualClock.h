#pragma once

#include "platform/Clock.h"

#include <chrono>
#include <ctime>

namespace brisko::test {

// A clock that stands still until it is set or advanced.
class ManualClock final : public platform::Clock {
public:
    explicit ManualClock(std::time_t start = 0) : now_(start) {}
    std::time_t now() const override { return now_; }
    std::chrono::steady_clock::time_point steadyNow() const override { return steady_; }
    void set(std::time_t t) { now_ = t; }
    void advance(std::chrono::milliseconds d) {
        steady_ += d;
        now_ += static_cast<std::time_t>(d.count() / 1000);
    }

private:
    std::time_t now_;
    std::chrono::steady_clock::time_point steady_{};
};

} // namespace brisko::test
