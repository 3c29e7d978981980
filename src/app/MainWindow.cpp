#include "app/MainWindow.h"

#include "app/AboutDialog.h"
#include "app/ScriptFileDialog.h"
#include "app/Version.h"
#include "app/WindowDisplay.h"
#include "app/WindowOperator.h"
#include "app/desktop/EditorCommand.h"
#include "app/desktop/StartupRegistration.h"
#include "run/MainLabel.h"
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

MainWindow::MainWindow(FormServices services, std::vector<std::string> parameters, QWidget* parent)
    : QMainWindow(parent),
      w_(buildFormWidgets(*this, QString::fromStdString(run::mainLabelText()))),
      display_(std::make_unique<WindowDisplay>(*this, w_, services.fileSystem)),
      windowOperator_(std::make_unique<WindowOperator>(this)),
      operator_(services.operatorPort != nullptr ? *services.operatorPort : *windowOperator_),
      parameters_(std::move(parameters)), editor_(new launcher::TExFile(this)),
      scriptWatch_(new ScriptWatch(this)) {
    setObjectName(QStringLiteral("TBriskoForm"));
    // The title bar holds the system menu, the close button and What's This.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint);
    setMinimumSize(kStartSize);
    resize(kStartSize);

    auto* scriptGrid = w_.scriptGrid;
    scriptGrid->setOnBeforeDrawCell([scriptGrid](int, int row, widgets::CellStyle& style) {
        scriptGridBeforeDrawCell(*scriptGrid, row, style);
    });
    auto* histGrid = w_.historyGrid;
    histGrid->setOnBeforeDrawCell([histGrid](int, int row, widgets::CellStyle& style) {
        historyGridBeforeDrawCell(*histGrid, row, style);
    });

    context_ = std::make_unique<run::RunContext>(run::Services{services.fileSystem, services.clock,
                                                               services.environment, *display_,
                                                               operator_, display_.get()},
                                                 run::mainLabelText());
    if (services.startup != nullptr)
        services.startup->applyTo(*context_);
    connectControls();
}

MainWindow::~MainWindow() = default;

bool MainWindow::running() const {
    return context_->windowState().running;
}

void MainWindow::connectControls() {
    connect(w_.closeButton, &QPushButton::clicked, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, w_.closeButton, &QPushButton::click);
    connect(w_.aboutButton, &QPushButton::clicked, this, &MainWindow::aboutClicked);
    connect(w_.loadButton, &QPushButton::clicked, this, &MainWindow::loadClicked);
    connect(w_.executeButton, &QPushButton::clicked, this, &MainWindow::executeClicked);
    connect(w_.abortAllButton, &QPushButton::clicked, this, &MainWindow::abortAllClicked);
    connect(w_.continueButton, &QPushButton::clicked, this, &MainWindow::continueClicked);
    connect(w_.reloadButton, &QPushButton::clicked, this, &MainWindow::reloadClicked);
    editor_->setObjectName(QStringLiteral("ScriptEditReturn"));
    connect(w_.editScriptButton, &QPushButton::clicked, this, &MainWindow::editScriptClicked);
    connect(editor_, &launcher::TExFile::ProcCompleted, this, &MainWindow::editorEnded);
    connect(editor_, &launcher::TExFile::LaunchFailed, this, &MainWindow::editorNotStarted);
    connect(scriptWatch_, &ScriptWatch::changed, this, &MainWindow::reloadChangedScript);
    connect(w_.stopBetweenScanAndCopyBox, &QCheckBox::clicked, this,
            [this](bool checked) { context_->setStopBetweenScanAndCopy(checked); });
    connect(w_.binaryCompareBox, &QCheckBox::clicked, this,
            [this](bool checked) { context_->setBinaryCompareAfterCopy(checked); });
    // Selecting a row in error shows why in the hint line; another row clears it.
    connect(w_.scriptGrid, &QTableWidget::currentCellChanged, this, [this](int row) {
        const QTableWidgetItem* cell = w_.scriptGrid->item(row, 0);
        w_.hintLine->setText(cell != nullptr ? cell->toolTip() : QString());
    });
    connect(w_.pages, &QTabWidget::currentChanged, this, [this] {
        w_.hintLine->clear();
        if (w_.pages->currentWidget() == w_.scriptPage && w_.loadButton->isEnabled())
            w_.loadButton->setFocus();
    });
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    keepMinimumFrame();
    if (!activated_)
        QTimer::singleShot(0, this, &MainWindow::activateOnce);
}

