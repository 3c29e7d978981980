#include "app/BriskoForm.h"

#include "app/AboutForm.h"
#include "app/ScriptFileDialog.h"
#include "app/Version.h"
#include "app/WindowDisplay.h"
#include "app/WindowOperator.h"
#include "app/desktop/EditorCommand.h"
#include "app/desktop/StartupRegistration.h"
#include "run/RunContext.h"
#include "run/RunControl.h"
#include "run/Startup.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QShortcut>
#include <QStatusTipEvent>
#include <QTimer>
#include <QWhatsThis>

namespace brisko::app {

namespace {

// The client area at start, and the smallest the window with its frame may become.
constexpr QSize kStartSize(568, 462);
constexpr QSize kMinimumFrame(572, 489);

} // namespace

TBriskoForm::TBriskoForm(FormServices services, std::vector<std::string> parameters,
                         QWidget* parent)
    : QMainWindow(parent), w_(buildFormWidgets(*this, QString::fromStdString(mainLabelText()))),
      display_(std::make_unique<WindowDisplay>(*this, w_, services.fileSystem)),
      windowOperator_(std::make_unique<WindowOperator>(this)),
      operator_(services.operatorPort != nullptr ? *services.operatorPort : *windowOperator_),
      parameters_(std::move(parameters)), ScriptEditReturn(new launcher::TExFile(this)),
      scriptWatch_(new ScriptWatch(this)) {
    setObjectName(QStringLiteral("TBriskoForm"));
    // The title bar holds the system menu, the close button and What's This.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint);
    setMinimumSize(kStartSize);
    resize(kStartSize);

    auto* scriptGrid = w_.ScriptGrid;
    scriptGrid->setOnBeforeDrawCell([scriptGrid](int, int row, widgets::CellStyle& style) {
        scriptGridBeforeDrawCell(*scriptGrid, row, style);
    });
    auto* histGrid = w_.HistGrid;
    histGrid->setOnBeforeDrawCell([histGrid](int, int row, widgets::CellStyle& style) {
        histGridBeforeDrawCell(*histGrid, row, style);
    });

    context_ = std::make_unique<run::RunContext>(run::Services{services.fileSystem, services.clock,
                                                               services.environment, *display_,
                                                               operator_, display_.get()},
                                                 mainLabelText());
    if (services.startup != nullptr)
        services.startup->applyTo(*context_);
    connectControls();
}

TBriskoForm::~TBriskoForm() = default;

bool TBriskoForm::running() const {
    return context_->windowState().running;
}

void TBriskoForm::connectControls() {
    connect(w_.BClose, &QPushButton::clicked, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, w_.BClose, &QPushButton::click);
    connect(w_.BAbout, &QPushButton::clicked, this, &TBriskoForm::BAboutClick);
    connect(w_.BLoad, &QPushButton::clicked, this, &TBriskoForm::BLoadClick);
    connect(w_.BCancExec, &QPushButton::clicked, this, &TBriskoForm::BCancExecClick);
    connect(w_.bAbortAll, &QPushButton::clicked, this, &TBriskoForm::bAbortAllClick);
    connect(w_.bContinue, &QPushButton::clicked, this, &TBriskoForm::bContinueClick);
    connect(w_.bReload, &QPushButton::clicked, this, &TBriskoForm::bReloadClick);
    ScriptEditReturn->setObjectName(QStringLiteral("ScriptEditReturn"));
    connect(w_.bEditScript, &QPushButton::clicked, this, &TBriskoForm::bEditScriptClick);
    connect(ScriptEditReturn, &launcher::TExFile::ProcCompleted, this,
            &TBriskoForm::ScriptEditReturnProcCompleted);
    connect(ScriptEditReturn, &launcher::TExFile::LaunchFailed, this,
            &TBriskoForm::ScriptEditReturnLaunchFailed);
    connect(scriptWatch_, &ScriptWatch::changed, this, &TBriskoForm::reloadChangedScript);
    connect(w_.ScanCopyBox, &QCheckBox::clicked, this,
            [this](bool checked) { context_->setStopBetweenScanAndCopy(checked); });
    connect(w_.BinaryCompareBox, &QCheckBox::clicked, this,
            [this](bool checked) { context_->setBinaryCompareAfterCopy(checked); });
    // Selecting a row in error shows why in the hint line; another row clears it.
    connect(w_.ScriptGrid, &QTableWidget::currentCellChanged, this, [this](int row) {
        const QTableWidgetItem* cell = w_.ScriptGrid->item(row, 0);
        w_.HintText->setText(cell != nullptr ? cell->toolTip() : QString());
    });
    connect(w_.PageControl, &QTabWidget::currentChanged, this, [this] {
        w_.HintText->clear();
        if (w_.PageControl->currentWidget() == w_.Script && w_.BLoad->isEnabled())
            w_.BLoad->setFocus();
    });
}

void TBriskoForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    keepMinimumFrame();
    if (!Activated)
        QTimer::singleShot(0, this, &TBriskoForm::FormActivate);
}

