#pragma once
// The eleven series of the parameter chart over the sample number. A series is drawn as
// one or more graphs: the points of one colour form a run, and a colour change starts a
// new graph that begins at the last point of the previous run, so the line stays whole
// and earlier points keep their colour. The bottom axis labels its ticks with the sample
// times. Appends go to the end of sorted data and replots are queued, so hours of samples
// stay cheap; antialiasing is off for the data.
//
// Each run also keeps a summary graph: per bucket of 16 samples its lowest and highest
// point, kept up as samples arrive. While the time axis shows 32 samples or more per
// pixel the summaries are drawn instead of the runs (a pixel then covers whole buckets, so
// the picture is the same), which keeps a replot of hours of samples short.

#include <QColor>
#include <QMetaObject>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QCustomPlot;
class QCPGraph;
class QCPAxis;

class ParamChart {
public:
    static constexpr int Series = 11;
    static constexpr int BucketSize = 16;

    // Takes over the chart's first eleven graphs as the first runs of series 0..10.
    explicit ParamChart(QCustomPlot* chart);
    ~ParamChart();
    ParamChart(const ParamChart&) = delete;
    ParamChart& operator=(const ParamChart&) = delete;

    QCustomPlot* plot() const { return m_plot; }

    // Appends samples; values[s][i] is series s at sample i and colors[s] the colour of the
    // new points of series s. All value vectors have the size of times.
    void appendSamples(const std::vector<double>& times,
                       const std::array<std::vector<double>, Series>& values,
                       const std::array<QColor, Series>& colors);
    // One sample (the recording tick).
    void appendSample(double time, const std::array<double, Series>& values,
                      const std::array<QColor, Series>& colors);

    // Deletes every point; each series keeps one (empty) graph in its current colour.
    void clear();
    // Frees the room the data reserved for growing (a recording that grew stays as it is).
    void squeeze();

    int sampleCount() const { return int(m_times->size()); }
    double sampleTime(int index) const { return m_times->at(std::size_t(index)); }
    // Label of a sample on the time axis: its time as text (empty beyond the samples).
    QString timeLabel(int index) const;

    // Shows or hides every run of a series; points are added to hidden series as well.
    void setSeriesActive(int series, bool active);
    bool seriesActive(int series) const { return m_active.at(std::size_t(series)); }
    // Line width of every run of a series, in pixels.
    void setSeriesWidth(int series, double width);
    // Colour of the last run of a series (the colour its next points take if unchanged).
    QColor seriesColor(int series) const;
    // Graphs of a series, oldest run first.
    const std::vector<QCPGraph*>& runs(int series) const { return m_runs.at(std::size_t(series)); }
    // The summary graph of each run, in the same order.
    std::vector<QCPGraph*> summaries(int series) const;
    int graphCount() const;
    // True while the summaries are drawn instead of the runs.
    bool drawsSummaries() const { return m_summaryShown; }

    // Fits the time axis to the samples (the automatic bottom axis).
    void fitTimeAxis();
    // Sets the time axis to lower..upper: first widened to +-100000, so that an axis that
    // lay beyond the new range never passes through an inverted state.
    void setTimeRange(double lower, double upper);

    // Asks for a redraw at the next pass of the event loop (several asks make one redraw).
    void queueReplot();

private:
    struct Summary {
        QCPGraph* graph = nullptr;
        long long bucket = -1; // the bucket still open, whose extremes are not drawn yet
        double minKey = 0, minValue = 0, maxKey = 0, maxValue = 0;
    };
    QCPGraph* addGraphLike(QCPGraph* model, const QColor& color, int series);
    void newRun(int series, const QColor& color);
    // Adds points to a run's summary; closed buckets go into keys/values.
    static void summarize(Summary& s, double key, double value, QVector<double>& keys, QVector<double>& values);
    void chooseDetail();
    void applyVisibility(int series);

    QCustomPlot* m_plot;
    std::array<std::vector<QCPGraph*>, Series> m_runs;
    std::array<std::vector<Summary>, Series> m_summaries;
    bool m_summaryShown = false;
    QMetaObject::Connection m_beforeReplot;
    std::array<bool, Series> m_active{};
    std::array<double, Series> m_width{};
    // Shared with the time axis's ticker, which may outlive this object inside the plot.
    std::shared_ptr<std::vector<double>> m_times;
};
