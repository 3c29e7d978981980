#include "dialogs/FreeSpaceDialog.h"

#include "questions/FreeSpaceText.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace brisko::dialogs {

namespace {
QString qText(const std::string& text) {
    return QString::fromStdString(text);
}
} // namespace

TFreeSpaceDialog::TFreeSpaceDialog(const std::vector<ShortDrive>& drives, QWidget* parent)
    : TBeepForm(parent) {
    setObjectName(QStringLiteral("TFreeSpaceDialog"));
    const questions::FreeSpaceText text = questions::describeFreeSpace(drives);
    setWindowTitle(qText(text.caption));
    setEscapeAnswer(DialogAnswer::Ok);
    setFrameCloseAnswer(DialogAnswer::Ok);
    contentLayout()->setContentsMargins(16, 16, 16, 12);

    contentLayout()->addWidget(new QLabel(qText(text.intro), this));
    // Every short drive is listed, however many there are.
    auto* rows = new QGridLayout;
    rows->setColumnMinimumWidth(0, 24);
    int row = 0;
    for (const questions::FreeSpaceRow& shortDrive : text.rows) {
        rows->addWidget(new QLabel(qText(text.rowLabel), this), row, 1);
        auto* letter = new QLabel(qText(shortDrive.drive), this);
        letter->setObjectName(QStringLiteral("Drive%1").arg(row + 1));
        rows->addWidget(letter, row, 2);
        auto* amount = new QLabel(qText(shortDrive.amount), this);
        amount->setObjectName(QStringLiteral("Panel%1").arg(row + 1));
        amount->setFrameShape(QFrame::Panel);
        amount->setFrameShadow(QFrame::Sunken);
        amount->setMinimumWidth(128);
        rows->addWidget(amount, row, 3);
        ++row;
    }
    contentLayout()->addLayout(rows);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton* ok = makeAnswerButton(QStringLiteral("OK"), DialogAnswer::Ok);
    ok->setDefault(true);
    buttons->addWidget(ok);
    buttons->addStretch();
    contentLayout()->addLayout(buttons);
}

} // namespace brisko::dialogs
