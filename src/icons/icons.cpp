#include "icons/icons.h"

#include "icons/paint.h"

#include <QPainter>
#include <QRadialGradient>

namespace icons {

using namespace paint;

namespace {

// Every pointing triangle (steppers, navigation) has the same proportions.
constexpr qreal kTriDepth = 8;
constexpr qreal kTriHalf = 7.5;

void pointer(QPainter& p, QPointF tip, Qt::ArrowType direction) {
    triangle(p, tip, direction, kTriDepth, kTriHalf);
}

// The big arrows that turn the 3D surface.
void turnArrow(QPainter& p, QPointF from, QPointF to) { arrow(p, from, to, 4.5, 8.5, kInk); }

// A plug between its cable (left) and its prongs (right). Pulled out, the plug stands back
// from its prongs, with the gap marked by a line.
void plug(QPainter& p, const QColor& colour, bool pulledOut) {
    stroke(p, colour.darker(160), kBold);
    const qreal body = pulledOut ? 6 : 9;
    p.drawLine(QPointF(2, 12), QPointF(body, 12));
    const qreal prongs = pulledOut ? 15.5 : body + 7.5;
    p.drawLine(QPointF(prongs, 9), QPointF(22, 9));
    p.drawLine(QPointF(prongs, 15), QPointF(22, 15));
    if (pulledOut) {
        stroke(p, colour.darker(160), kLine);
        p.drawLine(QPointF(13.75, 4.5), QPointF(13.75, 19.5));
    }
    fill(p, colour);
    p.drawRoundedRect(QRectF(body, 6, pulledOut ? 6 : 7.5, 12), 2, 2);
}

} // namespace

// ---- Main window tool bar ----

QIcon connectModule() {
    static const QIcon icon = make("connectModule", [](QPainter& p) { plug(p, kGreen, false); });
    return icon;
}

QIcon disconnectModule() {
    static const QIcon icon = make("disconnectModule", [](QPainter& p) { plug(p, kRed, true); });
    return icon;
}

QIcon dropDown() {
    // Pointier than a stepper's triangle: it opens a list, it does not change a value.
    static const QIcon icon = make("dropDown", [](QPainter& p) {
        fill(p, kInk);
        triangle(p, {12, 16.5}, Qt::DownArrow, 9, 7);
    });
    return icon;
}

QIcon flagRussia() {
    static const QIcon icon = make(
        "flagRussia",
        [](QPainter& p) {
            p.fillRect(QRectF(0, 0, 30, 20.0 / 3), Qt::white);
            p.fillRect(QRectF(0, 20.0 / 3, 30, 20.0 / 3), QColor(0, 57, 166));
            p.fillRect(QRectF(0, 40.0 / 3, 30, 20.0 / 3), QColor(213, 43, 30));
            flagEdge(p);
        },
        QSizeF(30, 20));
    return icon;
}

QIcon flagEngland() {
    static const QIcon icon = make(
        "flagEngland",
        [](QPainter& p) {
            p.fillRect(QRectF(0, 0, 30, 20), Qt::white);
            p.fillRect(QRectF(12, 0, 6, 20), QColor(200, 16, 46));
            p.fillRect(QRectF(0, 7, 30, 6), QColor(200, 16, 46));
            flagEdge(p);
        },
        QSizeF(30, 20));
    return icon;
}

QIcon info() {
    static const QIcon icon = make("info", [](QPainter& p) {
        fill(p, kBlue);
        p.drawEllipse(QPointF(12, 12), 9.75, 9.75);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(12, 7.5), 1.6, 1.6);
        p.drawRoundedRect(QRectF(10.5, 10.5, 3, 8.25), 0.75, 0.75);
    });
    return icon;
}

QIcon send() {
    static const QIcon icon = make("send", [](QPainter& p) {
        fill(p, kGreen);
        p.drawPolygon(QPolygonF({{3, 4.5}, {21, 12}, {3, 19.5}, {6.75, 12}}));
    });
    return icon;
}

// ---- Module and files ----

QIcon readFromModule() {
    static const QIcon icon = make("readFromModule", [](QPainter& p) { moduleArrow(p, false); });
    return icon;
}

QIcon writeToModule() {
    static const QIcon icon = make("writeToModule", [](QPainter& p) { moduleArrow(p, true); });
    return icon;
}

QIcon openFile() {
    static const QIcon icon = make("openFile", folder);
    return icon;
}

QIcon saveFile() {
    static const QIcon icon = make("saveFile", disk);
    return icon;
}

// ---- Value steppers ----

