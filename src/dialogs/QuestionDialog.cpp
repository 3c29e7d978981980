#include "dialogs/QuestionDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace brisko::dialogs {

namespace {

const QColor kNavy(0, 0, 128);
constexpr int kMinimumWidth = 420;
constexpr int kHeadingPixels = 16;

QString qText(const std::string& text) {
    return QString::fromStdString(withLineBreaks(text));
}

void setTextColour(QLabel& label, const QColor& colour) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, colour);
    label.setPalette(palette);
}

} // namespace

TQuestionDialog::TQuestionDialog(const Question& question, QWidget* parent)
    : TTimeOutForm(parent), content_(describeQuestion(question)) {
    setObjectName(QString::fromLatin1(dialogKindName(question.kind)));
    setWindowTitle(QString::fromStdString(content_.caption));
    setMinimumWidth(kMinimumWidth);
    setTimeOut(content_.timeOutSeconds);
    setTimeOutAnswer(content_.timeOutAnswer);
    setEscapeAnswer(content_.escapeAnswer);
    setFrameCloseAnswer(frameCloseAnswer(question.kind));
    setSilent(content_.silent);

    if (!content_.heading.empty()) {
        QLabel* heading = addTextLabel(content_.heading, "Heading");
        QFont font = heading->font();
        font.setPixelSize(kHeadingPixels);
        heading->setFont(font);
        heading->setFrameShape(QFrame::Panel);
        heading->setFrameShadow(QFrame::Raised);
        heading->setMargin(6);
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
}

QLabel* TQuestionDialog::addTextLabel(const std::string& text, const char* objectName) {
    auto* label = new QLabel(qText(text), this);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    setTextColour(*label, kNavy);
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
    for (const AnswerButton& button : content_.buttons)
        row->addWidget(makeAnswerButton(QString::fromStdString(button.caption), button.answer));
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
