// A recording against the simulated module held at one operating point, seen on the table
// panel: the frame and the surface follow it while the panel is shown (and take the trail
// from the archive when it is shown later), the surface renders at most once per tick,
// and the cell statistics of the archive put every settled sample into that one cell with
// the archive's count and mean.
#include "analysis/cellstats.h"
#include "app/recordingviews.h"
#include "common/numtext.h"
#include "sim/simmemory.h"
#include "tables/table3dpanel.h"
#include "telemetry/chartpanel.h"
#include "telemetry/liverecorder.h"
#include "windowtest.h"

#include <QAction>
#include <QRegularExpression>

namespace {
void setWord(sim::SimModule* m, int address, int value) {
    m->setWork(address, quint8(value & 0xFF));
    m->setWork(address + 1, quint8(value >> 8));
}
} // namespace

class TestRecordingTables : public QObject {
    Q_OBJECT
    std::unique_ptr<TForm1> w;
    sim::SimModule* m = nullptr;

    LiveRecorder& rec() { return *w->Recorder; }
    Table3DPanel& tables() { return *w->Panel_3D; }
    int rows() { return std::min(rec().Row_Arhiv - 1, rec().Arhiv.samples()); }
    // The cell of 1000 rpm at 2 V or 4,5 ms, on the load axis in force.
    QPoint expectedCell() { return tables().loadAxisIsMafVoltage() ? QPoint(3, 4) : QPoint(3, 5); }

private slots:
    void init() {
        QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
        wt::freshConfiguration();
        w = std::make_unique<TForm1>();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        m = wt::connectDemo(*w, QStringLiteral("DEMO TR-70"), [](sim::SimModule* s) { s->setEngineRunning(false); });
        QVERIFY(m);
        QTRY_VERIFY_WITH_TIMEOUT(!w->Ex->Timer_Read->isActive() && !w->Conn->modelName().isEmpty(), 8000);
        using namespace sim::work;
        m->setWork(InjectionTime, 45);  // 4,5 ms
        setWord(m, MafVoltage, 382);    // 2 V
        setWord(m, CrankPeriod, 600);   // 1000 rpm with K = 1
        setWord(m, Lambda1Signal, 150); // L1 = (150 - 122) / 203 = 0,13
        setWord(m, Lambda1Base, 122);
        w->Ctx.module.Ed_Type_Datchik_1_RU = QStringLiteral("Циркониевый");
    }
    void cleanup() {
        w.reset();
        m = nullptr;
        QLocale::setDefault(QLocale::c());
    }

    void operatingPointAndStatistics() {
        // Recording with the chart in front: the hidden table panel takes nothing.
        w->atb_Parr_minClick();
        QTest::mouseClick(w->Panel_Parr_Max->ui.atb_Chart1_Start, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(rows() >= 8, 10000);
        QVERIFY(!tables().operatingCell());

        // Shown during the recording, the panel takes the trail from the archive at once.
        w->atb_MAFClick();
        QVERIFY(tables().isVisible());
        QVERIFY(tables().operatingCell());
        QCOMPARE(tables().ui.Panel_Space3D->operatingTrail().size(),
                 std::min(rows(), int(Table3DPanel::TrailLength)));
        QTRY_COMPARE_WITH_TIMEOUT(tables().operatingCell().value_or(QPoint()), expectedCell(), 8000);

        // Then it follows every tick, rendering the surface at most once per tick.
        SurfaceView* view = tables().ui.Panel_Space3D;
        QTRY_VERIFY_WITH_TIMEOUT(view->renderCount() > 0, 5000);
        const int renders0 = view->renderCount(), rows0 = rows();
        // L1 changes half-way, so that the mean is not just any one sample.
        QTRY_VERIFY_WITH_TIMEOUT(rows() >= rows0 + 8, 10000);
        setWord(m, sim::work::Lambda1Signal, 170); // 0,23
        QTRY_VERIFY_WITH_TIMEOUT(rows() >= rows0 + 16, 10000);
        QTest::mouseClick(w->Panel_Parr_Max->ui.atb_Chart1_Stop, Qt::LeftButton);
        QVERIFY(view->renderCount() - renders0 <= rows() - rows0 + 1);
        const QList<QPointF> trail = view->operatingTrail();
        QVERIFY(!tables().operatingCell()); // Stop leaves no point behind
        QVERIFY(trail.isEmpty());

        // The archive's own account of the operating point.
        const SampleTable& a = rec().Arhiv;
        const int n = rows();
        int settled = 0;
        double sum = 0, lo = 1e9, hi = -1e9;
        for (int row = 1; row <= n; ++row) {
            if (a.value(row, analysis::column::TP) != 1000 || a.value(row, analysis::column::AI) != 2 ||
                a.value(row, analysis::column::SP) != 4.5)
                continue;
            const double l1 = a.value(row, analysis::column::L1);
            ++settled;
            sum += l1;
            lo = std::min(lo, l1);
            hi = std::max(hi, l1);
        }
        // The first samples are taken before the first live cycles have brought every value
        // the point is made of (Start asks "47&" twice, then each cycle's commands go out one
        // 50 ms tick apart; the counters come with the second command, the MAF voltage with
        // the third): one or two samples on an idle machine. A loaded machine stretches those
        // ticks and delays the first answers; eight samples is two seconds at 250 ms, more
        // than any run of the suite has needed, and every later sample must have settled.
        QVERIFY2(settled >= n - 8, qPrintable(QStringLiteral("%1 of %2").arg(settled).arg(n)));
        QVERIFY(lo < hi);

        tables().actCellStats->trigger();
        QTRY_VERIFY(tables().cellStatisticsShown());
        const QPoint cell = expectedCell();
        const QString tip = tables().cellStatisticsToolTip(cell.x(), cell.y());
        const QStringList lines = tip.split('\n');
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0], QStringLiteral("Отсчётов: %1").arg(settled));
        QCOMPARE(lines[1], QStringLiteral("Среднее: ") + analysis::meanText(sum / settled));
        QCOMPARE(lines[2], QStringLiteral("Мин: ") + formatGeneral(lo));
        QCOMPARE(lines[3], QStringLiteral("Макс: ") + formatGeneral(hi));
        // Every sample is in some cell: the counts add up to the recording.
        int total = 0;
        static const QRegularExpression count(QStringLiteral("^Отсчётов: (\\d+)"));
        for (int r = 1; r <= 8; ++r)
            for (int c = 1; c <= 8; ++c) total += count.match(tables().cellStatisticsToolTip(c, r)).captured(1).toInt();
        QCOMPARE(total, n);

        // Only the chart's page: the rows of the samples it shows.
        rec().chart().setTimeRange(2, 6.5);
        tables().actCellStatsPage->trigger();
        QCOMPARE(w->findChild<RecordingViews*>()->statisticsRows(), std::make_pair(3, 7));
        int onPage = 0;
        for (int row = 3; row <= 7; ++row)
            onPage += a.value(row, analysis::column::TP) == 1000 && a.value(row, analysis::column::AI) == 2 &&
                      a.value(row, analysis::column::SP) == 4.5;
        QTRY_COMPARE(count.match(tables().cellStatisticsToolTip(cell.x(), cell.y())).captured(1).toInt(), onPage);

        // Off: the grid edits again.
        tables().actCellStats->trigger();
        QVERIFY(!tables().cellStatisticsShown());
        QVERIFY(tables().ui.sgrid_Table_3D->editTriggers() != QAbstractItemView::NoEditTriggers);
    }
};

QTEST_MAIN(TestRecordingTables)
#include "test_recording_tables.moc"
