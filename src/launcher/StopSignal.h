#pragma once

#ifdef _WIN32
#include "platform/WinHandle.h"
#else
#include "platform/UniqueFd.h"
#endif

namespace brisko::launcher {

// A signal raised once, that any number of waits for a program watch besides the program: when
// it is raised they all give up.
class StopSignal {
public:
    StopSignal();
    void raise();

#ifdef _WIN32
    HANDLE event() const {
        return event_.get();
    }

private:
    platform::WinHandle event_;
#else
    int fd() const {
        return fd_.get();
    }

private:
    platform::UniqueFd fd_;
#endif
};

} // namespace brisko::launcher
