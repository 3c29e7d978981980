#pragma once

#include "ports/ScriptLine.h"
#include "ports/Side.h"
#include "ports/WindowState.h"

#include <string>

namespace brisko {

// What only a window does besides reporting: it shows the state the core hands it, and carries
// out a few commands (its caption, the Script File page, turning pages, the selection and
// painting of the history list, the folder panes). The core runs without one (the console
// runner has none); the core reaches it through WindowFeed alone.
class WindowView {
public:
    virtual ~WindowView() = default;

    // The whole state, after every change of it.
    virtual void show(const WindowState& state) = 0;

    // The window caption.
    virtual void setCaption(const std::string& text) = 0;

    // The grid of the Script File page: cleared, then filled row by row (numbered from 1).
    virtual void clearScript() = 0;
    virtual void addScriptRow(int row, const ScriptLine& line) = 0;
    // Brings the Script File page, or the Execute page, to the front.
    virtual void showScriptPage() = 0;
    virtual void showExecutePage() = 0;

    // Selects a history row (numbered from 1), keeping it in view.
    virtual void selectHistoryRow(int row) = 0;
    // Bulk changes to the history list come between setHistoryPainting(false) and (true).
    virtual void setHistoryPainting(bool enabled) = 0;

    // The folder a pane is to show (drive form), for preview and scans.
    virtual void showFolder(Side side, const std::string& folder) = 0;
};

} // namespace brisko
