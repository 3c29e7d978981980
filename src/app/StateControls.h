#pragma once

#include "app/FormWidgets.h"
#include "ports/WindowState.h"

namespace brisko::app {

// Maps the state the core hands over onto the main window's buttons, captions, tick boxes,
// LED, arrow and counters. before is the state shown until now, for what happens only when a
// run starts or ends.
void showStateOnControls(FormWidgets& w, const WindowState& state, const WindowState& before);

} // namespace brisko::app
