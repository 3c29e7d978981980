#include "support/RecordingDisplay.h"

#include <algorithm>

namespace brisko::test {

namespace {
template <typename T> void store(std::vector<T>& rows, int row, const T& value) {
    if (row < 1)
        return;
    if (rows.size() < static_cast<std::size_t>(row))
        rows.resize(static_cast<std::size_t>(row));
    rows[static_cast<std::size_t>(row) - 1] = value;
}
} // namespace

void RecordingDisplay::pump() {
    ++pumps;
    if (onPump) {
        // A copy, so that the hook may replace or clear itself.
        const std::function<void()> hook = onPump;
        hook();
    }
}

void RecordingDisplay::waitForInput() {
    if (onWait)
        std::exchange(onWait, nullptr)();
    else
        pump();
}

void RecordingDisplay::setTaskbarTitle(const std::string& text) {
    taskbarTitle = text;
    taskbarTitles.push_back(text);
}

void RecordingDisplay::setMessageLine(const std::string& text) {
    messageLine = text;
    messageLines.push_back(text);
}

void RecordingDisplay::addScriptRow(int row, const ScriptLine& line) {
    store(scriptRows, row, line);
}

void RecordingDisplay::setHistoryRow(int row, const HistoryRow& data) {
    store(historyRows, row, data);
}

void RecordingDisplay::showFolder(Side side, const std::string& folder) {
    (side == Side::Left ? leftFolder : rightFolder) = folder;
}

void RecordingDisplay::setRunState(RunState state) {
    runState = state;
    runStates.push_back(state);
}

void RecordingDisplay::setCounter(Counter which, std::int32_t value) {
    counterWrites.emplace_back(which, value);
}

void RecordingDisplay::setFileProgress(std::int64_t done, std::int64_t total) {
    fileProgress = {done, total};
    highestFileProgress = std::max(highestFileProgress, done);
}

void RecordingDisplay::show(const WindowState& state) {
    if (state.verifying && !shown.verifying)
        stateTexts.emplace_back("Binary compare");
    else if (!state.verifying && shown.verifying && state.runState == RunState::Copying)
        stateTexts.emplace_back("Copying");
    else if (!state.verifying && shown.verifying && state.runState == RunState::Scanning)
        stateTexts.emplace_back("Scanning");
    shown = state;
    errorReport = state.errorReport;
    executeEnabled = state.executeEnabled();
    reloadEnabled = state.reloadEnabled();
    scanCopyBox = state.stopBetweenScanAndCopy;
    binaryCompareBox = state.binaryCompareAfterCopy;
    directionLeftToRight = state.leftToRight;
    directionVisible = state.directionShown;
}

} // namespace brisko::test
