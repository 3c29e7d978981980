#pragma once

class QWidget;

namespace brisko::desktop {

// Start-up's part in the desktop: registers the script file type for the running program
// (unless BRISKO_NO_REGISTER=1) and shows a timed notice over parent when that fails.
void registerAtStart(QWidget* parent);

} // namespace brisko::desktop
