#include "help/HelpWindow.h"

#include "help/HelpTopics.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

namespace brisko::help {

namespace {
constexpr int kStartWidth = 640;
constexpr int kStartHeight = 560;
constexpr int kMinimumWidth = 480;
constexpr int kMinimumHeight = 360;
const QString kCaption = QStringLiteral("Brisko Help");
// One look for every page, so the pages themselves stay plain.
const QString kPageStyle = QStringLiteral("h1 { color: #000080; } h2 { color: #000080; } "
                                          "pre { background-color: #f2f2f2; } "
                                          "th { background-color: #e8e8f0; }");
} // namespace

THelpWindow::THelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)),
      back_(new QPushButton(QStringLiteral("&Back"), this)),
      forward_(new QPushButton(QStringLiteral("&Forward"), this)) {
    setObjectName(QStringLiteral("THelpWindow"));
    setWindowTitle(kCaption);
    // Left open, it must not keep the program running once the main window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    resize(kStartWidth, kStartHeight);

    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenExternalLinks(true);
    browser_->document()->setDefaultStyleSheet(kPageStyle);
    back_->setObjectName(QStringLiteral("HelpBack"));
    forward_->setObjectName(QStringLiteral("HelpForward"));
    auto* contents = new QPushButton(QStringLiteral("&Contents"), this);
    contents->setObjectName(QStringLiteral("HelpContents"));
    back_->setEnabled(false);
    forward_->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addWidget(contents);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_);

    connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(contents, &QPushButton::clicked, this, [this] { browser_->setSource(contentsUrl()); });
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = browser_->documentTitle();
        setWindowTitle(title.isEmpty() ? kCaption : kCaption + QStringLiteral(" - ") + title);
    });
}

QUrl THelpWindow::currentPage() const {
    return browser_->source();
}

void THelpWindow::showPage(const QUrl& url) {
    followModalWindow();
    show();
    raise();
    activateWindow();
    // Loaded after showing, when the browser has its real size to scroll to the anchor with.
    browser_->setSource(url);
    browser_->setFocus();
}

// A modal dialog blocks every other window; the help window then has to be modal itself to
// take input. Modality only changes while the window is hidden.
void THelpWindow::followModalWindow() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == this)
        return;
    if (modalOwner_ == modal && windowModality() == Qt::ApplicationModal)
        return;
    hide();
    setWindowModality(Qt::ApplicationModal);
    if (modalOwner_ != nullptr)
        modalOwner_->removeEventFilter(this);
    modalOwner_ = modal;
    modal->installEventFilter(this);
}

bool THelpWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == modalOwner_ &&
        (event->type() == QEvent::Hide || event->type() == QEvent::Destroy))
        dropModality();
    return false;
}

void THelpWindow::dropModality() {
    if (modalOwner_ != nullptr)
        modalOwner_->removeEventFilter(this);
    modalOwner_ = nullptr;
    if (windowModality() == Qt::NonModal)
        return;
    const bool wasVisible = isVisible();
    hide();
    setWindowModality(Qt::NonModal);
    if (wasVisible)
        show();
}

} // namespace brisko::help
