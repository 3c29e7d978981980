#pragma once

#include <QObject>
#include <memory>

class QApplication;
class QWidget;

namespace brisko::help {

class THelpWindow;

// F1 anywhere in the program opens the help topic of the control that has the focus (or of
// the active window); What's This, where the platform offers it, opens the topic of the
// control clicked. Installed on the application; owns the one help window, so it must go before
// the application does.
class HelpKey : public QObject {
    Q_OBJECT

public:
    explicit HelpKey(QApplication& application);
    ~HelpKey() override;

    // The help window, made on first use.
    THelpWindow& window();
    bool hasWindow() const { return window_ != nullptr; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openTopicOf(const QWidget& widget);

    std::unique_ptr<THelpWindow> window_;
};

} // namespace brisko::help
