#pragma once

#include "platform/Clock.h"

#include <chrono>
#include <ctime>

namespace brisko::test {

// 5 March 2024, a Tuesday, at noon UTC: the day the tests' clocks stand on unless a test needs
// another.
inline constexpr std::time_t kFifthOfMarch2024 = 1709640000;

// A clock that stands still until it is set or advanced. Given a step, its steady time also
// moves on by that much at every look, so that every throttled pump and refresh is due.
class ManualClock final : public platform::Clock {
public:
    explicit ManualClock(std::time_t start = 0, std::chrono::milliseconds stepPerLook = {})
        : now_(start), step_(stepPerLook) {}
    std::time_t now() const override { return now_; }
    std::chrono::steady_clock::time_point steadyNow() const override {
        steady_ += step_;
        return steady_;
    }
    void set(std::time_t t) { now_ = t; }
    void advance(std::chrono::milliseconds d) {
        steady_ += d;
        now_ += static_cast<std::time_t>(d.count() / 1000);
    }

private:
    std::time_t now_;
    std::chrono::milliseconds step_;
    mutable std::chrono::steady_clock::time_point steady_{};
};

} // namespace brisko::test
