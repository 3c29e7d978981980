#include "app/desktop/EditorCommand.h"

#include "app/desktop/DesktopExec.h"
#include "app/desktop/DesktopTool.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

namespace brisko::desktop {

namespace {

// Exec and Terminal of a desktop entry's main group.
struct EntryCommand {
    QString exec;
    bool terminal = false;
};

EntryCommand readEntryCommand(const QString& path) {
    EntryCommand command;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return command;
    QTextStream in(&file);
    bool inMainGroup = false;
    QString line;
    while (in.readLineInto(&line)) {
        line = line.trimmed();
        if (line.startsWith(u'['))
            inMainGroup = line == QStringLiteral("[Desktop Entry]");
        else if (inMainGroup && line.startsWith(QStringLiteral("Exec=")))
            command.exec = line.mid(5);
        else if (inMainGroup && line.startsWith(QStringLiteral("Terminal=")))
            command.terminal = line.mid(9).trimmed() == QStringLiteral("true");
    }
    return command;
}

// Makes the command from Exec-style arguments when its programs are installed; otherwise empty,
// saying so when only the terminal to run the editor in is missing.
EditorCommand commandFrom(QStringList arguments, bool inTerminal) {
    const auto programPath = [](const QString& format) {
        return QStandardPaths::findExecutable(QString(format).replace(QStringLiteral("%%"), "%"));
    };
    if (arguments.isEmpty() || programPath(arguments.constFirst()).isEmpty())
        return {};
    EditorCommand command;
    if (inTerminal) {
        const QString terminal = QStringLiteral("x-terminal-emulator");
        if (programPath(terminal).isEmpty()) {
            command.missingMessage = QStringLiteral("No terminal program was found to run %1 in: "
                                                    "install one, or set VISUAL to an editor "
                                                    "with a window of its own")
                                         .arg(arguments.constFirst());
            return command;
        }
        arguments = QStringList{terminal, QStringLiteral("-e")} + arguments;
    }
    command.program = programPath(arguments.takeFirst());
    command.argumentFormats = arguments;
    return command;
}

EditorCommand fromTextDefault() {
    const ToolRun query = runDesktopTool(
        QStringLiteral("xdg-mime"),
        {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/plain")});
    if (!query.succeeded || query.output.isEmpty())
        return {};
    const QString entry = QStandardPaths::locate(QStandardPaths::ApplicationsLocation,
                                                 query.output.section(u';', 0, 0));
    if (entry.isEmpty())
        return {};
    const EntryCommand command = readEntryCommand(entry);
    return commandFrom(splitExec(command.exec), command.terminal);
}

EditorCommand fromVariable(const char* name, bool inTerminal) {
    QStringList arguments = QProcess::splitCommand(qEnvironmentVariable(name));
    for (QString& argument : arguments)
        argument = withoutFieldCodes(argument);
    return commandFrom(arguments, inTerminal);
}

} // namespace

QStringList EditorCommand::argumentsFor(const QString& scriptFile) const {
    return expandFieldCodes(argumentFormats, scriptFile);
}

EditorCommand readEditorCommand() {
    EditorCommand none;
    for (auto find :
         {+[] { return fromTextDefault(); }, +[] { return fromVariable("VISUAL", false); },
          +[] { return fromVariable("EDITOR", true); }}) {
        EditorCommand command = find();
        if (command.isSet())
            return command;
        if (none.missingMessage.isEmpty())
            none.missingMessage = command.missingMessage;
    }
    if (none.missingMessage.isEmpty())
        none.missingMessage = QStringLiteral("No editor is set: choose a default application "
                                             "for text files, or set VISUAL or EDITOR");
    return none;
}

} // namespace brisko::desktop
