#include "telemetry/referenceview.h"

#include "telemetry/paramchart.h"
#include "telemetry/sampletable.h"

#include <QMouseEvent>
#include <qcustomplot.h>

#include <algorithm>
#include <cmath>

namespace {
const QString kLayer = QStringLiteral("reference");
} // namespace

ReferenceView::ReferenceView(ParamChart* chart, const SampleTable* archive, QObject* parent)
    : QObject(parent), m_chart(chart), m_plot(chart->plot()), m_archive(archive) {
    QCustomPlot* plot = chart->plot();
    // Under the main recording's lines, which stay in front where both lie.
    if (!plot->layer(kLayer)) plot->addLayer(kLayer, plot->layer(QStringLiteral("main")), QCustomPlot::limBelow);
    m_layer = plot->layer(kLayer);
    m_beforeReplot = connect(plot, &QCustomPlot::beforeReplot, this, &ReferenceView::refit);
    plot->installEventFilter(this);
}

ReferenceView::~ReferenceView() {
    disconnect(m_beforeReplot);
    // The chart's columns may be gone already; only the plot's graphs are touched.
    removeGraphs();
}

QColor ReferenceView::lighter(const QColor& c) {
    // Half-way to white: the hue stays the series', the line steps back behind the main one.
    const QColor rgb = c.toRgb();
    return QColor((rgb.red() + 255) / 2, (rgb.green() + 255) / 2, (rgb.blue() + 255) / 2);
}

void ReferenceView::removeGraphs() {
    for (QCPGraph*& g : m_graphs) {
        if (g && m_plot && m_plot->hasPlottable(g)) m_plot->removeGraph(g);
        g = nullptr;
    }
}

void ReferenceView::setRecording(std::shared_ptr<const reference::Recording> recording) {
    removeGraphs();
    m_rec = recording && !recording->isEmpty() ? std::move(recording) : nullptr;
    m_fitted = false;
    m_summary = false;
    QCustomPlot* plot = m_chart->plot();
    if (m_rec) {
        const QCPLayer* current = plot->currentLayer();
        plot->setCurrentLayer(m_layer);
        for (int s = 0; s < reference::Series; ++s) {
            QCPGraph* model = m_chart->runs(s).front();
            QCPGraph* g = plot->addGraph(model->keyAxis(), model->valueAxis());
            g->setName(model->name());
            g->setAntialiased(false);
            g->setSelectable(QCP::stNone);
            g->setPen(QPen(lighter(m_chart->seriesColor(s)), 1, Qt::DashLine));
            m_graphs[std::size_t(s)] = g;
        }
        plot->setCurrentLayer(const_cast<QCPLayer*>(current));
    }
    m_chart->queueReplot();
}

void ReferenceView::setOffset(double seconds) {
    if (!std::isfinite(seconds) || seconds == m_offset) return;
    m_offset = seconds;
    m_chart->queueReplot();
}

reference::Alignment ReferenceView::alignment() const {
    reference::Alignment a;
    const int n = m_archive->samples();
    a.base = std::max(0, m_chart->sampleCount() - n);
    const double fallback = m_rec ? m_rec->interval() : 0.1;
    a.interval = n > 0 ? reference::meanInterval(m_archive->value(1, 0), m_archive->value(n, 0), n, fallback) : fallback;
    a.offset = m_offset;
    return a;
}

QCPGraph* ReferenceView::graph(int series) const {
    return series >= 0 && series < reference::Series ? m_graphs[std::size_t(series)] : nullptr;
}

bool ReferenceView::valueAt(int series, int index, double* value) const {
    if (!m_rec || series < 0 || series >= reference::Series) return false;
    const int k = m_rec->nearest(alignment().referenceTime(index));
    if (k < 0) return false;
    *value = m_rec->value(k, reference::archiveColumn(series));
    return true;
}

// --- fitting the graphs to the shown range ------------------------------------------------

