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

    w.MainLabel = named(new QLabel(mainLabel, panel), "MainLabel");
    QFont font = w.MainLabel->font();
    font.setPixelSize(19);
    font.setBold(true);
    w.MainLabel->setFont(font);
    setTextColour(*w.MainLabel, kNavy);

    auto* logo = named(new QLabel(panel), "Logo");
    logo->setPixmap(programLogo(48));

    auto* layout = new QGridLayout(panel);
    layout->setContentsMargins(8, 3, 8, 3);
    layout->setVerticalSpacing(0);
    layout->addWidget(w.MainLabel, 0, 0, 1, 2);
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
    w.BClose =
        commandButton(parent, QStringLiteral("&Close"), "BClose", QStringLiteral("Close Brisko"));
    w.BAbout =
        commandButton(parent, QStringLiteral("&About"), "BAbout", QStringLiteral("about Brisko"));
    w.BLoad = commandButton(parent, QStringLiteral("&Load Script"), "BLoad",
                            QStringLiteral("Load Script File"));
    w.BLoad->setDefault(true);
    w.bAbortAll = commandButton(parent, QStringLiteral("Abort All"), "bAbortAll",
                                QStringLiteral("abort all actions "));
    w.BCancExec = commandButton(parent, QStringLiteral("&Execute"), "BCancExec");
    w.BCancExec->setEnabled(false);
    w.bContinue = commandButton(parent, QStringLiteral("&Continue"), "bContinue");
    w.bAbortAll->hide();
    w.bContinue->hide();

    // Abort All and Continue take the places of Load Script and Execute while waiting.
    auto* column = new QGridLayout;
    column->setVerticalSpacing(6);
    column->addWidget(w.BClose, 0, 0);
    column->addWidget(w.BAbout, 1, 0);
    column->addWidget(w.BLoad, 2, 0);
    column->addWidget(w.bAbortAll, 2, 0);
    column->addWidget(w.BCancExec, 3, 0);
    column->addWidget(w.bContinue, 3, 0);
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
    w.FilesCountPanel = named(new QGroupBox(parent), "FilesCountPanel");
    const QColor done(255, 0, 0);
    const QColor planned(0, 128, 0);
    // Counter order: ToUpFiles, ToUpFolder, ToDelFiles, ToDelFolders, UpFiles, UpFolder,
    // DlFiles, DlFolder.
    // Each column is a count done (red) or planned (green); the tool tips say which.
    const auto counter = [&w](const char* name, const QColor& colour, const char* hint) {
        return counterLabel(w.FilesCountPanel, name, colour, QString::fromLatin1(hint));
    };
    w.counters = {counter("ToUpFiles", planned, "Planned: files to copy"),
                  counter("ToUpFolder", planned, "Planned: folders to create"),
                  counter("ToDelFiles", planned, "Planned: files to delete"),
                  counter("ToDelFolders", planned, "Planned: folders to delete"),
                  counter("UpFiles", done, "Done: files copied"),
                  counter("UpFolder", done, "Done: folders created"),
                  counter("DlFiles", done, "Done: files deleted"),
                  counter("DlFolder", done, "Done: folders deleted")};
    auto* grid = new QGridLayout(w.FilesCountPanel);
    auto* plus = named(new QLabel(QStringLiteral("+"), w.FilesCountPanel), "PlusImage",
                       QStringLiteral("Updated  or created Files and Folders"));
    auto* minus = named(new QLabel(QStringLiteral("\u2212"), w.FilesCountPanel), "MinusImage",
                        QStringLiteral("Deleted Files and Folders"));
    for (QLabel* sign : {plus, minus}) {
        setBold(*sign);
        sign->setAlignment(Qt::AlignCenter);
    }
    grid->addWidget(plus, 0, 1, 1, 2);
    grid->addWidget(minus, 0, 3, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Files"), w.FilesCountPanel), 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Folders"), w.FilesCountPanel), 2, 0);
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
    w.FilesCountPanel->setFixedSize(w.FilesCountPanel->sizeHint().expandedTo(QSize(kPaneWidth, 0)));
    return w.FilesCountPanel;
}

widgets::TGradProgress* progressBar(QWidget* parent, const char* name, const QString& hint) {
    auto* bar = named(new widgets::TGradProgress(parent), name, hint);
    bar->setMaxValue(kProgressRange);
    bar->setFixedHeight(16);
    widgets::setProgramColours(*bar);
    return bar;
}

