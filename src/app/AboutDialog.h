#pragma once

#include <QDialog>
#include <QLabel>
#include <QTabWidget>

namespace brisko::app {

// The About box: the program's version and release date, facts about the computer, and
// where the program and the script editor are.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildAboutPage();
    QWidget* buildSystemPage();
    QWidget* buildRegistryPage();
    void fillFacts();

    QTabWidget* pages_;
    QLabel* versionLabel;
    QLabel* releaseLabel;
    QLabel* systemLabel;
    QLabel* systemVersionLabel;
    QLabel* processorLabel;
    QLabel* memoryLabel;
    QLabel* diskLabel;
    QLabel* programLabel;
    QLabel* editorLabel;
};

} // namespace brisko::app
