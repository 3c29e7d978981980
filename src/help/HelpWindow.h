#pragma once

#include <QPointer>
#include <QUrl>
#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace brisko::help {

// The manual's window: one page at a time with Back, Forward and Contents, links between
// pages followed. Opened over a modal dialog it becomes modal itself, so that it can be read
// and used while the dialog waits (its countdown goes on); it turns modeless again once that
// dialog has closed.
class THelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit THelpWindow(QWidget* parent = nullptr);

    // Shows the page (with its anchor) and brings the window to the front.
    void showPage(const QUrl& url);

    QUrl currentPage() const;
    QTextBrowser* browser() const { return browser_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followModalWindow();
    void dropModality();

    QTextBrowser* browser_;
    QPushButton* back_;
    QPushButton* forward_;
    QPointer<QWidget> modalOwner_;
};

} // namespace brisko::help
