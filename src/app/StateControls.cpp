#include "app/StateControls.h"

#include "app/RunStateLayout.h"

namespace brisko::app {

namespace {

void showRunButtons(FormWidgets& w, const WindowState& state, const RunStateLayout& layout) {
    // Hide before showing, so the buttons sharing a place never show together.
    QWidget* const idleButtons[] = {w.loadButton, w.executeButton};
    QWidget* const waitingButtons[] = {w.continueButton, w.abortAllButton};
    for (QWidget* button : layout.loadAndExecuteShown ? waitingButtons : idleButtons)
        button->hide();
    for (QWidget* button : layout.loadAndExecuteShown ? idleButtons : waitingButtons)
        button->show();
    w.closeButton->setEnabled(state.loadEnabled());
    w.loadButton->setEnabled(state.loadEnabled());
    w.reloadButton->setEnabled(state.reloadEnabled());
    w.executeButton->setEnabled(state.executeEnabled());
    w.executeButton->setText(state.offersStop ? QStringLiteral("&Stop")
                                              : QStringLiteral("&Execute"));
}

void showRunStart(FormWidgets& w, bool running) {
    w.currentFile->clear();
    w.currentFile->setVisible(running);
    if (running)
        return;
    w.fileProgress->setPosition(0);
    w.totalProgress->setPosition(0);
}

} // namespace

void showStateOnControls(FormWidgets& w, const WindowState& state, const WindowState& before) {
    const RunStateLayout layout = runStateLayout(state.runState);
    showRunButtons(w, state, layout);
    w.stopBetweenScanAndCopyBox->setEnabled(layout.scanCopyBoxEnabled);
    w.stopBetweenScanAndCopyBox->setChecked(state.stopBetweenScanAndCopy);
    w.binaryCompareBox->setEnabled(layout.binaryCompareBoxEnabled);
    w.binaryCompareBox->setChecked(state.binaryCompareAfterCopy);
    w.ledText->setText(state.verifying ? QStringLiteral("Binary compare") : layout.ledText);
    if (layout.ledColour)
        w.led->setTrueColor(*layout.ledColour);
    w.led->setBlink(layout.ledBlinking);
    for (QLabel* label : w.counters)
        label->setVisible(state.countersShown);
    w.directionArrow->setText(state.leftToRight ? QStringLiteral("\u2192")
                                                : QStringLiteral("\u2190"));
    w.directionArrow->setVisible(state.directionShown);
    if (!state.errorReport.empty()) {
        w.errorReport->setText(QString::fromStdString(state.errorReport));
        w.errorBox->show();
    }
    if (state.running != before.running)
        showRunStart(w, state.running);
}

} // namespace brisko::app
