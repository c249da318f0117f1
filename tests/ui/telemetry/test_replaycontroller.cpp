// Replaying the archive on the chart and the parameter list, on a clock the test turns:
// the cursor, the readouts and the operating point match the archive row at every step,
// every speed keeps to the clock and never falls behind it, pause holds the row, a click
// on the chart seeks (a drag does not), the page follows as the navigator moves it, the
// end pauses, Esc puts the page and the readouts back, and no replay starts while a
// recording runs or without a recording on the chart.
#include "common/numtext.h"
#include "telemetry/chartpanel.h"
#include "telemetry/paramchart.h"
#include "telemetry/parampanel.h"
#include "telemetry/referencerecording.h"
#include "telemetry/replaycontroller.h"
#include "telemetry/sampletable.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <qcustomplot.h>

#include <cmath>

namespace col = archive::column;

namespace {

struct Point {
    double speed, maf, injection;
    bool operator==(const Point&) const = default;
};

// Archive row r (1-based): time 5 + (r - 1) * 0,1 s; column c holds r * 10 + c, except
// the operating point's columns, which move over the table.
double cellValue(int row, int column) {
    using namespace col;
    if (column == 0) return 5 + (row - 1) * 0.1;
    if (column == TP) return 700 + 37.0 * row;
    if (column == AI) return 0.01 * row;
    if (column == SP) return 1.5 + 0.02 * row;
    return row * 10 + column;
}

} // namespace

class TestReplayController : public QObject {
    Q_OBJECT
    std::unique_ptr<ChartPanel> panel;
    std::unique_ptr<ParamPanel> params;
    std::unique_ptr<ParamChart> chart;
    std::unique_ptr<SampleTable> archive;
    std::unique_ptr<ReplayController> replay;
    qint64 clock = 0;
    bool recording = false;
    bool tablesShown = true;
    std::vector<Point> trail; // what the operating point holds
    int clears = 0;
    static constexpr int Earlier = 7; // chart samples of an earlier recording before the archive's

