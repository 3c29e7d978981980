#pragma once

#include "ports/Display.h"
#include "ports/WindowView.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace brisko::test {

// Records what the core shows, as the screen would hold it, and the sequence of the changes
// tests follow. Hand it in as the window too to record what only a window is told. onPump runs
// at every pump (a click on Stop or Abort All); onWait runs once, at the next wait between
// scan and copy (a click on Continue or Abort All); without it a wait pumps.
class RecordingDisplay : public Display, public WindowView {
public:
    void pump() override;
    void waitForInput() override;
    void setTaskbarTitle(const std::string& text) override;
    void setMessageLine(const std::string& text) override;
    void setCurrentFile(const std::string& text) override { currentFile = text; }
    void clearHistory() override { historyRows.clear(); }
    void setHistoryRow(int row, const HistoryRow& data) override;
    void clearMessages() override { messages.clear(); }
    void addMessage(const std::string& text) override { messages.push_back(text); }
    void setRunState(RunState state) override;
    void setCounter(Counter which, std::int32_t value) override;
    void setFileProgress(std::int64_t done, std::int64_t total) override;
    void setTotalProgress(std::int64_t done, std::int64_t total) override {
        totalProgress = {done, total};
    }

    // WindowView
    void show(const WindowState& state) override;
    void setCaption(const std::string& text) override { caption = text; }
    void clearScript() override { scriptRows.clear(); }
    void addScriptRow(int row, const ScriptLine& line) override;
    void showScriptPage() override { scriptPageShown = true; }
    void showExecutePage() override {}
    void selectHistoryRow(int) override {}
    void setHistoryPainting(bool) override {}
    void showFolder(Side side, const std::string& folder) override;

    std::function<void()> onPump;
    std::function<void()> onWait;

    int pumps = 0;
    std::string caption;
    std::string taskbarTitle;
    std::vector<std::string> taskbarTitles; // every title, in order
    std::string messageLine;
    std::vector<std::string> messageLines; // every message line, in order
    std::string currentFile;
    std::vector<ScriptLine> scriptRows; // row 1 first
    bool scriptPageShown = false;
    std::string errorReport;
    bool executeEnabled = true;
    bool reloadEnabled = true;
    std::vector<HistoryRow> historyRows; // row 1 first
    std::vector<std::string> messages;
    std::string leftFolder;
    std::string rightFolder;
    RunState runState = RunState::Idle;
    std::vector<RunState> runStates; // every state, in order
    std::vector<std::pair<Counter, std::int32_t>> counterWrites;
    WindowState shown; // the last state handed over
    // "Binary compare" when a comparison starts, the state's text again when it ends.
    std::vector<std::string> stateTexts;
    bool directionLeftToRight = true;
    bool directionVisible = false;
    std::pair<std::int64_t, std::int64_t> fileProgress{-1, -1};
    std::int64_t highestFileProgress = 0;
    std::pair<std::int64_t, std::int64_t> totalProgress{-1, -1};
    bool scanCopyBox = false;
    bool binaryCompareBox = false;
};

} // namespace brisko::test
