#include "tables/curvemarkers.h"

#include <QPainter>

CurveShape::CurveShape(Kind kind, QWidget* parent)
    : QWidget(parent), m_kind(kind), m_fill(Qt::white), m_outline(Qt::black) {
    setAttribute(Qt::WA_TranslucentBackground);
    if (kind == Kind::Frame) {
        // The frame only shows where the plot area is; clicks must reach the chart and
        // the markers under it.
        setAttribute(Qt::WA_TransparentForMouseEvents);
        m_outline = QColor(0, 0, 255);
    }
    hide();
}

void CurveShape::setFillColor(const QColor& color) {
    if (m_fill == color) return;
    m_fill = color;
    update();
}

void CurveShape::setOutlineColor(const QColor& color) {
    if (m_outline == color) return;
    m_outline = color;
    update();
}

void CurveShape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    switch (m_kind) {
    case Kind::Frame:
        p.setPen(QPen(m_outline, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r);
        break;
    case Kind::Circle:
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(m_outline, 1));
        p.setBrush(m_fill);
        p.drawEllipse(r);
        break;
    case Kind::RoundedSquare:
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(m_outline, 1));
        p.setBrush(m_fill);
        p.drawRoundedRect(r, 2.5, 2.5);
        break;
    }
}
