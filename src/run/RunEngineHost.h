#pragma once

#include "engine/EngineHost.h"

namespace brisko::run {

class RunContext;

// The engine's view of the run context.
class RunEngineHost final : public engine::EngineHost {
public:
    explicit RunEngineHost(RunContext& context) : context_(context) {}

    bool abortRequested() const override;
    void abortAll() override;
    void setRunState(RunState state) override;
    void setExecuteCaption(bool offersExecute) override;
    void pump() override;
    void refreshDisplay(bool throttled) override;
    void setCurrentFile(const std::string& path) override;
    void showFolders(const std::string& left, const std::string& right) override;
    void setDirection(bool leftToRight, bool visible) override;
    void setFileProgress(std::int64_t done, std::int64_t total) override;
    void countPlanned(Counter counter) override;
    int addHistoryRow(const HistoryRow& row) override;
    void reportProblem(const HistoryRow& row) override;

private:
    RunContext& context_;
};

} // namespace brisko::run
