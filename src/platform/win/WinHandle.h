#pragma once

#include <utility>
#include <windows.h>

namespace brisko::platform {

// An open Win32 file handle that is closed when the object goes.
class WinHandle {
public:
    WinHandle() = default;
    explicit WinHandle(HANDLE handle) : handle_(handle) {}
    WinHandle(WinHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    WinHandle& operator=(WinHandle&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
        }
        return *this;
    }
    WinHandle(const WinHandle&) = delete;
    WinHandle& operator=(const WinHandle&) = delete;
    ~WinHandle() { reset(); }

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    // Closes the handle; false when closing failed (GetLastError says why).
    bool reset() {
        if (!valid())
            return true;
        return CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != 0;
    }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

} // namespace brisko::platform
