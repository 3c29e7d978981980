#pragma once

#include "engine/EngineHost.h"

#include <array>
#include <string>
#include <vector>

namespace brisko::test {

// Records what the engine asks of the run layer; abortAll() sets the flag it reads back.
class RecordingEngineHost : public engine::EngineHost {
public:
    bool abortRequested() const override { return aborted; }
    void abortAll() override {
        aborted = true;
        ++abortCalls;
    }
    void setRunState(RunState state) override { runState = state; }
    void offerStop() override { offersExecute = false; }
    void pump() override { ++pumps; }
    void refreshDisplay(bool) override { ++refreshes; }
    void setCurrentFile(const std::string& path) override { currentFile = path; }
    void showFolders(const std::string& left, const std::string& right) override {
        leftFolder = left;
        rightFolder = right;
    }
    void setPassDirection(bool leftToRight) override {
        directionLeftToRight = leftToRight;
        directionVisible = true;
    }
    void setFileProgress(std::int64_t done, std::int64_t total) override {
        progressDone = done;
        progressTotal = total;
    }
    void countPlanned(Counter counter) override { ++planned[static_cast<std::size_t>(counter)]; }
    int addHistoryRow(const HistoryRow& row) override {
        history.push_back(row);
        return static_cast<int>(history.size());
    }

    void reportProblem(const HistoryRow& row) override {
        problems.push_back(row);
        addHistoryRow(row);
    }

    int plannedCount(Counter counter) const { return planned[static_cast<std::size_t>(counter)]; }

    bool aborted = false;
    int abortCalls = 0;
    RunState runState = RunState::Idle;
    bool offersExecute = true;
    int pumps = 0;
    int refreshes = 0;
    std::string currentFile;
    std::string leftFolder;
    std::string rightFolder;
    bool directionLeftToRight = true;
    bool directionVisible = false;
    std::int64_t progressDone = 0;
    std::int64_t progressTotal = 0;
    std::array<int, 8> planned{};
    std::vector<HistoryRow> history;
    std::vector<HistoryRow> problems;
};

} // namespace brisko::test
