#include "icons/paint.h"

#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPixmap>
#include <QPixmapCache>
#include <QtMath>

namespace icons::paint {

namespace {

// A disabled button still has to say what it does: the same picture, faded.
constexpr qreal kDisabledOpacity = 0.35;

// Paints its drawing afresh for every size and pixel ratio a widget asks for, so icons
// stay sharp on high-density screens and at the odd sizes the panels use (14, 20, 22, 26).
class DrawnIconEngine final : public QIconEngine {
public:
    DrawnIconEngine(const char* name, Drawing draw, QSizeF design)
        : m_name(QString::fromLatin1(name)), m_draw(draw), m_design(design) {}

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return fitted(size); }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }

    // `size` is in device pixels; `scale` only tells the pixmap how dense it is.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) override {
        const QSize px = fitted(size);
        if (px.isEmpty()) return QPixmap();
        const bool disabled = mode == QIcon::Disabled;
        const QString key = QStringLiteral("icons/%1/%2x%3/%4/%5")
                                .arg(m_name)
                                .arg(px.width())
                                .arg(px.height())
                                .arg(disabled ? 'd' : 'n')
                                .arg(scale);
        QPixmap pm;
        if (!QPixmapCache::find(key, &pm)) {
            pm = QPixmap::fromImage(render(px, disabled));
            pm.setDevicePixelRatio(scale);
            QPixmapCache::insert(key, pm);
        }
        return pm;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal dpr = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        const QPixmap pm = scaledPixmap(rect.size() * dpr, mode, state, dpr);
        if (pm.isNull()) return;
        const QSizeF logical = pm.deviceIndependentSize();
        const QPointF topLeft(rect.x() + (rect.width() - logical.width()) / 2,
                              rect.y() + (rect.height() - logical.height()) / 2);
        painter->drawPixmap(topLeft, pm);
    }

    QIconEngine* clone() const override { return new DrawnIconEngine(*this); }
    QString key() const override { return QStringLiteral("icons.drawn"); }
    bool isNull() override { return false; }

private:
    // The largest size of the design's aspect ratio that fits into `size`.
    QSize fitted(const QSize& size) const {
        if (size.isEmpty()) return QSize();
        const qreal k = qMin(size.width() / m_design.width(), size.height() / m_design.height());
        return QSize(qMax(1, qRound(m_design.width() * k)), qMax(1, qRound(m_design.height() * k)));
    }

    QImage render(QSize px, bool disabled) const {
        QImage img(px, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(px.width() / m_design.width(), px.height() / m_design.height());
        m_draw(p);
        p.end();
        if (!disabled) return img;
        // Fade the finished picture as a whole; fading each shape would let the shapes
        // underneath show through.
        QImage faded(px, QImage::Format_ARGB32_Premultiplied);
        faded.fill(Qt::transparent);
        QPainter f(&faded);
        f.setOpacity(kDisabledOpacity);
        f.drawImage(0, 0, img);
        f.end();
        return faded;
    }

    QString m_name;
    Drawing m_draw;
    QSizeF m_design;
};

QPointF unit(Qt::ArrowType direction) {
    switch (direction) {
    case Qt::UpArrow: return {0, -1};
    case Qt::DownArrow: return {0, 1};
    case Qt::LeftArrow: return {-1, 0};
    default: return {1, 0};
    }
}

} // namespace

QIcon make(const char* name, Drawing draw, QSizeF design) {
    return QIcon(new DrawnIconEngine(name, draw, design));
}

