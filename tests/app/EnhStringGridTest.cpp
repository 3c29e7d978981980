#include "widgets/EnhStringGrid.h"

#include "PaintCounter.h"
#include "widgets/FolderPane.h"
#include "widgets/PathElide.h"

#include <QDir>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTest>
#include <utility>
#include <vector>

using brisko::widgets::CellStyle;
using brisko::widgets::TEnhStringGrid;
using brisko::widgets::TFolderPane;

namespace {

const QColor kRed(255, 0, 0);

} // namespace

class EnhStringGridTest : public QObject {
    Q_OBJECT

private slots:
    void rowsAreNumberedFromOneBelowTheHeader();
    void hookStylesTheCellsItIsCalledFor();
    void hookSeesOwnerNumbering();
    void clearedRowsForgetTheirTags();
    void headerIsBold();
    void lockedGridDoesNotPaintUntilUnlocked();
    void pathsKeepTheirFileName_data();
    void pathsKeepTheirFileName();
    void folderPaneShowsTheDriveTree();
};

void EnhStringGridTest::rowsAreNumberedFromOneBelowTheHeader() {
    TEnhStringGrid grid;
    grid.setHeaders({"Key", "=", "Value"});
    grid.setRowCells(3, {"Title", "=", "Backup"});
    QCOMPARE(grid.dataRowCount(), 3);
    QCOMPARE(grid.cellText(0, 3), QString("Title"));
    QCOMPARE(grid.cellText(2, 3), QString("Backup"));
    QCOMPARE(grid.cellText(0, 1), QString());
    // Row 0 is the header, never a data row.
    grid.setRowCells(0, {"x", "y", "z"});
    QCOMPARE(grid.dataRowCount(), 3);
    QCOMPARE(grid.horizontalHeaderItem(0)->text(), QString("Key"));
    // Extra cells beyond the columns are dropped.
    grid.setRowCells(1, {"a", "b", "c", "d"});
    QCOMPARE(grid.columnCount(), 3);
}

void EnhStringGridTest::hookStylesTheCellsItIsCalledFor() {
    TEnhStringGrid grid;
    grid.setHeaders({"Key", "=", "Value"});
    grid.setRowCells(1, {"good", "=", "1"});
    grid.setRowCells(2, {"", "?", "bad line"});
    grid.setRowTag(2, 1);
    grid.setOnBeforeDrawCell([&grid](int, int row, CellStyle& style) {
        if (grid.rowTag(row) == 1) {
            style.text = kRed;
            style.bold = true;
            style.background = Qt::yellow;
        }
    });

    // What reaches the painter: the delegate's options for each cell.
    for (int col = 0; col < 3; ++col) {
        const QStyleOptionViewItem marked = grid.cellOption(col, 2);
        QCOMPARE(marked.palette.color(QPalette::Text), kRed);
        QVERIFY(marked.font.bold());
        QCOMPARE(marked.backgroundBrush.color(), QColor(Qt::yellow));
        const QStyleOptionViewItem plain = grid.cellOption(col, 1);
        QVERIFY(plain.palette.color(QPalette::Text) != kRed);
        QVERIFY(!plain.font.bold());
        QCOMPARE(plain.backgroundBrush.style(), Qt::NoBrush);
    }
    QCOMPARE(grid.cellStyle(1, 2).text, kRed);
    QVERIFY(!grid.cellStyle(1, 1).background.isValid());
}

void EnhStringGridTest::hookSeesOwnerNumbering() {
    TEnhStringGrid grid;
    grid.setHeaders({"A", "B"});
    grid.setRowCells(1, {"a1", "b1"});
    grid.setRowCells(2, {"a2", "b2"});
    std::vector<std::pair<int, int>> calls;
    grid.setOnBeforeDrawCell(
        [&calls](int col, int row, CellStyle&) { calls.emplace_back(col, row); });
    grid.cellOption(1, 2);
    grid.cellOption(0, 1);
    const std::vector<std::pair<int, int>> expected{{1, 2}, {0, 1}};
    QCOMPARE(calls, expected);
}

void EnhStringGridTest::clearedRowsForgetTheirTags() {
    TEnhStringGrid grid;
    grid.setHeaders({"Key", "=", "Value"});
    grid.setRowCells(1, {"", "?", "bad"});
    grid.setRowTag(1, 1);
    grid.clearRows();
    QCOMPARE(grid.dataRowCount(), 0);
    grid.setRowCells(1, {"Title", "=", "x"});
    QCOMPARE(grid.rowTag(1), 0);
    QCOMPARE(grid.cellText(1, 1), QString("="));
    // Tags outside the rows are ignored rather than growing the grid.
    grid.setRowTag(5, 1);
    QCOMPARE(grid.dataRowCount(), 1);
}

