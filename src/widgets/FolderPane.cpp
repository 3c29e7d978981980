#include "widgets/FolderPane.h"

#include "platform/DrivePath.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QSortFilterProxyModel>

namespace brisko::widgets {

namespace {

constexpr int kRowsAboveSelected = 4;

// The file system seen from one drive: the drive's own folder is the one top row, named as
// the drive ("C:\"), with the folders under it.
class DriveTree final : public QSortFilterProxyModel {
public:
    explicit DriveTree(QFileSystemModel* files) : QSortFilterProxyModel(files), files_(files) {
        setSourceModel(files);
    }

    // Returns the index under which the drive's row stands. Filtering again goes over every
    // folder listed so far (ten thousand under one folder take a tenth of a second), so it is
    // done only when the drive changes, not for every folder shown on the same drive.
    QModelIndex setDrive(const QString& rootPath, const QString& label) {
        if (!driveRoot_.isValid() || rootPath != rootPath_ || label != label_) {
            label_ = label;
            rootPath_ = rootPath;
            driveRoot_ = files_->setRootPath(rootPath);
            invalidateFilter();
        }
        return mapFromSource(driveRoot_.parent());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::DisplayRole && driveRoot_ == mapToSource(index))
            return label_;
        return QSortFilterProxyModel::data(index, role);
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        if (!driveRoot_.isValid() || parent != driveRoot_.parent())
            return true;
        return driveRoot_ == sourceModel()->index(row, 0, parent);
    }

private:
    QFileSystemModel* files_;
    QPersistentModelIndex driveRoot_;
    QString rootPath_;
    QString label_;
};

DriveTree* driveTree(const QTreeView& view) {
    return static_cast<DriveTree*>(view.model());
}

} // namespace

TFolderPane::TFolderPane(QWidget* parent) : QTreeView(parent), model_(new QFileSystemModel(this)) {
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    model_->setReadOnly(true);
    setModel(new DriveTree(model_));
    for (int column = 1; column < model_->columnCount(); ++column)
        hideColumn(column);
    header()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFocusPolicy(Qt::NoFocus);
    setIndentation(12);
    // Every row is one line: the view need not measure ten thousand rows to scroll to one.
    setUniformRowHeights(true);
    // Folders listed in the background push the selection down; bring it back into view.
    connect(model_, &QFileSystemModel::directoryLoaded, this, [this] { scrollToSelected(); });
}

void TFolderPane::showFolder(const QString& folder, const QString& driveRoot,
                             const QString& hostFolder) {
    if (!folder_.isEmpty() && folder.compare(folder_, Qt::CaseInsensitive) == 0)
        return;
    if (!QFileInfo(hostFolder).isDir() || !QFileInfo(driveRoot).isDir())
        return;
    folder_ = folder;
    const std::string written = folder.toStdString();
    const QString drive =
        QString::fromStdString(std::string(platform::drive_path::driveOrShare(written)));
    setRootIndex(driveTree(*this)->setDrive(driveRoot, drive + QLatin1Char('\\')));
    const QModelIndex selected = driveTree(*this)->mapFromSource(model_->index(hostFolder));
    for (QModelIndex up = selected.parent(); up.isValid(); up = up.parent())
        expand(up);
    setCurrentIndex(selected);
    scrollToSelected();
}

QString TFolderPane::selectedPath() const {
    const QModelIndex selected = driveTree(*this)->mapToSource(currentIndex());
    return selected.isValid() ? model_->filePath(selected) : QString();
}

void TFolderPane::scrollToSelected() {
    const QModelIndex selected = currentIndex();
    if (!selected.isValid())
        return;
    QModelIndex top = selected;
    for (int row = 0; row < kRowsAboveSelected && indexAbove(top).isValid(); ++row)
        top = indexAbove(top);
    scrollTo(top, QAbstractItemView::PositionAtTop);
    scrollTo(selected, QAbstractItemView::EnsureVisible);
}

} // namespace brisko::widgets
