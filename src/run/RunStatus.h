#pragma once

#include "platform/Clock.h"
#include "ports/Display.h"
#include "ports/WindowFeed.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <string>

namespace brisko::run {

// Where a run stands: its state, the eight counters, the current file and the folders the
// two panes are to show. Setters only mark what changed; refresh() brings the marked items
// onto the screen, at most three times a second when throttled.
class RunStatus {
public:
    // caption is the window caption as it stands (the task-bar title is built from it); the
    // window, when there is one, shows the run state, the counters and the folder panes.
    RunStatus(Display& display, WindowFeed& window, const platform::Clock& clock,
              const std::string& caption);

    RunState state() const { return state_; }
    // Stores the state, then reconfigures the screen for it. abortRequested tells whether an
    // abort stands (the title rule of Idle needs it).
    void setState(RunState state, bool abortRequested);

    std::int32_t counter(Counter which) const { return counters_[index(which)].value; }
    void setCounter(Counter which, std::int32_t value);
    void addToCounter(Counter which, std::int32_t delta) {
        setCounter(which, counter(which) + delta);
    }
    void setCurrentFile(const std::string& path);
    void showFolders(const std::string& left, const std::string& right);

    // Brings what changed onto the screen; throttled, it does nothing until a third of a
    // second has passed since the last refresh.
    void refresh(bool throttled);
    // Lets pending input through, at most every few milliseconds so that loops over many
    // small files are not slowed by it.
    void pump();

    // Zeroes the counters, empties the current file and refreshes at once.
    void reset();

private:
    struct Marked {
        std::int32_t value = 0;
        bool changed = false;
    };
    static std::size_t index(Counter which) { return static_cast<std::size_t>(which); }
    static bool due(std::chrono::steady_clock::time_point& last, std::chrono::milliseconds interval,
                    std::chrono::steady_clock::time_point now);
    // refresh() with the time already read.
    void refreshAt(bool throttled, std::chrono::steady_clock::time_point now);
    void updateCopiedTitle();

    Display& display_;
    WindowFeed& window_;
    const platform::Clock& clock_;
    const std::string& caption_;
    RunState state_ = RunState::Idle;
    std::array<Marked, 8> counters_{};
    std::string currentFile_;
    bool currentFileChanged_ = false;
    std::string leftFolder_;
    std::string rightFolder_;
    bool foldersChanged_ = false;
    std::chrono::steady_clock::time_point lastRefresh_{};
    std::chrono::steady_clock::time_point lastPump_{};
};

} // namespace brisko::run
