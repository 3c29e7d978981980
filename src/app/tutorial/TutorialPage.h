#pragma once

#include "widgets/EnhStringGrid.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSlider>
#include <QSplitter>
#include <QWidget>

namespace brisko::tutorial {

// The Tutorial page: a sample script of the chosen level, line by line, with the explanation
// and the possible values of the selected line's key. It only shows; nothing is run or saved.
class TutorialPage : public QWidget {
    Q_OBJECT

public:
    explicit TutorialPage(QWidget* parent = nullptr);

    QLabel* beginnerLabel;
    QLabel* expertLabel;
    QSlider* levelBar;
    QGroupBox* sampleBox;
    widgets::TEnhStringGrid* sampleGrid;
    QGroupBox* explanationBox;
    QFrame* valuesPanel;
    QLabel* allValues;
    QSplitter* explanationSplitter;
    QPlainTextEdit* explanationText;

public slots:
    // Shows the sample of the level bar's position.
    void showLevel();
    // Explains the key of a grid row (1 is the first line of the sample).
    void explainRow(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillSample(int level);
    void explain(const QString& key);
    void buildLevelBar();
    void buildSampleGrid();
    void buildExplanation();
};

} // namespace brisko::tutorial
