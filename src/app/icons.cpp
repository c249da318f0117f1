#include "app/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {
QPixmap canvas(int w = 32, int h = 32) {
    QPixmap pm(w, h);
    pm.fill(Qt::transparent);
    return pm;
}
} // namespace

namespace icons {

QIcon plugIn() {
    QPixmap pm = canvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 110, 0), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(4, 16, 12, 16);
    p.setBrush(QColor(40, 160, 40));
    p.drawRoundedRect(12, 8, 10, 16, 3, 3);
    p.drawLine(22, 12, 29, 12);
    p.drawLine(22, 20, 29, 20);
    return QIcon(pm);
}

QIcon plugOut() {
    QPixmap pm = canvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(150, 0, 0), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(2, 16, 8, 16);
    p.setBrush(QColor(200, 50, 50));
    p.drawRoundedRect(8, 8, 8, 16, 3, 3);
    p.drawLine(21, 12, 29, 12);
    p.drawLine(21, 20, 29, 20);
    p.setPen(QPen(QColor(150, 0, 0), 2));
    p.drawLine(18, 6, 18, 26);
    return QIcon(pm);
}

QIcon dropDown() {
    QPixmap pm = canvas(16, 16);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(50, 50, 50));
    QPainterPath path;
    path.moveTo(3, 5);
    path.lineTo(13, 5);
    path.lineTo(8, 11);
    path.closeSubpath();
    p.drawPath(path);
    return QIcon(pm);
}

QIcon flagRussia() {
    QPixmap pm = canvas(30, 20);
    QPainter p(&pm);
    p.fillRect(0, 0, 30, 7, Qt::white);
    p.fillRect(0, 7, 30, 6, QColor(0, 57, 166));
    p.fillRect(0, 13, 30, 7, QColor(213, 43, 30));
    p.setPen(QColor(120, 120, 120));
    p.drawRect(0, 0, 29, 19);
    return QIcon(pm);
}

QIcon flagEngland() {
    QPixmap pm = canvas(30, 20);
    QPainter p(&pm);
    p.fillRect(0, 0, 30, 20, Qt::white);
    p.fillRect(12, 0, 6, 20, QColor(200, 16, 46));
    p.fillRect(0, 7, 30, 6, QColor(200, 16, 46));
    p.setPen(QColor(120, 120, 120));
    p.drawRect(0, 0, 29, 19);
    return QIcon(pm);
}

QIcon info() {
    QPixmap pm = canvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 90, 170));
    p.drawEllipse(3, 3, 26, 26);
    p.setBrush(Qt::white);
    p.drawEllipse(14, 8, 4, 4);
    p.drawRoundedRect(14, 14, 4, 11, 1, 1);
    return QIcon(pm);
}

QIcon send() {
    QPixmap pm = canvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 120, 60));
    QPainterPath path;
    path.moveTo(4, 6);
    path.lineTo(28, 16);
    path.lineTo(4, 26);
    path.lineTo(9, 16);
    path.closeSubpath();
    p.drawPath(path);
    return QIcon(pm);
}

} // namespace icons