    void fill(int rows) {
        std::vector<double> times;
        std::array<std::vector<double>, ParamChart::Series> values;
        for (int i = 0; i < Earlier; ++i) {
            times.push_back(i);
            for (auto& v : values) v.push_back(0);
        }
        std::vector<std::vector<double>> columns(12);
        for (int r = 1; r <= rows; ++r) {
            times.push_back(cellValue(r, 0));
            for (int s = 0; s < ParamChart::Series; ++s) values[s].push_back(cellValue(r, reference::archiveColumn(s)));
            for (int c = 0; c < 12; ++c) columns[c].push_back(cellValue(r, c));
        }
        std::array<QColor, ParamChart::Series> colours;
        colours.fill(Qt::blue);
        chart->appendSamples(times, values, colours);
        archive->appendRows(columns);
    }
    // Advances the clock by ms and runs a frame.
    void after(double ms) {
        clock += qint64(ms * 1e6);
        replay->frame();
    }
    // The row the clock has reached, counted on the archive's own times (the replay starts
    // at row `from`); -1 when the clock stands within a microsecond of a row's time, where
    // either row is right.
    int expectedRow(int from, double clockSeconds) const {
        int row = from;
        for (int r = from + 1; r <= archive->samples(); ++r) {
            const double due = archive->value(r, 0) - archive->value(from, 0);
            if (std::abs(due - clockSeconds) < 1e-6) return -1;
            if (due > clockSeconds) break;
            row = r;
        }
        return row;
    }
    void checkRow(int row) {
        QCOMPARE(replay->row(), row);
        const int index = Earlier + row - 1;
        QCOMPARE(replay->chartIndex(), index);
        QCOMPARE(chart->sampleTime(index), archive->value(row, 0));
        for (int s = 0; s < ParamChart::Series; ++s) {
            const ParamPanel::SeriesRow r = params->seriesRow(s);
            const QString expected =
                r.name->isHidden() ? QString() : formatGeneral(archive->value(row, reference::archiveColumn(s)));
            QCOMPARE(r.readout->text(), expected);
        }
        using namespace col;
        if (tablesShown) {
            QVERIFY(!trail.empty());
            QCOMPARE(trail.back(), (Point{archive->value(row, TP), archive->value(row, AI), archive->value(row, SP)}));
        }
    }
    QPoint pixelOf(double key) const {
        return QPoint(int(std::lround(chart->plot()->xAxis->coordToPixel(key))),
                      chart->plot()->axisRect()->center().y());
    }

private slots:
    void init() {
        QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
        panel = std::make_unique<ChartPanel>();
        panel->resize(1000, 600);
        panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(panel.get()));
        params = std::make_unique<ParamPanel>();
        chart = std::make_unique<ParamChart>(panel->ui.Chart1);
        archive = std::make_unique<SampleTable>(12, 0);
        replay = std::make_unique<ReplayController>(archive.get(), chart.get(), params.get());
        clock = 0;
        recording = false;
        tablesShown = true;
        trail.clear();
        clears = 0;
        replay->now = [this] { return clock; };
        replay->recording = [this] { return recording; };
        replay->pageSamples = [] { return 50.0; };
        replay->operatingPointWanted = [this] { return tablesShown; };
        replay->addOperatingPoint = [this](double s, double m, double i) {
            trail.push_back({s, m, i});
            if (trail.size() > 20) trail.erase(trail.begin());
        };
        replay->clearOperatingPoint = [this] {
            trail.clear();
            ++clears;
        };
        fill(400);
        chart->setTimeRange(Earlier, Earlier + 50);
    }
    void cleanup() {
        replay.reset();
        chart.reset();
        archive.reset();
        params.reset();
        panel.reset();
        QLocale::setDefault(QLocale::c());
    }

    // From a sample on the chart, one row at a time to the end and back.
    void everyStepMatchesTheArchive() {
        QCOMPARE(replay->start(Earlier + 9), ReplayController::Refusal::None);
        QVERIFY(replay->isActive() && replay->isPlaying() && replay->cursorShown());
        checkRow(10);
        QCOMPARE(int(trail.size()), 10); // the trail up to the row, as far as the archive goes
        for (int row = 11; row <= archive->samples(); ++row) {
            replay->step(1);
            QVERIFY(!replay->isPlaying());
            checkRow(row);
            QCOMPARE(int(trail.size()), std::min(row, 20));
        }
        replay->step(1); // beyond the end: stays
        checkRow(archive->samples());
        for (int row = archive->samples() - 1; row >= 395; --row) {
            replay->step(-1);
            checkRow(row);
            // A step back takes the trail anew: the 20 rows up to the shown one.
            QCOMPARE(int(trail.size()), 20);
            QCOMPARE(trail.front().speed, archive->value(row - 19, col::TP));
        }
        // The cursor stands on the shown sample.
        QCPItemStraightLine* cursor = nullptr;
        for (int i = 0; i < chart->plot()->itemCount(); ++i)
            if (chart->plot()->item(i)->layer() == replay->layer())
                cursor = qobject_cast<QCPItemStraightLine*>(chart->plot()->item(i));
        QVERIFY(cursor);
        QCOMPARE(cursor->point1->coords().x(), double(replay->chartIndex()));
    }

    // Frames of about 16 ms at each speed: after every frame the row is the last one the
    // clock has reached (never one behind), with its readouts and operating point.
    void everySpeedKeepsToTheClock_data() {
        QTest::addColumn<int>("speed");
        for (int s : ReplayController::speeds()) QTest::newRow(qPrintable(QStringLiteral("x%1").arg(s))) << s;
    }
    void everySpeedKeepsToTheClock() {
        QFETCH(int, speed);
        replay->setSpeed(speed);
        QCOMPARE(replay->start(Earlier), ReplayController::Refusal::None);
        double elapsed = 0;
        int frames = 0;
        while (replay->isPlaying() && frames < 5000) {
            const double ms = 16.0 + (frames % 3) * 0.37; // frames come a little unevenly
            after(ms);
            elapsed += ms;
            ++frames;
            const int expected = std::min(archive->samples(), expectedRow(1, elapsed / 1000 * speed));
            if (expected >= 0) QCOMPARE(replay->row(), expected);
            checkRow(replay->row());
        }
        QVERIFY(replay->atEnd());
        // At x64 and about 16 ms a frame, each frame shows about ten rows further.
        const double seconds = (archive->samples() - 1) * 0.1 / speed;
        QVERIFY(std::abs(elapsed / 1000 - seconds) < 0.02);
    }

    void pauseHoldsTheRowAndPlayGoesOnFromIt() {
        replay->start(Earlier);
        after(1005); // 1,005 s at x1: row 11 (due at 1 s)
        checkRow(11);
        after(30);
        replay->pause();
        const int held = replay->row();
        after(5000);
        QCOMPARE(replay->row(), held);
        replay->togglePause(); // play
        QVERIFY(replay->isPlaying());
        after(60); // 1,095 s of recording in all
        QCOMPARE(replay->row(), 11);
        after(20); // 1,115 s
        QCOMPARE(replay->row(), 12);
        // A new speed goes on from where the clock stands.
        replay->setSpeed(8);
        after(100); // 0,8 s more: 1,915 s
        QCOMPARE(replay->row(), 20);
    }

    void theEndPausesAndPlayStartsAgain() {
        replay->setSpeed(64);
        replay->start(Earlier + 390);
        after(200);
        QVERIFY(replay->atEnd());
        QVERIFY(!replay->isPlaying());
        checkRow(400);
        replay->play();
        checkRow(1);
        QVERIFY(replay->isPlaying());
    }

    // The page moves by whole pages of 50 samples from its edges, as the navigator's page
    // buttons would, however far the shown sample jumps.
    void thePageFollows_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<double>("lower");
        QTest::addColumn<double>("upper");
        // The page starts at key 7 and is 50 wide: 7..57.
        QTest::newRow("on the page") << 40 << 7.0 << 57.0;
        QTest::newRow("on its right edge") << 51 << 7.0 << 57.0;
        QTest::newRow("just beyond") << 52 << 57.0 << 107.0;
        QTest::newRow("three pages on") << 160 << 157.0 << 207.0;
    }
    void thePageFollows() {
        QFETCH(int, row);
        QFETCH(double, lower);
        QFETCH(double, upper);
        replay->start(Earlier);
        replay->pause();
        replay->seekRow(row);
        QCOMPARE(chart->plot()->xAxis->range().lower, lower);
        QCOMPARE(chart->plot()->xAxis->range().upper, upper);
        // And back to the first row: pages to the left until it shows.
        replay->seekRow(1);
        QVERIFY(chart->plot()->xAxis->range().contains(Earlier));
        QCOMPARE(chart->plot()->xAxis->range().size(), 50.0);
    }

    void aClickSeeksADragDoesNot() {
        replay->start(Earlier);
        replay->pause();
        chart->plot()->replot();
        QCustomPlot* plot = chart->plot();
        QTest::mouseClick(plot, Qt::LeftButton, Qt::NoModifier, pixelOf(Earlier + 29));
        checkRow(30);
        QVERIFY(!replay->isPlaying());
        // A drag scrolls the chart and leaves the row.
        const QPoint from = pixelOf(Earlier + 10), to = pixelOf(Earlier + 20);
        QTest::mousePress(plot, Qt::LeftButton, Qt::NoModifier, from);
        QMouseEvent move(QEvent::MouseMove, to, plot->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(plot, &move);
        QTest::mouseRelease(plot, Qt::LeftButton, Qt::NoModifier, to);
        QCOMPARE(replay->row(), 30);
        // Nothing happens on a click while no replay is active.
        replay->stop(false);
        QTest::mouseClick(plot, Qt::LeftButton, Qt::NoModifier, pixelOf(Earlier + 5));
        QCOMPARE(replay->row(), 30);
    }

    // Esc: the page and the readouts as they were, the cursor and the point gone.
    void escPutsTheChartBack() {
        params->seriesRow(0).readout->setText(QStringLiteral("before"));
        chart->setTimeRange(20, 80);
        replay->setSpeed(64);
        replay->start(Earlier + 70);
        after(2000);
        QVERIFY(chart->plot()->xAxis->range().lower > 80);
        replay->stop(true);
        QVERIFY(!replay->isActive());
        QVERIFY(!replay->cursorShown());
        QCOMPARE(chart->plot()->xAxis->range().lower, 20.0);
        QCOMPARE(chart->plot()->xAxis->range().upper, 80.0);
        QCOMPARE(params->seriesRow(0).readout->text(), QStringLiteral("before"));
        QVERIFY(trail.empty());
        // Ending without Esc (the recording changed) leaves the page where it is.
        replay->start(Earlier + 70);
        replay->seekRow(300);
        const QCPRange there = chart->plot()->xAxis->range();
        replay->stop(false);
        QCOMPARE(chart->plot()->xAxis->range(), there);
    }

    void startsFromThePageWithoutASample_data() {
        QTest::addColumn<double>("key");
        QTest::addColumn<double>("pageLower");
        QTest::addColumn<int>("row");
        QTest::newRow("a sample") << double(Earlier + 99) << 0.0 << 100;
        QTest::newRow("no key: the page's first") << std::nan("") << 30.2 << 25;
        QTest::newRow("a key of the earlier recording") << 3.0 << 30.0 << 24;
        QTest::newRow("page before the recording") << std::nan("") << -40.0 << 1;
        QTest::newRow("page beyond the recording") << std::nan("") << 900.0 << 1;
    }
    void startsFromThePageWithoutASample() {
        QFETCH(double, key);
        QFETCH(double, pageLower);
        QFETCH(int, row);
        chart->setTimeRange(pageLower, pageLower + 50);
        QCOMPARE(replay->start(key), ReplayController::Refusal::None);
        QCOMPARE(replay->row(), row);
    }

    void refusals() {
        recording = true;
        QCOMPARE(replay->start(Earlier), ReplayController::Refusal::Recording);
        QVERIFY(!replay->isActive());
        QVERIFY(!ReplayController::refusalMessage(ReplayController::Refusal::Recording, false).isEmpty());
        recording = false;
        // The chart cleared while the archive keeps its rows: nothing on the chart to play.
        chart->clear();
        QCOMPARE(replay->start(Earlier), ReplayController::Refusal::NothingToReplay);
        QVERIFY(!replay->isActive());
        QVERIFY(trail.empty());
    }

    void aChangedArchiveEndsTheReplay() {
        replay->start(Earlier);
        QVERIFY(replay->isActive());
        const double row[12] = {};
        archive->setRow(archive->samples() + 1, row);
        QVERIFY(!replay->isActive());
        QVERIFY(!replay->cursorShown());
    }

    // With the table panel hidden the point takes nothing; shown again, the trail up to
    // the shown row.
    void theOperatingPointOnlyWhileWanted() {
        tablesShown = false;
        replay->setSpeed(16);
        replay->start(Earlier);
        after(500);
        QVERIFY(trail.empty());
        tablesShown = true;
        replay->feedTrail();
        QCOMPARE(int(trail.size()), 20);
        checkRow(replay->row());
        after(16);
        checkRow(replay->row());
    }
};

QTEST_MAIN(TestReplayController)
#include "test_replaycontroller.moc"
