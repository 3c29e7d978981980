#include "app/FormWidgets.h"

#include "app/MakerLinks.h"
#include "app/NamedWidget.h"
#include "app/ProgramLogo.h"
#include "app/ProgressScale.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>

namespace brisko::app {

namespace {

const QColor kNavy(0, 0, 128);
const QString kPageHint = QStringLiteral("Gray Light Brisko is Idle, Green Light Brisko is "
                                         "scanning, Red Light Brisko is copying");
constexpr int kButtonWidth = 83;
constexpr int kButtonHeight = 25;
constexpr int kPaneWidth = 233;

void setTextColour(QWidget& widget, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    widget.setPalette(palette);
}

void setBold(QWidget& widget) {
    QFont font = widget.font();
    font.setBold(true);
    widget.setFont(font);
}

QPushButton* commandButton(QWidget* parent, const QString& caption, const char* name,
                           const QString& hint = QString()) {
    auto* button = named(new QPushButton(caption, parent), name, hint);
    button->setFixedSize(kButtonWidth, kButtonHeight);
    return button;
}

QLabel* lineLabel(QWidget* parent, const char* name, const QColor& colour, const QString& hint) {
    auto* label = named(new QLabel(parent), name, hint);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setMinimumHeight(20);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    setBold(*label);
    setTextColour(*label, colour);
    return label;
}

QWidget* buildTitlePanel(FormWidgets& w, QWidget* parent, const QString& mainLabel) {
    // The white panel stands over a grey shadow of its own size, offset down and right.
    constexpr int kShadowOffset = 8;
    auto* area = named(new QWidget(parent), "TitleArea");
    area->setFixedSize(299 + kShadowOffset, 86 + kShadowOffset);
    auto* shadow = named(new QFrame(area), "TitleShadow");
    shadow->setAutoFillBackground(true);
    QPalette grey = shadow->palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    shadow->setPalette(grey);
    shadow->setGeometry(kShadowOffset, kShadowOffset, 299, 86);

    auto* panel = named(new QFrame(area), "TitlePanel");
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setLineWidth(2);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, Qt::white);
    panel->setPalette(palette);
    panel->setGeometry(0, 0, 299, 86);
    panel->raise();

    w.mainLabel = named(new QLabel(mainLabel, panel), "MainLabel");
    QFont font = w.mainLabel->font();
    font.setPixelSize(19);
    font.setBold(true);
    w.mainLabel->setFont(font);
    setTextColour(*w.mainLabel, kNavy);

    auto* logo = named(new QLabel(panel), "Logo");
    logo->setPixmap(programLogo(48));

    auto* layout = new QGridLayout(panel);
    layout->setContentsMargins(8, 3, 8, 3);
    layout->setVerticalSpacing(0);
    layout->addWidget(w.mainLabel, 0, 0, 1, 2);
    layout->addWidget(new QLabel(kMakerName, panel), 1, 0, 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("Web Site:"), panel), 2, 0);
    layout->addWidget(makerLink(panel, widgets::TUrlLink::atWWW, "UrlLink1"), 2, 1);
    layout->addWidget(new QLabel(QStringLiteral("Mail us: "), panel), 3, 0);
    layout->addWidget(makerLink(panel, widgets::TUrlLink::atMail, "UrlLink2"), 3, 1);
    layout->addWidget(logo, 0, 2, 4, 1, Qt::AlignCenter);
    layout->setColumnStretch(1, 1);
    return area;
}

QLayout* buildCommandButtons(FormWidgets& w, QWidget* parent) {
    w.closeButton =
        commandButton(parent, QStringLiteral("&Close"), "BClose", QStringLiteral("Close Brisko"));
    w.aboutButton =
        commandButton(parent, QStringLiteral("&About"), "BAbout", QStringLiteral("about Brisko"));
    w.loadButton = commandButton(parent, QStringLiteral("&Load Script"), "BLoad",
                                 QStringLiteral("Load Script File"));
    w.loadButton->setDefault(true);
    w.abortAllButton = commandButton(parent, QStringLiteral("Abort All"), "bAbortAll",
                                     QStringLiteral("abort all actions "));
    w.executeButton = commandButton(parent, QStringLiteral("&Execute"), "BCancExec");
    w.executeButton->setEnabled(false);
    w.continueButton = commandButton(parent, QStringLiteral("&Continue"), "bContinue");
    w.abortAllButton->hide();
    w.continueButton->hide();

    // Abort All and Continue take the places of Load Script and Execute while waiting.
    auto* column = new QGridLayout;
    column->setVerticalSpacing(6);
    column->addWidget(w.closeButton, 0, 0);
    column->addWidget(w.aboutButton, 1, 0);
    column->addWidget(w.loadButton, 2, 0);
    column->addWidget(w.abortAllButton, 2, 0);
    column->addWidget(w.executeButton, 3, 0);
    column->addWidget(w.continueButton, 3, 0);
    column->setRowStretch(4, 1);
    return column;
}

