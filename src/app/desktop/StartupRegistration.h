#pragma once

#include "app/desktop/EditorCommand.h"

class QWidget;

namespace brisko::desktop {

// Start-up's part in the desktop: registers the script file type for the running program
// (unless BRISKO_NO_REGISTER=1), shows a timed notice over parent when that fails, and
// returns the editor that Edit Script starts.
EditorCommand registerAtStart(QWidget* parent);

} // namespace brisko::desktop