void ReferenceView::refit() {
    if (!m_rec) return;
    QCustomPlot* plot = m_chart->plot();
    Fit fit;
    fit.lower = plot->xAxis->range().lower;
    fit.upper = plot->xAxis->range().upper;
    fit.pixels = std::max(1, plot->axisRect()->width());
    fit.align = alignment();
    for (int s = 0; s < reference::Series; ++s) {
        QCPGraph* g = m_graphs[std::size_t(s)];
        const bool active = m_chart->seriesActive(s);
        if (active) fit.active |= 1u << s;
        g->setVisible(active);
        // The series' colour now (a colour change of the main series follows).
        const QColor colour = lighter(m_chart->seriesColor(s));
        if (g->pen().color() != colour) {
            QPen pen = g->pen();
            pen.setColor(colour);
            g->setPen(pen);
        }
    }
    if (m_fitted && fit == m_fit) return;
    m_fit = fit;
    m_fitted = true;

    const double from = fit.align.referenceTime(fit.lower), to = fit.align.referenceTime(fit.upper);
    const double perPixel = (to - from) / m_rec->interval() / fit.pixels;
    m_summary = std::isfinite(perPixel) && perPixel >= SummaryFrom;
    int first = 0, last = -1;
    if (!m_summary) {
        // The shown samples, the one beyond either end (the line runs to it) and a margin.
        const auto [a, b] = m_rec->within(from, to);
        const int margin = std::max(WindowMargin, (b - a) / 2);
        first = std::max(0, a - 1 - margin);
        last = std::min(m_rec->samples() - 1, b + 1 + margin);
    }
    for (int s = 0; s < reference::Series; ++s) {
        QCPGraph* g = m_graphs[std::size_t(s)];
        g->setAdaptiveSampling(!m_summary);
        if (!(fit.active & (1u << s))) {
            g->data()->clear();
        } else if (m_summary) {
            fillSummary(s, fit);
        } else {
            fillDetail(s, first, last);
        }
    }
}

void ReferenceView::fillDetail(int series, int first, int last) {
    const reference::Alignment a = m_fit.align;
    const int column = reference::archiveColumn(series);
    QVector<QCPGraphData> points;
    points.reserve(std::max(0, last - first + 1));
    bool sorted = true;
    for (int k = first; k <= last; ++k) {
        const double key = a.key(m_rec->time(k));
        if (!points.isEmpty() && key < points.back().key) sorted = false;
        points.append(QCPGraphData(key, m_rec->value(k, column)));
    }
    m_graphs[std::size_t(series)]->data()->set(points, sorted);
}

void ReferenceView::fillSummary(int series, const Fit& fit) {
    const QVector<double>& times = m_rec->summaryTimes(series);
    const QVector<double>& values = m_rec->summaryValues(series);
    const double width = (fit.upper - fit.lower) / fit.pixels; // keys per pixel column
    // One column beyond either edge, so that the line runs out of the plot area.
    const double from = fit.align.referenceTime(fit.lower - width);
    const double to = fit.align.referenceTime(fit.upper + width);
    QVector<QCPGraphData> points;
    points.reserve(2 * (fit.pixels + 2));
    long long column = std::numeric_limits<long long>::min();
    double low = 0, high = 0;
    double previous = std::numeric_limits<double>::quiet_NaN();
    auto flush = [&] {
        if (column == std::numeric_limits<long long>::min()) return;
        const double left = fit.lower + double(column) * width;
        if (low == high) {
            points.append(QCPGraphData(left + 0.5 * width, low));
            previous = low;
            return;
        }
        // The end nearer to where the line stands first, so the column is stroked once.
        const bool lowFirst = !std::isfinite(previous) || std::abs(previous - low) <= std::abs(previous - high);
        points.append(QCPGraphData(left + 0.25 * width, lowFirst ? low : high));
        points.append(QCPGraphData(left + 0.75 * width, lowFirst ? high : low));
        previous = lowFirst ? high : low;
    };
    const qsizetype start = std::lower_bound(times.begin(), times.end(), from) - times.begin();
    for (qsizetype i = start; i < times.size() && times[i] <= to; ++i) {
        const double key = fit.align.key(times[i]);
        const long long c = (long long)std::floor((key - fit.lower) / width);
        const double v = values[i];
        if (c != column) {
            flush();
            column = c;
            low = high = v;
        } else {
            low = std::min(low, v);
            high = std::max(high, v);
        }
    }
    flush();
    m_graphs[std::size_t(series)]->data()->set(points, true);
}

// --- moving the reference with the mouse --------------------------------------------------

bool ReferenceView::eventFilter(QObject* watched, QEvent* event) {
    QCustomPlot* plot = m_chart->plot();
    if (watched != plot || !m_rec) return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() != Qt::LeftButton || !(e->modifiers() & Qt::ShiftModifier) ||
            !plot->axisRect()->rect().contains(e->position().toPoint()))
            break;
        // Shift takes the press from the chart's own dragging.
        m_dragging = true;
        m_dragKey = plot->xAxis->pixelToCoord(e->position().x());
        m_dragOffset = m_offset;
        return true;
    }
    case QEvent::MouseMove: {
        if (!m_dragging) break;
        auto* e = static_cast<QMouseEvent*>(event);
        const double key = plot->xAxis->pixelToCoord(e->position().x());
        // By whole samples of the main recording, so that the two recordings' samples stand
        // on the same keys; in whole milliseconds, so that the offset reads as it was set.
        const double interval = alignment().interval;
        const double offset = std::round((m_dragOffset + std::round(key - m_dragKey) * interval) * 1000) / 1000;
        if (offset != m_offset) {
            m_offset = offset;
            m_chart->queueReplot();
            emit offsetDragged(offset);
        }
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (!m_dragging) break;
        m_dragging = false;
        return true;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