void EnhStringGridTest::headerIsBold() {
    TEnhStringGrid grid;
    grid.setHeaders({"From", "To"});
    QVERIFY(grid.horizontalHeader()->font().bold());
}

void EnhStringGridTest::lockedGridDoesNotPaintUntilUnlocked() {
    TEnhStringGrid grid;
    grid.setHeaders({"From", "To"});
    grid.resize(300, 200);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    PaintCounter counter;
    grid.viewport()->installEventFilter(&counter);

    grid.setPaintingLocked(true);
    QVERIFY(grid.paintingLocked());
    for (int row = 1; row <= 50; ++row)
        grid.setRowCells(row, {QString::number(row), "x"});
    grid.invalidateRow(1);
    QTest::qWait(50);
    QCOMPARE(counter.paints, 0);

    grid.setPaintingLocked(false);
    QTRY_VERIFY(counter.paints > 0);
    QCOMPARE(grid.cellText(0, 50), QString("50"));
}

void EnhStringGridTest::pathsKeepTheirFileName_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("shown");
    const QString path = "L:\\DOCS\\2024\\REPORT.TXT";
    const QFontMetrics metrics{QFont()};
    const auto width = [&metrics](const QString& text) { return metrics.horizontalAdvance(text); };
    QTest::newRow("fits") << path << width(path) << path;
    QTest::newRow("folder shortened")
        << path << width("L:\\DO\u2026\\REPORT.TXT") << "L:\\DO\u2026\\REPORT.TXT";
    QTest::newRow("folder gone") << path << width("\u2026\\REPORT.TXT") << "\u2026\\REPORT.TXT";
    QTest::newRow("no folder") << "REPORT.TXT" << width("REPORT.TXT") << "REPORT.TXT";
}

void EnhStringGridTest::pathsKeepTheirFileName() {
    QFETCH(QString, path);
    QFETCH(int, width);
    QFETCH(QString, shown);
    QCOMPARE(brisko::widgets::elidePath(path, QFontMetrics(QFont()), width), shown);
    // Narrower than the name: the name itself is shortened in its middle.
    const QString narrow = brisko::widgets::elidePath(path, QFontMetrics(QFont()), 30);
    QVERIFY(narrow.contains(QChar(0x2026)) && !narrow.contains('\\'));
}

void EnhStringGridTest::folderPaneShowsTheDriveTree() {
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath("Data/Sub"));
    TFolderPane pane;
    const QString sub = root.filePath("Data/Sub");
    pane.showFolder("C:\\DATA\\SUB", root.path(), sub);
    QCOMPARE(pane.selectedPath(), sub);
    QModelIndex top = pane.currentIndex();
    while (top.parent() != pane.rootIndex())
        top = top.parent();
    QCOMPARE(top.data().toString(), QString("C:\\"));
    QCOMPARE(pane.model()->rowCount(pane.rootIndex()), 1); // the drive alone, not its neighbours
    // The same folder in other case, and a folder that does not exist, change nothing.
    pane.showFolder("c:\\data\\sub", root.path(), root.path());
    pane.showFolder("C:\\GONE", root.path(), root.filePath("Gone"));
    QCOMPARE(pane.selectedPath(), sub);
    QCOMPARE(pane.folder(), QString("C:\\DATA\\SUB"));
    // Another folder of the same drive, then another drive: one drive row, named as the drive.
    pane.showFolder("C:\\DATA", root.path(), root.filePath("Data"));
    QCOMPARE(pane.selectedPath(), root.filePath("Data"));
    QTemporaryDir other;
    QVERIFY(QDir(other.path()).mkpath("Elsewhere"));
    pane.showFolder("D:\\ELSEWHERE", other.path(), other.filePath("Elsewhere"));
    QCOMPARE(pane.selectedPath(), other.filePath("Elsewhere"));
    QCOMPARE(pane.model()->rowCount(pane.rootIndex()), 1);
    QCOMPARE(pane.model()->index(0, 0, pane.rootIndex()).data().toString(), QString("D:\\"));
}

QTEST_MAIN(EnhStringGridTest)
#include "EnhStringGridTest.moc"
