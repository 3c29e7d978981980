#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "app/SshQuestion.h"
#include "help/HelpKey.h"
#include "run/Startup.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdlib>
#include <exception>

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
    if (brisko::app::startedToAskForSsh())
        return brisko::app::askForSsh(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString());
    const brisko::help::HelpKey helpKey(application);
    try {
        // Qt's own options are gone from argv by now.
        const std::vector<std::string> arguments(argv + 1, argv + argc);
        brisko::app::CommandLine commandLine = brisko::app::parseCommandLine(arguments);
        brisko::run::Startup startup(commandLine.driveOptions, commandLine.shareOptions,
                                     brisko::platform::sftp::SshAsking::Askpass);

        brisko::app::MainWindow form(
            {startup.fileSystem, startup.clock, startup.environment, nullptr, &startup},
            std::move(commandLine.parameters));
        form.show();
        return QApplication::exec();
    } catch (...) {
        showStartFailure();
        return EXIT_FAILURE;
    }
}
