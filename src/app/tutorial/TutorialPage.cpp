#include "app/tutorial/TutorialPage.h"

#include "app/NamedWidget.h"
#include "app/tutorial/ExplanationTable.h"
#include "app/tutorial/SampleScripts.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollBar>
#include <QStatusTipEvent>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

namespace brisko::app::tutorial {

namespace {

const QString kLevelHint =
    QStringLiteral("Adjust the Level track bar to show more or less details");
const QString kScriptHint =
    QStringLiteral("Sample Script File - Move line by line and read the explanations");
const QString kExplainHint = QStringLiteral("Explanation for each script line");
const QString kValuesHint = QStringLiteral("all possible key values");
const QString kNoValues = QStringLiteral("no specific values");

constexpr int kFontPointSize = 8;
constexpr int kGridRows = 20; // the header row included
constexpr std::array<int, 3> kColumnWidths{73, 12, 149};

void setBoldBlack(QWidget& widget) {
    QFont font = widget.font();
    font.setBold(true);
    widget.setFont(font);
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::Text, Qt::black);
    widget.setPalette(palette);
}

// A list of values as the panel shows it: it may wrap after any comma, having no blanks.
QString wrappableValues(QString values) {
    return values.replace(QLatin1Char(','), QStringLiteral(",\u200B"));
}

} // namespace

TutorialPage::TutorialPage(QWidget* parent) : QWidget(parent) {
    // The page's small font lets a sample line and an explanation line show side by side.
    QFont small = font();
    small.setPointSize(kFontPointSize);
    setFont(small);
    setToolTip(kLevelHint);
    setStatusTip(kLevelHint);
    buildLevelBar();
    buildSampleGrid();
    buildExplanation();

    auto* levelRow = new QHBoxLayout;
    levelRow->addWidget(Label3);
    levelRow->addWidget(LevelBar, 1);
    levelRow->addWidget(Label5);
    auto* scriptColumn = new QVBoxLayout;
    scriptColumn->addLayout(levelRow);
    scriptColumn->addWidget(GroupBox1, 1);
    auto* page = new QHBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);
    page->addLayout(scriptColumn);
    page->addWidget(GroupBox2, 1);

    connect(LevelBar, &QSlider::valueChanged, this, &TutorialPage::LevelBarChange);
    connect(SampleGrid, &QTableWidget::currentCellChanged, this,
            [this](int currentRow) { SampleGridSelectCell(currentRow + 1); });
    LevelBarChange();
}

void TutorialPage::buildLevelBar() {
    Label3 = named(new QLabel(QStringLiteral("Beginner"), this), "Label3");
    Label5 = named(new QLabel(QStringLiteral("Expert"), this), "Label5");
    LevelBar = named(new QSlider(Qt::Horizontal, this), "LevelBar", kLevelHint);
    LevelBar->setRange(0, 2);
    LevelBar->setTickInterval(1);
    LevelBar->setPageStep(1);
    LevelBar->setTickPosition(QSlider::TicksBelow);
    LevelBar->setValue(0);
    LevelBar->installEventFilter(this);
}

void TutorialPage::buildSampleGrid() {
    GroupBox1 = named(new QGroupBox(QStringLiteral("Script File"), this), "GroupBox1", kScriptHint);
    SampleGrid = named(new widgets::TEnhStringGrid(GroupBox1), "SampleGrid", kScriptHint);
    SampleGrid->setHeaders({QStringLiteral("Key"), QStringLiteral("="), QStringLiteral("Value")});
    // Clicking a title would select a whole column; the operator only moves through the lines.
    SampleGrid->horizontalHeader()->setSectionsClickable(false);
    SampleGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    SampleGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* box = new QVBoxLayout(GroupBox1);
    box->setContentsMargins(4, 4, 4, 4);
    box->addWidget(SampleGrid);
}

