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
        if (std::abs(index - tick) > 1e-6 || index < 0 || index >= double(m_times->size())) return QString();
        return formatGeneral((*m_times)[std::size_t(index)]);
    }

private:
    std::shared_ptr<const std::vector<double>> m_times;
};

// Samples per pixel of the time axis from which the summaries are drawn.
constexpr double kSummaryFrom = 2.0 * ParamChart::BucketSize;

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
    for (int s = 0; s < Series; ++s) {
        Summary sum;
        sum.graph = addGraphLike(m_runs[s].front(), m_runs[s].front()->pen().color(), s);
        m_summaries[s].push_back(sum);
        applyVisibility(s);
    }
    // Axis numbers written as the texts around them: the locale's decimal separator, no
    // group separators.
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    m_plot->setLocale(locale);
    m_plot->setNotAntialiasedElements(QCP::aePlottables);
    m_plot->setPlottingHint(QCP::phFastPolylines, true);
    m_plot->xAxis->setTicker(QSharedPointer<QCPAxisTicker>(new SampleTimeTicker(m_times)));
    m_beforeReplot = QObject::connect(m_plot, &QCustomPlot::beforeReplot, m_plot, [this] { chooseDetail(); });
}

ParamChart::~ParamChart() { QObject::disconnect(m_beforeReplot); }

QString ParamChart::timeLabel(int index) const {
    if (index < 0 || index >= sampleCount()) return QString();
    return formatGeneral((*m_times)[std::size_t(index)]);
}

QCPGraph* ParamChart::addGraphLike(QCPGraph* model, const QColor& color, int series) {
    QCPGraph* g = m_plot->addGraph(model->keyAxis(), model->valueAxis());
    g->setName(model->name());
    g->setAntialiased(false);
    g->setAdaptiveSampling(true);
    g->setPen(QPen(color, m_width[series]));
    return g;
}

void ParamChart::newRun(int series, const QColor& color) {
    m_runs[series].push_back(addGraphLike(m_runs[series].front(), color, series));
    Summary sum;
    sum.graph = addGraphLike(m_runs[series].front(), color, series);
    m_summaries[series].push_back(sum);
    applyVisibility(series);
}

std::vector<QCPGraph*> ParamChart::summaries(int series) const {
    std::vector<QCPGraph*> out;
    for (const Summary& s : m_summaries.at(std::size_t(series))) out.push_back(s.graph);
    return out;
}

QColor ParamChart::seriesColor(int series) const { return m_runs.at(std::size_t(series)).back()->pen().color(); }

int ParamChart::graphCount() const {
    int n = 0;
    for (const auto& r : m_runs) n += int(r.size());
    return n;
}

void ParamChart::summarize(Summary& s, double key, double value, QVector<double>& keys, QVector<double>& values) {
    const long long bucket = (long long)(std::floor(key / BucketSize));
    if (bucket == s.bucket) {
        if (value < s.minValue) {
            s.minValue = value;
            s.minKey = key;
        }
        if (value > s.maxValue) {
            s.maxValue = value;
            s.maxKey = key;
        }
        return;
    }
    if (s.bucket >= 0) {
        // The bucket's lowest and highest point, in the order they came.
        const bool minFirst = s.minKey <= s.maxKey;
        keys << (minFirst ? s.minKey : s.maxKey);
        values << (minFirst ? s.minValue : s.maxValue);
        if (s.minKey != s.maxKey) {
            keys << (minFirst ? s.maxKey : s.minKey);
            values << (minFirst ? s.maxValue : s.minValue);
        }
    }
    s.bucket = bucket;
    s.minKey = s.maxKey = key;
    s.minValue = s.maxValue = value;
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
        QVector<double> sumKeys, sumValues;
        if (g->pen().color() != colors[s]) {
            if (g->dataCount() == 0) {
                QPen pen = g->pen();
                pen.setColor(colors[s]);
                g->setPen(pen);
                m_summaries[s].back().graph->setPen(pen);
            } else {
                // The new run starts where the old one ended, so the line has no gap.
                const QCPGraphData last = *(g->data()->constEnd() - 1);
                newRun(s, colors[s]);
                g = m_runs[s].back();
                g->addData(QVector<double>{last.key}, QVector<double>{last.value}, true);
                summarize(m_summaries[s].back(), last.key, last.value, sumKeys, sumValues);
            }
        }
        const std::vector<double>& v = values[s];
        g->addData(keys, QVector<double>(v.begin(), v.begin() + n), true);
        Summary& sum = m_summaries[s].back();
        for (int i = 0; i < n; ++i) summarize(sum, keys[i], v[std::size_t(i)], sumKeys, sumValues);
        if (!sumKeys.isEmpty()) sum.graph->addData(sumKeys, sumValues, true);
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
        auto& sums = m_summaries[s];
        const QColor last = runs.back()->pen().color();
        for (std::size_t i = 1; i < runs.size(); ++i) {
            m_plot->removeGraph(runs[i]);
            m_plot->removeGraph(sums[i].graph);
        }
        runs.resize(1);
        sums.resize(1);
        sums.front() = Summary{sums.front().graph};
        for (QCPGraph* g : {runs.front(), sums.front().graph}) {
            g->data()->clear();
            QPen pen = g->pen();
            pen.setColor(last);
            g->setPen(pen);
        }
    }
    m_times->clear();
    m_times->shrink_to_fit();
}

void ParamChart::squeeze() {
    for (int s = 0; s < Series; ++s) {
        for (QCPGraph* g : m_runs[s]) g->data()->squeeze(true, true);
        for (const Summary& sum : m_summaries[s]) sum.graph->data()->squeeze(true, true);
    }
    m_times->shrink_to_fit();
}

void ParamChart::applyVisibility(int series) {
    const bool active = m_active[std::size_t(series)];
    for (QCPGraph* g : m_runs[series]) g->setVisible(active && !m_summaryShown);
    for (const Summary& sum : m_summaries[series]) sum.graph->setVisible(active && m_summaryShown);
}

void ParamChart::chooseDetail() {
    const int pixels = std::max(1, m_plot->axisRect()->width());
    const bool summary = m_plot->xAxis->range().size() / pixels >= kSummaryFrom;
    if (summary == m_summaryShown) return;
    m_summaryShown = summary;
    for (int s = 0; s < Series; ++s) applyVisibility(s);
}

void ParamChart::setSeriesActive(int series, bool active) {
    m_active.at(std::size_t(series)) = active;
    applyVisibility(series);
}

void ParamChart::setSeriesWidth(int series, double width) {
    m_width.at(std::size_t(series)) = width;
    auto widen = [width](QCPGraph* g) {
        QPen pen = g->pen();
        pen.setWidthF(width);
        g->setPen(pen);
    };
    for (QCPGraph* g : m_runs[series]) widen(g);
    for (const Summary& sum : m_summaries[series]) widen(sum.graph);
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
