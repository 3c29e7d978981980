#include "app/WindowDisplay.h"

#include "app/DriveBox.h"
#include "app/NumberText.h"
#include "app/ProgressScale.h"
#include "app/StateControls.h"
#include "platform/DrivePath.h"

#include <QCoreApplication>
#include <algorithm>
#include <optional>

namespace brisko::app {

namespace {

const QColor kRed(0xFF, 0x00, 0x00);
const QColor kBlue(0x00, 0x00, 0xFF);
const QColor kNavy(0x00, 0x00, 0x80);

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

// A highlighted row is an error, except a root given on the command line, which is highlighted
// to show that it overrides the script.
bool isErrorRow(const ScriptLine& line) {
    return line.highlighted &&
           (line.lineNumber != 0 || !line.reason.empty() || (line.key != "L=" && line.key != "R="));
}

void setTextColour(QWidget& widget, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, colour);
    widget.setPalette(palette);
}

} // namespace

void scriptGridBeforeDrawCell(const widgets::TEnhStringGrid& grid, int row,
                              widgets::CellStyle& style) {
    if (grid.rowTag(row) == WindowDisplay::kHighlighted) {
        style.text = kRed;
        style.bold = true;
    } else {
        style.text = kNavy;
    }
}

void historyGridBeforeDrawCell(const widgets::TEnhStringGrid& grid, int row,
                               widgets::CellStyle& style) {
    switch (static_cast<RowColour>(grid.rowTag(row))) {
    case RowColour::Blue:
        style.text = kBlue;
        break;
    case RowColour::Red:
        style.text = kRed;
        break;
    case RowColour::Plain:
        break;
    }
}

WindowDisplay::WindowDisplay(QMainWindow& window, FormWidgets& widgets,
                             platform::FileSystem& fileSystem)
    : window_(window), w_(widgets), fileSystem_(fileSystem) {}

void WindowDisplay::pump() {
    QCoreApplication::processEvents();
}

