#pragma once

#include "engine/Plan.h"
#include "ports/Display.h"

#include <vector>

namespace brisko::run {

// The history list: one row per planned action with its outcome, at most 2000 rows; beyond
// that one red row says that reporting stopped.
class History {
public:
    static constexpr int kRowLimit = 2000;

    explicit History(Display& display) : display_(display) {}

    // Adds a row and returns its number (from 1), or 0 when the limit was reached.
    int addRow(const HistoryRow& row);
    // Rows reported afterwards start again at row 1 and the list is cut back to them.
    void restart();
    void setStopped(bool stopped);
    bool stopped() const { return stopped_; }

    // Lists the whole plan again in the order it is carried out (files to delete, folders to
    // create, folders to delete, files to copy), giving every action its row, then the problems
    // the scan reported.
    void rebuild(engine::Plan& plan, const std::vector<HistoryRow>& problems,
                 char thousandsSeparator);

    // The outcome of an action carried out: its status and colour, then the row after it is
    // selected. Nothing happens for skip or an action without a row.
    void writeOutcome(int row, const std::string& status, RowColour colour, bool skip);
    // Changes an action's status without moving the selection (while reporting runs).
    void setStatus(int row, const std::string& status, RowColour colour);

    // The rows now in the list, row 1 first.
    const std::vector<HistoryRow>& rows() const { return rows_; }

private:
    void append(const HistoryRow& row);

    Display& display_;
    std::vector<HistoryRow> rows_;
    bool stopped_ = false;
};

} // namespace brisko::run
