#include "app/desktop/EditorCommand.h"
#include "app/desktop/WinFileType.h"

#include <QProcess>

namespace brisko::desktop {

QStringList EditorCommand::argumentsFor(const QString& scriptFile) const {
    return argumentFormats + QStringList{scriptFile};
}

EditorCommand readEditorCommand() {
    // The program part of the script type's Edit verb, which may be quoted and carry options.
    QString program = QString::fromStdString(readWinEditorProgram(HKEY_CLASSES_ROOT));
    if (program.endsWith(QLatin1Char('"')) && program.count(QLatin1Char('"')) % 2 == 1)
        program.chop(1); // the opening quote of "%1"
    QStringList words = QProcess::splitCommand(program);
    EditorCommand command;
    if (words.isEmpty()) {
        command.missingMessage =
            QStringLiteral("No editor is set: give the script file type an Edit command");
        return command;
    }
    command.program = words.takeFirst();
    command.argumentFormats = words;
    return command;
}

} // namespace brisko::desktop