void WindowDisplay::waitForInput() {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void WindowDisplay::show(const WindowState& state) {
    showStateOnControls(w_, state, shown_);
    const bool copyingBegins =
        state.runState == RunState::Copying && shown_.runState != RunState::Copying;
    shown_ = state;
    // Copying starts at the top of the list, where the first outcome will be written.
    if (copyingBegins)
        selectHistoryRow(1);
}

void WindowDisplay::showExecutePage() {
    w_.pages->setCurrentWidget(w_.executePage);
}

// One title bar serves as caption and task-bar title alike: it shows whichever was set last.
// Every task-bar title the core sets ("Scanning - ...", "3/10 Copied - ...") ends with the
// caption, so nothing is lost.
void WindowDisplay::setCaption(const std::string& text) {
    window_.setWindowTitle(qt(text));
}

void WindowDisplay::setTaskbarTitle(const std::string& text) {
    window_.setWindowTitle(qt(text));
}

void WindowDisplay::setMessageLine(const std::string& text) {
    w_.messageLine->setText(qt(text));
}

void WindowDisplay::setCurrentFile(const std::string& text) {
    w_.currentFile->setText(qt(text));
}

void WindowDisplay::clearScript() {
    w_.scriptGrid->clearRows();
    firstErrorRow_ = 0;
}

void WindowDisplay::addScriptRow(int row, const ScriptLine& line) {
    widgets::TEnhStringGrid& grid = *w_.scriptGrid;
    grid.setRowCells(row, {qt(line.key), qt(line.sign), qt(line.value)});
    grid.setRowTag(row, line.highlighted ? kHighlighted : 0);
    // Why the row is in error: its tool tip, and the hint line while it is selected.
    for (int col = 0; col < grid.columnCount(); ++col)
        if (QTableWidgetItem* cell = grid.item(row - 1, col))
            cell->setToolTip(qt(line.reason));
    if (firstErrorRow_ == 0 && isErrorRow(line))
        firstErrorRow_ = row;
}

void WindowDisplay::showScriptPage() {
    w_.pages->setCurrentWidget(w_.scriptPage);
}

void WindowDisplay::showErrorCount(int errors) {
    setTextColour(*w_.errorReport,
                  errors > 0 ? kRed : w_.errorBox->palette().color(QPalette::WindowText));
    // A script without an Execute line loads cleanly and runs nothing: the hint line says so.
    const widgets::TEnhStringGrid& grid = *w_.scriptGrid;
    bool executes = false;
    for (int row = 0; row < grid.dataRowCount() && !executes; ++row)
        executes = grid.item(row, 0) != nullptr && grid.item(row, 0)->text() == "Execute";
    if (!executes && grid.dataRowCount() > 0 && grid.item(0, 0) != nullptr)
        w_.hintLine->setText(QStringLiteral("No Execute line: the script runs no session"));
    if (errors == 0 || firstErrorRow_ == 0 || firstErrorRow_ > w_.scriptGrid->dataRowCount())
        return;
    QTableWidgetItem* first = w_.scriptGrid->item(firstErrorRow_ - 1, 0);
    w_.scriptGrid->setCurrentCell(firstErrorRow_ - 1, 0);
    w_.scriptGrid->scrollToItem(first, QAbstractItemView::PositionAtCenter);
    // The row may have been current already, so the hint is set here as well as on a change.
    if (first != nullptr)
        w_.hintLine->setText(first->toolTip());
}

void WindowDisplay::clearHistory() {
    w_.historyGrid->clearRows();
}

void WindowDisplay::setHistoryRow(int row, const HistoryRow& data) {
    widgets::TEnhStringGrid& grid = *w_.historyGrid;
    const QString size = groupedDigits(qt(data.size));
    const QString delta = groupedDigits(qt(data.delta));
    grid.setRowCells(row, {qt(data.from), qt(data.to), size, delta, qt(data.status)});
    grid.setRowTag(row, static_cast<int>(data.colour));
    grid.fitColumnTo(2, size);
    grid.fitColumnTo(3, delta);
    // An outcome may be longer than its column ("Target changed since the scan - skipped").
    if (QTableWidgetItem* status = grid.item(row - 1, 4))
        status->setToolTip(status->text());
}

void WindowDisplay::selectHistoryRow(int row) {
    if (row < 1 || row > w_.historyGrid->dataRowCount())
        return;
    w_.historyGrid->selectRow(row - 1);
    w_.historyGrid->scrollToItem(w_.historyGrid->item(row - 1, 0));
}

void WindowDisplay::setHistoryPainting(bool enabled) {
    w_.historyGrid->setPaintingLocked(!enabled);
}

void WindowDisplay::clearMessages() {
    w_.messageGrid->clearRows();
    w_.messageGrid->setRowCount(1);
}

// The message goes into the empty last row, which becomes the current one; a new empty row
// follows it.
void WindowDisplay::addMessage(const std::string& text) {
    widgets::TEnhStringGrid& grid = *w_.messageGrid;
    const int row = std::max(grid.dataRowCount(), 1);
    grid.setRowCells(row, {qt(text)});
    grid.setRowCount(row + 1);
    grid.setCurrentCell(row - 1, 0);
    grid.scrollToBottom();
}

void WindowDisplay::showFolder(Side side, const std::string& folder) {
    const bool left = side == Side::Left;
    const QString drive =
        pointDriveBox(*(left ? w_.leftDrive : w_.rightDrive), fileSystem_, folder);
    widgets::TFolderPane& pane = *(left ? w_.leftPane : w_.rightPane);
    if (pane.folder().compare(qt(folder), Qt::CaseInsensitive) == 0)
        return;
    const std::optional<std::string> root =
        fileSystem_.hostPath(drive.toStdString() + platform::drive_path::kSeparator);
    const std::optional<std::string> host = fileSystem_.hostPath(folder);
    if (root && host)
        pane.showFolder(qt(folder), qt(*root), qt(*host));
}

void WindowDisplay::setCounter(Counter counter, std::int32_t value) {
    QLabel* label = w_.counters.at(static_cast<std::size_t>(counter));
    const QString text = QString::number(value);
    if (label->text() != text)
        label->setText(text);
}

void WindowDisplay::setFileProgress(std::int64_t done, std::int64_t total) {
    w_.fileProgress->setPosition(progressPosition(done, total));
}

void WindowDisplay::setTotalProgress(std::int64_t done, std::int64_t total) {
    w_.totalProgress->setPosition(progressPosition(done, total));
}

} // namespace brisko::app
