#include "telemetry/paramchart.h"

#include "common/numtext.h"

#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// Ticks of the time axis stand on whole samples and are labelled with the samples' times.
class SampleTimeTicker : public QCPAxisTicker {
public:
    explicit SampleTimeTicker(std::shared_ptr<const SampleColumn> times) : m_times(std::move(times)) {}

protected:
    double getTickStep(const QCPRange& range) override {
        return std::max(1.0, std::round(QCPAxisTicker::getTickStep(range)));
    }
    int getSubTickCount(double) override { return 0; }
    QString getTickLabel(double tick, const QLocale&, QChar, int) override {
        const double index = std::round(tick);
        if (std::abs(index - tick) > 1e-6 || index < 0 || index >= double(m_times->size())) return QString();
        return formatGeneral(m_times->at(int(index)));
    }

private:
    std::shared_ptr<const SampleColumn> m_times;
};

// Samples per pixel of the time axis from which the summaries are drawn.
constexpr double kSummaryFrom = 2.0 * ParamChart::BucketSize;
// The window reaches this many samples, or half the shown range if more, beyond the shown
// range on either side, so that scrolling by a step or a page seldom moves it.
constexpr int kWindowMargin = 256;

} // namespace

ParamChart::ParamChart(QCustomPlot* chart)
    : m_plot(chart), m_times(std::make_shared<SampleColumn>()) {
    m_width.fill(1);
    for (int s = 0; s < Series; ++s) {
        QCPGraph* g = m_plot->graph(s);
        g->setAntialiased(false);
        g->setAdaptiveSampling(true);
        QPen pen = g->pen();
        pen.setWidthF(m_width[s]);
        g->setPen(pen);
        g->data()->clear();
        m_runs[s].push_back(g);
        m_runFirst[s].push_back(0);
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
    m_beforeReplot = QObject::connect(m_plot, &QCustomPlot::beforeReplot, m_plot, [this] { prepareDrawing(); });
}

ParamChart::~ParamChart() { QObject::disconnect(m_beforeReplot); }

QString ParamChart::timeLabel(int index) const {
    if (index < 0 || index >= sampleCount()) return QString();
    return formatGeneral(m_times->at(index));
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
    // It begins with the last sample so far, whose point it holds if the window does.
    const int joint = sampleCount() - 1;
    m_runFirst[series].push_back(joint);
    if (joint >= m_winFirst && joint < m_winEnd)
        m_runs[series].back()->addData(QVector<double>{double(joint)}, QVector<double>{value(series, joint)}, true);
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
        s.open.take(key, value);
        return;
    }
    // The closed bucket's lowest and highest point, in the order they came.
    if (s.bucket >= 0) s.open.appendPoints(keys, values);
    s.bucket = bucket;
    s.open = minmax::Extremes::of(key, value);
}

void ParamChart::appendSamples(const std::vector<double>& times,
                               const std::array<std::vector<double>, Series>& values,
                               const std::array<QColor, Series>& colors) {
    const int n = int(times.size());
    if (n == 0) return;
    const int first = sampleCount();
    // Appended samples join a window that reaches the newest sample; an empty window (no
    // replot yet, or the summaries drawn) stays empty until the next replot fits it.
    const bool grow = m_winFirst < m_winEnd && m_winEnd == first;
    for (int s = 0; s < Series; ++s) {
        QCPGraph* g = m_runs[s].back();
        QVector<double> sumKeys, sumValues;
        if (g->pen().color() != colors[s]) {
            if (first == 0) {
                QPen pen = g->pen();
                pen.setColor(colors[s]);
                g->setPen(pen);
                m_summaries[s].back().graph->setPen(pen);
            } else {
                // The new run starts where the old one ended, so the line has no gap.
                newRun(s, colors[s]);
                summarize(m_summaries[s].back(), first - 1, value(s, first - 1), sumKeys, sumValues);
            }
        }
        const std::vector<double>& v = values[s];
        SampleColumn& column = m_values[s];
        Summary& sum = m_summaries[s].back();
        for (int i = 0; i < n; ++i) {
            column.append(v[std::size_t(i)]);
            summarize(sum, first + i, v[std::size_t(i)], sumKeys, sumValues);
        }
        if (!sumKeys.isEmpty()) sum.graph->addData(sumKeys, sumValues, true);
    }
    for (double t : times) m_times->append(t);
    if (grow) {
        m_winEnd = first + n;
        for (int s = 0; s < Series; ++s) loadPoints(s, first, m_winEnd);
    }
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
        m_runFirst[s].assign(1, 0);
        m_values[s].truncate(0);
        sums.front() = Summary{sums.front().graph};
        for (QCPGraph* g : {runs.front(), sums.front().graph}) {
            g->data()->clear();
            QPen pen = g->pen();
            pen.setColor(last);
            g->setPen(pen);
        }
    }
    m_times->truncate(0);
    m_winFirst = m_winEnd = 0;
}

