#include "widgets/EnhStringGrid.h"

#include "widgets/PathElide.h"

#include <QHeaderView>
#include <QStyle>
#include <QStyledItemDelegate>

namespace brisko::widgets {

// Lets the grid's owner restyle each cell just before the standard drawing runs.
class CellStyleDelegate final : public QStyledItemDelegate {
public:
    explicit CellStyleDelegate(TEnhStringGrid& grid) : QStyledItemDelegate(&grid), grid_(grid) {}

    void styleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
        initStyleOption(option, index);
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        CellStyle style{option->palette.color(QPalette::Text), QColor(), option->font.bold(),
                        option->font.italic()};
        grid_.applyBeforeDrawCell(index.column(), index.row() + 1, style);
        option->font.setBold(style.bold);
        option->font.setItalic(style.italic);
        option->palette.setColor(QPalette::Text, style.text);
        if (style.background.isValid())
            option->backgroundBrush = style.background;
        if (grid_.isPathColumn(index.column()) && option->rect.isValid())
            option->text = elidePath(option->text, QFontMetrics(option->font),
                                     option->rect.width() - 2 * textMargin(*option) - kGridLine);
    }

private:
    // The grid line at a cell's right edge takes from its room, and the painter's text
    // layout may round a little wider than the measured advance.
    static constexpr int kGridLine = 2;

    static int textMargin(const QStyleOptionViewItem& option) {
        const QStyle* style = option.widget != nullptr ? option.widget->style() : nullptr;
        return style == nullptr
                   ? 3
                   : style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1;
    }

    TEnhStringGrid& grid_;
};

namespace {
constexpr int kRowTagRole = Qt::UserRole + 1;
} // namespace

TEnhStringGrid::TEnhStringGrid(QWidget* parent)
    : QTableWidget(parent), delegate_(new CellStyleDelegate(*this)) {
    setItemDelegate(delegate_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setHighlightSections(false);
    QFont headerFont = horizontalHeader()->font();
    headerFont.setBold(true);
    horizontalHeader()->setFont(headerFont);
}

void TEnhStringGrid::setOnBeforeDrawCell(BeforeDrawCell handler) {
    beforeDrawCell_ = std::move(handler);
    viewport()->update();
}

void TEnhStringGrid::setHeaders(const QStringList& titles) {
    setColumnCount(static_cast<int>(titles.size()));
    setHorizontalHeaderLabels(titles);
}

void TEnhStringGrid::setRowCells(int row, const QStringList& cells) {
    if (row < 1)
        return;
    if (row > rowCount())
        setRowCount(row);
    const int columns = std::min(columnCount(), static_cast<int>(cells.size()));
    for (int col = 0; col < columns; ++col) {
        QTableWidgetItem* cell = item(row - 1, col);
        if (cell == nullptr) {
            cell = new QTableWidgetItem(cells[col]);
            setItem(row - 1, col, cell);
        } else {
            cell->setText(cells[col]);
        }
        if (isPathColumn(col))
            cell->setToolTip(cells[col]);
    }
}

QString TEnhStringGrid::cellText(int col, int row) const {
    const QTableWidgetItem* cell = item(row - 1, col);
    return cell == nullptr ? QString() : cell->text();
}

void TEnhStringGrid::setPathColumn(int col) {
    if (!isPathColumn(col))
        pathColumns_.append(col);
}

void TEnhStringGrid::fitColumnTo(int col, const QString& text) {
    constexpr int kPadding = 12; // the cell's margins on both sides, and a little air
    const int needed = fontMetrics().horizontalAdvance(text) + kPadding;
    if (needed > columnWidth(col))
        setColumnWidth(col, needed);
}

void TEnhStringGrid::clearRows() {
    clearContents();
    setRowCount(0);
}

void TEnhStringGrid::setRowTag(int row, int tag) {
    if (row < 1 || row > rowCount() || columnCount() == 0)
        return;
    QTableWidgetItem* cell = item(row - 1, 0);
    if (cell == nullptr) {
        cell = new QTableWidgetItem;
        setItem(row - 1, 0, cell);
    }
    cell->setData(kRowTagRole, tag);
    invalidateRow(row);
}

int TEnhStringGrid::rowTag(int row) const {
    const QTableWidgetItem* cell = item(row - 1, 0);
    return cell == nullptr ? 0 : cell->data(kRowTagRole).toInt();
}

void TEnhStringGrid::applyBeforeDrawCell(int col, int row, CellStyle& style) const {
    if (beforeDrawCell_)
        beforeDrawCell_(col, row, style);
}

CellStyle TEnhStringGrid::cellStyle(int col, int row) const {
    const QStyleOptionViewItem option = cellOption(col, row);
    return CellStyle{option.palette.color(QPalette::Text),
                     option.backgroundBrush.style() == Qt::NoBrush ? QColor()
                                                                   : option.backgroundBrush.color(),
                     option.font.bold(), option.font.italic()};
}

QStyleOptionViewItem TEnhStringGrid::cellOption(int col, int row) const {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QModelIndex index = model()->index(row - 1, col);
    option.rect = visualRect(index);
    delegate_->styleOption(&option, index);
    return option;
}

void TEnhStringGrid::setPaintingLocked(bool locked) {
    if (locked == paintingLocked_)
        return;
    paintingLocked_ = locked;
    // Re-enabling updates schedules one repaint of the whole grid.
    setUpdatesEnabled(!locked);
}

void TEnhStringGrid::invalidateRow(int row) {
    if (row < 1 || row > rowCount())
        return;
    QRect area;
    for (int col = 0; col < columnCount(); ++col)
        area = area.united(visualRect(model()->index(row - 1, col)));
    viewport()->update(area);
}

} // namespace brisko::widgets
