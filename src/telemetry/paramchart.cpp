#include "telemetry/paramchart.h"

#include "common/numtext.h"

#include <qcustomplot.h>

#include <cmath>
#include <memory>

namespace {

// Ticks of the time axis stand on whole samples and are labelled with the samples' times.
class SampleTimeTicker : public QCPAxisTicker {
public:
    explicit SampleTimeTicker(std::shared_ptr<const std::vector<double>> times) : m_times(std::move(times)) {}

protected:
    double getTickStep(const QCPRange& range) override {
        return std::max(1.0, std::round(QCPAxisTicker::getTickStep(range)));
    }
    int getSubTickCount(double) override { return 0; }
    QString getTickLabel(double tick, const QLocale&, QChar, int) override {
        const double index = std::round(tick);
        if (std::abs(index - tick) > 1e-6 || index < 0 || index > 2e9) return QString();
        if (index >= double(m_times->size())) return QString();
        return formatGeneral((*m_times)[std::size_t(index)]);
    }

private:
    std::shared_ptr<const std::vector<double>> m_times;
};

} // namespace

ParamChart::ParamChart(QCustomPlot* chart)
    : m_plot(chart), m_times(std::make_shared<std::vector<double>>()) {
    m_width.fill(1);
    for (int s = 0; s < Series; ++s) {
        QCPGraph* g = m_plot->graph(s);
        g->setAntialiased(false);
        g->setAdaptiveSampling(true);
        QPen pen = g->pen();
        pen.setWidthF(m_width[s]);
        g->setPen(pen);
        m_runs[s].push_back(g);
        m_active[s] = g->visible();
    }
    m_plot->setNotAntialiasedElements(QCP::aePlottables);
    m_plot->setPlottingHint(QCP::phFastPolylines, true);
    m_plot->xAxis->setTicker(QSharedPointer<QCPAxisTicker>(new SampleTimeTicker(m_times)));
}

QString ParamChart::timeLabel(int index) const {
    if (index < 0 || index >= sampleCount()) return QString();
    return formatGeneral((*m_times)[std::size_t(index)]);
}

QCPGraph* ParamChart::newRun(int series, const QColor& color) {
    QCPGraph* first = m_runs[series].front();
    QCPGraph* g = m_plot->addGraph(first->keyAxis(), first->valueAxis());
    g->setName(first->name());
    g->setAntialiased(false);
    g->setAdaptiveSampling(true);
    g->setPen(QPen(color, m_width[series]));
    g->setVisible(m_active[series]);
    m_runs[series].push_back(g);
    return g;
}

QColor ParamChart::seriesColor(int series) const { return m_runs.at(std::size_t(series)).back()->pen().color(); }

int ParamChart::graphCount() const {
    int n = 0;
    for (const auto& r : m_runs) n += int(r.size());
    return n;
}

void ParamChart::appendSamples(const std::vector<double>& times,
                               const std::array<std::vector<double>, Series>& values,
                               const std::array<QColor, Series>& colors) {
    const int n = int(times.size());
    if (n == 0) return;
    const int first = sampleCount();
    QVector<double> keys(n);
    for (int i = 0; i < n; ++i) keys[i] = first + i;
    for (int s = 0; s < Series; ++s) {
        QCPGraph* g = m_runs[s].back();
        if (g->pen().color() != colors[s]) {
            if (g->dataCount() == 0) {
                QPen pen = g->pen();
                pen.setColor(colors[s]);
                g->setPen(pen);
            } else {
                // The new run starts where the old one ended, so the line has no gap.
                const QCPGraphData last = *(g->data()->constEnd() - 1);
                g = newRun(s, colors[s]);
                g->addData(QVector<double>{last.key}, QVector<double>{last.value}, true);
            }
        }
        const std::vector<double>& v = values[s];
        g->addData(keys, QVector<double>(v.begin(), v.begin() + n), true);
    }
    m_times->insert(m_times->end(), times.begin(), times.end());
}

void ParamChart::appendSample(double time, const std::array<double, Series>& values,
                              const std::array<QColor, Series>& colors) {
    std::array<std::vector<double>, Series> one;
    for (int s = 0; s < Series; ++s) one[s].assign(1, values[s]);
    appendSamples({time}, one, colors);
}

void ParamChart::clear() {
    for (int s = 0; s < Series; ++s) {
        auto& runs = m_runs[s];
        const QColor last = runs.back()->pen().color();
        for (std::size_t i = 1; i < runs.size(); ++i) m_plot->removeGraph(runs[i]);
        runs.resize(1);
        runs.front()->data()->clear();
        QPen pen = runs.front()->pen();
        pen.setColor(last);
        runs.front()->setPen(pen);
    }
    m_times->clear();
    m_times->shrink_to_fit();
}

void ParamChart::setSeriesActive(int series, bool active) {
    m_active.at(std::size_t(series)) = active;
    for (QCPGraph* g : m_runs[series]) g->setVisible(active);
}

void ParamChart::setSeriesWidth(int series, double width) {
    m_width.at(std::size_t(series)) = width;
    for (QCPGraph* g : m_runs[series]) {
        QPen pen = g->pen();
        pen.setWidthF(width);
        g->setPen(pen);
    }
}

void ParamChart::fitTimeAxis() {
    const int n = sampleCount();
    setTimeRange(0, std::max(1, n - 1));
}

void ParamChart::setTimeRange(double lower, double upper) {
    m_plot->xAxis->setRange(-100000, 100000);
    m_plot->xAxis->setRangeUpper(upper);
    m_plot->xAxis->setRangeLower(lower);
}

void ParamChart::queueReplot() { m_plot->replot(QCustomPlot::rpQueuedReplot); }
