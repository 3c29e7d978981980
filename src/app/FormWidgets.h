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

// The main window's controls, each named as its object name says.
struct FormWidgets {
    QLabel* MainLabel;
    QPushButton* BClose;
    QPushButton* BAbout;
    QPushButton* BLoad;
    QPushButton* bAbortAll;
    QPushButton* BCancExec;
    QPushButton* bContinue;

    QTabWidget* PageControl;
    QWidget* Execute;
    QWidget* Script;
    QWidget* History;
    QWidget* Sample;

    // Execute page.
    QLabel* UMessage;
    QLabel* CurrFile;
    QComboBox* LeftDrive;
    QComboBox* RightDrive;
    widgets::TFolderPane* FolderLeft;
    widgets::TFolderPane* FolderRight;
    QLabel* ArrowAvi;
    widgets::TGradProgress* FileProgress;
    widgets::TGradProgress* TotalProgress;
    QGroupBox* FilesCountPanel;
    // In the order of the Counter enumeration.
    std::array<QLabel*, 8> counters;

    // Script File page.
    widgets::TEnhStringGrid* ScriptGrid;
    QGroupBox* ErrBox;
    QLabel* ReportError;
    QPushButton* bEditScript;
    QPushButton* bReload;

    // History page.
    widgets::TEnhStringGrid* HistGrid;
    widgets::TEnhStringGrid* MessageGrid;
    QCheckBox* ScanCopyBox;
    QCheckBox* BinaryCompareBox;

    // Tutorial page (the Sample page itself).
    tutorial::TutorialPage* Tutorial;

    // Status bar.
    QLabel* HintText;
    QLabel* LedLabel;
    widgets::TLed* Led;
};

// Builds the controls into the window and lays them out.
FormWidgets buildFormWidgets(QMainWindow& window, const QString& mainLabel);

} // namespace brisko::app