QIcon stepUp() {
    static const QIcon icon = make("stepUp", [](QPainter& p) {
        fill(p, kInk);
        pointer(p, {12, 8}, Qt::UpArrow);
    });
    return icon;
}

QIcon stepDown() {
    static const QIcon icon = make("stepDown", [](QPainter& p) {
        fill(p, kInk);
        pointer(p, {12, 16}, Qt::DownArrow);
    });
    return icon;
}

QIcon stepUp10() {
    static const QIcon icon = make("stepUp10", [](QPainter& p) {
        fill(p, kInk);
        pointer(p, {12, 4}, Qt::UpArrow);
        pointer(p, {12, 12}, Qt::UpArrow);
    });
    return icon;
}

QIcon stepDown10() {
    static const QIcon icon = make("stepDown10", [](QPainter& p) {
        fill(p, kInk);
        pointer(p, {12, 12}, Qt::DownArrow);
        pointer(p, {12, 20}, Qt::DownArrow);
    });
    return icon;
}

// ---- 3D table panel ----

QIcon rotateLeft() {
    static const QIcon icon = make("rotateLeft", [](QPainter& p) { turnArrow(p, {21, 12}, {2.5, 12}); });
    return icon;
}

QIcon rotateRight() {
    static const QIcon icon = make("rotateRight", [](QPainter& p) { turnArrow(p, {3, 12}, {21.5, 12}); });
    return icon;
}

QIcon rotateUp() {
    static const QIcon icon = make("rotateUp", [](QPainter& p) { turnArrow(p, {12, 21}, {12, 2.5}); });
    return icon;
}

QIcon rotateDown() {
    static const QIcon icon = make("rotateDown", [](QPainter& p) { turnArrow(p, {12, 3}, {12, 21.5}); });
    return icon;
}

QIcon rotateCounterClockwise() {
    static const QIcon icon = make("rotateCounterClockwise", [](QPainter& p) {
        circularArrow(p, {12, 12.5}, 7.5, -60, 270, kInk);
    });
    return icon;
}

QIcon rotateClockwise() {
    static const QIcon icon = make("rotateClockwise", [](QPainter& p) {
        circularArrow(p, {12, 12.5}, 7.5, 240, -270, kInk);
    });
    return icon;
}

