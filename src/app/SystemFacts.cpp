#include "app/SystemFacts.h"

#include "app/desktop/EditorCommand.h"

#include <QFile>
#include <QStorageInfo>
#include <QSysInfo>

namespace brisko::app {

namespace {

constexpr qint64 kMegabyte = 1024 * 1024;

// The value of the first "name : value" line of a /proc file, trimmed.
std::optional<QString> procField(const QString& file, const QString& name) {
    QFile proc(file);
    if (!proc.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    // /proc files tell no size, so they are read whole rather than until atEnd().
    const QStringList lines = QString::fromUtf8(proc.readAll()).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon > 0 && line.left(colon).trimmed() == name)
            return line.mid(colon + 1).trimmed();
    }
    return std::nullopt;
}

} // namespace

QString operatingSystemName() {
    return QSysInfo::prettyProductName();
}

QString operatingSystemVersion() {
    return QSysInfo::kernelType() + QLatin1Char(' ') + QSysInfo::kernelVersion();
}

QString processorName() {
    const std::optional<QString> model =
        procField(QStringLiteral("/proc/cpuinfo"), QStringLiteral("model name"));
    return model && !model->isEmpty() ? *model : QSysInfo::currentCpuArchitecture();
}

std::optional<qint64> physicalMemoryKb() {
    // "MemTotal:       16318412 kB"
    const std::optional<QString> total =
        procField(QStringLiteral("/proc/meminfo"), QStringLiteral("MemTotal"));
    if (!total)
        return std::nullopt;
    bool ok = false;
    const qint64 kilobytes = total->section(QLatin1Char(' '), 0, 0).toLongLong(&ok);
    return ok ? std::optional<qint64>(kilobytes) : std::nullopt;
}

QString memoryText(qint64 kilobytes) {
    return QStringLiteral("%1 MB").arg((kilobytes + 512) / 1024);
}

QString diskText(const QString& path) {
    const QStorageInfo disk(path);
    if (!disk.isValid() || !disk.isReady())
        return QStringLiteral("unknown");
    return QStringLiteral("%1 MB free of %2 MB")
        .arg(disk.bytesAvailable() / kMegabyte)
        .arg(disk.bytesTotal() / kMegabyte);
}

QString scriptEditorText() {
    const desktop::EditorCommand editor = desktop::readEditorCommand();
    if (!editor.isSet())
        return editor.missingMessage;
    return (QStringList{editor.program} + editor.argumentFormats).join(QLatin1Char(' '));
}

} // namespace brisko::app