QLabel* counterLabel(QWidget* parent, const char* name, const QColor& colour, const QString& hint) {
    auto* label = named(new QLabel(QStringLiteral("0"), parent), name, hint);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setBold(*label);
    // Room for a six-digit count, so that growing numbers never move the table.
    label->setFixedWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 4);
    setTextColour(*label, colour);
    return label;
}

QGroupBox* buildCounters(FormWidgets& w, QWidget* parent) {
    w.countersPanel = named(new QGroupBox(parent), "FilesCountPanel");
    const QColor done(255, 0, 0);
    const QColor planned(0, 128, 0);
    // Counter order: ToUpFiles, ToUpFolder, ToDelFiles, ToDelFolders, UpFiles, UpFolder,
    // DlFiles, DlFolder.
    // Each column is a count done (red) or planned (green); the tool tips say which.
    const auto counter = [&w](const char* name, const QColor& colour, const char* hint) {
        return counterLabel(w.countersPanel, name, colour, QString::fromLatin1(hint));
    };
    w.counters = {counter("ToUpFiles", planned, "Planned: files to copy"),
                  counter("ToUpFolder", planned, "Planned: folders to create"),
                  counter("ToDelFiles", planned, "Planned: files to delete"),
                  counter("ToDelFolders", planned, "Planned: folders to delete"),
                  counter("UpFiles", done, "Done: files copied"),
                  counter("UpFolder", done, "Done: folders created"),
                  counter("DlFiles", done, "Done: files deleted"),
                  counter("DlFolder", done, "Done: folders deleted")};
    auto* grid = new QGridLayout(w.countersPanel);
    auto* plus = named(new QLabel(QStringLiteral("+"), w.countersPanel), "PlusImage",
                       QStringLiteral("Updated  or created Files and Folders"));
    auto* minus = named(new QLabel(QStringLiteral("\u2212"), w.countersPanel), "MinusImage",
                        QStringLiteral("Deleted Files and Folders"));
    for (QLabel* sign : {plus, minus}) {
        setBold(*sign);
        sign->setAlignment(Qt::AlignCenter);
    }
    grid->addWidget(plus, 0, 1, 1, 2);
    grid->addWidget(minus, 0, 3, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Files"), w.countersPanel), 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Folders"), w.countersPanel), 2, 0);
    grid->addWidget(w.counters[4], 1, 1);
    grid->addWidget(w.counters[0], 1, 2);
    grid->addWidget(w.counters[6], 1, 3);
    grid->addWidget(w.counters[2], 1, 4);
    grid->addWidget(w.counters[5], 2, 1);
    grid->addWidget(w.counters[1], 2, 2);
    grid->addWidget(w.counters[7], 2, 3);
    grid->addWidget(w.counters[3], 2, 4);
    // The numbers show from the first scan on; hidden ones keep their room.
    for (QLabel* label : w.counters) {
        QSizePolicy policy = label->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        label->setSizePolicy(policy);
        label->hide();
    }
    w.countersPanel->setFixedSize(w.countersPanel->sizeHint().expandedTo(QSize(kPaneWidth, 0)));
    return w.countersPanel;
}

widgets::TGradProgress* progressBar(QWidget* parent, const char* name, const QString& hint) {
    auto* bar = named(new widgets::TGradProgress(parent), name, hint);
    bar->setMaxValue(kProgressRange);
    bar->setFixedHeight(16);
    widgets::setProgramColours(*bar);
    return bar;
}

