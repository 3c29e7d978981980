#include "run/History.h"

#include "engine/SizeText.h"

#include <string>

namespace brisko::run {

int History::addRow(const HistoryRow& row) {
    if (limited_ && static_cast<int>(rows_.size()) >= kRowLimit) {
        setStopped(true);
        return 0;
    }
    append(row);
    return static_cast<int>(rows_.size());
}

void History::restart() {
    rows_.clear();
    for (std::vector<int>& rows : planRows_)
        rows.clear();
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
    selectRow(number);
}

void History::rebuild(const engine::Plan& plan, const std::vector<HistoryRow>& problems,
                      char thousandsSeparator) {
    window_.setHistoryPainting(false);
    restart();
    auto rowsOf = [this](PlanList list) -> std::vector<int>& {
        return planRows_[static_cast<std::size_t>(list)];
    };
    auto listPaths = [&](const std::vector<engine::PathAction>& actions, PlanList list,
                         const char* status) {
        for (const engine::PathAction& action : actions)
            rowsOf(list).push_back(addRow({action.path, "", "", "", status, RowColour::Blue}));
    };
    if (!stopped_) {
        for (const engine::PathAction& file : plan.filesToDelete())
            rowsOf(PlanList::FilesToDelete)
                .push_back(addRow({file.path, "", "", "", engine::plannedDeletionStatus(file.link),
                                   RowColour::Blue}));
    }
    listPaths(plan.foldersToCreate(), PlanList::FoldersToCreate, "Folder to be created");
    listPaths(plan.foldersToDelete(), PlanList::FoldersToDelete, "Folder to be deleted");
    if (stopped_) {
        append({"no files reporting, lines will exceed " + std::to_string(kRowLimit), "", "", "",
                "", RowColour::Red});
    } else {
        for (const engine::CopyAction& copy : plan.filesToCopy()) {
            engine::SizeTexts sizes =
                engine::formatSizes(copy.sourceSize, copy.targetSize, thousandsSeparator);
            rowsOf(PlanList::FilesToCopy)
                .push_back(addRow({copy.sourcePath(), copy.targetPath(), sizes.size, sizes.delta,
                                   engine::plannedStatus(copy), RowColour::Blue}));
        }
    }
    for (const HistoryRow& problem : problems)
        addRow(problem);
    window_.setHistoryPainting(true);
}

int History::rowOf(PlanList list, std::size_t index) const {
    const std::vector<int>& rows = planRows_[static_cast<std::size_t>(list)];
    return index < rows.size() ? rows[index] : 0;
}

void History::writeOutcome(int row, const std::string& status, RowColour colour, bool skip) {
    if (skip || row < 1 || row > static_cast<int>(rows_.size()))
        return;
    setStatus(row, status, colour);
    if (row < static_cast<int>(rows_.size()))
        selectRow(row + 1);
}

void History::selectRow(int row) {
    window_.selectHistoryRow(row);
}

void History::setStatus(int row, const std::string& status, RowColour colour) {
    if (row < 1 || row > static_cast<int>(rows_.size()))
        return;
    HistoryRow& target = rows_[static_cast<std::size_t>(row) - 1];
    target.status = status;
    target.colour = colour;
    display_.setHistoryRow(row, target);
}

} // namespace brisko::run
