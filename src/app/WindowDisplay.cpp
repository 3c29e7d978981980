#include "app/WindowDisplay.h"

#include "app/ProgressScale.h"
#include "app/RunStateLayout.h"

#include <QCoreApplication>

namespace brisko::app {

namespace {

const QColor kRed(0xFF, 0x00, 0x00);
const QColor kBlue(0x00, 0x00, 0xFF);
const QColor kNavy(0x00, 0x00, 0x80);

QString qt(const std::string& text) {
    return QString::fromStdString(text);
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

void histGridBeforeDrawCell(const widgets::TEnhStringGrid& grid, int row,
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

WindowDisplay::WindowDisplay(QMainWindow& window, FormWidgets& widgets)
    : window_(window), w_(widgets) {}

void WindowDisplay::pump() {
    QCoreApplication::processEvents();
}

void WindowDisplay::waitForInput() {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void WindowDisplay::setRunning(bool running) {
    w_.BClose->setEnabled(!running);
    w_.BLoad->setEnabled(!running);
    w_.BCancExec->setEnabled(!running);
    w_.CurrFile->clear();
    w_.CurrFile->setVisible(running);
    if (running)
        return;
    setExecuteCaption(true);
    w_.bReload->setEnabled(true);
    w_.FileProgress->setPosition(0);
    w_.TotalProgress->setPosition(0);
    w_.ArrowAvi->hide();
}

void WindowDisplay::showExecutePage() {
    w_.PageControl->setCurrentWidget(w_.Execute);
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
    w_.UMessage->setText(qt(text));
}

void WindowDisplay::setCurrentFile(const std::string& text) {
    w_.CurrFile->setText(qt(text));
}

void WindowDisplay::clearScript() {
    w_.ScriptGrid->clearRows();
}

void WindowDisplay::addScriptRow(int row, const ScriptLine& line) {
    w_.ScriptGrid->setRowCells(row, {qt(line.key), qt(line.sign), qt(line.value)});
    w_.ScriptGrid->setRowTag(row, line.highlighted ? kHighlighted : 0);
}

void WindowDisplay::showScriptPage() {
    w_.PageControl->setCurrentWidget(w_.Script);
}

void WindowDisplay::setErrorReport(const std::string& text) {
    w_.ReportError->setText(qt(text));
    w_.ErrBox->show();
}

void WindowDisplay::setExecuteEnabled(bool enabled) {
    w_.BCancExec->setEnabled(enabled);
}

void WindowDisplay::setReloadEnabled(bool enabled) {
    w_.bReload->setEnabled(enabled);
}

void WindowDisplay::clearHistory() {
    w_.HistGrid->clearRows();
}

void WindowDisplay::setHistoryRow(int row, const HistoryRow& data) {
    w_.HistGrid->setRowCells(
        row, {qt(data.from), qt(data.to), qt(data.size), qt(data.delta), qt(data.status)});
    w_.HistGrid->setRowTag(row, static_cast<int>(data.colour));
}

void WindowDisplay::selectHistoryRow(int row) {
    if (row < 1 || row > w_.HistGrid->dataRowCount())
        return;
    w_.HistGrid->selectRow(row - 1);
    w_.HistGrid->scrollToItem(w_.HistGrid->item(row - 1, 0));
}

void WindowDisplay::setHistoryPainting(bool enabled) {
    w_.HistGrid->setPaintingLocked(!enabled);
}

void WindowDisplay::clearMessages() {
    w_.MessageGrid->clearRows();
}

void WindowDisplay::addMessage(const std::string& text) {
    const int row = w_.MessageGrid->dataRowCount() + 1;
    w_.MessageGrid->setRowCells(row, {qt(text)});
    w_.MessageGrid->scrollToBottom();
}

void WindowDisplay::showFolder(Side side, const std::string& folder) {
    const QString path = qt(folder);
    const bool left = side == Side::Left;
    QLabel* drive = left ? w_.LeftDrive : w_.RightDrive;
    drive->setText(path.section(QLatin1Char('\\'), 0, 0));
    (left ? w_.FolderLeft : w_.FolderRight)->showFolder(path);
}

void WindowDisplay::setRunState(RunState state) {
    const RunStateLayout layout = runStateLayout(state);
    // Hide before showing, so the buttons sharing a place never show together.
    QWidget* const idleButtons[] = {w_.BLoad, w_.BCancExec};
    QWidget* const waitingButtons[] = {w_.bContinue, w_.bAbortAll};
    for (QWidget* button : layout.loadAndExecuteShown ? waitingButtons : idleButtons)
        button->hide();
    for (QWidget* button : layout.loadAndExecuteShown ? idleButtons : waitingButtons)
        button->show();
    w_.bReload->setEnabled(layout.reloadEnabled);
    w_.ScanCopyBox->setEnabled(layout.scanCopyBoxEnabled);
    w_.BinaryCompareBox->setEnabled(layout.binaryCompareBoxEnabled);
    w_.LedLabel->setText(layout.ledText);
    if (layout.ledColour)
        w_.Led->setTrueColor(*layout.ledColour);
    w_.Led->setBlink(layout.ledBlinking);
}

void WindowDisplay::setStateText(const std::string& text) {
    w_.LedLabel->setText(qt(text));
}

void WindowDisplay::setExecuteCaption(bool offersExecute) {
    w_.BCancExec->setText(offersExecute ? QStringLiteral("&Execute") : QStringLiteral("&Stop"));
    // Offering Stop means it can be pressed.
    if (!offersExecute)
        w_.BCancExec->setEnabled(true);
}

void WindowDisplay::setCounter(Counter counter, std::int32_t value) {
    QLabel* label = w_.counters.at(static_cast<std::size_t>(counter));
    const QString text = QString::number(value);
    if (label->text() != text)
        label->setText(text);
}

void WindowDisplay::showCounters(bool shown) {
    for (QLabel* label : w_.counters)
        label->setVisible(shown);
}

void WindowDisplay::setDirection(bool leftToRight, bool visible) {
    w_.ArrowAvi->setText(leftToRight ? QStringLiteral("\u2192") : QStringLiteral("\u2190"));
    w_.ArrowAvi->setVisible(visible);
}

void WindowDisplay::setFileProgress(std::int64_t done, std::int64_t total) {
    w_.FileProgress->setPosition(progressPosition(done, total));
}

void WindowDisplay::setTotalProgress(std::int64_t done, std::int64_t total) {
    w_.TotalProgress->setPosition(progressPosition(done, total));
}

void WindowDisplay::setScanCopyBox(bool checked) {
    w_.ScanCopyBox->setChecked(checked);
}

void WindowDisplay::setBinaryCompareBox(bool checked) {
    w_.BinaryCompareBox->setChecked(checked);
}

} // namespace brisko::app
