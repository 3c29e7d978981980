#include "app/StateControls.h"

#include "app/RunStateLayout.h"

namespace brisko::app {

namespace {

void showRunButtons(FormWidgets& w, const WindowState& state, const RunStateLayout& layout) {
    // Hide before showing, so the buttons sharing a place never show together.
    QWidget* const idleButtons[] = {w.BLoad, w.BCancExec};
    QWidget* const waitingButtons[] = {w.bContinue, w.bAbortAll};
    for (QWidget* button : layout.loadAndExecuteShown ? waitingButtons : idleButtons)
        button->hide();
    for (QWidget* button : layout.loadAndExecuteShown ? idleButtons : waitingButtons)
        button->show();
    w.BClose->setEnabled(state.loadEnabled());
    w.BLoad->setEnabled(state.loadEnabled());
    w.bReload->setEnabled(state.reloadEnabled());
    w.BCancExec->setEnabled(state.executeEnabled());
    w.BCancExec->setText(state.offersStop ? QStringLiteral("&Stop") : QStringLiteral("&Execute"));
}

void showRunStart(FormWidgets& w, bool running) {
    w.CurrFile->clear();
    w.CurrFile->setVisible(running);
    if (running)
        return;
    w.FileProgress->setPosition(0);
    w.TotalProgress->setPosition(0);
}

} // namespace

void showStateOnControls(FormWidgets& w, const WindowState& state, const WindowState& before) {
    const RunStateLayout layout = runStateLayout(state.runState);
    showRunButtons(w, state, layout);
    w.ScanCopyBox->setEnabled(layout.scanCopyBoxEnabled);
    w.ScanCopyBox->setChecked(state.stopBetweenScanAndCopy);
    w.BinaryCompareBox->setEnabled(layout.binaryCompareBoxEnabled);
    w.BinaryCompareBox->setChecked(state.binaryCompareAfterCopy);
    w.LedLabel->setText(state.verifying ? QStringLiteral("Binary compare") : layout.ledText);
    if (layout.ledColour)
        w.Led->setTrueColor(*layout.ledColour);
    w.Led->setBlink(layout.ledBlinking);
    for (QLabel* label : w.counters)
        label->setVisible(state.countersShown);
    w.ArrowAvi->setText(state.leftToRight ? QStringLiteral("\u2192") : QStringLiteral("\u2190"));
    w.ArrowAvi->setVisible(state.directionShown);
    if (!state.errorReport.empty()) {
        w.ReportError->setText(QString::fromStdString(state.errorReport));
        w.ErrBox->show();
    }
    if (state.running != before.running)
        showRunStart(w, state.running);
}

} // namespace brisko::app
