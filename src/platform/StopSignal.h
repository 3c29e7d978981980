#pragma once

#ifdef _WIN32
#include "platform/win/WinHandle.h"
#else
#include "platform/posix/UniqueFd.h"
#endif

namespace brisko::platform {

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
    WinHandle event_;
#else
    int fd() const {
        return fd_.get();
    }

private:
    UniqueFd fd_;
#endif
};

} // namespace brisko::platform
