#pragma once

#include <QDialog>
#include <QLabel>
#include <QTabWidget>

namespace brisko::app {

// The About box: the program's version and release date, facts about the computer, and
// where the program and the script editor are.
class TAboutForm : public QDialog {
    Q_OBJECT

public:
    explicit TAboutForm(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildAboutPage();
    QWidget* buildSystemPage();
    QWidget* buildRegistryPage();
    void fillFacts();

    QTabWidget* pages_;
    QLabel* Version;
    QLabel* DRelease;
    QLabel* OpSystem;
    QLabel* SVersion;
    QLabel* CPU;
    QLabel* RAM;
    QLabel* HD;
    QLabel* LExecName;
    QLabel* LCurrEdit;
};

} // namespace brisko::app
