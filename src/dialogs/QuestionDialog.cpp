#include "dialogs/QuestionDialog.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

namespace brisko::dialogs {

using questions::AnswerButton;
using questions::DialogBackground;

namespace {

const QColor kNavy(0, 0, 128);
const QColor kDesktop(0, 128, 128);
constexpr int kMinimumWidth = 420;
constexpr int kHeadingPixels = 16;
constexpr int kSideMargins = 40;
// A dialog never grows wider than this share of the screen; longer texts wrap.
constexpr double kWidestShareOfScreen = 0.9;

QString qText(const std::string& text) {
    return QString::fromStdString(questions::withLineBreaks(text));
}

void setTextColour(QLabel& label, const QColor& colour) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, colour);
    label.setPalette(palette);
}

int widestLine(const QLabel& label) {
    int widest = 0;
    const QStringList lines = label.text().split(QLatin1Char('\n'));
    for (const QString& line : lines)
        widest = std::max(widest, label.fontMetrics().horizontalAdvance(line));
    return widest;
}

// A zero-width space after each separator, so that a path too long for the screen wraps
// between its names instead of running past the dialog's edge.
QString breakablePath(QString text) {
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\u200B"));
    text.replace(QLatin1Char('/'), QStringLiteral("/\u200B"));
    return text;
}

int widestDialog() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int screenWidth = screen != nullptr ? screen->availableGeometry().width() : 1024;
    return std::max(kMinimumWidth, static_cast<int>(screenWidth * kWidestShareOfScreen));
}

} // namespace

TQuestionDialog::TQuestionDialog(const Question& question, QWidget* parent)
    : TTimeOutForm(parent), content_(questions::describeQuestion(question)) {
    setObjectName(QString::fromLatin1(dialogKindName(question.kind())));
    setWindowTitle(QString::fromStdString(content_.caption));
    setMinimumWidth(kMinimumWidth);
    setTimeOut(content_.timeOutSeconds);
    setTimeOutAnswer(content_.timeOutAnswer);
    setEscapeAnswer(content_.escapeAnswer);
    setFrameCloseAnswer(frameCloseAnswer(question.kind()));
    setSilent(content_.silent);

    applyBackground();
    if (!content_.heading.empty()) {
        QLabel* heading = addTextLabel(content_.heading, "Panel1");
        QFont font = heading->font();
        font.setFamily(QStringLiteral("Times New Roman"));
        font.setStyleHint(QFont::Serif);
        font.setPixelSize(kHeadingPixels);
        heading->setFont(font);
        setTextColour(*heading, kNavy);
        heading->setFrameShape(QFrame::Panel);
        heading->setFrameShadow(QFrame::Raised);
        heading->setMargin(6);
        // A raised panel of its own, whatever the dialog's background.
        heading->setAutoFillBackground(true);
        heading->setBackgroundRole(QPalette::Button);
        heading->setForegroundRole(QPalette::WindowText);
    }
    QLabel* upper = addTextLabel(content_.upper, content_.showArrow ? "LSource" : "MsgText");
    if (content_.showArrow)
        addDirectionArrow();
    if (!content_.lower.empty() || content_.showArrow) {
        QLabel* lower = addTextLabel(content_.lower, content_.showArrow ? "LTarget" : "MsgText1");
        if (content_.showArrow) {
            // The source reads from the side it comes from, the target from the other side.
            const Qt::Alignment from = content_.leftToRight ? Qt::AlignLeft : Qt::AlignRight;
            const Qt::Alignment to = content_.leftToRight ? Qt::AlignRight : Qt::AlignLeft;
            upper->setAlignment(from | Qt::AlignVCenter);
            lower->setAlignment(to | Qt::AlignVCenter);
            QFont italic = lower->font();
            italic.setItalic(true);
            lower->setFont(italic);
        }
    }
    addButtons();
    fitToTexts();
}

void TQuestionDialog::applyBackground() {
    if (content_.background == DialogBackground::Plain)
        return;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, content_.background == DialogBackground::Info
                                           ? palette.color(QPalette::ToolTipBase)
                                           : kDesktop);
    setPalette(palette);
    setAutoFillBackground(true);
}

void TQuestionDialog::fitToTexts() {
    const QList<QLabel*> labels = findChildren<QLabel*>();
    int widest = 0;
    for (const QLabel* label : labels)
        widest = std::max(widest, widestLine(*label));
    const int limit = widestDialog();
    if (widest + kSideMargins > limit) {
        for (QLabel* label : labels)
            label->setText(breakablePath(label->text()));
    }
    setMinimumWidth(std::clamp(widest + kSideMargins, kMinimumWidth, limit));
    adjustSize();
}

QLabel* TQuestionDialog::addTextLabel(const std::string& text, const char* objectName) {
    auto* label = new QLabel(qText(text), this);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    // On the dark desktop colour the texts are white.
    setTextColour(*label, content_.background == DialogBackground::Desktop ? Qt::white : kNavy);
    contentLayout()->addWidget(label);
    return label;
}

void TQuestionDialog::addDirectionArrow() {
    auto* arrow = new QLabel(
        content_.leftToRight ? QStringLiteral("\u2192") : QStringLiteral("\u2190"), this);
    arrow->setObjectName(QStringLiteral("ArrowAvi"));
    arrow->setAlignment(Qt::AlignCenter);
    QFont font = arrow->font();
    font.setPixelSize(32);
    font.setBold(true);
    arrow->setFont(font);
    setTextColour(*arrow, QColor(0, 0, 255));
    contentLayout()->addWidget(arrow);
}

void TQuestionDialog::addButtons() {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (const AnswerButton& answer : content_.buttons) {
        QPushButton* button =
            makeAnswerButton(QString::fromStdString(answer.caption), answer.answer);
        button->setObjectName(QString::fromStdString(answer.name));
        button->setToolTip(QString::fromStdString(answer.hint));
        row->addWidget(button);
    }
    row->addStretch();
    contentLayout()->addStretch();
    contentLayout()->addLayout(row);
}

void TQuestionDialog::showEvent(QShowEvent* event) {
    TTimeOutForm::showEvent(event);
    if (QPushButton* focused = answerButton(content_.timeOutAnswer))
        focused->setFocus();
}

} // namespace brisko::dialogs