QWidget* buildExecutePage(FormWidgets& w, QWidget* parent) {
    w.Execute = named(new QWidget(parent), "Execute");
    w.UMessage = lineLabel(w.Execute, "UMessage", kNavy, QStringLiteral("Messages"));
    w.CurrFile = lineLabel(w.Execute, "CurrFile", Qt::black, QString());
    w.CurrFile->hide();

    const QString folderHint[2] = {QStringLiteral("Left Folders List"),
                                   QStringLiteral("Right Folders List")};
    // The drive boxes show which drive a tree belongs to; the run chooses it, not the operator.
    w.LeftDrive = named(new QComboBox(w.Execute), "LeftDrive", QStringLiteral("Left Drive"));
    w.RightDrive = named(new QComboBox(w.Execute), "RightDrive", QStringLiteral("Right Drive"));
    for (QComboBox* drive : {w.LeftDrive, w.RightDrive}) {
        drive->setEnabled(false);
        drive->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        drive->setMinimumContentsLength(8);
    }
    w.FolderLeft = named(new widgets::TFolderPane(w.Execute), "FolderLeft", folderHint[0]);
    w.FolderRight = named(new widgets::TFolderPane(w.Execute), "FolderRight", folderHint[1]);
    w.ArrowAvi = named(new QLabel(w.Execute), "ArrowAvi");
    w.ArrowAvi->setFixedSize(32, 32);
    w.ArrowAvi->setAlignment(Qt::AlignCenter);
    QFont arrowFont = w.ArrowAvi->font();
    arrowFont.setPixelSize(28);
    arrowFont.setBold(true);
    w.ArrowAvi->setFont(arrowFont);
    setTextColour(*w.ArrowAvi, QColor(0, 0, 255));
    w.ArrowAvi->hide();

    w.FileProgress =
        progressBar(w.Execute, "FileProgress", QStringLiteral("File Copying Progress Bar"));
    w.TotalProgress =
        progressBar(w.Execute, "TotalProgress", QStringLiteral("Total Files Copying Progress Bar"));

    // The two halves share any extra width equally; the arrow stays between them.
    auto* panes = new QGridLayout;
    panes->addWidget(w.LeftDrive, 0, 0);
    panes->addWidget(w.RightDrive, 0, 2);
    panes->addWidget(w.FolderLeft, 1, 0);
    panes->addWidget(w.ArrowAvi, 1, 1, Qt::AlignCenter);
    panes->addWidget(w.FolderRight, 1, 2);
    panes->setColumnStretch(0, 1);
    panes->setColumnStretch(2, 1);
    panes->setColumnMinimumWidth(1, 74);
    panes->setColumnMinimumWidth(0, kPaneWidth);
    panes->setColumnMinimumWidth(2, kPaneWidth);
    panes->setRowStretch(1, 1);

    auto* bars = new QVBoxLayout;
    bars->addStretch();
    bars->addWidget(w.FileProgress);
    bars->addWidget(w.TotalProgress);
    auto* bottom = new QGridLayout;
    bottom->addLayout(bars, 0, 0);
    bottom->addWidget(buildCounters(w, w.Execute), 0, 2, Qt::AlignRight | Qt::AlignBottom);
    bottom->setColumnStretch(0, 1);
    bottom->setColumnStretch(2, 1);
    bottom->setColumnMinimumWidth(1, 74);

    auto* page = new QVBoxLayout(w.Execute);
    page->setContentsMargins(7, 4, 7, 4);
    page->addWidget(w.UMessage);
    page->addWidget(w.CurrFile);
    page->addLayout(panes, 1);
    page->addLayout(bottom);
    return w.Execute;
}

QWidget* buildScriptPage(FormWidgets& w, QWidget* parent) {
    w.Script = named(new QWidget(parent), "Script");
    w.ScriptGrid = named(new widgets::TEnhStringGrid(w.Script), "ScriptGrid");
    w.ScriptGrid->setHeaders({QStringLiteral("Key"), QStringLiteral("="), QStringLiteral("Value")});
    w.ScriptGrid->setColumnWidth(0, 127);
    w.ScriptGrid->setColumnWidth(1, 15);
    w.ScriptGrid->horizontalHeader()->setStretchLastSection(true);

    w.ErrBox = named(new QGroupBox(w.Script), "ErrBox");
    w.ReportError = named(new QLabel(w.ErrBox), "ReportError");
    w.ReportError->setWordWrap(true);
    setBold(*w.ReportError);
    setTextColour(*w.ReportError, QColor(255, 0, 0));
    w.bEditScript = named(new QPushButton(QStringLiteral("Edit Script"), w.ErrBox), "bEditScript");
    w.bReload = named(new QPushButton(QStringLiteral("Reload Script"), w.ErrBox), "bReload");
    auto* box = new QVBoxLayout(w.ErrBox);
    box->addWidget(w.ReportError);
    box->addWidget(w.bEditScript);
    box->addWidget(w.bReload);
    box->addStretch();
    w.ErrBox->hide();

    auto* page = new QHBoxLayout(w.Script);
    page->addWidget(w.ScriptGrid, 1);
    page->addWidget(w.ErrBox);
    return w.Script;
}

