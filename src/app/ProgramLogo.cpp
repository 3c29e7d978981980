#include "app/ProgramLogo.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>

namespace brisko::app {

namespace {

const QColor kNavy(0, 0, 128);

// A folder outline within a rectangle: a tab at the top left over the body.
void drawFolder(QPainter& painter, const QRectF& box) {
    QPainterPath folder;
    const qreal tab = box.height() * 0.2;
    folder.moveTo(box.left(), box.top() + tab);
    folder.lineTo(box.left(), box.bottom());
    folder.lineTo(box.right(), box.bottom());
    folder.lineTo(box.right(), box.top() + tab);
    folder.lineTo(box.left() + box.width() * 0.5, box.top() + tab);
    folder.lineTo(box.left() + box.width() * 0.4, box.top());
    folder.lineTo(box.left(), box.top());
    folder.closeSubpath();
    painter.drawPath(folder);
}

QPixmap drawnLogo(int side) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = side;
    painter.setPen(Qt::NoPen);
    painter.setBrush(kNavy);
    painter.drawRoundedRect(QRectF(0, 0, s, s), s * 0.15, s * 0.15);

    painter.setPen(QPen(Qt::white, s * 0.05));
    painter.setBrush(QColor(255, 204, 0));
    drawFolder(painter, QRectF(s * 0.1, s * 0.15, s * 0.35, s * 0.3));
    drawFolder(painter, QRectF(s * 0.55, s * 0.55, s * 0.35, s * 0.3));

    // Two arrows between the folders: one each way.
    painter.setPen(QPen(Qt::white, s * 0.06, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(s * 0.55, s * 0.25), QPointF(s * 0.85, s * 0.25));
    painter.drawLine(QPointF(s * 0.85, s * 0.25), QPointF(s * 0.85, s * 0.45));
    painter.drawLine(QPointF(s * 0.45, s * 0.75), QPointF(s * 0.15, s * 0.75));
    painter.drawLine(QPointF(s * 0.15, s * 0.75), QPointF(s * 0.15, s * 0.55));
    return pixmap;
}

} // namespace

QPixmap programLogo(int side) {
    const QIcon icon = QGuiApplication::windowIcon();
    return icon.isNull() ? drawnLogo(side) : icon.pixmap(side, side);
}

} // namespace brisko::app
