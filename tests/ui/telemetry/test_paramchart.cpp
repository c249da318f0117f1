// The chart's series and the recording's tables on their own: colour runs, the summaries
// drawn for wide time ranges, the time labels, and the columnar tables with their texts.
#include "telemetry/chartpanel.h"
#include "telemetry/paramchart.h"
#include "telemetry/sampletable.h"

#include <QSignalSpy>
#include <QtTest>
#include <qcustomplot.h>

#include <cmath>

namespace {
std::array<QColor, ParamChart::Series> colours(const QColor& c) {
    std::array<QColor, ParamChart::Series> a;
    a.fill(c);
    return a;
}

// n samples, series s at sample i: a slow wave with a single spike every 100 samples.
void fill(ParamChart& chart, int n, const QColor& c) {
    std::vector<double> times;
    std::array<std::vector<double>, ParamChart::Series> values;
    for (int i = 0; i < n; ++i) {
        const int k = chart.sampleCount() + i;
        times.push_back(k * 0.25);
        for (int s = 0; s < ParamChart::Series; ++s)
            values[s].push_back(std::sin(k / 50.0) + s + (k % 100 == 37 ? 5 : 0));
    }
    chart.appendSamples(times, values, colours(c));
}
// The runs' graphs hold exactly the samples of the window that each run covers, in order,
// at their values; under the summaries the window is empty, otherwise it covers the shown
// range and the sample beyond either end.
void checkWindow(const ParamChart& chart) {
    const int n = chart.sampleCount();
    const int first = chart.windowFirst(), end = chart.windowEnd();
    if (chart.drawsSummaries()) {
        QCOMPARE(end - first, 0);
    } else if (n > 0) {
        const QCPRange r = chart.plot()->xAxis->range();
        QVERIFY(first <= std::max(0.0, std::floor(r.lower) - 1));
        QVERIFY(end >= std::min(double(n), std::ceil(r.upper) + 1));
    }
    for (int s = 0; s < ParamChart::Series; ++s) {
        const auto& runs = chart.runs(s);
        for (int k = 0; k < int(runs.size()); ++k) {
            const int a = std::max(first, chart.runFirst(s, k));
            const int b = std::min(end, chart.runFirst(s, k) + chart.runSize(s, k));
            QCOMPARE(runs[std::size_t(k)]->dataCount(), std::max(0, b - a));
            int i = a;
            for (auto it = runs[std::size_t(k)]->data()->constBegin(); it != runs[std::size_t(k)]->data()->constEnd(); ++it, ++i) {
                QCOMPARE(it->key, double(i));
                QCOMPARE(it->value, chart.value(s, i));
            }
        }
    }
}
} // namespace

