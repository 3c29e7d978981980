#include "app/desktop/DesktopTool.h"

#include <QProcess>
#include <QStandardPaths>

namespace brisko::desktop {

namespace {
constexpr int toolTimeLimitMs = 10000;
}

ToolRun runDesktopTool(const QString& name, const QStringList& arguments) {
    ToolRun run;
    const QString program = QStandardPaths::findExecutable(name);
    if (program.isEmpty()) {
        run.failure = name + QStringLiteral(" is not installed");
        return run;
    }
    run.found = true;
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForStarted(toolTimeLimitMs)) {
        run.failure = name + QStringLiteral(": ") + process.errorString();
        return run;
    }
    if (!process.waitForFinished(toolTimeLimitMs)) {
        process.kill();
        process.waitForFinished(1000);
        run.failure = name + QStringLiteral(" did not finish in time");
        return run;
    }
    run.output = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    run.succeeded = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!run.succeeded)
        run.failure = name + QStringLiteral(" failed: ") +
                      QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    return run;
}

} // namespace brisko::desktop
