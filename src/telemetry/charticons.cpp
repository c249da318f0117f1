#include "telemetry/charticons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace charticons {
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
    f.setOpacity(0.3);
    f.drawPixmap(0, 0, pm);
    f.end();
    icon.addPixmap(faded, QIcon::Disabled);
    return icon;
}

const QColor kInk(52, 64, 84);
const QColor kBlue(34, 110, 181);

// Triangle with its tip at (tipX, 12), pointing left (dir -1) or right (dir +1).
void triangleH(QPainter& p, qreal tipX, int dir, qreal depth = 7, qreal half = 6) {
    QPainterPath path;
    path.moveTo(tipX, 12);
    path.lineTo(tipX - dir * depth, 12 - half);
    path.lineTo(tipX - dir * depth, 12 + half);
    path.closeSubpath();
    p.drawPath(path);
}

// Triangle with its tip at (12, tipY), pointing up (dir -1) or down (dir +1).
void triangleV(QPainter& p, qreal tipY, int dir, qreal depth = 6, qreal half = 7) {
    QPainterPath path;
    path.moveTo(12, tipY);
    path.lineTo(12 - half, tipY - dir * depth);
    path.lineTo(12 + half, tipY - dir * depth);
    path.closeSubpath();
    p.drawPath(path);
}

void inkBrush(QPainter& p, const QColor& c = kBlue) {
    p.setPen(QPen(c.darker(140), 0.8));
    p.setBrush(c);
}

} // namespace

QIcon record() {
    static const QIcon icon = drawIcon([](QPainter& p) {
        QRadialGradient g(QPointF(10, 9), 9);
        g.setColorAt(0, QColor(255, 120, 110));
        g.setColorAt(1, QColor(200, 30, 30));
        p.setPen(QPen(QColor(140, 20, 20), 1));
        p.setBrush(g);
        p.drawEllipse(QPointF(12, 12), 7.5, 7.5);
    });
    return icon;
}

QIcon pause() {
    static const QIcon icon = drawIcon([](QPainter& p) {
        inkBrush(p, kInk);
        p.drawRoundedRect(QRectF(6, 5, 4.5, 14), 1, 1);
        p.drawRoundedRect(QRectF(13.5, 5, 4.5, 14), 1, 1);
    });
    return icon;
}

QIcon resume() {
    static const QIcon icon = drawIcon([](QPainter& p) {
        inkBrush(p, QColor(40, 150, 60));
        triangleH(p, 19, +1, 12, 8);
    });
    return icon;
}

QIcon stop() {
    static const QIcon icon = drawIcon([](QPainter& p) {
        inkBrush(p, kInk);
        p.drawRoundedRect(QRectF(6, 6, 12, 12), 1.5, 1.5);
    });
    return icon;
}

QIcon clearChart() {
    static const QIcon icon = drawIcon([](QPainter& p) {
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(3, 3), QPointF(3, 21));
        p.drawLine(QPointF(3, 21), QPointF(21, 21));
        p.setPen(QPen(kBlue, 1.6));
        p.drawPolyline(QPolygonF({{4, 16}, {8, 10}, {12, 14}, {16, 6}, {20, 9}}));
        p.setPen(QPen(QColor(200, 30, 30), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9, 8), QPointF(19, 18));
        p.drawLine(QPointF(19, 8), QPointF(9, 18));
    });
    return icon;
}

QIcon openFile() {
    static const QIcon icon = drawIcon([](QPainter& p) {
        p.setPen(QPen(QColor(150, 110, 30), 1));
        p.setBrush(QColor(235, 190, 80));
        QPainterPath back;
        back.moveTo(2, 6);
        back.lineTo(9, 6);
        back.lineTo(11, 8);
        back.lineTo(20, 8);
        back.lineTo(20, 19);
        back.lineTo(2, 19);
        back.closeSubpath();
        p.drawPath(back);
        p.setBrush(QColor(250, 215, 120));
        QPainterPath front;
        front.moveTo(2, 19);
        front.lineTo(6, 11);
        front.lineTo(23, 11);
        front.lineTo(20, 19);
        front.closeSubpath();
        p.drawPath(front);
    });
    return icon;
}

