#pragma once
// The eleven series of the parameter chart over the sample number. A series is drawn as
// one or more graphs: the points of one colour form a run, and a colour change starts a
// new graph that begins at the last point of the previous run, so the line stays whole
// and earlier points keep their colour. The bottom axis labels its ticks with the sample
// times. Appends go to the end and replots are queued, so hours of samples stay cheap;
// antialiasing is off for the data.
//
// Every sample is kept once, in a column of numbers per series (and one of times). The
// runs' graphs hold only the points of a window of samples around the shown time range:
// before each replot the window is moved when the range left it, and while it reaches
// the newest sample, appended samples join it. Eight hours of recording thus cost their
// numbers, not a drawing object per point.
//
// Each run also keeps a summary graph: per bucket of 16 samples its lowest and highest
// point, kept up as samples arrive. While the time axis shows 32 samples or more per
// pixel the summaries are drawn instead of the runs (a pixel then covers whole buckets, so
// the picture is the same), which keeps a replot of hours of samples short; the runs'
// window is then empty.

#include "telemetry/minmaxsummary.h"
#include "telemetry/sampletable.h"

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
    // Frees the room the graphs reserved for growing (a recording that grew stays as it is).
    void squeeze();

    int sampleCount() const { return m_times->size(); }
    double sampleTime(int index) const { return m_times->at(index); }
    // A series' value at a sample (0 <= index < sampleCount()).
    double value(int series, int index) const { return m_values.at(std::size_t(series)).at(index); }
    // The value of a series at a sample and the colour it is drawn in: the colour of the
    // newest run that holds the sample. False outside the samples.
    bool valueAt(int series, int index, double* value, QColor* colour) const;
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
    // The first sample of a run and the number of samples it draws, its first included
    // (a run after the first begins with the last sample of the run before).
    int runFirst(int series, int run) const { return m_runFirst.at(std::size_t(series)).at(std::size_t(run)); }
    int runSize(int series, int run) const;
    // The samples whose points the runs' graphs hold now: first..end-1.
    int windowFirst() const { return m_winFirst; }
    int windowEnd() const { return m_winEnd; }
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
    // What a replot does first: chooses runs or summaries for the axis's range and width and
    // fits the runs' window to the range. A picture drawn outside a replot (another size,
    // another range) calls it once its layout is set, and again after it is restored.
    void prepareDrawing();

private:
    struct Summary {
        QCPGraph* graph = nullptr;
        long long bucket = -1; // the bucket still open, whose extremes are not drawn yet
        minmax::Extremes open;
    };
    QCPGraph* addGraphLike(QCPGraph* model, const QColor& color, int series);
    void newRun(int series, const QColor& color);
    // Adds points to a run's summary; closed buckets go into keys/values.
    static void summarize(Summary& s, double key, double value, QVector<double>& keys, QVector<double>& values);
    void chooseDetail();
    void applyVisibility(int series);
    // The last sample of a run (inclusive); -1 for the empty first run of an empty chart.
    int runLast(int series, std::size_t run) const;
    // Adds the points of samples from..to-1 to the runs that hold them (appended in order).
    void loadPoints(int series, int from, int to);
    // Before a replot: the window covers the shown range, or is empty under the summaries.
    void fitWindow();
    void setWindow(int first, int end);

    QCustomPlot* m_plot;
    std::array<std::vector<QCPGraph*>, Series> m_runs;
    std::array<std::vector<Summary>, Series> m_summaries;
    bool m_summaryShown = false;
    QMetaObject::Connection m_beforeReplot;
    std::array<bool, Series> m_active{};
    std::array<double, Series> m_width{};
    std::array<std::vector<int>, Series> m_runFirst;
    std::array<SampleColumn, Series> m_values;
    int m_winFirst = 0, m_winEnd = 0;
    // Shared with the time axis's ticker, which may outlive this object inside the plot.
    std::shared_ptr<SampleColumn> m_times;
};
