#pragma once

#include <chrono>
#include <ctime>

namespace brisko::platform {

// The wall clock and a steady clock for throttling; tests hand in a settable one.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::time_t now() const = 0;
    virtual std::chrono::steady_clock::time_point steadyNow() const = 0;
};

class SystemClock final : public Clock {
public:
    std::time_t now() const override { return std::time(nullptr); }
    std::chrono::steady_clock::time_point steadyNow() const override {
        return std::chrono::steady_clock::now();
    }
};

} // namespace brisko::platform
