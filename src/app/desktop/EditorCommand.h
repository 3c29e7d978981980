#pragma once

#include <QString>
#include <QStringList>

namespace brisko::desktop {

// The program that edits a script, and how it is given the script.
struct EditorCommand {
    QString program;             // absolute path where it is found on PATH; empty: none
    QStringList argumentFormats; // Exec-style arguments: the script's place as %f (on Windows:
                                 // the arguments before the script)
    QString missingMessage;      // how to set an editor, when there is none

    bool isSet() const { return !program.isEmpty(); }
    QStringList argumentsFor(const QString& scriptFile) const;
};

// The desktop's editor for text files: the default application for text/plain (its desktop
// entry's command), else $VISUAL, else $EDITOR in the desktop's terminal, else none. On
// Windows: the Edit verb of the script file type in the registry.
EditorCommand readEditorCommand();

} // namespace brisko::desktop
