// The chart's hover readout on its own: the sample under the mouse with its time and the
// values of the shown series in their run's colours, moves within one sample, the time
// axis moving under a still mouse, and leaving the chart.
#include "common/messages.h"
#include "telemetry/chartpanel.h"
#include "telemetry/chartreadout.h"
#include "telemetry/paramchart.h"

#include <QtTest>
#include <qcustomplot.h>

namespace {
std::array<QColor, ParamChart::Series> colours(const QColor& c) {
    std::array<QColor, ParamChart::Series> a;
    a.fill(c);
    return a;
}

// Samples first..first+n-1: time k * 0,5 s, series s at sample k is s + k / 4.
void fill(ParamChart& chart, int n, const QColor& c) {
    std::vector<double> times;
    std::array<std::vector<double>, ParamChart::Series> values;
    for (int i = 0; i < n; ++i) {
        const int k = chart.sampleCount() + i;
        times.push_back(k * 0.5);
        for (int s = 0; s < ParamChart::Series; ++s) values[s].push_back(s + k / 4.0);
    }
    chart.appendSamples(times, values, colours(c));
}
} // namespace

class TestChartReadout : public QObject {
    Q_OBJECT
    std::unique_ptr<ChartPanel> panel;
    std::unique_ptr<ParamChart> chart;
    QCustomPlot* plot = nullptr;

    QPointF at(double key) const {
        return QPointF(plot->xAxis->coordToPixel(key), plot->axisRect()->center().y());
    }

private slots:
    void init() {
        QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
        panel = std::make_unique<ChartPanel>();
        panel->resize(900, 600);
        panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(panel.get()));
        plot = panel->ui.Chart1;
        chart = std::make_unique<ParamChart>(plot);
    }
    void cleanup() {
        chart.reset();
        panel.reset();
        QLocale::setDefault(QLocale::c());
        msgs().setRussian();
    }

    void readsTheSampleUnderTheMouse_data() {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("time");
        QTest::newRow("ru") << false << "Время: 13,5 с";
        QTest::newRow("en") << true << "Time: 13.5 s";
    }
    void readsTheSampleUnderTheMouse() {
        QFETCH(bool, english);
        QFETCH(QString, time);
        if (english) {
            msgs().setEnglish();
            QLocale::setDefault(QLocale::c());
        }
        ChartReadout readout(chart.get());
        fill(*chart, 20, Qt::red);
        fill(*chart, 20, Qt::blue); // a second run of every series from sample 20 on
        chart->setSeriesActive(0, true);  // SP
        chart->setSeriesActive(3, true);  // L1
        chart->setSeriesActive(10, true);
        chart->fitTimeAxis();
        plot->replot();

        // A little off sample 27 still reads sample 27.
        readout.pointAt(at(27.3));
        QVERIFY(readout.isShown());
        QCOMPARE(readout.sampleIndex(), 27);
        const QString dec = english ? "." : ",";
        const QStringList lines = readout.lines();
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0], time);
        QCOMPARE(lines[1], plot->graph(0)->name() + ": 6" + dec + "75");
        QCOMPARE(lines[2], plot->graph(3)->name() + ": 9" + dec + "75");
        QCOMPARE(lines[3], plot->graph(10)->name() + ": 16" + dec + "75");
        QCOMPARE(readout.colours().mid(1), (QList<QColor>{Qt::blue, Qt::blue, Qt::blue}));
        // In the first run, its colour.
        readout.pointAt(at(5));
        QCOMPARE(readout.sampleIndex(), 5);
        QCOMPARE(readout.colours().at(1), QColor(Qt::red));
        // A hidden series is not read.
        chart->setSeriesActive(3, false);
        readout.pointAt(at(6));
        QCOMPARE(readout.lines().size(), 3);
    }

    // Outside the plot area or without samples nothing is shown; leaving the chart takes
    // the readout away; the time axis moving under a still mouse moves the readout on.
    void showsOnlyOverSamples() {
        ChartReadout readout(chart.get());
        plot->replot();
        readout.pointAt(at(3));
        QVERIFY(!readout.isShown());
        fill(*chart, 100, Qt::red);
        chart->setTimeRange(0, 99);
        plot->replot();
        readout.pointAt(QPointF(plot->axisRect()->left() - 5, plot->axisRect()->center().y()));
        QVERIFY(!readout.isShown());
        const QPointF p = at(40);
        readout.pointAt(p);
        QCOMPARE(readout.sampleIndex(), 40);
        // The readout's layer is drawn above the data.
        QVERIFY(readout.layer()->index() > plot->layer(QStringLiteral("main"))->index());

        chart->setTimeRange(50, 149);
        plot->replot();
        QVERIFY(readout.isShown());
        QCOMPARE(readout.sampleIndex(), 90);

        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(plot, &leave);
        QVERIFY(!readout.isShown());
        QVERIFY(readout.lines().isEmpty());
        // A replot after leaving does not bring it back.
        plot->replot();
        QVERIFY(!readout.isShown());

        // The mouse as the chart gets it.
        QMouseEvent move(QEvent::MouseMove, at(60), plot->mapToGlobal(at(60)), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(plot, &move);
        QCOMPARE(readout.sampleIndex(), 60);
    }
};

QTEST_MAIN(TestChartReadout)
#include "test_chartreadout.moc"
