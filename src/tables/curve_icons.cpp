#include "tables/curve_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace curveicons {
namespace {

// Every icon is drawn on a 24 x 24 grid and rendered at 48 px so that it stays crisp
// when the button scales it down.
QIcon drawIcon(const std::function<void(QPainter&)>& paint) {
    QPixmap pm(48, 48);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(2.0, 2.0);
    paint(p);
    p.end();
    QIcon icon(pm);
    // A disabled button still has to say what it does: draw the same picture faded.
    QPixmap faded(pm.size());
    faded.fill(Qt::transparent);
    QPainter f(&faded);
    f.setOpacity(0.35);
    f.drawPixmap(0, 0, pm);
    f.end();
    icon.addPixmap(faded, QIcon::Disabled);
    return icon;
}

void drawModule(QPainter& p, qreal top) {
    // A small box with pins stands for the module.
    p.setPen(QPen(QColor(60, 60, 60), 1.2));
    p.setBrush(QColor(90, 96, 110));
    p.drawRoundedRect(QRectF(5, top, 14, 6), 1.2, 1.2);
    p.setPen(QPen(QColor(60, 60, 60), 1.2));
    for (int i = 0; i < 4; ++i) {
        const qreal x = 7.5 + i * 3;
        p.drawLine(QPointF(x, top + 6), QPointF(x, top + 8));
    }
}

void drawArrow(QPainter& p, const QColor& color, qreal fromY, qreal toY) {
    const qreal dir = toY > fromY ? 1 : -1;
    p.setPen(QPen(color.darker(130), 1));
    p.setBrush(color);
    QPainterPath path;
    path.moveTo(10, fromY);
    path.lineTo(14, fromY);
    path.lineTo(14, toY - dir * 5);
    path.lineTo(18, toY - dir * 5);
    path.lineTo(12, toY);
    path.lineTo(6, toY - dir * 5);
    path.lineTo(10, toY - dir * 5);
    path.closeSubpath();
    p.drawPath(path);
}

} // namespace

QIcon readFromModule() {
    static const QIcon icon = drawIcon([](QPainter& p) {
        drawModule(p, 1.5);
        drawArrow(p, QColor(34, 140, 181), 11, 23);
    });
    return icon;
}

QIcon writeToModule() {
    static const QIcon icon = drawIcon([](QPainter& p) {
        drawModule(p, 1.5);
        drawArrow(p, QColor(214, 110, 30), 23, 11);
    });
    return icon;
}

QIcon openFile() {
    static const QIcon icon = drawIcon([](QPainter& p) {
        p.setPen(QPen(QColor(150, 110, 20), 1.2));
        p.setBrush(QColor(232, 190, 80));
        QPainterPath back;
        back.moveTo(2, 5);
        back.lineTo(9, 5);
        back.lineTo(11, 7);
        back.lineTo(20, 7);
        back.lineTo(20, 20);
        back.lineTo(2, 20);
        back.closeSubpath();
        p.drawPath(back);
        p.setBrush(QColor(250, 214, 110));
        QPainterPath front;
        front.moveTo(2, 20);
        front.lineTo(6, 11);
        front.lineTo(23, 11);
        front.lineTo(20, 20);
        front.closeSubpath();
        p.drawPath(front);
    });
    return icon;
}

QIcon saveFile() {
    static const QIcon icon = drawIcon([](QPainter& p) {
        p.setPen(QPen(QColor(30, 60, 110), 1.2));
        p.setBrush(QColor(60, 110, 180));
        QPainterPath body;
        body.moveTo(3, 3);
        body.lineTo(18, 3);
        body.lineTo(21, 6);
        body.lineTo(21, 21);
        body.lineTo(3, 21);
        body.closeSubpath();
        p.drawPath(body);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(220, 228, 240));
        p.drawRect(QRectF(7, 3.6, 9, 6));
        p.setBrush(QColor(60, 110, 180));
        p.drawRect(QRectF(13, 4.6, 2, 4));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6, 13, 12, 7.4));
    });
    return icon;
}

QIcon livePoints() {
    static const QIcon icon = drawIcon([](QPainter& p) {
        p.setPen(QPen(QColor(110, 110, 110), 1.2));
        p.drawLine(QPointF(3, 2), QPointF(3, 21));
        p.drawLine(QPointF(3, 21), QPointF(22, 21));
        p.setPen(QPen(QColor(120, 120, 40), 0.8));
        p.setBrush(QColor(255, 255, 0));
        const QPointF pts[] = {{7, 16}, {11, 12}, {15, 13}, {19, 7}};
        for (const QPointF& c : pts)
            p.drawRoundedRect(QRectF(c.x() - 2.5, c.y() - 2.5, 5, 5), 1, 1);
    });
    return icon;
}

QIcon stop() {
    static const QIcon icon = drawIcon([](QPainter& p) {
        p.setPen(QPen(QColor(140, 20, 20), 1.2));
        p.setBrush(QColor(210, 45, 45));
        p.drawRoundedRect(QRectF(5, 5, 14, 14), 2, 2);
    });
    return icon;
}

QIcon stepDown() {
    static const QIcon icon = drawIcon([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 60, 60));
        p.drawRoundedRect(QRectF(5, 10.5, 14, 3), 1, 1);
    });
    return icon;
}

QIcon stepUp() {
    static const QIcon icon = drawIcon([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 60, 60));
        p.drawRoundedRect(QRectF(5, 10.5, 14, 3), 1, 1);
        p.drawRoundedRect(QRectF(10.5, 5, 3, 14), 1, 1);
    });
    return icon;
}

} // namespace curveicons
