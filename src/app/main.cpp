#include "app/BriskoForm.h"
#include "app/CommandLine.h"
#include "help/HelpKey.h"
#include "platform/Clock.h"
#include "platform/Environment.h"
#include "platform/PosixFileSystem.h"
#include "platform/PosixShell.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdlib>
#include <exception>
#include <filesystem>

namespace {

void showStartFailure() {
    QMessageBox box(QMessageBox::Information, QStringLiteral("Brisko"),
                    QStringLiteral("Could not Run Brisko"));
    box.exec();
}

// Anything thrown out of an event handler ends the program with the start-failure message
// instead of tearing through the toolkit's event loop.
class BriskoApplication final : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception&) {
            failed();
        } catch (...) {
            failed();
        }
        return false;
    }

private:
    void failed() {
        if (failed_)
            return;
        failed_ = true;
        showStartFailure();
        exit(EXIT_FAILURE);
    }

    bool failed_ = false;
};

} // namespace

int main(int argc, char* argv[]) {
    BriskoApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brisko2"));
    const brisko::help::HelpKey helpKey(application);
    try {
        // Qt's own options are gone from argv by now.
        const std::vector<std::string> arguments(argv + 1, argv + argc);
        const brisko::platform::ProcessEnvironment environment;
        brisko::app::CommandLine commandLine = brisko::app::parseCommandLine(
            arguments, environment.get("BRISKO_DRIVES"), std::filesystem::current_path().string());
        brisko::platform::PosixFileSystem fileSystem(std::move(commandLine.drives));
        const brisko::platform::SystemClock clock;
        brisko::platform::PosixShell shell;

        brisko::app::TBriskoForm form({fileSystem, clock, environment, nullptr, &shell},
                                      std::move(commandLine.parameters));
        form.show();
        return QApplication::exec();
    } catch (...) {
        showStartFailure();
        return EXIT_FAILURE;
    }
}
