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

// A clock that stands still until it is set or advanced.
class ManualClock final : public Clock {
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

} // namespace brisko::platform
