#pragma once

#include "app/tutorial/TutorialPage.h"
#include "widgets/EnhStringGrid.h"
#include "widgets/FolderPane.h"
#include "widgets/GradProgress.h"
#include "widgets/Led.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTabWidget>
#include <array>

namespace brisko::app {

// The main window's controls; each also carries an object name, by which help topics and tests
// find it.
struct FormWidgets {
    QLabel* mainLabel;
    QPushButton* closeButton;
    QPushButton* aboutButton;
    QPushButton* loadButton;
    QPushButton* abortAllButton;
    QPushButton* executeButton;
    QPushButton* continueButton;

    QTabWidget* pages;
    QWidget* executePage;
    QWidget* scriptPage;
    QWidget* historyPage;
    QWidget* samplePage;

    // Execute page.
    QLabel* messageLine;
    QLabel* currentFile;
    QComboBox* leftDrive;
    QComboBox* rightDrive;
    widgets::TFolderPane* leftPane;
    widgets::TFolderPane* rightPane;
    QLabel* directionArrow;
    widgets::TGradProgress* fileProgress;
    widgets::TGradProgress* totalProgress;
    QGroupBox* countersPanel;
    // In the order of the Counter enumeration.
    std::array<QLabel*, 8> counters;

    // Script File page.
    widgets::TEnhStringGrid* scriptGrid;
    QGroupBox* errorBox;
    QLabel* errorReport;
    QPushButton* editScriptButton;
    QPushButton* reloadButton;

    // History page.
    widgets::TEnhStringGrid* historyGrid;
    widgets::TEnhStringGrid* messageGrid;
    QCheckBox* stopBetweenScanAndCopyBox;
    QCheckBox* binaryCompareBox;

    // Tutorial page (the Sample page itself).
    tutorial::TutorialPage* tutorialPage;

    // Status bar.
    QLabel* hintLine;
    QLabel* ledText;
    widgets::TLed* led;
};

// Builds the controls into the window and lays them out.
FormWidgets buildFormWidgets(QMainWindow& window, const QString& mainLabel);

} // namespace brisko::app
