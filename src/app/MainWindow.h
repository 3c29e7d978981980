#pragma once

#include "app/FormWidgets.h"
#include "app/ScriptWatch.h"
#include "launcher/TExFile.h"
#include "platform/Clock.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "ports/Operator.h"

#include <QMainWindow>
#include <memory>
#include <string>
#include <vector>

namespace brisko::run {
class RunContext;
struct Startup;
} // namespace brisko::run

namespace brisko::app {

class WindowDisplay;
class WindowOperator;

// What the window works with; the operator is the window's own dialogs unless one is given.
struct FormServices {
    platform::FileSystem& fileSystem;
    const platform::Clock& clock;
    const platform::Environment& environment;
    Operator* operatorPort = nullptr;
    // The host's shell, own path and thousands separator; none: every ExitProgram start fails
    // and sizes keep the comma.
    run::Startup* startup = nullptr;
};

// The main window: loads scripts, runs them and shows what happens. All run state lives in the
// run context it owns.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    // parameters: SCRIPT [L=ROOT] [R=ROOT], read on the first activation only.
    MainWindow(FormServices services, std::vector<std::string> parameters,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    run::RunContext& context() { return *context_; }
    const FormWidgets& widgets() const { return w_; }
    bool activated() const { return activated_; }
    bool running() const;

public slots:
    // First activation: reads the command line once and runs a script that loaded cleanly.
    void activateOnce();
    void loadClicked();
    // Loads a script file as the Load button does once a file is chosen.
    void loadScriptFile(const QString& fileName);
    void reloadClicked();
    // Starts the desktop's text editor on the script, not waiting; the script is reloaded when
    // the editor ends, and whenever the file is saved while the window is idle.
    void editScriptClicked();
    void editorEnded();
    void editorNotStarted();
    void executeClicked();
    void continueClicked();
    void abortAllClicked();
    void aboutClicked();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void connectControls();
    void executeScript();
    void showLoadedScript();
    void reloadChangedScript();
    // No smaller than the window's minimum with its frame, nor than its starting client area.
    void keepMinimumFrame();

    FormWidgets w_;
    std::unique_ptr<WindowDisplay> display_;
    std::unique_ptr<WindowOperator> windowOperator_;
    Operator& operator_;
    std::unique_ptr<run::RunContext> context_;
    std::vector<std::string> parameters_;
    bool activated_ = false;
    launcher::TExFile* editor_;
    ScriptWatch* scriptWatch_;
};

} // namespace brisko::app