void fill(QPainter& p, const QColor& colour) {
    p.setPen(QPen(colour.darker(160), kOutline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(colour);
}

void stroke(QPainter& p, const QColor& colour, qreal width) {
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
}

void triangle(QPainter& p, QPointF tip, Qt::ArrowType direction, qreal depth, qreal half) {
    const QPointF u = unit(direction);
    const QPointF n(-u.y(), u.x());
    const QPointF base = tip - u * depth;
    p.drawPolygon(QPolygonF({tip, base + n * half, base - n * half}));
}

void arrow(QPainter& p, QPointF from, QPointF to, qreal shaft, qreal head, const QColor& colour) {
    const qreal len = QLineF(from, to).length();
    if (len <= 0) return;
    const QPointF u = (to - from) / len;
    const QPointF n(-u.y(), u.x());
    const QPointF neck = to - u * head;
    const qreal wing = head * 0.75;
    fill(p, colour);
    p.drawPolygon(QPolygonF({from + n * shaft / 2, neck + n * shaft / 2, neck + n * wing, to,
                             neck - n * wing, neck - n * shaft / 2, from - n * shaft / 2}));
}

void circularArrow(QPainter& p, QPointF centre, qreal radius, qreal startDeg, qreal spanDeg,
                   const QColor& colour) {
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    QPainterPath arc;
    arc.arcMoveTo(box, startDeg);
    arc.arcTo(box, startDeg, spanDeg);
    QPainterPathStroker stroker;
    stroker.setWidth(kBold);
    stroker.setCapStyle(Qt::FlatCap);

    const qreal end = qDegreesToRadians(startDeg + spanDeg);
    // Screen y grows downwards, hence the minus on the sine.
    const QPointF tip0(centre.x() + radius * qCos(end), centre.y() - radius * qSin(end));
    const qreal dir = spanDeg >= 0 ? 1.0 : -1.0;
    const QPointF along(-qSin(end) * dir, -qCos(end) * dir);
    const QPointF across(-along.y(), along.x());
    QPainterPath head;
    head.moveTo(tip0 + along * 4.5);
    head.lineTo(tip0 + across * 4);
    head.lineTo(tip0 - across * 4);
    head.closeSubpath();

    fill(p, colour);
    p.drawPath(stroker.createStroke(arc).united(head).simplified());
}

void moduleBlock(QPainter& p) {
    stroke(p, kInk, 1.25);
    for (qreal x = 7; x <= 17; x += 3.3) p.drawLine(QPointF(x, 21), QPointF(x, 23.2));
    fill(p, kModule);
    p.drawRoundedRect(QRectF(3.5, 13.5, 17, 8), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(214, 228, 234));
    p.drawEllipse(QPointF(6.5, 16.2), 1, 1);
}

void moduleArrow(QPainter& p, bool intoModule) {
    moduleBlock(p);
    const QPointF top(12, 0.8), bottom(12, 12.8);
    if (intoModule)
        arrow(p, top, bottom, 4, 6.5, kOrange);
    else
        arrow(p, bottom, top, 4, 6.5, kGreen);
}

void folder(QPainter& p) {
    fill(p, kFolder);
    p.setBrush(kFolder.darker(115)); // the back wall, in the front flap's shadow
    p.drawPolygon(QPolygonF({{2, 4.5}, {9, 4.5}, {11, 6.5}, {20.5, 6.5}, {20.5, 20}, {2, 20}}));
    p.setBrush(kFolder);
    p.drawPolygon(QPolygonF({{2, 20}, {5.5, 10.5}, {23, 10.5}, {20.5, 20}}));
}

void disk(QPainter& p) {
    fill(p, kBlue);
    p.drawPolygon(QPolygonF({{3, 3}, {17.5, 3}, {21, 6.5}, {21, 21}, {3, 21}}));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(217, 226, 234));
    p.drawRect(QRectF(7, 3.5, 8.5, 5.5));
    p.setBrush(kBlue);
    p.drawRect(QRectF(12.5, 4.3, 2, 3.8));
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(6, 12.5, 12, 7.5), 1, 1);
    stroke(p, QColor(154, 169, 182), 0.8);
    p.drawLine(QPointF(7.8, 15), QPointF(16.2, 15));
    p.drawLine(QPointF(7.8, 17.5), QPointF(16.2, 17.5));
}

void tray(QPainter& p) {
    stroke(p, kInk, kBold);
    p.drawPolyline(QPolygonF({{3.5, 15}, {3.5, 21}, {20.5, 21}, {20.5, 15}}));
}

void plot(QPainter& p, const QPolygonF& points, const QColor& lineColour) {
    stroke(p, kInk, kLine);
    p.drawPolyline(QPolygonF({{3, 2.5}, {3, 21}, {21.5, 21}}));
    if (points.isEmpty()) return;
    stroke(p, lineColour, kLine);
    p.drawPolyline(points);
}

void flagEdge(QPainter& p) {
    p.setPen(QPen(QColor(120, 120, 120), kOutline));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, 29, 19));
}

} // namespace icons::paint
