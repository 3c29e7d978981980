#pragma once

#include "ports/WindowView.h"

#include <string>

namespace brisko {

// The core's one way to a window: it keeps the window state, hands it over after each change,
// and passes the window's commands on. Without a window (the console runner) the state is kept
// all the same and the commands go nowhere.
class WindowFeed {
public:
    // Implicit, so that the services of a run may name the window as it is.
    WindowFeed(WindowView* view = nullptr) : view_(view) {}

    const WindowState& state() const { return state_; }

    // Applies a change to the state and hands the result to the window.
    template <typename Change> void update(Change&& change) {
        change(state_);
        if (view_ != nullptr)
            view_->show(state_);
    }

    void setCaption(const std::string& text) {
        if (view_ != nullptr)
            view_->setCaption(text);
    }
    void clearScript() {
        if (view_ != nullptr)
            view_->clearScript();
    }
    void addScriptRow(int row, const ScriptLine& line) {
        if (view_ != nullptr)
            view_->addScriptRow(row, line);
    }
    void showScriptPage() {
        if (view_ != nullptr)
            view_->showScriptPage();
    }
    void showExecutePage() {
        if (view_ != nullptr)
            view_->showExecutePage();
    }
    void selectHistoryRow(int row) {
        if (view_ != nullptr)
            view_->selectHistoryRow(row);
    }
    void setHistoryPainting(bool enabled) {
        if (view_ != nullptr)
            view_->setHistoryPainting(enabled);
    }
    void showFolder(Side side, const std::string& folder) {
        if (view_ != nullptr)
            view_->showFolder(side, folder);
    }

private:
    WindowView* view_;
    WindowState state_;
};

} // namespace brisko
