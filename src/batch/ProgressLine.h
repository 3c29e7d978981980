#pragma once

#include "platform/Clock.h"
#include "ports/Display.h"

#include <array>
#include <cstdint>
#include <ostream>
#include <string>

namespace brisko::batch {

// The one-line progress display kept on a terminal: counters, current file and bytes, redrawn
// at most three times a second.
class ProgressLine {
public:
    ProgressLine(std::ostream& out, const platform::Clock& clock) : out_(out), clock_(clock) {}

    void setCounter(Counter which, std::int32_t value);
    void setCurrentFile(const std::string& path);
    void setBytes(std::int64_t done, std::int64_t total);
    // Redraws when a third of a second has passed (or at once when forced).
    void redraw(bool force);
    // Clears the line, so that what follows starts on a clean line.
    void clear();

private:
    std::ostream& out_;
    const platform::Clock& clock_;
    std::array<std::int32_t, 8> counters_{};
    std::string currentFile_;
    std::int64_t bytesDone_ = 0;
    std::int64_t bytesTotal_ = 0;
    std::chrono::steady_clock::time_point lastDraw_{};
    bool drawn_ = false;
};

} // namespace brisko::batch
