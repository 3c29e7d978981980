#include "widgets/UrlLink.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QMouseEvent>

namespace brisko::widgets {

TUrlLink::TUrlLink(QWidget* parent)
    : QLabel(parent), opener_([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
    setCursor(Qt::PointingHandCursor);
    setTextFormat(Qt::PlainText);
    setTextColour(palette().color(QPalette::Link));
}

void TUrlLink::setAddress(const QString& address) {
    address_ = address;
    setText(address);
}

QString TUrlLink::target(TAddressType type, const QString& address, const QString& subject) {
    if (type == atMail && !subject.isEmpty()) {
        QString cleaned = subject;
        cleaned.remove(QLatin1Char('"')).remove(QLatin1Char('?'));
        return QStringLiteral("mailto:%1?Subject=%2").arg(address, cleaned);
    }
    return (type == atMail ? QStringLiteral("mailto:") : QStringLiteral("http://")) + address;
}

void TUrlLink::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    restColour_ = palette().color(QPalette::WindowText);
    underlinedAtRest_ = font().underline();
    setUnderlined(true);
    setTextColour(activeColor_);
    emit mouseEntered();
}

void TUrlLink::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    setUnderlined(underlinedAtRest_);
    if (restColour_.isValid())
        setTextColour(restColour_);
    emit mouseExited();
}

void TUrlLink::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint()))
        return;
    emit clicked();
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    opener_(QUrl(target(addressType_, address_, emailSubject_)));
    QGuiApplication::restoreOverrideCursor();
}

void TUrlLink::setUnderlined(bool underlined) {
    QFont changed = font();
    changed.setUnderline(underlined);
    setFont(changed);
}

void TUrlLink::setTextColour(const QColor& colour) {
    QPalette changed = palette();
    changed.setColor(QPalette::WindowText, colour);
    setPalette(changed);
}

} // namespace brisko::widgets