QWidget* buildHistoryPage(FormWidgets& w, QWidget* parent) {
    w.History = named(new QWidget(parent), "History");
    w.HistGrid = named(new widgets::TEnhStringGrid(w.History), "HistGrid",
                       QStringLiteral("Action History List"));
    w.HistGrid->setHeaders({QStringLiteral("From"), QStringLiteral("To"),
                            QStringLiteral("Size in bytes"), QStringLiteral("Bytes +/-"),
                            QStringLiteral("Status")});
    // From and To share whatever width the other columns leave, and show each path with its
    // file name whole; the sizes and the status start at their usual widths, at least as wide
    // as their titles, and widen for longer texts.
    w.HistGrid->setPathColumn(0);
    w.HistGrid->setPathColumn(1);
    QHeaderView* header = w.HistGrid->horizontalHeader();
    QFont titleFont = header->font();
    titleFont.setBold(true); // styles may draw titles bold
    const QFontMetrics titles(titleFont);
    constexpr int kTitlePadding = 12;
    const int widths[] = {175, 177, 63, 52, 85};
    for (int col = 0; col < 5; ++col) {
        const int title =
            titles.horizontalAdvance(w.HistGrid->horizontalHeaderItem(col)->text()) + kTitlePadding;
        w.HistGrid->setColumnWidth(col, std::max(widths[col], title));
    }
    for (const char* planned : {"File to be copied", "File to be deleted", "Folder to be created"})
        w.HistGrid->fitColumnTo(4, QString::fromLatin1(planned));
    header->setMinimumSectionSize(40);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    header->setSectionResizeMode(1, QHeaderView::Stretch);
    w.MessageGrid = named(new widgets::TEnhStringGrid(w.History), "MessageGrid",
                          QStringLiteral("Messages History"));
    w.MessageGrid->setHeaders({QStringLiteral("Messages History")});
    w.MessageGrid->horizontalHeader()->setStretchLastSection(true);
    w.MessageGrid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    w.MessageGrid->setRowCount(1); // the next message goes into the empty last row

    auto* options = named(new QWidget(w.History), "Panel7");
    options->setMinimumWidth(177);
    w.ScanCopyBox =
        named(new QCheckBox(QStringLiteral("Stop between scan and copy"), options), "ScanCopyBox");
    w.BinaryCompareBox = named(new QCheckBox(QStringLiteral("Binary compare after copy"), options),
                               "BinaryCompareBox");
    auto* optionLayout = new QVBoxLayout(options);
    optionLayout->addStretch();
    optionLayout->addWidget(w.ScanCopyBox);
    optionLayout->addWidget(w.BinaryCompareBox);

    auto* lower = new QHBoxLayout;
    lower->addWidget(w.MessageGrid, 1);
    lower->addWidget(options);
    auto* page = new QVBoxLayout(w.History);
    page->addWidget(w.HistGrid, 3);
    page->addLayout(lower, 2);
    return w.History;
}

void buildStatusBar(FormWidgets& w, QMainWindow& window) {
    QStatusBar* bar = window.statusBar();
    // The legend of the lamp is the first hint: it keeps all the room the state text and the
    // lamp leave (the window's edges resize it, without a grip), and wraps when still too long.
    bar->setSizeGripEnabled(false);
    w.HintText = named(new QLabel(kPageHint, bar), "HintText");
    w.HintText->setWordWrap(true);
    w.LedLabel = named(new QLabel(bar), "LedLabel");
    w.LedLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    w.LedLabel->setMinimumWidth(
        w.LedLabel->fontMetrics().horizontalAdvance(QStringLiteral("Scanning")) + 6);
    // A steady lamp whose colour tells the run state.
    w.Led = named(new widgets::TLed(bar), "Led");
    w.Led->setBlink(false);
    w.Led->setTrueColor(QColor(128, 128, 128));
    w.Led->setValue(true);
    bar->addWidget(w.HintText, 1);
    bar->addPermanentWidget(w.LedLabel);
    bar->addPermanentWidget(w.Led);
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

    w.PageControl = named(new QTabWidget(central), "PageControl", kPageHint);
    w.PageControl->addTab(buildExecutePage(w, w.PageControl), QStringLiteral("Execute"));
    w.PageControl->addTab(buildScriptPage(w, w.PageControl), QStringLiteral("Script File"));
    w.PageControl->addTab(buildHistoryPage(w, w.PageControl), QStringLiteral("History"));
    w.Tutorial = named(new tutorial::TutorialPage(w.PageControl), "Sample");
    w.Sample = w.Tutorial;
    w.PageControl->addTab(w.Sample, QStringLiteral("Tutorial"));
    w.PageControl->setCurrentWidget(w.Execute);

    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 0);
    layout->addLayout(top);
    layout->addWidget(w.PageControl, 1);
    window.setCentralWidget(central);
    buildStatusBar(w, window);
    return w;
}

} // namespace brisko::app
