#include "tables/curvemarkers.h"

#include "tables/curvecodec.h"

#include <QPainter>
#include <qcustomplot.h>

#include <algorithm>
#include <cmath>

namespace {
constexpr int ShapeSize = 9;
const QColor LivePointColor1(0xFF, 0xFF, 0x00);
const QColor LivePointColor2(0xC9, 0xE4, 0x8F);

void centre(CurveShape* shape, QPoint at) { shape->move(at.x() - ShapeSize / 2, at.y() - ShapeSize / 2); }
} // namespace

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

// --- the shapes of one chart --------------------------------------------------------------

CurveMarkers::CurveMarkers(QCustomPlot* chart, int curve, const QColor& markerColour, QObject* events)
    : QObject(chart), m_chart(chart) {
    const QString suffix = curve == 2 ? QStringLiteral("_2") : QString();
    // Created first so that markers and live points lie above it.
    m_frame = new CurveShape(CurveShape::Kind::Frame, chart);
    m_frame->setObjectName(QStringLiteral("Shape_0") + suffix);
    for (int i = 1; i <= Count; ++i) {
        auto* m = new CurveShape(CurveShape::Kind::Circle, chart);
        m->setObjectName(QStringLiteral("Shape_Green") + suffix + QString::number(i));
        m->resize(ShapeSize, ShapeSize);
        m->setFillColor(markerColour);
        m->setOutlineColor(markerColour.darker(160));
        m->setCursor(Qt::SizeVerCursor);
        m->installEventFilter(events);
        m_markers[std::size_t(i - 1)] = m;
    }
    for (int i = 1; i <= Count; ++i) {
        auto* p = new CurveShape(CurveShape::Kind::RoundedSquare, chart);
        p->setObjectName(QStringLiteral("Shape_Yellow") + suffix + QString::number(i));
        p->resize(ShapeSize, ShapeSize);
        p->setFillColor(curve == 2 ? LivePointColor2 : LivePointColor1);
        p->setOutlineColor(QColor(110, 110, 60));
        m_livePoints[std::size_t(i - 1)] = p;
    }
    connect(chart, &QCustomPlot::afterLayout, this, &CurveMarkers::relayout);
    relayout();
}

CurveShape* CurveMarkers::marker(int i) const { return i >= 1 && i <= Count ? m_markers[std::size_t(i - 1)] : nullptr; }

CurveShape* CurveMarkers::livePoint(int i) const {
    return i >= 1 && i <= Count ? m_livePoints[std::size_t(i - 1)] : nullptr;
}

int CurveMarkers::markerIndex(const QObject* o) const {
    for (int i = 0; i < Count; ++i)
        if (m_markers[std::size_t(i)] == o) return i + 1;
    return 0;
}

QRect CurveMarkers::frameRect() const { return m_chart->axisRect()->rect(); }

QPointF CurveMarkers::markerPosition(int i) const {
    return i >= 1 && i <= Count ? m_markerPos[std::size_t(i - 1)] : QPointF();
}

bool CurveMarkers::markerPlaced(int i) const { return i >= 1 && i <= Count && m_markerPlaced[std::size_t(i - 1)]; }

void CurveMarkers::placeMarker(int i, double x, double y) {
    if (i < 1 || i > Count) return;
    m_markerPos[std::size_t(i - 1)] = QPointF(x, y);
    m_markerPlaced[std::size_t(i - 1)] = true;
    centre(m_markers[std::size_t(i - 1)], markerCentre(i));
}

void CurveMarkers::placeLivePoint(int i, double x, double y) {
    if (i < 1 || i > Count) return;
    m_livePos[std::size_t(i - 1)] = QPointF(x, y);
    Yellow_Rel_X[std::size_t(i - 1)] = std::clamp(x / curvecodec::FuelMax, 0.0, 1.0);
    m_livePlaced[std::size_t(i - 1)] = true;
    centre(m_livePoints[std::size_t(i - 1)], livePointCentre(i));
}

void CurveMarkers::showLivePoint(int i, double x, double v) {
    if (i < 1 || i > Count) return;
    placeLivePoint(i, x, v);
    m_liveSample[std::size_t(i - 1)] = QPointF(x, v);
    CurveShape* shape = m_livePoints[std::size_t(i - 1)];
    shape->setToolTip(curvecodec::livePointHint(v, x));
    shape->show();
    shape->raise();
}

void CurveMarkers::hideLivePoints() {
    for (CurveShape* p : m_livePoints) p->hide();
}

void CurveMarkers::renewLivePointHints() {
    for (std::size_t i = 0; i < Count; ++i)
        if (m_livePlaced[i])
            m_livePoints[i]->setToolTip(curvecodec::livePointHint(m_liveSample[i].y(), m_liveSample[i].x()));
}

void CurveMarkers::select(int i) {
    if (m_selected >= 1) m_markers[std::size_t(m_selected - 1)]->setOutlineColor(m_selectedOutline);
    m_selected = i >= 1 && i <= Count ? i : 0;
    if (!m_selected) return;
    CurveShape* m = m_markers[std::size_t(m_selected - 1)];
    m_selectedOutline = m->outlineColor();
    m->setOutlineColor(QColor(0xE0, 0x00, 0x00));
    m->raise();
    m->setFocus(Qt::OtherFocusReason);
}

QPoint CurveMarkers::markerCentre(int i) const {
    const QPointF pos = m_markerPos[std::size_t(i - 1)];
    const QRect frame = frameRect();
    const double px = m_chart->xAxis->coordToPixel(pos.x());
    // The axis maps its ends onto the frame's outer edges (top and top + height).
    const double py = std::clamp(m_chart->yAxis->coordToPixel(pos.y()), double(frame.top()),
                                 double(frame.top() + frame.height()));
    return QPoint(int(std::lround(px)), int(std::lround(py)));
}

QPoint CurveMarkers::livePointCentre(int i) const {
    const QPointF pos = m_livePos[std::size_t(i - 1)];
    const QRect frame = frameRect();
    const double px = frame.left() + frame.width() * pos.x() / 64.0;
    const double bottom = frame.top() + frame.height();
    const double py = std::clamp(bottom - frame.height() * pos.y() / 5.0, double(frame.top()), bottom);
    return QPoint(int(std::lround(px)), int(std::lround(py)));
}

void CurveMarkers::relayout() {
    // The frame sits on the plot area's edges; the shapes follow their chart points.
    const QRect frame = frameRect();
    m_frame->setGeometry(frame.adjusted(0, 0, 1, 1));
    for (int i = 1; i <= Count; ++i) {
        if (m_markerPlaced[std::size_t(i - 1)]) centre(m_markers[std::size_t(i - 1)], markerCentre(i));
        if (m_livePlaced[std::size_t(i - 1)]) centre(m_livePoints[std::size_t(i - 1)], livePointCentre(i));
    }
}
