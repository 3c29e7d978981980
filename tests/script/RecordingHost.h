#pragma once

#include "script/ScriptHost.h"
#include "script/SessionSettings.h"

#include <functional>
#include <vector>

namespace brisko::test {

// The layer above the script language as the tests see it: it records every call, keeps a copy
// of the settings that stood at each Execute, and resets the settings as the run context does.
class RecordingHost : public script::ScriptHost {
public:
    explicit RecordingHost(script::SessionSettings& settings) : settings_(settings) {}

    void executeSession() override;
    void resetSettings(bool full) override;
    bool abortRequested() const override { return abortFlag; }
    void abortAll() override;
    void setCloseWhenFinished(bool close) override { closeWhenFinished = close; }
    void addHistoryRow(const HistoryRow& row) override { historyRows.push_back(row); }

    std::vector<script::SessionSettings> sessions; // the settings standing at each Execute
    std::vector<bool> resets;                      // the form of each reset: true for full
    std::vector<HistoryRow> historyRows;
    int abortAllCalls = 0;
    bool abortFlag = false;
    bool closeWhenFinished = false;
    // Runs inside executeSession, after the settings were recorded (to abort, say).
    std::function<void()> duringSession;

private:
    script::SessionSettings& settings_;
};

} // namespace brisko::test