void MainWindow::activateOnce() {
    if (activated_)
        return;
    activated_ = true;
    keepMinimumFrame(); // the frame is known once the window is on the screen
    desktop::registerAtStart(this);
    using Outcome = run::RunContext::StartOutcome;
    const Outcome outcome = context_->startFromCommandLine(parameters_);
    display_->showErrorCount(context_->errorCount());
    if (outcome == Outcome::Run)
        executeScript();
}

void MainWindow::keepMinimumFrame() {
    const QSize frame = frameGeometry().size() - size();
    setMinimumSize(kStartSize.expandedTo(kMinimumFrame - frame));
}

void MainWindow::loadClicked() {
    if (running())
        return;
    QFileDialog dialog(this);
    prepareScriptFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    loadScriptFile(dialog.selectedFiles().constFirst());
}

void MainWindow::loadScriptFile(const QString& fileName) {
    if (running() || !context_->canClose())
        return;
    context_->loadScript(fileName.toStdString());
    showLoadedScript();
}

void MainWindow::reloadClicked() {
    if (running() || context_->script().fileName.empty())
        return;
    context_->reloadScript();
    showLoadedScript();
}

void MainWindow::showLoadedScript() {
    display_->showErrorCount(context_->errorCount());
    scriptWatch_->watch(QString::fromStdString(context_->script().fileName));
}

void MainWindow::reloadChangedScript() {
    // A run keeps the script it started with; the page shows the new one once idle again.
    if (!running() && context_->canClose())
        reloadClicked();
}

void MainWindow::editScriptClicked() {
    const std::string& script = context_->script().fileName;
    if (script.empty())
        return;
    const desktop::EditorCommand editor = desktop::readEditorCommand();
    if (!editor.isSet()) {
        QMessageBox::information(this, QStringLiteral("Brisko2"), editor.missingMessage);
        return;
    }
    editor_->setProcFileName(editor.program);
    editor_->setProcParameters(
        launcher::quotedParameters(editor.argumentsFor(QString::fromStdString(script))));
    editor_->setProcCurrentDir(QString::fromStdString(context_->script().loadFolder));
    editor_->Launch();
}

void MainWindow::editorEnded() {
    reloadClicked();
}

void MainWindow::editorNotStarted() {
    QMessageBox::information(this, QStringLiteral("Brisko2"),
                             QStringLiteral("unable to start an edit-session,\n"
                                            "maybe you have one edit-session already started"));
}

void MainWindow::executeClicked() {
    if (running())
        run::requestStop(*context_);
    else
        executeScript();
}

void MainWindow::continueClicked() {
    run::continueRun(*context_);
}

void MainWindow::abortAllClicked() {
    run::abortAllWaiting(*context_);
}

void MainWindow::aboutClicked() {
    AboutDialog about(this);
    about.exec();
}

// One whole run; the run itself decides whether the window closes afterwards.
void MainWindow::executeScript() {
    if (running() || !context_->canClose())
        return;
    const run::RunResult result = run::executeRun(*context_);
    if (result.window == run::WindowAfterRun::Close)
        close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Work in progress keeps the window: also a run that has not reached its first session.
    if (running() || !context_->canClose()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::EnterWhatsThisMode) {
        QWhatsThis::enterWhatsThisMode();
        return true;
    }
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        if (!tip.isEmpty())
            w_.hintLine->setText(tip);
        return true;
    }
    return QMainWindow::event(event);
}

} // namespace brisko::app
