#include "app/ScriptWatch.h"

#include <QFileInfo>

namespace brisko::app {

namespace {
// Changes closer together than this are one save.
constexpr int kSettleMilliseconds = 200;
} // namespace

ScriptWatch::ScriptWatch(QObject* parent) : QObject(parent) {
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMilliseconds);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &ScriptWatch::noticeChange);
    connect(&settle_, &QTimer::timeout, this, [this] {
        // A file replaced by a new one is no longer watched: watch the new one.
        if (!fileName_.isEmpty() && !watcher_.files().contains(fileName_) &&
            QFileInfo::exists(fileName_))
            watcher_.addPath(fileName_);
        emit changed();
    });
}

void ScriptWatch::watch(const QString& fileName) {
    const QString absolute =
        fileName.isEmpty() ? QString() : QFileInfo(fileName).absoluteFilePath();
    if (absolute == fileName_ && (absolute.isEmpty() || watcher_.files().contains(absolute)))
        return;
    if (!watcher_.files().isEmpty())
        watcher_.removePaths(watcher_.files());
    fileName_ = absolute;
    if (!fileName_.isEmpty() && QFileInfo::exists(fileName_))
        watcher_.addPath(fileName_);
}

void ScriptWatch::noticeChange() {
    settle_.start();
}

} // namespace brisko::app