class TestParamChart : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    // A wide time range draws the summaries: every bucket's extremes are in them, so no
    // spike is lost; a narrow range draws the samples themselves.
    void summariesForWideRanges() {
        ChartPanel panel;
        panel.resize(900, 600);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        ParamChart chart(panel.ui.Chart1);
        for (int s = 0; s < ParamChart::Series; ++s) chart.setSeriesActive(s, true);
        fill(chart, 40000, Qt::red);
        QCustomPlot* plot = panel.ui.Chart1;

        chart.setTimeRange(0, 39999);
        plot->replot();
        QVERIFY(chart.drawsSummaries());
        checkWindow(chart);
        QVERIFY(!chart.runs(4)[0]->visible());
        QCPGraph* sum = chart.summaries(4)[0];
        QVERIFY(sum->visible());
        QVERIFY(sum->dataCount() <= 2 * 40000 / ParamChart::BucketSize);
        int spikes = 0;
        for (auto it = sum->data()->constBegin(); it != sum->data()->constEnd(); ++it)
            if (it->value > 8) ++spikes;
        QCOMPARE(spikes, 400);
        bool lowFound = false, highFound = false;
        for (auto it = sum->data()->constBegin(); it != sum->data()->constEnd(); ++it) {
            lowFound |= std::abs(it->value - (4 - 1)) < 1e-3;
            highFound |= std::abs(it->value - (4 + 1)) < 1e-3;
        }
        QVERIFY(lowFound && highFound);

        chart.setTimeRange(1000, 2000);
        plot->replot();
        QVERIFY(!chart.drawsSummaries());
        checkWindow(chart);
        QVERIFY(chart.runs(4)[0]->visible() && !sum->visible());

        // A hidden series stays hidden at either level.
        chart.setSeriesActive(4, false);
        chart.setTimeRange(0, 39999);
        plot->replot();
        QVERIFY(!chart.runs(4)[0]->visible() && !sum->visible());
    }

    // The graphs hold the points around the shown range only, and the right ones wherever
    // the range goes: paging on while recording (the window grows with the samples, and is
    // cut back when it has grown far beyond the page), jumps back, colour runs across the
    // window's edges, the summaries and back.
    void windowFollowsTheRange() {
        ChartPanel panel;
        panel.resize(900, 600);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        ParamChart chart(panel.ui.Chart1);
        for (int s = 0; s < ParamChart::Series; ++s) chart.setSeriesActive(s, true);
        QCustomPlot* plot = panel.ui.Chart1;
        const QColor colours[] = {Qt::red, Qt::blue, Qt::green};
        // Recording with a page of 600 samples: ten samples a replot.
        for (int i = 0; i < 6000; i += 10) {
            chart.setTimeRange(i / 600 * 600, i / 600 * 600 + 600);
            fill(chart, 10, colours[(i / 1500) % 3]);
            plot->replot();
            if (i % 500 == 0) checkWindow(chart);
        }
        QVERIFY(chart.windowEnd() - chart.windowFirst() < 4000);
        QCOMPARE(chart.runs(0).size(), std::size_t(4));
        const struct {
            double lower, upper;
        } ranges[] = {{0, 300}, {1490, 1510}, {5990, 6200}, {-50, 20}, {2000, 2600}, {0, 5999}, {3000, 3100},
                      {6500, 7000}};
        for (const auto& r : ranges) {
            chart.setTimeRange(r.lower, r.upper);
            plot->replot();
            checkWindow(chart);
        }
        // Appends beyond a window that does not reach the newest sample leave it alone.
        chart.setTimeRange(1000, 1100);
        plot->replot();
        const int end = chart.windowEnd();
        fill(chart, 50, Qt::black);
        QCOMPARE(chart.windowEnd(), end);
        checkWindow(chart);
        chart.clear();
        QCOMPARE(chart.windowEnd(), 0);
        checkWindow(chart);
    }

    // A colour change opens a run (and its summary) that starts at the last point; Clear
    // leaves one empty run per series in the latest colour.
    void colourRunsAndClear() {
        ChartPanel panel;
        ParamChart chart(panel.ui.Chart1);
        fill(chart, 40, Qt::red);
        fill(chart, 40, Qt::blue);
        QCOMPARE(chart.runs(0).size(), std::size_t(2));
        QCOMPARE(chart.summaries(0).size(), std::size_t(2));
        QCOMPARE(chart.runSize(0, 0), 40);
        QCOMPARE(chart.runSize(0, 1), 41);
        QCOMPARE(chart.runFirst(0, 1), 39);
        double v = 0;
        QColor c;
        QVERIFY(chart.valueAt(0, 39, &v, &c) && c == QColor(Qt::blue) && v == chart.value(0, 39));
        QVERIFY(chart.valueAt(0, 38, &v, &c) && c == QColor(Qt::red));
        QVERIFY(!chart.valueAt(0, 80, &v, &c) && !chart.valueAt(0, -1, &v, &c));
        QCOMPARE(chart.runs(0)[0]->pen().color(), QColor(Qt::red));
        QCOMPARE(chart.seriesColor(0), QColor(Qt::blue));
        chart.setSeriesWidth(0, 3);
        QCOMPARE(chart.summaries(0)[0]->pen().widthF(), 3.0);

        chart.clear();
        QCOMPARE(chart.sampleCount(), 0);
        QCOMPARE(chart.graphCount(), ParamChart::Series);
        QCOMPARE(panel.ui.Chart1->graphCount(), 2 * ParamChart::Series);
        QCOMPARE(chart.runSize(0, 0), 0);
        QCOMPARE(chart.runs(0)[0]->dataCount(), 0);
        QCOMPARE(chart.summaries(0)[0]->dataCount(), 0);
        QCOMPARE(chart.seriesColor(0), QColor(Qt::blue));
        fill(chart, 3, Qt::blue);
        QCOMPARE(chart.runs(0).size(), std::size_t(1));
    }

    void timeLabels() {
        QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
        ChartPanel panel;
        ParamChart chart(panel.ui.Chart1);
        fill(chart, 10, Qt::red);
        QCOMPARE(chart.timeLabel(0), "0");
        QCOMPARE(chart.timeLabel(3), "0,75");
        QCOMPARE(chart.timeLabel(10), QString());
        chart.fitTimeAxis();
        QCOMPARE(panel.ui.Chart1->xAxis->range(), QCPRange(0, 9));
    }

    // The tables: row 0 the heads, rows 1.. the samples; rows are appended, overwritten
    // or cut; the texts follow the locale; the percents' single precision is enough for
    // their texts' first digits.
    void sampleTable() {
        QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
        SampleTable t(13, 1, 2);
        t.setHeads({"Step", "SP"});
        QSignalSpy inserted(&t, &QAbstractItemModel::rowsInserted);
        std::vector<double> row(12);
        for (int r = 1; r <= 20000; ++r) {
            row[0] = r * 0.25;
            row[1] = r % 100 + 0.5;
            QVERIFY(t.setRow(r, row.data()));
        }
        QCOMPARE(inserted.size(), 20000);
        QCOMPARE(inserted.last().at(1).toInt(), 20000);
        QCOMPARE(t.rowCount(), 20001);
        QCOMPARE(t.columnCount(), 13);
        QCOMPARE(t.text(0, 1), "Step");
        QCOMPARE(t.text(0, 2), "SP");
        QCOMPARE(t.text(8193, 1), "2048,25"); // across a block boundary
        QCOMPARE(t.text(8193, 2), "93,5");
        QCOMPARE(t.text(5, 0), QString()); // the unused column
        QCOMPARE(t.data(t.index(5, 1)).toString(), "1,25");
        QVERIFY(!t.setRow(20002, row.data()));
        row[1] = 7;
        QVERIFY(t.setRow(3, row.data()));
        QCOMPARE(t.value(3, 2), 7.0);
        t.truncate(2);
        QCOMPARE(t.samples(), 2);
        QCOMPARE(t.value(3, 2), 0.0);
        QVERIFY(t.setRow(3, row.data()));
        QCOMPARE(t.column(2).bytes(), std::size_t(SampleColumn::BlockSize * sizeof(float)));
        QCOMPARE(t.column(1).bytes(), std::size_t(SampleColumn::BlockSize * sizeof(double)));
        t.appendRows(std::vector<std::vector<double>>(12, std::vector<double>{1.5, 2.5}));
        QCOMPARE(t.samples(), 5);
        QCOMPARE(t.text(5, 12), "2,5");
    }
};

QTEST_MAIN(TestParamChart)
#include "test_paramchart.moc"
