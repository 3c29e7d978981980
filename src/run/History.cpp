#include "run/History.h"

#include "engine/SizeText.h"

#include <string>

namespace brisko::run {

int History::addRow(const HistoryRow& row) {
    return add(row, KeptRow{});
}

int History::addCopyRow(std::size_t copyIndex, const HistoryRow& row) {
    KeptRow kept;
    kept.place = static_cast<std::uint32_t>(copyIndex);
    kept.planned = true;
    return add(row, std::move(kept));
}

int History::add(const HistoryRow& row, KeptRow kept) {
    if (limited_ && rowCount() >= kRowLimit) {
        setStopped(true);
        return 0;
    }
    append(row, std::move(kept));
    return rowCount();
}

void History::restart() {
    rows_.clear();
    texts_.clear();
    statuses_.clear();
    statusNumbers_.clear();
    listRows_.fill({});
    display_.clearHistory();
}

void History::setStopped(bool stopped) {
    if (stopped_ == stopped)
        return;
    stopped_ = stopped;
    if (stopped) {
        append({"files reporting stopped, lines exceeded " + std::to_string(kRowLimit), "", "", "",
                "", RowColour::Red},
               KeptRow{});
    }
}

void History::append(const HistoryRow& row, KeptRow kept) {
    kept.status = statusNumber(row.status);
    kept.colour = row.colour;
    if (!kept.planned) {
        kept.place = static_cast<std::uint32_t>(texts_.size());
        texts_.push_back({row.from, row.to, row.size, row.delta, "", row.colour});
    }
    rows_.push_back(std::move(kept));
    const int number = rowCount();
    display_.setHistoryRow(number, row);
    selectRow(number);
}

void History::rebuild(const std::vector<HistoryRow>& problems, char thousandsSeparator) {
    window_.setHistoryPainting(false);
    restart();
    thousandsSeparator_ = thousandsSeparator;
    auto listPaths = [&](const std::vector<engine::PathAction>& actions, PlanList list,
                         const char* status) {
        for (const engine::PathAction& action : actions)
            giveRow(list, addRow({action.path, "", "", "", status, RowColour::Blue}));
    };
    if (!stopped_) {
        for (const engine::PathAction& file : plan_.filesToDelete())
            giveRow(PlanList::FilesToDelete,
                    addRow({file.path, "", "", "", engine::plannedDeletionStatus(file.link),
                            RowColour::Blue}));
    }
    listPaths(plan_.foldersToCreate(), PlanList::FoldersToCreate, "Folder to be created");
    listPaths(plan_.foldersToDelete(), PlanList::FoldersToDelete, "Folder to be deleted");
    if (stopped_) {
        append({"no files reporting, lines will exceed " + std::to_string(kRowLimit), "", "", "",
                "", RowColour::Red},
               KeptRow{});
    } else {
        const auto& copies = plan_.filesToCopy();
        for (std::size_t index = 0; index < copies.size(); ++index) {
            const engine::CopyAction& copy = copies[index];
            engine::SizeTexts sizes =
                engine::formatSizes(copy.sourceSize, copy.targetSize, thousandsSeparator);
            giveRow(PlanList::FilesToCopy,
                    addCopyRow(index, {copy.sourcePath(), copy.targetPath(), sizes.size,
                                       sizes.delta, engine::plannedStatus(copy), RowColour::Blue}));
        }
    }
    for (const HistoryRow& problem : problems)
        addRow(problem);
    window_.setHistoryPainting(true);
}

int History::rowOf(PlanList list, std::size_t index) const {
    const ListRows& rows = listRows_[static_cast<std::size_t>(list)];
    return index < rows.count ? rows.first + static_cast<int>(index) : 0;
}

void History::giveRow(PlanList list, int number) {
    ListRows& rows = listRows_[static_cast<std::size_t>(list)];
    if (number == 0)
        return; // the limit was reached: no later entry has a row either
    if (rows.count == 0)
        rows.first = number;
    ++rows.count;
}

std::uint32_t History::statusNumber(const std::string& status) {
    const auto [found, added] =
        statusNumbers_.try_emplace(status, static_cast<std::uint32_t>(statuses_.size()));
    if (added)
        statuses_.push_back(status);
    return found->second;
}

void History::writeOutcome(int row, const std::string& status, RowColour colour, bool skip) {
    if (skip || row < 1 || row > rowCount())
        return;
    setStatus(row, status, colour);
    if (row < rowCount())
        selectRow(row + 1);
}

void History::selectRow(int row) {
    window_.selectHistoryRow(row);
}

void History::setStatus(int row, const std::string& status, RowColour colour) {
    if (row < 1 || row > rowCount())
        return;
    KeptRow& kept = rows_[static_cast<std::size_t>(row) - 1];
    kept.status = statusNumber(status);
    kept.colour = colour;
    display_.setHistoryRow(row, this->row(row));
}

HistoryRow History::row(int number) const {
    const KeptRow& kept = rows_[static_cast<std::size_t>(number) - 1];
    HistoryRow row;
    if (!kept.planned) {
        row = texts_[kept.place];
    } else if (kept.place < plan_.filesToCopy().size()) {
        const engine::CopyAction& copy = plan_.filesToCopy()[kept.place];
        const engine::SizeTexts sizes =
            engine::formatSizes(copy.sourceSize, copy.targetSize, thousandsSeparator_);
        row = {copy.sourcePath(), copy.targetPath(), sizes.size, sizes.delta, "", kept.colour};
    }
    row.status = statuses_[kept.status];
    row.colour = kept.colour;
    return row;
}

std::vector<HistoryRow> History::rows() const {
    std::vector<HistoryRow> all;
    all.reserve(rows_.size());
    for (int number = 1; number <= rowCount(); ++number)
        all.push_back(row(number));
    return all;
}

} // namespace brisko::run
