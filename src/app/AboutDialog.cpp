#include "app/AboutDialog.h"

#include "app/MakerLinks.h"
#include "app/ProgramLogo.h"
#include "app/SystemFacts.h"
#include "app/Version.h"
#include "platform/HostSystem.h"
#include "run/MainLabel.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace brisko::app {

namespace {

constexpr int kLogoSide = 64;

QString programPath() {
    const QString path = QString::fromStdString(platform::runningProgramPath());
    return path.isEmpty() ? QCoreApplication::applicationFilePath() : path;
}

QFormLayout* formOn(QWidget* page) {
    auto* form = new QFormLayout(page);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setLabelAlignment(Qt::AlignLeft);
    return form;
}

// A value that the operator may select and copy.
QLabel* value(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TAboutForm"));
    setWindowTitle(QStringLiteral("About ") + QString::fromStdString(run::mainLabelText()));

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("PicturePanel"));
    picture->setPixmap(programLogo(kLogoSide));
    picture->setFrameShape(QFrame::StyledPanel);
    picture->setAlignment(Qt::AlignCenter);
    picture->setFixedSize(kLogoSide + 16, kLogoSide + 16);

    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl"));
    pages_->addTab(buildAboutPage(), QStringLiteral("About us"));
    pages_->addTab(buildSystemPage(), QStringLiteral("System Info"));
    pages_->addTab(buildRegistryPage(), QStringLiteral("Registry Info"));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* body = new QHBoxLayout;
    body->addWidget(picture, 0, Qt::AlignTop);
    body->addWidget(pages_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(buttons);
    // The box grows to show its longest text, such as a deep program path, in full.
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    fillFacts();
}

QWidget* AboutDialog::buildAboutPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("AboutUs"));
    auto* form = formOn(page);
    versionLabel = value(page, "Version");
    releaseLabel = value(page, "DRelease");
    form->addRow(QStringLiteral("version"), versionLabel);
    form->addRow(QStringLiteral("released"), releaseLabel);
    form->addRow(new QLabel(kMakerName, page));
    form->addRow(QStringLiteral("Web Site:"),
                 makerLink(page, widgets::TUrlLink::atWWW, "UrlLink1"));
    form->addRow(QStringLiteral("Mail us: "),
                 makerLink(page, widgets::TUrlLink::atMail, "UrlLink2"));
    return page;
}

QWidget* AboutDialog::buildSystemPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("SystemInfo"));
    auto* form = formOn(page);
    systemLabel = value(page, "OpSystem");
    systemVersionLabel = value(page, "SVersion");
    processorLabel = value(page, "CPU");
    memoryLabel = value(page, "RAM");
    diskLabel = value(page, "HD");
    form->addRow(QStringLiteral("Operating System :"), systemLabel);
    form->addRow(QStringLiteral("Version :"), systemVersionLabel);
    form->addRow(QStringLiteral("CPU :"), processorLabel);
    form->addRow(QStringLiteral("RAM Memory :"), memoryLabel);
    form->addRow(QStringLiteral("Hard Disk :"), diskLabel);
    return page;
}

QWidget* AboutDialog::buildRegistryPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("RegistryInfo"));
    auto* form = formOn(page);
    programLabel = value(page, "LExecName");
    editorLabel = value(page, "LCurrEdit");
    form->addRow(QStringLiteral("Program Location:"), programLabel);
    form->addRow(QStringLiteral("Scripts Editor:"), editorLabel);
    return page;
}

void AboutDialog::fillFacts() {
    systemLabel->setText(operatingSystemName());
    systemVersionLabel->setText(operatingSystemVersion());
    processorLabel->setText(processorName());
    const std::optional<qint64> memory = physicalMemoryKb();
    memoryLabel->setText(memory ? memoryText(*memory) : QStringLiteral("unknown"));
    const QString program = programPath();
    diskLabel->setText(diskText(program));

    versionLabel->setText(QString::fromStdString(versionString()));
    const QDateTime released = programFileDate();
    releaseLabel->setText(released.isValid()
                              ? QLocale::system().toString(released.date(), QLocale::LongFormat)
                              : QStringLiteral("unknown"));
    programLabel->setText(program);
    editorLabel->setText(scriptEditorText());
}

void AboutDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    pages_->setCurrentIndex(0);
}

} // namespace brisko::app
