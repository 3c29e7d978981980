#pragma once

#include <QListWidget>
#include <QString>

namespace brisko::widgets {

// A read-only outline of one folder in drive form ("C:\DATA\SUB"): the drive, then each
// folder of the path one level further in, the last one selected.
class TFolderPane : public QListWidget {
    Q_OBJECT

public:
    explicit TFolderPane(QWidget* parent = nullptr);

    // Shows a folder; a folder equal to the one shown (ignoring case) changes nothing.
    void showFolder(const QString& folder);
    const QString& folder() const { return folder_; }

    // The outline lines of a folder: "C:\", then one line per folder, indented by depth.
    static QStringList outline(const QString& folder);

private:
    QString folder_;
};

} // namespace brisko::widgets
