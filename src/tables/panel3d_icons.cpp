#include "tables/panel3d_icons.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>

namespace {

// Drawn on a 48 x 48 canvas and scaled down by the buttons; the large canvas keeps the
// shapes smooth at any icon size.
constexpr int kCanvas = 48;

const QColor kInk(0x1d, 0x35, 0x45);
const QColor kModule(0x34, 0x4e, 0x5c);
const QColor kToModule(0xc0, 0x39, 0x2b);
const QColor kFromModule(0x1e, 0x84, 0x49);
const QColor kFolder(0xe8, 0xb6, 0x4c);
const QColor kFolderEdge(0x8a, 0x64, 0x14);
const QColor kDisk(0x2f, 0x5f, 0x98);

// A filled arrow from `from` to `to`: a shaft of the given width and a head at `to`.
void drawArrow(QPainter& p, QPointF from, QPointF to, qreal shaft, qreal head, const QColor& c) {
    const QLineF line(from, to);
    const qreal len = line.length();
    if (len <= 0) return;
    const QPointF u = (to - from) / len;  // along the arrow
    const QPointF n(-u.y(), u.x());       // across it
    const QPointF neck = to - u * head;
    QPainterPath path;
    path.moveTo(from + n * shaft / 2);
    path.lineTo(neck + n * shaft / 2);
    path.lineTo(neck + n * head * 0.75);
    path.lineTo(to);
    path.lineTo(neck - n * head * 0.75);
    path.lineTo(neck - n * shaft / 2);
    path.lineTo(from - n * shaft / 2);
    path.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(path);
}

// An arc around `centre` from startDeg sweeping spanDeg (counter-clockwise positive, as
// on a clock face seen by the viewer), with an arrow head at its end.
void drawCircularArrow(QPainter& p, QPointF centre, qreal radius, qreal startDeg, qreal spanDeg,
                       const QColor& c) {
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    QPen pen(c, 5.5, Qt::SolidLine, Qt::FlatCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawArc(box, int(startDeg * 16), int(spanDeg * 16));
    const qreal end = qDegreesToRadians(startDeg + spanDeg);
    // Screen y grows downwards, so the angle's sine is subtracted.
    const QPointF tip(centre.x() + radius * qCos(end), centre.y() - radius * qSin(end));
    const qreal dir = spanDeg >= 0 ? 1.0 : -1.0;
    const QPointF tangent(-qSin(end) * dir, -qCos(end) * dir);
    const QPointF normal(-tangent.y(), tangent.x());
    QPainterPath head;
    head.moveTo(tip + tangent * 9);
    head.lineTo(tip + normal * 8);
    head.lineTo(tip - normal * 8);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(head);
}

void drawModule(QPainter& p) {
    // A chip with pins: the module's memory.
    p.setPen(QPen(kInk, 2.5));
    for (int x = 14; x <= 34; x += 6) p.drawLine(QPointF(x, 42), QPointF(x, 46));
    p.setPen(Qt::NoPen);
    p.setBrush(kModule);
    p.drawRoundedRect(QRectF(8, 27, 32, 16), 3, 3);
    p.setBrush(QColor(0xd6, 0xe4, 0xea));
    p.drawEllipse(QPointF(13, 32), 1.8, 1.8);
}

void drawFolder(QPainter& p) {
    p.setPen(QPen(kFolderEdge, 2));
    p.setBrush(kFolder.darker(115));
    QPainterPath back;
    back.moveTo(5, 12);
    back.lineTo(18, 12);
    back.lineTo(22, 16);
    back.lineTo(41, 16);
    back.lineTo(41, 40);
    back.lineTo(5, 40);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(kFolder);
    QPainterPath front;
    front.moveTo(5, 40);
    front.lineTo(11, 22);
    front.lineTo(46, 22);
    front.lineTo(41, 40);
    front.closeSubpath();
    p.drawPath(front);
}

void drawDisk(QPainter& p) {
    p.setPen(QPen(kDisk.darker(140), 2));
    p.setBrush(kDisk);
    QPainterPath body;
    body.moveTo(7, 6);
    body.lineTo(35, 6);
    body.lineTo(42, 13);
    body.lineTo(42, 42);
    body.lineTo(7, 42);
    body.closeSubpath();
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xd9, 0xe2, 0xea));
    p.drawRect(QRectF(14, 6, 17, 12));
    p.setBrush(kDisk);
    p.drawRect(QRectF(25, 8, 4, 8));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(12, 25, 25, 15), 2, 2);
    p.setPen(QPen(QColor(0x9a, 0xa9, 0xb6), 1.5));
    p.drawLine(QPointF(15, 30), QPointF(34, 30));
    p.drawLine(QPointF(15, 35), QPointF(34, 35));
}

