#pragma once

#include <QColor>
#include <QList>
#include <QStringList>
#include <QStyleOptionViewItem>
#include <QTableWidget>
#include <functional>

namespace brisko::widgets {

class CellStyleDelegate;

// How one cell is drawn; the grid's owner adjusts it before the cell is painted.
struct CellStyle {
    QColor text;       // text colour
    QColor background; // invalid: the grid's own background
    bool bold = false;
    bool italic = false;
};

// A read-only string grid whose owner styles each cell before it is drawn and can suspend
// painting during bulk changes. Rows are numbered as the owner sees them: row 0 is the header
// (drawn bold), data rows start at 1.
class TEnhStringGrid : public QTableWidget {
    Q_OBJECT

public:
    using BeforeDrawCell = std::function<void(int col, int row, CellStyle& style)>;

    explicit TEnhStringGrid(QWidget* parent = nullptr);

    // Called for every data cell before it is drawn.
    void setOnBeforeDrawCell(BeforeDrawCell handler);

    void setHeaders(const QStringList& titles);
    // Writes the texts of a data row (from 1), adding rows up to it when needed.
    void setRowCells(int row, const QStringList& cells);
    QString cellText(int col, int row) const;
    int dataRowCount() const { return rowCount(); }
    // Removes every data row.
    void clearRows();

    // Marks a column whose texts are paths: a path too long for its cell is drawn with its
    // file name whole and its folder shortened in the middle; the full path is the tool tip.
    void setPathColumn(int col);
    bool isPathColumn(int col) const { return pathColumns_.contains(col); }
    // Widens a column, when needed, so that a text shows whole in it.
    void fitColumnTo(int col, const QString& text);

    // A number the owner keeps with a data row (its highlight or colour class); 0 when unset.
    void setRowTag(int row, int tag);
    int rowTag(int row) const;

    // The style the drawing hook gives a data cell, starting from the grid's defaults.
    CellStyle cellStyle(int col, int row) const;
    // The complete drawing options of a data cell, exactly as they reach the painter.
    QStyleOptionViewItem cellOption(int col, int row) const;

    // While locked the grid does not paint; unlocking repaints it once.
    void setPaintingLocked(bool locked);
    bool paintingLocked() const { return paintingLocked_; }

    // Repaints one data row only.
    void invalidateRow(int row);

private:
    friend class CellStyleDelegate;
    void applyBeforeDrawCell(int col, int row, CellStyle& style) const;

    CellStyleDelegate* delegate_;
    BeforeDrawCell beforeDrawCell_;
    QList<int> pathColumns_;
    bool paintingLocked_ = false;
};

} // namespace brisko::widgets