QIcon saveFile() {
    static const QIcon icon = drawIcon([](QPainter& p) {
        p.setPen(QPen(QColor(30, 50, 90), 1));
        p.setBrush(QColor(60, 100, 170));
        QPainterPath body;
        body.moveTo(3, 3);
        body.lineTo(18, 3);
        body.lineTo(21, 6);
        body.lineTo(21, 21);
        body.lineTo(3, 21);
        body.closeSubpath();
        p.drawPath(body);
        p.setBrush(QColor(235, 240, 248));
        p.drawRect(QRectF(6, 12, 12, 9));
        p.setBrush(QColor(200, 210, 225));
        p.drawRect(QRectF(7, 3, 9, 6));
        p.setBrush(QColor(60, 100, 170));
        p.drawRect(QRectF(12.5, 4, 2, 4));
    });
    return icon;
}

QIcon toBegin() {
    static const QIcon icon = drawIcon([](QPainter& p) {
        inkBrush(p);
        p.drawRect(QRectF(3, 5, 2.5, 14));
        triangleH(p, 6.5, -1);
        triangleH(p, 13.5, -1);
    });
    return icon;
}

QIcon pageLeft() {
    static const QIcon icon = drawIcon([](QPainter& p) {
        inkBrush(p);
        triangleH(p, 4.5, -1);
        triangleH(p, 11.5, -1);
    });
    return icon;
}

QIcon stepLeft() {
    static const QIcon icon = drawIcon([](QPainter& p) {
        inkBrush(p);
        triangleH(p, 8, -1);
    });
    return icon;
}

QIcon stepRight() {
    static const QIcon icon = drawIcon([](QPainter& p) {
        inkBrush(p);
        triangleH(p, 16, +1);
    });
    return icon;
}

QIcon pageRight() {
    static const QIcon icon = drawIcon([](QPainter& p) {
        inkBrush(p);
        triangleH(p, 12.5, +1);
        triangleH(p, 19.5, +1);
    });
    return icon;
}

QIcon toEnd() {
    static const QIcon icon = drawIcon([](QPainter& p) {
        inkBrush(p);
        triangleH(p, 10.5, +1);
        triangleH(p, 17.5, +1);
        p.drawRect(QRectF(18.5, 5, 2.5, 14));
    });
    return icon;
}

QIcon showNavigator() {
    static const QIcon icon = drawIcon([](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(250, 250, 250));
        p.drawRect(QRectF(2, 7, 20, 10));
        p.setPen(QPen(QColor(200, 30, 30), 1.2));
        p.drawPolyline(QPolygonF({{3, 14}, {7, 10}, {11, 13}, {15, 9}, {21, 12}}));
        p.setPen(QPen(QColor(110, 110, 110), 1.6));
        p.setBrush(QColor(160, 160, 160, 110));
        p.drawRect(QRectF(9, 5, 6, 14));
    });
    return icon;
}

QIcon showAxes() {
    static const QIcon icon = drawIcon([](QPainter& p) {
        p.setPen(QPen(kInk, 1.4));
        p.drawLine(QPointF(4, 3), QPointF(4, 21));
        p.drawLine(QPointF(20, 3), QPointF(20, 21));
        p.setPen(QPen(kInk, 1));
        for (int i = 0; i < 5; ++i) {
            const qreal y = 4 + i * 4;
            p.drawLine(QPointF(4, y), QPointF(7, y));
            p.drawLine(QPointF(17, y), QPointF(20, y));
        }
        p.setPen(QPen(kBlue, 1.6));
        p.drawPolyline(QPolygonF({{8, 15}, {11, 10}, {13, 13}, {16, 8}}));
    });
    return icon;
}

QIcon stepUp() {
    static const QIcon icon = drawIcon([](QPainter& p) {
        inkBrush(p, kInk);
        triangleV(p, 8, -1);
    });
    return icon;
}

QIcon stepDown() {
    static const QIcon icon = drawIcon([](QPainter& p) {
        inkBrush(p, kInk);
        triangleV(p, 16, +1);
    });
    return icon;
}

QIcon stepUp10() {
    static const QIcon icon = drawIcon([](QPainter& p) {
        inkBrush(p, kInk);
        triangleV(p, 4, -1);
        triangleV(p, 11, -1);
    });
    return icon;
}

QIcon stepDown10() {
    static const QIcon icon = drawIcon([](QPainter& p) {
        inkBrush(p, kInk);
        triangleV(p, 13, +1);
        triangleV(p, 20, +1);
    });
    return icon;
}

} // namespace charticons
