#pragma once

#include <string>

namespace brisko {

// What only a window does besides reporting: turning pages, the selection and painting of the
// history list, the copy arrow and the state text beside the LED. The core runs without one
// (the console runner has none) and tells a window these things only when it was handed one.
class WindowView {
public:
    virtual ~WindowView() = default;

    // Brings the Execute page to the front.
    virtual void showExecutePage() = 0;
    // Selects a history row (numbered from 1), keeping it in view.
    virtual void selectHistoryRow(int row) = 0;
    // Bulk changes to the history list come between setHistoryPainting(false) and (true).
    virtual void setHistoryPainting(bool enabled) = 0;
    // The arrow between the folder panes: the copy direction, or hidden.
    virtual void setDirection(bool leftToRight, bool visible) = 0;
    // The run-state text beside the LED ("Scanning", "Copying", "Binary compare", ...).
    virtual void setStateText(const std::string& text) = 0;
};

} // namespace brisko
