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

namespace brisko::tutorial {

using app::named;

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
    levelRow->addWidget(beginnerLabel);
    levelRow->addWidget(levelBar, 1);
    levelRow->addWidget(expertLabel);
    auto* scriptColumn = new QVBoxLayout;
    scriptColumn->addLayout(levelRow);
    scriptColumn->addWidget(sampleBox, 1);
    auto* page = new QHBoxLayout(this);
    page->setContentsMargins(4, 4, 4, 4);
    page->addLayout(scriptColumn);
    page->addWidget(explanationBox, 1);

    connect(levelBar, &QSlider::valueChanged, this, &TutorialPage::showLevel);
    connect(sampleGrid, &QTableWidget::currentCellChanged, this,
            [this](int currentRow) { explainRow(currentRow + 1); });
    showLevel();
}

void TutorialPage::buildLevelBar() {
    beginnerLabel = named(new QLabel(QStringLiteral("Beginner"), this), "Label3");
    expertLabel = named(new QLabel(QStringLiteral("Expert"), this), "Label5");
    levelBar = named(new QSlider(Qt::Horizontal, this), "LevelBar", kLevelHint);
    levelBar->setRange(0, 2);
    levelBar->setTickInterval(1);
    levelBar->setPageStep(1);
    levelBar->setTickPosition(QSlider::TicksBelow);
    levelBar->setValue(0);
    levelBar->installEventFilter(this);
}

void TutorialPage::buildSampleGrid() {
    sampleBox = named(new QGroupBox(QStringLiteral("Script File"), this), "GroupBox1", kScriptHint);
    sampleGrid = named(new widgets::TEnhStringGrid(sampleBox), "SampleGrid", kScriptHint);
    sampleGrid->setHeaders({QStringLiteral("Key"), QStringLiteral("="), QStringLiteral("Value")});
    // Clicking a title would select a whole column; the operator only moves through the lines.
    sampleGrid->horizontalHeader()->setSectionsClickable(false);
    sampleGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    sampleGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* box = new QVBoxLayout(sampleBox);
    box->setContentsMargins(4, 4, 4, 4);
    box->addWidget(sampleGrid);
}

void TutorialPage::buildExplanation() {
    explanationBox =
        named(new QGroupBox(QStringLiteral("Explanation"), this), "GroupBox2", kExplainHint);
    explanationSplitter = named(new QSplitter(Qt::Vertical, explanationBox), "Splitter3");
    explanationSplitter->setChildrenCollapsible(false);

    valuesPanel = named(new QFrame(explanationSplitter), "OptionPanel", kValuesHint);
    valuesPanel->setFrameShape(QFrame::Panel);
    valuesPanel->setFrameShadow(QFrame::Sunken);
    valuesPanel->setAutoFillBackground(true);
    QPalette white = valuesPanel->palette();
    white.setColor(QPalette::Window, Qt::white);
    valuesPanel->setPalette(white);
    setBoldBlack(*valuesPanel);
    allValues = named(new QLabel(kNoValues, valuesPanel), "AllValues");
    allValues->setAlignment(Qt::AlignCenter);
    allValues->setWordWrap(true);
    auto* panel = new QVBoxLayout(valuesPanel);
    panel->setContentsMargins(4, 2, 4, 2);
    panel->addWidget(allValues);
    // Room for a list of values that wraps onto a second line in a narrow window.
    valuesPanel->setMinimumHeight(2 * valuesPanel->fontMetrics().lineSpacing() + 8);

    explanationText = named(new QPlainTextEdit(explanationSplitter), "Explain", kExplainHint);
    explanationText->setReadOnly(true);
    explanationText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setBoldBlack(*explanationText);

    explanationSplitter->addWidget(valuesPanel);
    explanationSplitter->addWidget(explanationText);
    explanationSplitter->setStretchFactor(1, 1);
    auto* box = new QVBoxLayout(explanationBox);
    box->setContentsMargins(4, 4, 4, 4);
    box->addWidget(explanationSplitter);
}

void TutorialPage::showLevel() {
    fillSample(levelBar->value());
}

void TutorialPage::fillSample(int level) {
    sampleGrid->setPaintingLocked(true);
    sampleGrid->clearRows();
    sampleGrid->setRowCount(kGridRows - 1);
    int row = 1;
    for (const SampleLine& line : sampleScript(level)) {
        if (line.isCommand())
            sampleGrid->setRowCells(row++, {line.key});
        else
            sampleGrid->setRowCells(row++, {line.key, QStringLiteral("="), line.value});
    }
    // The starting widths, or wider where a text of the sample needs it.
    int gridWidth =
        2 * sampleGrid->frameWidth() + sampleGrid->verticalScrollBar()->sizeHint().width();
    for (int col = 0; col < sampleGrid->columnCount(); ++col) {
        sampleGrid->resizeColumnToContents(col);
        const int width =
            std::max(kColumnWidths[static_cast<std::size_t>(col)], sampleGrid->columnWidth(col));
        sampleGrid->setColumnWidth(col, width);
        gridWidth += width;
    }
    sampleGrid->setMinimumWidth(std::max(sampleGrid->minimumWidth(), gridWidth));
    sampleGrid->setCurrentCell(0, 0);
    sampleGrid->setPaintingLocked(false);
    explainRow(1);
}

void TutorialPage::explainRow(int row) {
    explain(sampleGrid->cellText(0, row));
}

void TutorialPage::explain(const QString& key) {
    explanationText->setUpdatesEnabled(false);
    explanationText->clear();
    allValues->setText(kNoValues);
    if (const Explanation* explanation = explanationFor(key)) {
        if (!explanation->allValues.isEmpty())
            allValues->setText(wrappableValues(explanation->allValues));
        explanationText->setPlainText(explanation->lines.join(QLatin1Char('\n')));
    }
    explanationText->setUpdatesEnabled(true);
}

bool TutorialPage::eventFilter(QObject* watched, QEvent* event) {
    // Entering the level bar from the keyboard shows its hint as the mouse would.
    if (watched == levelBar && event->type() == QEvent::FocusIn) {
        QStatusTipEvent tip(levelBar->statusTip());
        QCoreApplication::sendEvent(levelBar, &tip);
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace brisko::tutorial
