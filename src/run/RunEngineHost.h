#pragma once

#include "engine/EngineHost.h"
#include "ports/Display.h"
#include "run/History.h"
#include "run/RunStatus.h"

namespace brisko::run {

// What the run decides itself when the engine asks: stopping, the run state, the copy
// direction shown, and the red rows about what the scans passed over. The run context
// implements it.
class RunFlow {
public:
    virtual bool abortRequested() const = 0;
    virtual void abortAll() = 0;
    virtual void setRunState(RunState state) = 0;
    // Stop is offered (a session began), or no longer (the copy it would stop was abandoned).
    virtual void setStopOffered(bool offered) = 0;
    virtual void showCopyDirection(bool leftToRight, bool shown) = 0;
    virtual void reportProblem(const HistoryRow& row) = 0;

protected:
    ~RunFlow() = default;
};

// The engine's view of a run, put together from the pieces it reaches.
class RunEngineHost final : public engine::EngineHost {
public:
    struct Pieces {
        RunFlow& flow;
        RunStatus& status;
        History& history;
        Display& display;
    };

    explicit RunEngineHost(Pieces pieces) : pieces_(pieces) {}

    bool abortRequested() const override { return pieces_.flow.abortRequested(); }
    void abortAll() override { pieces_.flow.abortAll(); }
    void setRunState(RunState state) override { pieces_.flow.setRunState(state); }
    void offerStop() override { pieces_.flow.setStopOffered(true); }
    void pump() override { pieces_.status.pump(); }
    void refreshDisplay(bool throttled) override { pieces_.status.refresh(throttled); }
    void setCurrentFile(const std::string& path) override { pieces_.status.setCurrentFile(path); }
    void showFolders(const std::string& left, const std::string& right) override {
        pieces_.status.showFolders(left, right);
    }
    void setPassDirection(bool leftToRight) override {
        pieces_.flow.showCopyDirection(leftToRight, true);
    }
    void setFileProgress(std::int64_t done, std::int64_t total) override {
        pieces_.display.setFileProgress(done, total);
    }
    void countPlanned(Counter counter) override { pieces_.status.addToCounter(counter, 1); }
    int addHistoryRow(const HistoryRow& row) override { return pieces_.history.addRow(row); }
    int addCopyRow(std::size_t copyIndex, const HistoryRow& row) override {
        return pieces_.history.addCopyRow(copyIndex, row);
    }
    void reportProblem(const HistoryRow& row) override { pieces_.flow.reportProblem(row); }

private:
    Pieces pieces_;
};

} // namespace brisko::run