void ParamChart::squeeze() {
    for (int s = 0; s < Series; ++s) {
        for (QCPGraph* g : m_runs[s]) g->data()->squeeze(true, true);
        for (const Summary& sum : m_summaries[s]) sum.graph->data()->squeeze(true, true);
    }
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

int ParamChart::runLast(int series, std::size_t run) const {
    const std::vector<int>& firsts = m_runFirst[std::size_t(series)];
    return run + 1 < firsts.size() ? firsts[run + 1] : sampleCount() - 1;
}

int ParamChart::runSize(int series, int run) const {
    return runLast(series, std::size_t(run)) - runFirst(series, run) + 1;
}

bool ParamChart::valueAt(int series, int index, double* value, QColor* colour) const {
    if (series < 0 || series >= Series || index < 0 || index >= sampleCount()) return false;
    const std::vector<int>& firsts = m_runFirst[std::size_t(series)];
    // The newest run that has begun by the sample holds it (a run starts with the last
    // point of the run before, so either holds a shared point).
    std::size_t run = firsts.size() - 1;
    while (run > 0 && firsts[run] > index) --run;
    *value = this->value(series, index);
    *colour = m_runs[std::size_t(series)][run]->pen().color();
    return true;
}

void ParamChart::loadPoints(int series, int from, int to) {
    const std::vector<QCPGraph*>& runs = m_runs[std::size_t(series)];
    const SampleColumn& column = m_values[std::size_t(series)];
    for (std::size_t k = 0; k < runs.size(); ++k) {
        const int a = std::max(from, m_runFirst[std::size_t(series)][k]);
        const int b = std::min(to, runLast(series, k) + 1);
        if (a >= b) continue;
        QVector<QCPGraphData> points(b - a);
        for (int i = a; i < b; ++i) points[i - a] = QCPGraphData(i, column.at(i));
        runs[k]->data()->add(points, true);
    }
}

void ParamChart::setWindow(int first, int end) {
    if (first == m_winFirst && end == m_winEnd) return;
    for (int s = 0; s < Series; ++s) {
        for (QCPGraph* g : m_runs[std::size_t(s)]) g->data()->clear();
    }
    m_winFirst = first;
    m_winEnd = end;
    for (int s = 0; s < Series; ++s) loadPoints(s, first, end);
}

void ParamChart::fitWindow() {
    const int n = sampleCount();
    if (m_summaryShown || n == 0) {
        setWindow(0, 0);
        return;
    }
    // The shown range and the sample beyond either end, to which its line runs.
    const QCPRange range = m_plot->xAxis->range();
    const double lower = std::clamp(std::floor(range.lower) - 1, 0.0, double(n));
    const double upper = std::clamp(std::ceil(range.upper) + 2, 0.0, double(n));
    const int first = int(lower), end = int(upper);
    const int margin = std::max(kWindowMargin, (end - first) / 2);
    const bool covered = m_winFirst < m_winEnd && m_winFirst <= first && end <= m_winEnd;
    // A window grown by appends far beyond the shown range is cut back.
    const bool tooWide = m_winEnd - m_winFirst > (end - first) + 4 * margin;
    if (covered && !tooWide) return;
    setWindow(std::max(0, first - margin), std::min(n, end + margin));
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

void ParamChart::prepareDrawing() {
    chooseDetail();
    fitWindow();
}
