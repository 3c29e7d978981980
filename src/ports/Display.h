#pragma once

#include <cstdint>
#include <string>

namespace brisko {

enum class RunState { Idle = 0, Scanning = 1, Copying = 2, Waiting = 3 };

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
// the task-bar title, history and message rows. The window draws it; the batch runner
// prints what it needs; tests record it. What only a window does goes through WindowFeed.
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

    // A run starts or has finished. The window follows runs through its state; a front end
    // without one (the console) may begin or end what it shows of a run here.
    virtual void setRunning(bool /*running*/) {}

    // The application's (task-bar) title.
    virtual void setTaskbarTitle(const std::string&) {}
    // The message line of the Execute page.
    virtual void setMessageLine(const std::string&) {}
    virtual void setCurrentFile(const std::string&) {}

    // The history list; rows are numbered from 1.
    virtual void clearHistory() {}
    virtual void setHistoryRow(int /*row*/, const HistoryRow&) {}

    // The message list.
    virtual void clearMessages() {}
    virtual void addMessage(const std::string&) {}

    // Run state, counters and progress.
    virtual void setRunState(RunState) {}
    virtual void setCounter(Counter, std::int32_t) {}
    virtual void setFileProgress(std::int64_t /*done*/, std::int64_t /*total*/) {}
    virtual void setTotalProgress(std::int64_t /*done*/, std::int64_t /*total*/) {}
};

} // namespace brisko
