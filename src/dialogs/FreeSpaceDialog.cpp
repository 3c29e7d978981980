#include "dialogs/FreeSpaceDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace brisko::dialogs {

namespace {
constexpr std::uint64_t kBytesPerMegabyte = 1'024'000;
} // namespace

std::int64_t TFreeSpaceDialog::shortfallMegabytes(std::int64_t lowestBalance) {
    // The magnitude in unsigned arithmetic, so the most negative balance does not overflow.
    const std::uint64_t bytes = lowestBalance < 0 ? 0 - static_cast<std::uint64_t>(lowestBalance)
                                                  : static_cast<std::uint64_t>(lowestBalance);
    return static_cast<std::int64_t>(bytes / kBytesPerMegabyte +
                                     (bytes % kBytesPerMegabyte != 0 ? 1 : 0));
}

QString TFreeSpaceDialog::driveText(const ShortDrive& drive) {
    return QString(QLatin1Char(drive.letter)) + QStringLiteral(" :");
}

QString TFreeSpaceDialog::amountText(const ShortDrive& drive) {
    return QString::number(shortfallMegabytes(drive.lowestBalance)) + QStringLiteral(" Mb");
}

TFreeSpaceDialog::TFreeSpaceDialog(const std::vector<ShortDrive>& drives, QWidget* parent)
    : TBeepForm(parent) {
    setObjectName(QStringLiteral("TFreeSpaceDialog"));
    setWindowTitle(QStringLiteral("Free Space Warning !"));
    setEscapeAnswer(DialogAnswer::Ok);
    setFrameCloseAnswer(DialogAnswer::Ok);
    contentLayout()->setContentsMargins(16, 16, 16, 12);

    contentLayout()->addWidget(new QLabel(QStringLiteral("You need to free space on:"), this));
    // Every short drive is listed, however many there are.
    auto* rows = new QGridLayout;
    rows->setColumnMinimumWidth(0, 24);
    int row = 0;
    for (const ShortDrive& drive : drives) {
        rows->addWidget(new QLabel(QStringLiteral("Drive"), this), row, 1);
        auto* letter = new QLabel(driveText(drive), this);
        letter->setObjectName(QStringLiteral("Drive%1").arg(row + 1));
        rows->addWidget(letter, row, 2);
        auto* amount = new QLabel(amountText(drive), this);
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
