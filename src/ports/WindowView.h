#pragma once

#include <string>

namespace brisko {

enum class Side { Left, Right };

// One row of the script grid: key, sign, value and the error highlight; for a row in error,
// why, and where the line stands (the file as named and its line number from 1).
struct ScriptLine {
    std::string key;
    std::string sign;
    std::string value;
    bool highlighted = false;
    std::string reason{}; // empty unless the row is an error (or a warning) with a known cause
    std::string file{};
    int lineNumber = 0; // 0: the row comes from no file (a command-line root)

    bool operator==(const ScriptLine&) const = default;
};

// What only a window does besides reporting: its caption, the Script File page, turning pages,
// the buttons and tick boxes, the selection and painting of the history list, the folder panes,
// the copy arrow and the state text beside the LED. The core runs without one (the console
// runner has none) and tells a window these things only when it was handed one.
class WindowView {
public:
    virtual ~WindowView() = default;

    // The window caption.
    virtual void setCaption(const std::string& text) = 0;

    // The Script File page: the grid of script rows (numbered from 1) and the error report.
    virtual void clearScript() = 0;
    virtual void addScriptRow(int row, const ScriptLine& line) = 0;
    virtual void showScriptPage() = 0;
    virtual void setErrorReport(const std::string& text) = 0;
    // Brings the Execute page to the front.
    virtual void showExecutePage() = 0;

    // The Execute and Reload buttons; the Execute button offers Execute or Continue.
    virtual void setExecuteEnabled(bool enabled) = 0;
    virtual void setReloadEnabled(bool enabled) = 0;
    virtual void setExecuteCaption(bool offersExecute) = 0;
    // The tick boxes of the pause between scan and copy and of the compare after copy.
    virtual void setScanCopyBox(bool checked) = 0;
    virtual void setBinaryCompareBox(bool checked) = 0;
    // Whether the counters are shown at all.
    virtual void showCounters(bool shown) = 0;

    // Selects a history row (numbered from 1), keeping it in view.
    virtual void selectHistoryRow(int row) = 0;
    // Bulk changes to the history list come between setHistoryPainting(false) and (true).
    virtual void setHistoryPainting(bool enabled) = 0;

    // The folder a pane is to show (drive form), for preview and scans.
    virtual void showFolder(Side side, const std::string& folder) = 0;
    // The arrow between the folder panes: the copy direction, or hidden.
    virtual void setDirection(bool leftToRight, bool visible) = 0;
    // The run-state text beside the LED ("Scanning", "Copying", "Binary compare", ...).
    virtual void setStateText(const std::string& text) = 0;
};

} // namespace brisko
