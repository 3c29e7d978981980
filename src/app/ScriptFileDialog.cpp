#include "app/ScriptFileDialog.h"

#include <QFileDialog>

namespace brisko::app {

void prepareScriptFileDialog(QFileDialog& dialog) {
    dialog.setWindowTitle(QStringLiteral("Load Script File"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QStringLiteral("Brisko 2 Files (*.BRK )"));
    // The toolkit's own dialog matches name filters without regard to case unless told
    // otherwise, so scripts named .brk show as well.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
}

} // namespace brisko::app
