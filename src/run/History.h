#pragma once

#include "engine/BlockList.h"
#include "engine/Plan.h"
#include "ports/Display.h"
#include "ports/WindowFeed.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace brisko::run {

// The lists of a plan, in the order they are carried out.
enum class PlanList { FilesToDelete, FoldersToCreate, FoldersToDelete, FilesToCopy };

// The history list: one row per planned action with its outcome, at most 2000 rows in the
// window's grid; beyond that one red row says that reporting stopped. A list that nobody
// scrolls (the console runner's records) may hold every row: a planned copy's row then keeps
// only its status and draws its paths and sizes from the plan, so that a million rows stay
// small.
class History {
public:
    static constexpr int kRowLimit = 2000;

    // The rows of planned copies are drawn from plan, which must outlive the list.
    History(Display& display, WindowFeed& window, const engine::Plan& plan)
        : display_(display), window_(window), plan_(plan) {}

    // Adds a row and returns its number (from 1), or 0 when the limit was reached.
    int addRow(const HistoryRow& row);
    // Adds row, the row of the copy at copyIndex of the plan's copies, in the same way.
    int addCopyRow(std::size_t copyIndex, const HistoryRow& row);
    // Every row is kept from now on, however many there are.
    void removeRowLimit() { limited_ = false; }
    // Rows reported afterwards start again at row 1 and the list is cut back to them.
    void restart();
    void setStopped(bool stopped);
    bool stopped() const { return stopped_; }
    // How the sizes of planned copies are written (0 for none).
    void setThousandsSeparator(char separator) { thousandsSeparator_ = separator; }

    // Lists the whole plan again in the order it is carried out (files to delete, folders to
    // create, folders to delete, files to copy), giving every action its row, then the problems
    // the scan reported.
    void rebuild(const std::vector<HistoryRow>& problems, char thousandsSeparator);
    // The row the last rebuild gave the action at index of a plan list; 0 for none.
    int rowOf(PlanList list, std::size_t index) const;

    // The outcome of an action carried out: its status and colour, then the row after it is
    // selected. Nothing happens for skip or an action without a row.
    void writeOutcome(int row, const std::string& status, RowColour colour, bool skip);
    // Changes an action's status without moving the selection (while reporting runs).
    void setStatus(int row, const std::string& status, RowColour colour);

    int rowCount() const { return static_cast<int>(rows_.size()); }
    // Row number (from 1 to rowCount()).
    HistoryRow row(int number) const;
    // Every row now in the list, row 1 first.
    std::vector<HistoryRow> rows() const;

private:
    // A row as kept: its status (a place in statuses_) and colour, and either the place of a
    // planned copy in the plan or the place of the row's other texts in texts_.
    struct KeptRow {
        std::uint32_t place = 0;
        std::uint32_t status = 0;
        RowColour colour = RowColour::Plain;
        bool planned = false;
    };
    // The rows the last rebuild gave a plan list: its first entries, count of them, have the
    // rows from first on (the rows of one list follow each other).
    struct ListRows {
        int first = 0;
        std::size_t count = 0;
    };

    int add(const HistoryRow& row, KeptRow kept);
    void append(const HistoryRow& row, KeptRow kept);
    std::uint32_t statusNumber(const std::string& status);
    // Gives the next entry of list the row number (0 for none).
    void giveRow(PlanList list, int number);
    void selectRow(int row);

    Display& display_;
    WindowFeed& window_;
    const engine::Plan& plan_;
    engine::BlockList<KeptRow> rows_;
    std::vector<HistoryRow> texts_; // rows not of planned copies, without their status
    // Every status text met, once: a list holds few different ones.
    std::vector<std::string> statuses_;
    std::unordered_map<std::string, std::uint32_t> statusNumbers_;
    std::array<ListRows, 4> listRows_;
    char thousandsSeparator_ = ',';
    bool stopped_ = false;
    bool limited_ = true;
};

} // namespace brisko::run