QWidget* buildExecutePage(FormWidgets& w, QWidget* parent) {
    w.executePage = named(new QWidget(parent), "Execute");
    w.messageLine = lineLabel(w.executePage, "UMessage", kNavy, QStringLiteral("Messages"));
    w.currentFile = lineLabel(w.executePage, "CurrFile", Qt::black, QString());
    w.currentFile->hide();

    const QString folderHint[2] = {QStringLiteral("Left Folders List"),
                                   QStringLiteral("Right Folders List")};
    // The drive boxes show which drive a tree belongs to; the run chooses it, not the operator.
    w.leftDrive = named(new QComboBox(w.executePage), "LeftDrive", QStringLiteral("Left Drive"));
    w.rightDrive = named(new QComboBox(w.executePage), "RightDrive", QStringLiteral("Right Drive"));
    for (QComboBox* drive : {w.leftDrive, w.rightDrive}) {
        drive->setEnabled(false);
        drive->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        drive->setMinimumContentsLength(8);
    }
    w.leftPane = named(new widgets::TFolderPane(w.executePage), "FolderLeft", folderHint[0]);
    w.rightPane = named(new widgets::TFolderPane(w.executePage), "FolderRight", folderHint[1]);
    w.directionArrow = named(new QLabel(w.executePage), "ArrowAvi");
    w.directionArrow->setFixedSize(32, 32);
    w.directionArrow->setAlignment(Qt::AlignCenter);
    QFont arrowFont = w.directionArrow->font();
    arrowFont.setPixelSize(28);
    arrowFont.setBold(true);
    w.directionArrow->setFont(arrowFont);
    setTextColour(*w.directionArrow, QColor(0, 0, 255));
    w.directionArrow->hide();

    w.fileProgress =
        progressBar(w.executePage, "FileProgress", QStringLiteral("File Copying Progress Bar"));
    w.totalProgress = progressBar(w.executePage, "TotalProgress",
                                  QStringLiteral("Total Files Copying Progress Bar"));

    // The two halves share any extra width equally; the arrow stays between them.
    auto* panes = new QGridLayout;
    panes->addWidget(w.leftDrive, 0, 0);
    panes->addWidget(w.rightDrive, 0, 2);
    panes->addWidget(w.leftPane, 1, 0);
    panes->addWidget(w.directionArrow, 1, 1, Qt::AlignCenter);
    panes->addWidget(w.rightPane, 1, 2);
    panes->setColumnStretch(0, 1);
    panes->setColumnStretch(2, 1);
    panes->setColumnMinimumWidth(1, 74);
    panes->setColumnMinimumWidth(0, kPaneWidth);
    panes->setColumnMinimumWidth(2, kPaneWidth);
    panes->setRowStretch(1, 1);

    auto* bars = new QVBoxLayout;
    bars->addStretch();
    bars->addWidget(w.fileProgress);
    bars->addWidget(w.totalProgress);
    auto* bottom = new QGridLayout;
    bottom->addLayout(bars, 0, 0);
    bottom->addWidget(buildCounters(w, w.executePage), 0, 2, Qt::AlignRight | Qt::AlignBottom);
    bottom->setColumnStretch(0, 1);
    bottom->setColumnStretch(2, 1);
    bottom->setColumnMinimumWidth(1, 74);

    auto* page = new QVBoxLayout(w.executePage);
    page->setContentsMargins(7, 4, 7, 4);
    page->addWidget(w.messageLine);
    page->addWidget(w.currentFile);
    page->addLayout(panes, 1);
    page->addLayout(bottom);
    return w.executePage;
}

QWidget* buildScriptPage(FormWidgets& w, QWidget* parent) {
    w.scriptPage = named(new QWidget(parent), "Script");
    w.scriptGrid = named(new widgets::TEnhStringGrid(w.scriptPage), "ScriptGrid");
    w.scriptGrid->setHeaders({QStringLiteral("Key"), QStringLiteral("="), QStringLiteral("Value")});
    w.scriptGrid->setColumnWidth(0, 127);
    w.scriptGrid->setColumnWidth(1, 15);
    w.scriptGrid->horizontalHeader()->setStretchLastSection(true);

    w.errorBox = named(new QGroupBox(w.scriptPage), "ErrBox");
    w.errorReport = named(new QLabel(w.errorBox), "ReportError");
    w.errorReport->setWordWrap(true);
    setBold(*w.errorReport);
    setTextColour(*w.errorReport, QColor(255, 0, 0));
    w.editScriptButton =
        named(new QPushButton(QStringLiteral("Edit Script"), w.errorBox), "bEditScript");
    w.reloadButton = named(new QPushButton(QStringLiteral("Reload Script"), w.errorBox), "bReload");
    auto* box = new QVBoxLayout(w.errorBox);
    box->addWidget(w.errorReport);
    box->addWidget(w.editScriptButton);
    box->addWidget(w.reloadButton);
    box->addStretch();
    w.errorBox->hide();

    auto* page = new QHBoxLayout(w.scriptPage);
    page->addWidget(w.scriptGrid, 1);
    page->addWidget(w.errorBox);
    return w.scriptPage;
}

