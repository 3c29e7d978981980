#pragma once

#include "ports/Display.h"

#include <QColor>
#include <QString>
#include <optional>

namespace brisko::app {

// What the window shows and allows in one run state (the core says what may be loaded, started
// or stopped).
struct RunStateLayout {
    bool loadAndExecuteShown;        // loadButton, executeButton
    bool continueAndAbortAllShown;   // continueButton, abortAllButton
    bool scanCopyBoxEnabled;         // "Stop between scan and copy"
    bool binaryCompareBoxEnabled;    // "Binary compare after copy"
    std::optional<QColor> ledColour; // nothing: the LED keeps its colour (and blinks)
    bool ledBlinking;
    QString ledText;
};

RunStateLayout runStateLayout(RunState state);

} // namespace brisko::app
