#include "widgets/FolderPane.h"

namespace brisko::widgets {

namespace {
constexpr int kIndent = 2; // blanks per level
} // namespace

TFolderPane::TFolderPane(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFocusPolicy(Qt::NoFocus);
}

QStringList TFolderPane::outline(const QString& folder) {
    QStringList lines;
    const QStringList parts = folder.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    for (int level = 0; level < parts.size(); ++level) {
        QString line = QString(level * kIndent, QLatin1Char(' ')) + parts[level];
        if (level == 0 && parts[0].endsWith(QLatin1Char(':')))
            line += QLatin1Char('\\');
        lines << line;
    }
    return lines;
}

void TFolderPane::showFolder(const QString& folder) {
    if (folder.compare(folder_, Qt::CaseInsensitive) == 0 && count() > 0)
        return;
    folder_ = folder;
    clear();
    addItems(outline(folder));
    if (count() > 0) {
        setCurrentRow(count() - 1);
        scrollToItem(currentItem(), QAbstractItemView::PositionAtBottom);
    }
}

} // namespace brisko::widgets
