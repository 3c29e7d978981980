#pragma once

#include "platform/Clock.h"
#include "ports/Display.h"

#include <array>
#include <cstdint>
#include <ostream>
#include <string>

namespace brisko::batch {

// The one-line progress display kept on a terminal: counters, current file, bytes, the speed and
// the time left, redrawn at most three times a second.
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
    std::chrono::steady_clock::time_point bytesStart_{}; // when the first bytes were copied
    std::int64_t bytesAtStart_ = 0;                      // and how many they were
    bool drawn_ = false;
};

// What a run did, in one line for a person: "copied 3 files, deleted 1 file and 0 folders,
// 1 failed, in 0:04".
std::string runSummary(std::int32_t copied, std::int32_t deletedFiles, std::int32_t deletedFolders,
                       int failed, std::chrono::seconds elapsed);

} // namespace brisko::batch
