#pragma once

#include "engine/Plan.h"
#include "ports/Display.h"
#include "ports/WindowFeed.h"

#include <array>
#include <cstddef>
#include <vector>

namespace brisko::run {

// The lists of a plan, in the order they are carried out.
enum class PlanList { FilesToDelete, FoldersToCreate, FoldersToDelete, FilesToCopy };

// The history list: one row per planned action with its outcome, at most 2000 rows in the
// window's grid; beyond that one red row says that reporting stopped. A list that nobody
// scrolls (the console runner's records) may hold every row.
class History {
public:
    static constexpr int kRowLimit = 2000;

    History(Display& display, WindowFeed& window) : display_(display), window_(window) {}

    // Adds a row and returns its number (from 1), or 0 when the limit was reached.
    int addRow(const HistoryRow& row);
    // Every row is kept from now on, however many there are.
    void removeRowLimit() { limited_ = false; }
    // Rows reported afterwards start again at row 1 and the list is cut back to them.
    void restart();
    void setStopped(bool stopped);
    bool stopped() const { return stopped_; }

    // Lists the whole plan again in the order it is carried out (files to delete, folders to
    // create, folders to delete, files to copy), giving every action its row, then the problems
    // the scan reported.
    void rebuild(const engine::Plan& plan, const std::vector<HistoryRow>& problems,
                 char thousandsSeparator);
    // The row the last rebuild gave the action at index of a plan list; 0 for none.
    int rowOf(PlanList list, std::size_t index) const;

    // The outcome of an action carried out: its status and colour, then the row after it is
    // selected. Nothing happens for skip or an action without a row.
    void writeOutcome(int row, const std::string& status, RowColour colour, bool skip);
    // Changes an action's status without moving the selection (while reporting runs).
    void setStatus(int row, const std::string& status, RowColour colour);

    // The rows now in the list, row 1 first.
    const std::vector<HistoryRow>& rows() const { return rows_; }

private:
    void append(const HistoryRow& row);
    void selectRow(int row);

    Display& display_;
    WindowFeed& window_;
    std::vector<HistoryRow> rows_;
    // By plan list, the row of each action, in the list's order.
    std::array<std::vector<int>, 4> planRows_;
    bool stopped_ = false;
    bool limited_ = true;
};

} // namespace brisko::run