void TBriskoForm::FormActivate() {
    if (Activated)
        return;
    Activated = true;
    keepMinimumFrame(); // the frame is known once the window is on the screen
    desktop::registerAtStart(this);
    using Outcome = run::RunContext::StartOutcome;
    const Outcome outcome = context_->startFromCommandLine(parameters_);
    display_->showErrorCount(context_->errorCount());
    if (outcome == Outcome::Run)
        executeScript();
}

void TBriskoForm::keepMinimumFrame() {
    const QSize frame = frameGeometry().size() - size();
    setMinimumSize(kStartSize.expandedTo(kMinimumFrame - frame));
}

void TBriskoForm::BLoadClick() {
    if (running())
        return;
    QFileDialog dialog(this);
    prepareScriptFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    loadScriptFile(dialog.selectedFiles().constFirst());
}

void TBriskoForm::loadScriptFile(const QString& fileName) {
    if (running() || !context_->canClose())
        return;
    context_->loadScript(fileName.toStdString());
    showLoadedScript();
}

void TBriskoForm::bReloadClick() {
    if (running() || context_->script().fileName.empty())
        return;
    context_->reloadScript();
    showLoadedScript();
}

void TBriskoForm::showLoadedScript() {
    display_->showErrorCount(context_->errorCount());
    scriptWatch_->watch(QString::fromStdString(context_->script().fileName));
}

void TBriskoForm::reloadChangedScript() {
    // A run keeps the script it started with; the page shows the new one once idle again.
    if (!running() && context_->canClose())
        bReloadClick();
}

void TBriskoForm::bEditScriptClick() {
    const std::string& script = context_->script().fileName;
    if (script.empty())
        return;
    const desktop::EditorCommand editor = desktop::readEditorCommand();
    if (!editor.isSet()) {
        QMessageBox::information(this, QStringLiteral("Brisko2"), editor.missingMessage);
        return;
    }
    ScriptEditReturn->setProcFileName(editor.program);
    ScriptEditReturn->setProcParameters(
        launcher::quotedParameters(editor.argumentsFor(QString::fromStdString(script))));
    ScriptEditReturn->setProcCurrentDir(QString::fromStdString(context_->script().loadFolder));
    ScriptEditReturn->Launch();
}

void TBriskoForm::ScriptEditReturnProcCompleted() {
    bReloadClick();
}

void TBriskoForm::ScriptEditReturnLaunchFailed() {
    QMessageBox::information(this, QStringLiteral("Brisko2"),
                             QStringLiteral("unable to start an edit-session,\n"
                                            "maybe you have one edit-session already started"));
}

void TBriskoForm::BCancExecClick() {
    if (running())
        run::requestStop(*context_);
    else
        executeScript();
}

void TBriskoForm::bContinueClick() {
    run::continueRun(*context_);
}

void TBriskoForm::bAbortAllClick() {
    run::abortAllWaiting(*context_);
}

void TBriskoForm::BAboutClick() {
    TAboutForm about(this);
    about.exec();
}

// One whole run; the run itself decides whether the window closes afterwards.
void TBriskoForm::executeScript() {
    if (running() || !context_->canClose())
        return;
    const run::RunResult result = run::executeRun(*context_);
    if (result.window == run::WindowAfterRun::Close)
        close();
}

void TBriskoForm::closeEvent(QCloseEvent* event) {
    // Work in progress keeps the window: also a run that has not reached its first session.
    if (running() || !context_->canClose()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

bool TBriskoForm::event(QEvent* event) {
    if (event->type() == QEvent::EnterWhatsThisMode) {
        QWhatsThis::enterWhatsThisMode();
        return true;
    }
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        if (!tip.isEmpty())
            w_.HintText->setText(tip);
        return true;
    }
    return QMainWindow::event(event);
}

} // namespace brisko::app
