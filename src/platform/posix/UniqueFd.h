#pragma once

#include <unistd.h>
#include <utility>

namespace brisko::platform {

// An open file descriptor that is closed when the object goes.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            reset();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { reset(); }

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Gives the descriptor up without closing it.
    int release() { return std::exchange(fd_, -1); }
    // Closes the descriptor; returns close()'s result (0 when there was none).
    int reset() { return fd_ >= 0 ? ::close(std::exchange(fd_, -1)) : 0; }

private:
    int fd_ = -1;
};

} // namespace brisko::platform
