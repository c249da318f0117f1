#include "settings/panel_icons.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>

namespace panelicons {

namespace {

QPixmap triangle(Qt::ArrowType direction, const QColor& colour, qreal dpr) {
    const int side = 12;
    QPixmap pm(QSize(side, side) * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    QPainterPath path;
    if (direction == Qt::UpArrow) {
        path.moveTo(1, 9);
        path.lineTo(11, 9);
        path.lineTo(6, 3);
    } else {
        path.moveTo(1, 3);
        path.lineTo(11, 3);
        path.lineTo(6, 9);
    }
    path.closeSubpath();
    p.drawPath(path);
    return pm;
}

} // namespace

QIcon arrow(Qt::ArrowType direction) {
    const QPalette pal = QApplication::palette();
    const qreal dpr = qApp ? qApp->devicePixelRatio() : 1.0;
    QIcon icon;
    icon.addPixmap(triangle(direction, pal.color(QPalette::Active, QPalette::ButtonText), dpr),
                   QIcon::Normal);
    icon.addPixmap(triangle(direction, pal.color(QPalette::Disabled, QPalette::ButtonText), dpr),
                   QIcon::Disabled);
    return icon;
}

} // namespace panelicons
