#include "run/History.h"

#include "engine/SizeText.h"

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

void History::rebuild(engine::Plan& plan, const std::vector<HistoryRow>& problems,
                      char thousandsSeparator) {
    display_.setHistoryPainting(false);
    restart();
    auto listPaths = [this](std::vector<engine::PathAction>& actions, const char* status) {
        for (engine::PathAction& action : actions)
            action.historyRow = addRow({action.path, "", "", "", status, RowColour::Blue});
    };
    if (!stopped_) {
        for (engine::PathAction& file : plan.filesToDelete())
            file.historyRow = addRow(
                {file.path, "", "", "", engine::plannedDeletionStatus(file.link), RowColour::Blue});
    }
    listPaths(plan.foldersToCreate(), "Folder to be created");
    listPaths(plan.foldersToDelete(), "Folder to be deleted");
    if (stopped_) {
        append({"no files reporting, lines will exceed " + std::to_string(kRowLimit), "", "", "",
                "", RowColour::Red});
    } else {
        for (engine::CopyAction& copy : plan.filesToCopy()) {
            engine::SizeTexts sizes =
                engine::formatSizes(copy.sourceSize, copy.targetSize, thousandsSeparator);
            copy.historyRow = addRow({copy.sourcePath(), copy.targetPath(), sizes.size, sizes.delta,
                                      engine::plannedStatus(copy), RowColour::Blue});
        }
    }
    for (const HistoryRow& problem : problems)
        addRow(problem);
    display_.setHistoryPainting(true);
}

void History::writeOutcome(int row, const std::string& status, RowColour colour, bool skip) {
    if (skip || row < 1 || row > static_cast<int>(rows_.size()))
        return;
    setStatus(row, status, colour);
    if (row < static_cast<int>(rows_.size()))
        display_.selectHistoryRow(row + 1);
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