QIcon zoom() {
    static const QIcon icon = make("zoom", [](QPainter& p) {
        stroke(p, kInk, 3.5);
        p.drawLine(QPointF(15, 15), QPointF(21.5, 21.5));
        p.setPen(QPen(kInk, 2));
        p.setBrush(QColor(255, 255, 255, 170));
        p.drawEllipse(QPointF(10, 10), 7, 7);
        p.setPen(QPen(kInk, 1.75, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(6.5, 10), QPointF(13.5, 10));
        p.drawLine(QPointF(10, 6.5), QPointF(10, 13.5));
    });
    return icon;
}

QIcon pushOrientation() {
    static const QIcon icon = make("pushOrientation", [](QPainter& p) {
        tray(p);
        arrow(p, {12, 1.5}, {12, 18}, 4, 7.5, kBlue);
    });
    return icon;
}

QIcon popOrientation() {
    static const QIcon icon = make("popOrientation", [](QPainter& p) {
        tray(p);
        arrow(p, {12, 18}, {12, 1.5}, 4, 7.5, kBlue);
    });
    return icon;
}

QIcon defaultOrientation() {
    static const QIcon icon = make("defaultOrientation", [](QPainter& p) {
        // The depth axis first, so that the two axes in the picture plane lie on top.
        arrow(p, {8, 17}, {1.5, 23.5}, 2.5, 5.5, kBlue);
        arrow(p, {7, 18.5}, {7, 1.5}, 2.5, 6, kInk);
        arrow(p, {5.75, 18}, {23, 18}, 2.5, 6, kInk);
    });
    return icon;
}

// ---- Curve panels ----

QIcon livePoints() {
    static const QIcon icon = make("livePoints", [](QPainter& p) {
        plot(p, {});
        fill(p, kLive);
        for (const QPointF c : {QPointF(7, 16), QPointF(11, 12), QPointF(15, 13), QPointF(19, 7)})
            p.drawRoundedRect(QRectF(c.x() - 2.5, c.y() - 2.5, 5, 5), 1, 1);
    });
    return icon;
}

// ---- Parameter chart: recording ----

QIcon record() {
    static const QIcon icon = make("record", [](QPainter& p) {
        QRadialGradient g(QPointF(10, 9), 9);
        g.setColorAt(0, kRed.lighter(160));
        g.setColorAt(1, kRed);
        fill(p, kRed);
        p.setBrush(g);
        p.drawEllipse(QPointF(12, 12), 7.5, 7.5);
    });
    return icon;
}

QIcon pause() {
    static const QIcon icon = make("pause", [](QPainter& p) {
        fill(p, kInk);
        p.drawRoundedRect(QRectF(6, 5, 4.5, 14), 1, 1);
        p.drawRoundedRect(QRectF(13.5, 5, 4.5, 14), 1, 1);
    });
    return icon;
}

QIcon resume() {
    static const QIcon icon = make("resume", [](QPainter& p) {
        fill(p, kGreen);
        triangle(p, {19, 12}, Qt::RightArrow, 12, 8);
    });
    return icon;
}

QIcon stop() {
    static const QIcon icon = make("stop", [](QPainter& p) {
        fill(p, kInk);
        p.drawRoundedRect(QRectF(6, 6, 12, 12), 1.5, 1.5);
    });
    return icon;
}

QIcon clearChart() {
    static const QIcon icon = make("clearChart", [](QPainter& p) {
        plot(p, QPolygonF({{4, 16}, {8, 10}, {12, 14}, {16, 6}, {20, 9}}));
        stroke(p, kRed, kBold);
        p.drawLine(QPointF(9, 8), QPointF(19, 18));
        p.drawLine(QPointF(19, 8), QPointF(9, 18));
    });
    return icon;
}

// ---- Parameter chart: navigator and axes ----

QIcon toBegin() {
    static const QIcon icon = make("toBegin", [](QPainter& p) {
        fill(p, kInk);
        p.drawRect(QRectF(3, 4.5, 2.5, 15));
        pointer(p, {6, 12}, Qt::LeftArrow);
        pointer(p, {14, 12}, Qt::LeftArrow);
    });
    return icon;
}

QIcon pageLeft() {
    static const QIcon icon = make("pageLeft", [](QPainter& p) {
        fill(p, kInk);
        pointer(p, {4, 12}, Qt::LeftArrow);
        pointer(p, {12, 12}, Qt::LeftArrow);
    });
    return icon;
}

QIcon stepLeft() {
    static const QIcon icon = make("stepLeft", [](QPainter& p) {
        fill(p, kInk);
        pointer(p, {8, 12}, Qt::LeftArrow);
    });
    return icon;
}

QIcon stepRight() {
    static const QIcon icon = make("stepRight", [](QPainter& p) {
        fill(p, kInk);
        pointer(p, {16, 12}, Qt::RightArrow);
    });
    return icon;
}

QIcon pageRight() {
    static const QIcon icon = make("pageRight", [](QPainter& p) {
        fill(p, kInk);
        pointer(p, {12, 12}, Qt::RightArrow);
        pointer(p, {20, 12}, Qt::RightArrow);
    });
    return icon;
}

QIcon toEnd() {
    static const QIcon icon = make("toEnd", [](QPainter& p) {
        fill(p, kInk);
        pointer(p, {10, 12}, Qt::RightArrow);
        pointer(p, {18, 12}, Qt::RightArrow);
        p.drawRect(QRectF(18.5, 4.5, 2.5, 15));
    });
    return icon;
}

QIcon showNavigator() {
    static const QIcon icon = make("showNavigator", [](QPainter& p) {
        p.setPen(QPen(kInk, kOutline));
        p.setBrush(kPaper);
        p.drawRect(QRectF(2, 7, 20, 10));
        stroke(p, kBlue, kLine);
        p.drawPolyline(QPolygonF({{3, 14}, {7, 10}, {11, 13}, {15, 9}, {21, 12}}));
        // The shaded window: the part of the recording the chart shows.
        p.setPen(QPen(kInk, kLine));
        p.setBrush(QColor(kInk.red(), kInk.green(), kInk.blue(), 70));
        p.drawRect(QRectF(9, 5, 6, 14));
    });
    return icon;
}

QIcon showAxes() {
    static const QIcon icon = make("showAxes", [](QPainter& p) {
        stroke(p, kInk, kLine);
        p.drawLine(QPointF(4, 3), QPointF(4, 21));
        p.drawLine(QPointF(20, 3), QPointF(20, 21));
        stroke(p, kInk, kOutline);
        for (int i = 0; i < 5; ++i) {
            const qreal y = 4 + i * 4;
            p.drawLine(QPointF(4, y), QPointF(7, y));
            p.drawLine(QPointF(17, y), QPointF(20, y));
        }
        stroke(p, kBlue, kLine);
        p.drawPolyline(QPolygonF({{8, 15}, {11, 10}, {13, 13}, {16, 8}}));
    });
    return icon;
}

} // namespace icons
