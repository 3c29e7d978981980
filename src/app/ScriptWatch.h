#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

namespace brisko::app {

// Watches the loaded script file and says once that it changed after an editor has finished
// writing it (many editors write a file in several steps, or replace it by a new one).
class ScriptWatch : public QObject {
    Q_OBJECT

public:
    explicit ScriptWatch(QObject* parent = nullptr);

    // Watches this file from now on (an empty name watches nothing).
    void watch(const QString& fileName);

signals:
    void changed();

private:
    void noticeChange();

    QFileSystemWatcher watcher_;
    QTimer settle_;
    QString fileName_;
};

} // namespace brisko::app
