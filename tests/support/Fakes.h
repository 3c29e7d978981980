#pragma once

#include "ports/Display.h"
#include "ports/Operator.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace brisko::test {

// Records what the core shows, as the screen would hold it.
class RecordingDisplay : public Display {
public:
    void pump() override { ++pumps; }
    void setCaption(const std::string& text) override { caption = text; }
    void setTaskbarTitle(const std::string& text) override { taskbarTitle = text; }
    void setMessageLine(const std::string& text) override { messageLine = text; }
    void setCurrentFile(const std::string& text) override { currentFile = text; }
    void clearScript() override { scriptRows.clear(); }
    void addScriptRow(int row, const ScriptLine& line) override;
    void showScriptPage() override { scriptPageShown = true; }
    void setErrorReport(const std::string& text) override { errorReport = text; }
    void setExecuteEnabled(bool enabled) override { executeEnabled = enabled; }
    void setReloadEnabled(bool enabled) override { reloadEnabled = enabled; }
    void clearHistory() override { historyRows.clear(); }
    void setHistoryRow(int row, const HistoryRow& data) override;
    void clearMessages() override { messages.clear(); }
    void addMessage(const std::string& text) override { messages.push_back(text); }
    void showFolder(Side side, const std::string& folder) override;
    void setRunState(RunState state) override { runState = state; }
    void setScanCopyBox(bool checked) override { scanCopyBox = checked; }
    void setBinaryCompareBox(bool checked) override { binaryCompareBox = checked; }

    int pumps = 0;
    std::string caption;
    std::string taskbarTitle;
    std::string messageLine;
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
    bool scanCopyBox = false;
    bool binaryCompareBox = false;
};

// Answers questions from a script of answers (the default answer when it runs out) and records
// every question, notice and confirmation. onAsk runs as a question is put (to change the disk
// under the question, as a person might).
class ScriptedOperator : public Operator {
public:
    DialogAnswer ask(const Question& question) override;
    void notify(const std::string& text) override { notices.push_back(text); }
    bool confirm(const std::string& text) override;

    std::function<void(const Question&)> onAsk;
    std::deque<DialogAnswer> answers;
    std::deque<bool> confirmations;
    std::vector<Question> questions;
    std::vector<std::string> notices;
    std::vector<std::string> confirmationTexts;
};

} // namespace brisko::test
