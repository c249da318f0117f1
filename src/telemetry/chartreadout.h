#pragma once
// The hover readout of the parameter chart: while the mouse is over the chart a vertical
// cursor stands on the sample nearest to it and, beside the cursor, the sample's time and
// the value of every shown series at that sample, each in its series' colour. It works on
// a running recording as on one being browsed, follows the sample under the mouse when the
// time axis moves, and goes when the mouse leaves the chart.
//
// The cursor and the texts are items on a buffered layer of their own above the data. A
// change asks for a queued redraw of that layer alone (the chart paints the other layers
// from their buffers), so many mouse moves before the next frame cost one redraw of a few
// items, however long the recording; should the data need drawing too, the layer's redraw
// is a whole replot.

#include <QColor>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QStringList>

#include <functional>

class ParamChart;
class QCPItemStraightLine;
class QCPItemText;
class QCPLayer;

class ChartReadout : public QObject {
    Q_OBJECT
public:
    explicit ChartReadout(ParamChart* chart, QObject* parent = nullptr);

    // The readout for the mouse at pos (pixels of the chart); outside the plot area or
    // without samples, nothing is shown.
    void pointAt(QPointF pos);
    // Takes the readout away (the mouse left the chart).
    void hide();

    bool isShown() const { return m_index >= 0; }
    // The sample under the cursor (-1: none) and the lines beside it with their colours:
    // the time first, then one line per shown series.
    int sampleIndex() const { return m_index; }
    QStringList lines() const;
    QList<QColor> colours() const;
    QCPLayer* layer() const { return m_layer; }
    // The name of that layer on the chart (a picture of the chart leaves it out).
    static QString layerName();
    // Added after a series' value at a sample (a comparison recording's value and the
    // difference); unset or empty adds nothing.
    std::function<QString(int series, int index, double value)> annotate;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Finds the sample for m_pos again and writes the items; false when none is shown.
    bool place();
    void setItemsVisible(int texts, bool cursor);
    void queueRedraw();
    // The value of a series at a sample and the colour of its run there; false when the
    // series has no point there.
    bool valueAt(int series, int index, double* value, QColor* colour) const;

    ParamChart* m_chart;
    QCPLayer* m_layer = nullptr;
    QCPItemStraightLine* m_cursor = nullptr;
    QList<QCPItemText*> m_texts;
    QPointF m_pos;
    bool m_hovering = false;
    int m_index = -1;
    int m_shownTexts = 0;
    bool m_redrawQueued = false;
};
