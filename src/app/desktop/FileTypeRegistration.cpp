#include "app/desktop/FileTypeRegistration.h"

#include "app/desktop/DesktopExec.h"
#include "app/desktop/DesktopTool.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace brisko::desktop {

namespace {

QByteArray mimePackage() {
    return QByteArrayLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
        "  <mime-type type=\"application/x-brisko-script\">\n"
        "    <comment>Brisko Script file</comment>\n"
        "    <sub-class-of type=\"text/plain\"/>\n"
        "    <icon name=\"brisko2\"/>\n"
        "    <glob pattern=\"*.brk\"/>\n"
        "  </mime-type>\n"
        "</mime-info>\n");
}

QByteArray desktopEntry(const QString& programPath) {
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Brisko 2\n"
                                         "Comment=Keeps two folder trees in step\n"
                                         "Exec=%1 %f\n"
                                         "Icon=brisko2\n"
                                         "Terminal=false\n"
                                         "MimeType=%2;\n"
                                         "Categories=Utility;\n")
                              .arg(execArgument(programPath), QLatin1String(scriptMimeType));
    return entry.toUtf8();
}

bool hasContent(const QString& path, const QByteArray& content) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.readAll() == content;
}

// Writes the whole file at once; returns what went wrong, if anything.
QString writeFile(const QString& path, const QByteArray& content) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return QStringLiteral("cannot make the folder of ") + path;
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit())
        return {};
    return QStringLiteral("cannot write ") + path + QStringLiteral(": ") + file.errorString();
}

// Runs a tool of the desktop when it is installed; a missing tool is no failure.
QString runIfInstalled(const QString& tool, const QStringList& arguments) {
    const ToolRun run = runDesktopTool(tool, arguments);
    return run.found && !run.succeeded ? run.failure : QString();
}

// Whether the desktop names a default application for the type; when it cannot tell, the
// answer is yes, so that a user's choice is never overridden.
bool typeHasDefault(const QString& type) {
    const ToolRun query = runDesktopTool(
        QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), type});
    return !query.succeeded || !query.output.isEmpty();
}

} // namespace

QString registerScriptFileType(const QString& programPath) {
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty())
        return QStringLiteral("no folder for the user's data");
    const QString mimeFolder = dataHome + QStringLiteral("/mime");
    const QString package = mimeFolder + QStringLiteral("/packages/brisko2.xml");
    const QString applications = dataHome + QStringLiteral("/applications");
    const QString entry = applications + QLatin1Char('/') + QLatin1String(desktopEntryName);
    const QString type = QLatin1String(scriptMimeType);
    const bool packageChanged = !hasContent(package, mimePackage());
    const bool entryChanged = !hasContent(entry, desktopEntry(programPath));

    // A new entry means a first start (or a moved program): the program then takes the type
    // unless an application is already set, asked before the entry exists.
    const bool takeDefault = entryChanged && !typeHasDefault(type);

    QString failure;
    if (packageChanged)
        failure = writeFile(package, mimePackage());
    if (failure.isEmpty() && entryChanged)
        failure = writeFile(entry, desktopEntry(programPath));
    // The databases are rebuilt when a file changed or when they were removed.
    if (failure.isEmpty() && (packageChanged || !QFile::exists(mimeFolder + QLatin1Char('/') +
                                                               type + QStringLiteral(".xml"))))
        failure = runIfInstalled(QStringLiteral("update-mime-database"), {mimeFolder});
    if (failure.isEmpty() &&
        (entryChanged || !QFile::exists(applications + QStringLiteral("/mimeinfo.cache"))))
        failure = runIfInstalled(QStringLiteral("update-desktop-database"), {applications});
    if (failure.isEmpty() && takeDefault)
        failure =
            runIfInstalled(QStringLiteral("xdg-mime"),
                           {QStringLiteral("default"), QLatin1String(desktopEntryName), type});
    return failure;
}

} // namespace brisko::desktop
