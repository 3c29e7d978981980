#pragma once

class QFileDialog;

namespace brisko::app {

// Sets up the Load Script dialog: one existing file, filtered on .BRK in any letter case.
void prepareScriptFileDialog(QFileDialog& dialog);

} // namespace brisko::app