void drawTray(QPainter& p) {
    QPen pen(kInk, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    QPainterPath tray;
    tray.moveTo(7, 30);
    tray.lineTo(7, 42);
    tray.lineTo(41, 42);
    tray.lineTo(41, 30);
    p.drawPath(tray);
}

QPixmap draw(Panel3DIcon kind) {
    QPixmap pm(kCanvas, kCanvas);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    switch (kind) {
    case Panel3DIcon::TableWrite:
        drawModule(p);
        drawArrow(p, {24, 2}, {24, 25}, 7, 12, kToModule);
        break;
    case Panel3DIcon::TableRead:
        drawModule(p);
        drawArrow(p, {24, 25}, {24, 2}, 7, 12, kFromModule);
        break;
    case Panel3DIcon::FileOpen:
        drawFolder(p);
        break;
    case Panel3DIcon::FileSave:
        drawDisk(p);
        break;
    case Panel3DIcon::RotateLeft:
        drawArrow(p, {42, 24}, {5, 24}, 9, 17, kInk);
        break;
    case Panel3DIcon::RotateRight:
        drawArrow(p, {6, 24}, {43, 24}, 9, 17, kInk);
        break;
    case Panel3DIcon::RotateUp:
        drawArrow(p, {24, 42}, {24, 5}, 9, 17, kInk);
        break;
    case Panel3DIcon::RotateDown:
        drawArrow(p, {24, 6}, {24, 43}, 9, 17, kInk);
        break;
    case Panel3DIcon::RotateUpZ:
        drawCircularArrow(p, {24, 25}, 15, -60, 270, kInk);
        break;
    case Panel3DIcon::RotateDownZ:
        drawCircularArrow(p, {24, 25}, 15, 240, -270, kInk);
        break;
    case Panel3DIcon::Zoom: {
        p.setPen(QPen(kInk, 7, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(30, 30), QPointF(43, 43));
        p.setPen(QPen(kInk, 4));
        p.setBrush(QColor(255, 255, 255, 170));
        p.drawEllipse(QPointF(20, 20), 14, 14);
        p.setPen(QPen(kInk, 3.5, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(13, 20), QPointF(27, 20));
        p.drawLine(QPointF(20, 13), QPointF(20, 27));
        break;
    }
    case Panel3DIcon::PushOrientation:
        drawTray(p);
        drawArrow(p, {24, 3}, {24, 36}, 8, 15, kFromModule);
        break;
    case Panel3DIcon::PopOrientation:
        drawTray(p);
        drawArrow(p, {24, 36}, {24, 3}, 8, 15, kDisk);
        break;
    case Panel3DIcon::DefaultOrientation: {
        // Three axes from one origin: the picture set square to the viewer.
        drawArrow(p, {14, 36}, {14, 3}, 5, 12, kInk);
        drawArrow(p, {12, 36}, {46, 36}, 5, 12, kInk);
        drawArrow(p, {16, 34}, {3, 47}, 5, 11, kToModule);
        break;
    }
    }
    return pm;
}

} // namespace

QIcon panel3DIcon(Panel3DIcon kind) {
    static QHash<int, QIcon> cache;
    auto it = cache.find(int(kind));
    if (it == cache.end()) it = cache.insert(int(kind), QIcon(draw(kind)));
    return *it;
}
