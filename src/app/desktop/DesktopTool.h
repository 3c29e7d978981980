#pragma once

#include <QString>
#include <QStringList>

namespace brisko::desktop {

// What came of running one of the desktop's command-line tools.
struct ToolRun {
    bool found = false;     // the tool is installed
    bool succeeded = false; // it ran, ended within the time limit and exited with 0
    QString output;         // its standard output, trimmed
    QString failure;        // why it did not succeed
};

// Runs an installed tool found on PATH with the arguments as given (no shell) and waits for it,
// at most a few seconds: a tool that hangs is killed and reported as failed.
ToolRun runDesktopTool(const QString& name, const QStringList& arguments);

} // namespace brisko::desktop
