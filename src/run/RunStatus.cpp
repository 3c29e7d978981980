#include "run/RunStatus.h"

#include "platform/Unicode.h"

namespace brisko::run {

namespace {
constexpr std::chrono::milliseconds kRefreshInterval{333};
constexpr std::chrono::milliseconds kPumpInterval{20};

// The order in which a refresh writes the counters: planned first, then done.
constexpr std::array<Counter, 8> kRefreshOrder{
    Counter::ToUpFiles, Counter::ToUpFolder, Counter::ToDelFiles, Counter::ToDelFolders,
    Counter::UpFiles,   Counter::UpFolder,   Counter::DlFiles,    Counter::DlFolder};
} // namespace

RunStatus::RunStatus(Display& display, WindowFeed& window, const platform::Clock& clock,
                     const std::string& caption)
    : display_(display), window_(window), clock_(clock), caption_(caption) {}

void RunStatus::setState(RunState state, bool abortRequested) {
    state_ = state;
    if (state == RunState::Waiting)
        refresh(false);
    display_.setRunState(state);
    window_.update([state](WindowState& shown) {
        shown.runState = state;
        if (state == RunState::Scanning)
            shown.countersShown = true;
    });
    switch (state) {
    case RunState::Idle:
        if (counter(Counter::UpFiles) == 0 && !abortRequested)
            display_.setTaskbarTitle(caption_);
        break;
    case RunState::Scanning:
        display_.setTaskbarTitle("Scanning - " + caption_);
        break;
    case RunState::Copying:
        break;
    case RunState::Waiting:
        display_.setTaskbarTitle("Waiting - " + caption_);
        break;
    }
}

void RunStatus::setCounter(Counter which, std::int32_t value) {
    Marked& marked = counters_[index(which)];
    if (marked.value == value)
        return;
    marked.value = value;
    marked.changed = true;
    if (which == Counter::UpFiles && value == 0)
        display_.setTaskbarTitle(caption_);
}

void RunStatus::setCurrentFile(const std::string& path) {
    if (path == currentFile_)
        return;
    currentFile_ = path;
    currentFileChanged_ = true;
}

void RunStatus::showFolders(const std::string& left, const std::string& right) {
    if (platform::equalsIgnoreCase(left, leftFolder_) &&
        platform::equalsIgnoreCase(right, rightFolder_))
        return;
    leftFolder_ = left;
    rightFolder_ = right;
    foldersChanged_ = true;
}

bool RunStatus::due(std::chrono::steady_clock::time_point& last, std::chrono::milliseconds interval,
                    std::chrono::steady_clock::time_point now) {
    if (now - last < interval)
        return false;
    last = now;
    return true;
}

void RunStatus::refresh(bool throttled) {
    refreshAt(throttled, clock_.steadyNow());
}

void RunStatus::refreshAt(bool throttled, std::chrono::steady_clock::time_point now) {
    if (throttled) {
        if (!due(lastRefresh_, kRefreshInterval, now))
            return;
    } else {
        lastRefresh_ = now;
    }
    if (currentFileChanged_) {
        display_.setCurrentFile(currentFile_);
        currentFileChanged_ = false;
    }
    for (Counter which : kRefreshOrder) {
        Marked& marked = counters_[index(which)];
        if (marked.changed) {
            display_.setCounter(which, marked.value);
            marked.changed = false;
        }
    }
    if (foldersChanged_) {
        window_.showFolder(Side::Left, leftFolder_);
        window_.showFolder(Side::Right, rightFolder_);
        foldersChanged_ = false;
    }
    updateCopiedTitle();
}

void RunStatus::updateCopiedTitle() {
    std::int32_t copied = counter(Counter::UpFiles);
    if (copied != 0) {
        display_.setTaskbarTitle(std::to_string(copied) + "/" +
                                 std::to_string(counter(Counter::ToUpFiles)) + " Copied - " +
                                 caption_);
    }
}

void RunStatus::pump() {
    // Called for every entry of a scan: the clock is read once.
    const auto now = clock_.steadyNow();
    if (due(lastPump_, kPumpInterval, now))
        display_.pump();
    refreshAt(true, now);
}

void RunStatus::reset() {
    for (Counter which : kRefreshOrder)
        setCounter(which, 0);
    lastRefresh_ = clock_.steadyNow();
    setCurrentFile("");
    refresh(false);
}

} // namespace brisko::run