void TutorialPage::buildExplanation() {
    GroupBox2 =
        named(new QGroupBox(QStringLiteral("Explanation"), this), "GroupBox2", kExplainHint);
    Splitter3 = named(new QSplitter(Qt::Vertical, GroupBox2), "Splitter3");
    Splitter3->setChildrenCollapsible(false);

    OptionPanel = named(new QFrame(Splitter3), "OptionPanel", kValuesHint);
    OptionPanel->setFrameShape(QFrame::Panel);
    OptionPanel->setFrameShadow(QFrame::Sunken);
    OptionPanel->setAutoFillBackground(true);
    QPalette white = OptionPanel->palette();
    white.setColor(QPalette::Window, Qt::white);
    OptionPanel->setPalette(white);
    setBoldBlack(*OptionPanel);
    AllValues = named(new QLabel(kNoValues, OptionPanel), "AllValues");
    AllValues->setAlignment(Qt::AlignCenter);
    AllValues->setWordWrap(true);
    auto* panel = new QVBoxLayout(OptionPanel);
    panel->setContentsMargins(4, 2, 4, 2);
    panel->addWidget(AllValues);
    // Room for a list of values that wraps onto a second line in a narrow window.
    OptionPanel->setMinimumHeight(2 * OptionPanel->fontMetrics().lineSpacing() + 8);

    Explain = named(new QPlainTextEdit(Splitter3), "Explain", kExplainHint);
    Explain->setReadOnly(true);
    Explain->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setBoldBlack(*Explain);

    Splitter3->addWidget(OptionPanel);
    Splitter3->addWidget(Explain);
    Splitter3->setStretchFactor(1, 1);
    auto* box = new QVBoxLayout(GroupBox2);
    box->setContentsMargins(4, 4, 4, 4);
    box->addWidget(Splitter3);
}

void TutorialPage::LevelBarChange() {
    fillSample(LevelBar->value());
}

void TutorialPage::fillSample(int level) {
    SampleGrid->setPaintingLocked(true);
    SampleGrid->clearRows();
    SampleGrid->setRowCount(kGridRows - 1);
    int row = 1;
    for (const SampleLine& line : sampleScript(level)) {
        if (line.isCommand())
            SampleGrid->setRowCells(row++, {line.key});
        else
            SampleGrid->setRowCells(row++, {line.key, QStringLiteral("="), line.value});
    }
    // The starting widths, or wider where a text of the sample needs it.
    int gridWidth =
        2 * SampleGrid->frameWidth() + SampleGrid->verticalScrollBar()->sizeHint().width();
    for (int col = 0; col < SampleGrid->columnCount(); ++col) {
        SampleGrid->resizeColumnToContents(col);
        const int width =
            std::max(kColumnWidths[static_cast<std::size_t>(col)], SampleGrid->columnWidth(col));
        SampleGrid->setColumnWidth(col, width);
        gridWidth += width;
    }
    SampleGrid->setMinimumWidth(std::max(SampleGrid->minimumWidth(), gridWidth));
    SampleGrid->setCurrentCell(0, 0);
    SampleGrid->setPaintingLocked(false);
    SampleGridSelectCell(1);
}

void TutorialPage::SampleGridSelectCell(int row) {
    explain(SampleGrid->cellText(0, row));
}

void TutorialPage::explain(const QString& key) {
    Explain->setUpdatesEnabled(false);
    Explain->clear();
    AllValues->setText(kNoValues);
    if (const Explanation* explanation = explanationFor(key)) {
        if (!explanation->allValues.isEmpty())
            AllValues->setText(wrappableValues(explanation->allValues));
        Explain->setPlainText(explanation->lines.join(QLatin1Char('\n')));
    }
    Explain->setUpdatesEnabled(true);
}

bool TutorialPage::eventFilter(QObject* watched, QEvent* event) {
    // Entering the level bar from the keyboard shows its hint as the mouse would.
    if (watched == LevelBar && event->type() == QEvent::FocusIn) {
        QStatusTipEvent tip(LevelBar->statusTip());
        QCoreApplication::sendEvent(LevelBar, &tip);
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace brisko::app::tutorial
