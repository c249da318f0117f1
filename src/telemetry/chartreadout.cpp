#include "telemetry/chartreadout.h"

#include "common/messages.h"
#include "common/numtext.h"
#include "telemetry/paramchart.h"

#include <QEvent>
#include <QMouseEvent>
#include <qcustomplot.h>

#include <cmath>

namespace {
constexpr int kTexts = 1 + ParamChart::Series;
const QString kLayer = QStringLiteral("readout");
} // namespace

QString ChartReadout::layerName() { return kLayer; }

ChartReadout::ChartReadout(ParamChart* chart, QObject* parent) : QObject(parent), m_chart(chart) {
    QCustomPlot* plot = chart->plot();
    if (!plot->layer(kLayer)) plot->addLayer(kLayer, plot->layer(plot->layerCount() - 1), QCustomPlot::limAbove);
    m_layer = plot->layer(kLayer);
    m_layer->setMode(QCPLayer::lmBuffered);

    m_cursor = new QCPItemStraightLine(plot);
    m_cursor->setLayer(m_layer);
    m_cursor->setPen(QPen(QColor(60, 60, 60), 1, Qt::DashLine));
    m_cursor->setSelectable(false);
    for (int i = 0; i < kTexts; ++i) {
        auto* t = new QCPItemText(plot);
        t->setLayer(m_layer);
        t->setSelectable(false);
        t->position->setType(QCPItemPosition::ptAbsolute);
        t->setPadding(QMargins(3, 0, 3, 0));
        t->setBrush(QColor(255, 255, 255, 215));
        t->setClipToAxisRect(true);
        m_texts << t;
    }
    setItemsVisible(0, false);

    // Moves without a button reach the chart only with tracking on; a press and a drag
    // still scroll and zoom the axes as before.
    plot->setMouseTracking(true);
    plot->installEventFilter(this);
    // The time axis moves under a still mouse while recording (and when browsing with the
    // keys): the readout follows the sample that is now under the mouse.
    connect(plot, &QCustomPlot::beforeReplot, this, [this] {
        if (m_hovering) place();
    });
}

void ChartReadout::setItemsVisible(int texts, bool cursor) {
    m_cursor->setVisible(cursor);
    for (int i = 0; i < m_texts.size(); ++i) m_texts[i]->setVisible(i < texts);
    m_shownTexts = texts;
}

bool ChartReadout::valueAt(int series, int index, double* value, QColor* colour) const {
    return m_chart->valueAt(series, index, value, colour);
}

bool ChartReadout::place() {
    QCustomPlot* plot = m_chart->plot();
    const QRect area = plot->axisRect()->rect();
    const int n = m_chart->sampleCount();
    int index = -1;
    if (n > 0 && area.contains(m_pos.toPoint())) {
        const double key = plot->xAxis->pixelToCoord(m_pos.x());
        if (std::isfinite(key)) index = int(std::clamp(std::lround(key), 0L, long(n - 1)));
    }
    m_index = index;
    if (index < 0) {
        setItemsVisible(0, false);
        return false;
    }
    m_cursor->point1->setCoords(index, 0);
    m_cursor->point2->setCoords(index, 1);

    const bool english = msgs().english();
    const QString time = formatGeneral(m_chart->sampleTime(index));
    int used = 0;
    auto write = [&](const QString& text, const QColor& colour) {
        QCPItemText* t = m_texts[used++];
        t->setText(text);
        t->setColor(colour);
    };
    write(english ? QStringLiteral("Time: %1 s").arg(time) : QStringLiteral("Время: %1 с").arg(time), Qt::black);
    for (int s = 0; s < ParamChart::Series; ++s) {
        if (!m_chart->seriesActive(s)) continue;
        double v = 0;
        QColor colour;
        if (!valueAt(s, index, &v, &colour)) continue;
        QString line = m_chart->runs(s).front()->name() + QStringLiteral(": ") + formatGeneral(v);
        if (annotate) line += annotate(s, index, v);
        write(line, colour);
    }

    // Beside the cursor, on its right unless that runs out of the plot area.
    const double x = plot->xAxis->coordToPixel(index);
    const bool right = x + (annotate ? 260 : 150) < area.right();
    const int lineHeight = QFontMetrics(m_texts.front()->font()).height() + 1;
    for (int i = 0; i < used; ++i) {
        QCPItemText* t = m_texts[i];
        t->setPositionAlignment((right ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignTop);
        t->position->setCoords(right ? x + 6 : x - 6, area.top() + 4 + i * lineHeight);
    }
    setItemsVisible(used, true);
    return true;
}

void ChartReadout::pointAt(QPointF pos) {
    m_pos = pos;
    m_hovering = true;
    const bool was = isShown();
    const int before = m_index;
    // Moves within one sample change nothing on the screen.
    if (place() != was || before != m_index) queueRedraw();
}

void ChartReadout::hide() {
    m_hovering = false;
    if (!isShown()) return;
    m_index = -1;
    setItemsVisible(0, false);
    queueRedraw();
}

void ChartReadout::queueRedraw() {
    if (m_redrawQueued) return;
    m_redrawQueued = true;
    QMetaObject::invokeMethod(this, [this] {
        m_redrawQueued = false;
        m_layer->replot();
    }, Qt::QueuedConnection);
}

QStringList ChartReadout::lines() const {
    QStringList out;
    for (int i = 0; i < m_shownTexts; ++i) out << m_texts[i]->text();
    return out;
}

QList<QColor> ChartReadout::colours() const {
    QList<QColor> out;
    for (int i = 0; i < m_shownTexts; ++i) out << m_texts[i]->color();
    return out;
}

bool ChartReadout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_chart->plot()) {
        if (event->type() == QEvent::MouseMove)
            pointAt(static_cast<QMouseEvent*>(event)->position());
        else if (event->type() == QEvent::Leave)
            hide();
    }
    return QObject::eventFilter(watched, event);
}
