#pragma once

#include <QString>
#include <QTreeView>

class QFileSystemModel;

namespace brisko::widgets {

// A read-only folder tree of one drive: the folders under the drive's own folder, the folder
// being compared expanded and selected. It follows folders created or deleted on disk.
class TFolderPane : public QTreeView {
    Q_OBJECT

public:
    explicit TFolderPane(QWidget* parent = nullptr);

    // Shows a folder (drive form, "C:\DATA\SUB") found at hostFolder under the drive's own
    // folder driveRoot. A folder equal to the one shown (ignoring case), or one that does not
    // exist, changes nothing.
    void showFolder(const QString& folder, const QString& driveRoot, const QString& hostFolder);
    // The folder shown, as it was handed over; empty before the first.
    const QString& folder() const { return folder_; }
    // The host path of the selected folder; empty when none is.
    QString selectedPath() const;

private:
    // Keeps the selected folder in view with up to four rows above it.
    void scrollToSelected();

    QFileSystemModel* model_;
    QString folder_;
};

} // namespace brisko::widgets