QWidget* buildHistoryPage(FormWidgets& w, QWidget* parent) {
    w.historyPage = named(new QWidget(parent), "History");
    w.historyGrid = named(new widgets::TEnhStringGrid(w.historyPage), "HistGrid",
                          QStringLiteral("Action History List"));
    w.historyGrid->setHeaders({QStringLiteral("From"), QStringLiteral("To"),
                               QStringLiteral("Size in bytes"), QStringLiteral("Bytes +/-"),
                               QStringLiteral("Status")});
    // From and To share whatever width the other columns leave, and show each path with its
    // file name whole; the sizes and the status start at their usual widths, at least as wide
    // as their titles, and widen for longer texts.
    w.historyGrid->setPathColumn(0);
    w.historyGrid->setPathColumn(1);
    QHeaderView* header = w.historyGrid->horizontalHeader();
    QFont titleFont = header->font();
    titleFont.setBold(true); // styles may draw titles bold
    const QFontMetrics titles(titleFont);
    constexpr int kTitlePadding = 12;
    const int widths[] = {175, 177, 63, 52, 85};
    for (int col = 0; col < 5; ++col) {
        const int title =
            titles.horizontalAdvance(w.historyGrid->horizontalHeaderItem(col)->text()) +
            kTitlePadding;
        w.historyGrid->setColumnWidth(col, std::max(widths[col], title));
    }
    for (const char* planned : {"File to be copied", "File to be deleted", "Folder to be created"})
        w.historyGrid->fitColumnTo(4, QString::fromLatin1(planned));
    header->setMinimumSectionSize(40);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    header->setSectionResizeMode(1, QHeaderView::Stretch);
    w.messageGrid = named(new widgets::TEnhStringGrid(w.historyPage), "MessageGrid",
                          QStringLiteral("Messages History"));
    w.messageGrid->setHeaders({QStringLiteral("Messages History")});
    w.messageGrid->horizontalHeader()->setStretchLastSection(true);
    w.messageGrid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    w.messageGrid->setRowCount(1); // the next message goes into the empty last row

    auto* options = named(new QWidget(w.historyPage), "Panel7");
    options->setMinimumWidth(177);
    w.stopBetweenScanAndCopyBox =
        named(new QCheckBox(QStringLiteral("Stop between scan and copy"), options), "ScanCopyBox");
    w.binaryCompareBox = named(new QCheckBox(QStringLiteral("Binary compare after copy"), options),
                               "BinaryCompareBox");
    auto* optionLayout = new QVBoxLayout(options);
    optionLayout->addStretch();
    optionLayout->addWidget(w.stopBetweenScanAndCopyBox);
    optionLayout->addWidget(w.binaryCompareBox);

    auto* lower = new QHBoxLayout;
    lower->addWidget(w.messageGrid, 1);
    lower->addWidget(options);
    auto* page = new QVBoxLayout(w.historyPage);
    page->addWidget(w.historyGrid, 3);
    page->addLayout(lower, 2);
    return w.historyPage;
}

void buildStatusBar(FormWidgets& w, QMainWindow& window) {
    QStatusBar* bar = window.statusBar();
    // The legend of the lamp is the first hint: it keeps all the room the state text and the
    // lamp leave (the window's edges resize it, without a grip), and wraps when still too long.
    bar->setSizeGripEnabled(false);
    w.hintLine = named(new QLabel(kPageHint, bar), "HintText");
    w.hintLine->setWordWrap(true);
    w.ledText = named(new QLabel(bar), "LedLabel");
    w.ledText->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    w.ledText->setMinimumWidth(
        w.ledText->fontMetrics().horizontalAdvance(QStringLiteral("Scanning")) + 6);
    // A steady lamp whose colour tells the run state.
    w.led = named(new widgets::TLed(bar), "Led");
    w.led->setBlink(false);
    w.led->setTrueColor(QColor(128, 128, 128));
    w.led->setValue(true);
    bar->addWidget(w.hintLine, 1);
    bar->addPermanentWidget(w.ledText);
    bar->addPermanentWidget(w.led);
}

} // namespace

FormWidgets buildFormWidgets(QMainWindow& window, const QString& mainLabel) {
    FormWidgets w{};
    auto* central = new QWidget(&window);
    central->setObjectName(QStringLiteral("Central"));

    auto* top = new QHBoxLayout;
    top->addWidget(buildTitlePanel(w, central, mainLabel), 0, Qt::AlignTop);
    top->addStretch();
    top->addLayout(buildCommandButtons(w, central));

    w.pages = named(new QTabWidget(central), "PageControl", kPageHint);
    w.pages->addTab(buildExecutePage(w, w.pages), QStringLiteral("Execute"));
    w.pages->addTab(buildScriptPage(w, w.pages), QStringLiteral("Script File"));
    w.pages->addTab(buildHistoryPage(w, w.pages), QStringLiteral("History"));
    w.tutorialPage = named(new tutorial::TutorialPage(w.pages), "Sample");
    w.samplePage = w.tutorialPage;
    w.pages->addTab(w.samplePage, QStringLiteral("Tutorial"));
    w.pages->setCurrentWidget(w.executePage);

    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 0);
    layout->addLayout(top);
    layout->addWidget(w.pages, 1);
    window.setCentralWidget(central);
    buildStatusBar(w, window);
    return w;
}

} // namespace brisko::app
