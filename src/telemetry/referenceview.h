#pragma once
// The comparison recording on Chart1: each of its series in the colour of the main
// recording's series, lighter and dashed, drawn while that series is shown, at the main
// recording's sample keys shifted by the offset. The navigator strip and the archive never
// see it.
//
// The graphs hold only what the shown range needs, made again before a replot when the
// range, the plot's width, the offset or the main recording's place changed: up to 32
// samples of the reference per pixel the samples of a window around the shown range; from
// there on, the reference's min/max summary gathered per pixel column into its lowest and
// highest point, the first of the two being the one nearer to where the column before ended
// (so each column is stroked once). A replot of hours of reference thus draws about two
// points per pixel, whatever its length.
//
// Shift with the left button dragged over the chart moves the reference by whole samples of
// the main recording (the offset); the hover readout asks valueAt() for the reference's
// value at its sample.

#include "telemetry/referencerecording.h"

#include <QColor>
#include <QMetaObject>
#include <QObject>
#include <QPointF>
#include <QPointer>

#include <array>
#include <memory>

class ParamChart;
class QCPGraph;
class QCustomPlot;
class QCPLayer;
class SampleTable;

class ReferenceView : public QObject {
    Q_OBJECT
public:
    static constexpr double SummaryFrom = 32; // reference samples per pixel
    static constexpr int WindowMargin = 256;

    ReferenceView(ParamChart* chart, const SampleTable* archive, QObject* parent = nullptr);
    ~ReferenceView() override;

    // The recording to draw; an empty one removes the graphs.
    void setRecording(std::shared_ptr<const reference::Recording> recording);
    const reference::Recording* recording() const { return m_rec.get(); }
    bool isShown() const { return m_rec != nullptr; }

    // Seconds the reference is moved to the right of the main recording's start.
    void setOffset(double seconds);
    double offset() const { return m_offset; }
    // Where the reference lies on the chart now.
    reference::Alignment alignment() const;

    // The reference's value of a series at a chart sample; false where it has none.
    bool valueAt(int series, int index, double* value) const;

    // The graph of a series (null without a recording); for tests and measurements.
    QCPGraph* graph(int series) const;
    // True while the summary is drawn.
    bool drawsSummary() const { return m_summary; }
    // The reference's pen colour for a series colour.
    static QColor lighter(const QColor& c);
    // Fits the graphs to the chart now (a replot does it first anyway).
    void refit();

signals:
    // The offset changed by a drag on the chart (not by setOffset).
    void offsetDragged(double seconds);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Fit {
        double lower = 0, upper = 0;
        int pixels = 0;
        reference::Alignment align;
        unsigned active = 0;
        bool operator==(const Fit&) const = default;
    };
    void removeGraphs();
    void fillDetail(int series, int first, int last);
    void fillSummary(int series, const Fit& fit);

    ParamChart* m_chart;
    // The chart's plot, which may go before this view when the window closes.
    QPointer<QCustomPlot> m_plot;
    const SampleTable* m_archive;
    std::shared_ptr<const reference::Recording> m_rec;
    std::array<QCPGraph*, reference::Series> m_graphs{};
    QCPLayer* m_layer = nullptr;
    QMetaObject::Connection m_beforeReplot;
    double m_offset = 0;
    bool m_summary = false;
    bool m_fitted = false;
    Fit m_fit;
    int m_winFirst = 0, m_winLast = -1;

    bool m_dragging = false;
    double m_dragKey = 0, m_dragOffset = 0;
};
