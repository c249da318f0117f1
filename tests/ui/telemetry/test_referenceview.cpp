// The comparison recording on Chart1: its graphs (lighter, dashed, in the series' colours,
// only for shown series, under the main lines) and their removal; where it lies with an
// earlier recording on the chart, another interval and an offset; the hover readout's
// values and difference; the samples of a page against a per-pixel min/max of hours; and
// the Shift drag, which moves it by whole samples and leaves the chart's range alone.
#include "common/numtext.h"
#include "telemetry/chartpanel.h"
#include "telemetry/paramchart.h"
#include "telemetry/referenceview.h"
#include "telemetry/sampletable.h"

#include <QtTest>
#include <qcustomplot.h>

#include <cmath>

namespace {

constexpr int Earlier = 5;

// Reference sample k: time 20 + k * step, field f holds (k % 50) * f / 10 + f.
QByteArray referenceBytes(int n, double step) {
    QByteArray out;
    for (int k = 0; k < n; ++k) {
        std::array<double, recordfile::Fields> v{};
        v[0] = 20 + k * step;
        for (int f = 1; f < recordfile::Fields; ++f) v[std::size_t(f)] = (k % 50) * f / 10.0 + f;
        out += recordfile::encodeLine(v);
    }
    return out;
}
double referenceValue(int k, int field) { return (k % 50) * field / 10.0 + field; }

} // namespace

class TestReferenceView : public QObject {
    Q_OBJECT
    std::unique_ptr<ChartPanel> panel;
    std::unique_ptr<ParamChart> chart;
    std::unique_ptr<SampleTable> archive;
    std::unique_ptr<ReferenceView> view;
    QCustomPlot* plot = nullptr;

