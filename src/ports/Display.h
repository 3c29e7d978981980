#pragma once

#include <cstdint>
#include <string>

namespace brisko {

enum class RunState { Idle = 0, Scanning = 1, Copying = 2, Waiting = 3 };
enum class Side { Left, Right };

// One row of the script grid: key, sign, value and the error highlight.
struct ScriptLine {
    std::string key;
    std::string sign;
    std::string value;
    bool highlighted = false;

    bool operator==(const ScriptLine&) const = default;
};

// The colour class of a history row.
enum class RowColour { Plain, Blue, Red };

// One row of the history list.
struct HistoryRow {
    std::string from;
    std::string to;
    std::string size;
    std::string delta;
    std::string status;
    RowColour colour = RowColour::Plain;

    bool operator==(const HistoryRow&) const = default;
};

// The eight run counters as they are shown.
enum class Counter {
    ToUpFiles,
    ToUpFolder,
    ToDelFiles,
    ToDelFolders,
    UpFiles,
    UpFolder,
    DlFiles,
    DlFolder
};

// What the core reports to any front end: run state, counters, the current file, progress,
// history and message rows, and the script as loaded. The window draws it; the batch runner
// prints what it needs; tests record it. What only a window does goes through WindowView.
// Every call happens on the one thread of the program.
class Display {
public:
    virtual ~Display() = default;

    // Lets pending input through (window events, Stop and Abort All); called between units of
    // work by every long loop, which then tests the abort flag.
    virtual void pump() {}

    // While the run waits between scan and copy: waits for the next input (Continue or Abort
    // All act through it). Returns at once when there is nothing to wait for.
    virtual void waitForInput() { pump(); }

    // A run starts (Close, Load and Execute are disabled) or has finished (everything is enabled
    // again, Execute offered, progress bars back to 0, the arrow and current file hidden).
    virtual void setRunning(bool /*running*/) {}

    // Window caption and the application's (task-bar) title.
    virtual void setCaption(const std::string&) {}
    virtual void setTaskbarTitle(const std::string&) {}
    // The message line of the Execute page.
    virtual void setMessageLine(const std::string&) {}
    virtual void setCurrentFile(const std::string&) {}

    // The Script File page.
    virtual void clearScript() {}
    virtual void addScriptRow(int /*row*/, const ScriptLine&) {}
    virtual void showScriptPage() {}
    virtual void setErrorReport(const std::string&) {}
    virtual void setExecuteEnabled(bool) {}
    virtual void setReloadEnabled(bool) {}

    // The history list; rows are numbered from 1.
    virtual void clearHistory() {}
    virtual void setHistoryRow(int /*row*/, const HistoryRow&) {}

    // The message list.
    virtual void clearMessages() {}
    virtual void addMessage(const std::string&) {}

    // The folder panes: the folder a pane is to show (drive form), for preview and scans.
    virtual void showFolder(Side, const std::string& /*folder*/) {}

    // Run state, counters, progress and direction.
    virtual void setRunState(RunState) {}
    virtual void setExecuteCaption(bool /*offersExecute*/) {}
    virtual void setCounter(Counter, std::int32_t) {}
    virtual void showCounters(bool) {}
    virtual void setFileProgress(std::int64_t /*done*/, std::int64_t /*total*/) {}
    virtual void setTotalProgress(std::int64_t /*done*/, std::int64_t /*total*/) {}
    virtual void setScanCopyBox(bool /*checked*/) {}
    virtual void setBinaryCompareBox(bool /*checked*/) {}
};

} // namespace brisko
