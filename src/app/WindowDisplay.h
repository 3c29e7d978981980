#pragma once

#include "app/FormWidgets.h"
#include "platform/FileSystem.h"
#include "ports/Display.h"
#include "ports/WindowView.h"

namespace brisko::app {

// Puts what the core shows onto the main window's controls, and carries out what only the
// window does.
class WindowDisplay final : public Display, public WindowView {
public:
    // Row tags of the script grid.
    static constexpr int kHighlighted = 1;

    WindowDisplay(QMainWindow& window, FormWidgets& widgets, platform::FileSystem& fileSystem);

    void pump() override;
    void waitForInput() override;
    void show(const WindowState& state) override;
    void showExecutePage() override;
    void setCaption(const std::string& text) override;
    void setTaskbarTitle(const std::string& text) override;
    void setMessageLine(const std::string& text) override;
    void setCurrentFile(const std::string& text) override;

    void clearScript() override;
    void addScriptRow(int row, const ScriptLine& line) override;
    void showScriptPage() override;
    // After a load: the error report is red only when there are errors, and the first error
    // row is selected and brought into view.
    void showErrorCount(int errors);

    void clearHistory() override;
    void setHistoryRow(int row, const HistoryRow& data) override;
    void selectHistoryRow(int row) override;
    void setHistoryPainting(bool enabled) override;

    void clearMessages() override;
    void addMessage(const std::string& text) override;

    void showFolder(Side side, const std::string& folder) override;

    void setCounter(Counter counter, std::int32_t value) override;
    void setFileProgress(std::int64_t done, std::int64_t total) override;
    void setTotalProgress(std::int64_t done, std::int64_t total) override;

private:
    QMainWindow& window_;
    FormWidgets& w_;
    platform::FileSystem& fileSystem_;
    int firstErrorRow_ = 0; // of the script grid; 0: none
    WindowState shown_;     // the state on the controls now
};

// The drawing hooks of the window's grids.
void scriptGridBeforeDrawCell(const widgets::TEnhStringGrid& grid, int row,
                              widgets::CellStyle& style);
void historyGridBeforeDrawCell(const widgets::TEnhStringGrid& grid, int row,
                               widgets::CellStyle& style);

} // namespace brisko::app
