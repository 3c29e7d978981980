#include "run/History.h"

#include <string>

namespace brisko::run {

int History::addRow(const HistoryRow& row) {
    if (static_cast<int>(rows_.size()) >= kRowLimit) {
        setStopped(true);
        return 0;
    }
    append(row);
    return static_cast<int>(rows_.size());
}

void History::restart() {
    rows_.clear();
    display_.clearHistory();
}

void History::setStopped(bool stopped) {
    if (stopped_ == stopped)
        return;
    stopped_ = stopped;
    if (stopped) {
        append({"files reporting stopped, lines exceeded " + std::to_string(kRowLimit), "", "", "",
                "", RowColour::Red});
    }
}

void History::append(const HistoryRow& row) {
    rows_.push_back(row);
    int number = static_cast<int>(rows_.size());
    display_.setHistoryRow(number, row);
    display_.selectHistoryRow(number);
}

} // namespace brisko::run