    // The main recording: Earlier samples of another recording, then n archive rows 0,1 s
    // apart whose every column holds 100 + row.
    void fillMain(int n) {
        std::vector<double> times;
        std::array<std::vector<double>, ParamChart::Series> values;
        std::vector<std::vector<double>> columns(12);
        for (int i = 0; i < Earlier + n; ++i) {
            const bool own = i >= Earlier;
            const int row = i - Earlier + 1;
            times.push_back(own ? row * 0.1 : i);
            for (auto& v : values) v.push_back(own ? 100 + row : 0);
            if (!own) continue;
            columns[0].push_back(row * 0.1);
            for (int c = 1; c < 12; ++c) columns[std::size_t(c)].push_back(100 + row);
        }
        std::array<QColor, ParamChart::Series> colours;
        colours.fill(QColor(0, 0, 200));
        chart->appendSamples(times, values, colours);
        archive->appendRows(columns);
    }
    std::shared_ptr<reference::Recording> load(int n, double step) {
        auto r = std::make_shared<reference::Recording>();
        QString error;
        if (!reference::Recording::read(referenceBytes(n, step), QStringLiteral("r"), false, r.get(), &error))
            qFatal("unread");
        view->setRecording(r);
        return r;
    }

private slots:
    void init() {
        QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
        panel = std::make_unique<ChartPanel>();
        panel->resize(1100, 600);
        panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(panel.get()));
        plot = panel->ui.Chart1;
        chart = std::make_unique<ParamChart>(plot);
        archive = std::make_unique<SampleTable>(12, 0);
        view = std::make_unique<ReferenceView>(chart.get(), archive.get());
        chart->setSeriesActive(0, true); // SP, left axis
        chart->setSeriesActive(9, true); // TP, right axis
    }
    void cleanup() {
        view.reset();
        chart.reset();
        archive.reset();
        panel.reset();
        QLocale::setDefault(QLocale::c());
    }

    void graphsComeAndGo() {
        fillMain(100);
        const int before = plot->graphCount();
        load(50, 0.1);
        QCOMPARE(plot->graphCount(), before + reference::Series);
        chart->setTimeRange(0, 60);
        plot->replot();
        for (int s = 0; s < reference::Series; ++s) {
            QCPGraph* g = view->graph(s);
            QCOMPARE(g->visible(), s == 0 || s == 9);
            QCOMPARE(g->pen().style(), Qt::DashLine);
            QCOMPARE(g->pen().color(), ReferenceView::lighter(chart->seriesColor(s)));
            QCOMPARE(g->valueAxis(), chart->runs(s).front()->valueAxis());
            // Under the main recording's lines.
            QVERIFY(g->layer()->index() < chart->runs(s).front()->layer()->index());
        }
        QCOMPARE(ReferenceView::lighter(QColor(0, 0, 200)), QColor(127, 127, 227));
        // A series shown later is drawn, and a new colour of the series is followed.
        chart->setSeriesActive(3, true);
        std::array<QColor, ParamChart::Series> red;
        red.fill(Qt::red);
        chart->appendSample(99, {}, red);
        plot->replot();
        QVERIFY(view->graph(3)->visible());
        QVERIFY(view->graph(3)->dataCount() > 0);
        QCOMPARE(view->graph(0)->pen().color(), ReferenceView::lighter(Qt::red));
        const int withRuns = plot->graphCount(); // the red points started new runs
        view->setRecording(nullptr);
        QCOMPARE(plot->graphCount(), withRuns - reference::Series);
        QVERIFY(!view->graph(0));
    }

    // Reference sample k (0,2 s apart) lies at key Earlier + (0,2 k + offset) / 0,1.
    void placesTheReferenceOnTheMainSamples_data() {
        QTest::addColumn<double>("offset");
        QTest::newRow("together") << 0.0;
        QTest::newRow("later") << 1.5;
        QTest::newRow("earlier") << -0.4;
    }
    void placesTheReferenceOnTheMainSamples() {
        QFETCH(double, offset);
        fillMain(300);
        load(100, 0.2);
        view->setOffset(offset);
        chart->setTimeRange(Earlier, Earlier + 60);
        plot->replot();
        QVERIFY(!view->drawsSummary());
        const auto data = view->graph(0)->data();
        QVERIFY(data->size() > 30);
        for (auto it = data->constBegin(); it != data->constEnd(); ++it) {
            const double k = ((it->key - Earlier) * 0.1 - offset) / 0.2;
            QVERIFY2(std::abs(k - std::round(k)) < 1e-6, qPrintable(QString::number(it->key)));
            QVERIFY(std::abs(it->value - referenceValue(int(std::round(k)), 1)) < 1e-9);
        }
    }

    // The hover readout's value: the reference's nearest sample, none off its ends.
    void hoverValue_data() {
        QTest::addColumn<double>("offset");
        QTest::addColumn<int>("index");
        QTest::addColumn<double>("expected"); // NaN: no value
        const double none = std::nan("");
        // Main row r (key Earlier + r - 1) lies at r * 0,1 s; the reference sample k has SP
        // (k % 50) / 10 + 1 at 0,1 k s after the main recording's start plus the offset.
        QTest::newRow("first sample") << 0.0 << Earlier << 1.0;
        QTest::newRow("row 11") << 0.0 << Earlier + 10 << 2.0;
        QTest::newRow("moved later") << 0.5 << Earlier + 10 << 1.5;
        QTest::newRow("before the reference") << 0.5 << Earlier + 2 << none;
        QTest::newRow("after the reference") << -10.0 << Earlier + 90 << none;
        QTest::newRow("an earlier recording's sample") << 0.0 << 2 << none;
        QTest::newRow("moved earlier") << -3.0 << Earlier + 0 << 4.0;
    }
    void hoverValue() {
        QFETCH(double, offset);
        QFETCH(int, index);
        QFETCH(double, expected);
        fillMain(100);
        load(60, 0.1);
        view->setOffset(offset);
        double value = -1;
        const bool has = view->valueAt(0, index, &value);
        QCOMPARE(has, !std::isnan(expected));
        if (has) QCOMPARE(value, expected);
    }

    // Hours of reference over the whole range: about two points per pixel column, each a
    // real sample's value, the range's extremes among them; a page shows every sample.
    void decimatesPerPixelColumn() {
        fillMain(20000);
        const auto r = load(60000, 0.1);
        // The reference runs on beyond the main recording: the range takes all of it.
        chart->setTimeRange(0, 60010);
        plot->replot();
        QVERIFY(view->drawsSummary());
        const int pixels = plot->axisRect()->width();
        const auto data = view->graph(9)->data(); // TP: field 4
        QVERIFY(data->size() > pixels / 2);
        QVERIFY(data->size() <= 2 * (pixels + 2));
        const QCPRange range = plot->xAxis->range();
        double low = 1e300, high = -1e300;
        for (int k = 0; k < r->samples(); ++k) {
            const double key = view->alignment().key(r->time(k));
            if (key < range.lower || key > range.upper) continue;
            low = std::min(low, r->value(k, 4));
            high = std::max(high, r->value(k, 4));
        }
        double drawnLow = 1e300, drawnHigh = -1e300;
        for (auto it = data->constBegin(); it != data->constEnd(); ++it) {
            // A real value of the series: (k % 50) * 0,4 + 4.
            const double k = (it->value - 4) / 0.4;
            QVERIFY(std::abs(k - std::round(k)) < 1e-6 && k >= 0 && k < 50);
            if (it->key >= range.lower && it->key <= range.upper) {
                drawnLow = std::min(drawnLow, it->value);
                drawnHigh = std::max(drawnHigh, it->value);
            }
        }
        QCOMPARE(drawnLow, low);
        QCOMPARE(drawnHigh, high);

        // A page: every sample of the reference on it, at its own key.
        chart->setTimeRange(Earlier + 999.5, Earlier + 1050.5);
        plot->replot();
        QVERIFY(!view->drawsSummary());
        int onPage = 0;
        for (auto it = view->graph(9)->data()->constBegin(); it != view->graph(9)->data()->constEnd(); ++it)
            onPage += it->key >= Earlier + 999.5 && it->key <= Earlier + 1050.5;
        QCOMPARE(onPage, 51);
    }

    // Shift and the left button: the offset moves by whole main samples, the chart stays.
    void shiftDragMovesTheReference() {
        fillMain(200);
        load(100, 0.1);
        chart->setTimeRange(Earlier, Earlier + 50);
        plot->replot();
        QSignalSpy dragged(view.get(), &ReferenceView::offsetDragged);
        auto pixel = [this](double key) {
            return QPoint(int(std::lround(plot->xAxis->coordToPixel(key))), plot->axisRect()->center().y());
        };
        const QPoint from = pixel(Earlier + 10), to = pixel(Earlier + 17.2);
        QTest::mousePress(plot, Qt::LeftButton, Qt::ShiftModifier, from);
        QMouseEvent move(QEvent::MouseMove, to, plot->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
        QApplication::sendEvent(plot, &move);
        QTest::mouseRelease(plot, Qt::LeftButton, Qt::ShiftModifier, to);
        QVERIFY(std::abs(view->offset() - 0.7) < 1e-9);
        QVERIFY(!dragged.isEmpty());
        QCOMPARE(plot->xAxis->range().lower, double(Earlier));
        QCOMPARE(plot->xAxis->range().upper, double(Earlier + 50));
        // Without Shift the same drag scrolls the chart and keeps the offset.
        QTest::mousePress(plot, Qt::LeftButton, Qt::NoModifier, from);
        QMouseEvent plain(QEvent::MouseMove, to, plot->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(plot, &plain);
        QTest::mouseRelease(plot, Qt::LeftButton, Qt::NoModifier, to);
        QVERIFY(std::abs(view->offset() - 0.7) < 1e-9);
        QVERIFY(plot->xAxis->range().lower != double(Earlier));
    }
};

QTEST_MAIN(TestReferenceView)
#include "test_referenceview.moc"
