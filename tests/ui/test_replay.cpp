// Replay and comparison through the real window: "Воспроизвести" from Chart1's context menu
// plays from the sample under the pointer with the bar, Space and Esc; it is refused while
// a recording runs, a recording started ends it, and it sends nothing to the module; the
// table panel's operating point follows every row. A comparison recording opened through
// the record open dialog: a bad file is refused and changes nothing, a good one never
// enters the main recording (the archive, the strip, the saved file), survives the
// language switch and page changes, moves with its offset, shows in the hover readout, and
// gives the cell statistics their difference per cell, checked against a hand computation.
#include "analysis/cellcompare.h"
#include "app/interfacelanguage.h"
#include "app/replayviews.h"
#include "common/messages.h"
#include "common/numtext.h"
#include "tables/table3dpanel.h"
#include "telemetry/chartnavigator.h"
#include "telemetry/chartreadout.h"
#include "telemetry/comparison.h"
#include "telemetry/chartpanel.h"
#include "telemetry/liverecorder.h"
#include "telemetry/parampanel.h"
#include "telemetry/recordfile.h"
#include "telemetry/recordfiles.h"
#include "telemetry/referenceview.h"
#include "telemetry/replaybar.h"
#include "telemetry/replaycontroller.h"
#include "windowtest.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <qcustomplot.h>

namespace {

const QString minus = QString(QChar(0x2212));

// A drive in two parts: `first` samples in the cell of 1000 rpm at 2 V (4,5 ms) with L1
// alternating a and b (a first), then `second` samples at 2400 rpm, 3,2 V (6 ms), or
// elsewhere at 4800 rpm, 1,3 V (2,4 ms), with L1 = rest.
QByteArray drive(int first, int second, double a, double b, double rest, bool elsewhere = false) {
    QByteArray out;
    for (int k = 0; k < first + second; ++k) {
        const bool there = k < first;
        std::array<double, recordfile::Fields> v{};
        v[0] = k * 0.1;
        v[1] = there ? 4.5 : elsewhere ? 2.4 : 6;     // SP
        v[2] = 3 + k % 7;                             // STR
        v[3] = there ? 2 : elsewhere ? 1.3 : 3.2;     // AI
        v[4] = there ? 1000 : elsewhere ? 4800 : 2400; // TP
        v[5] = 2000 + k;                   // SD
        v[6] = there ? (k % 2 ? b : a) : rest; // L1
        for (int f = 7; f < recordfile::Fields; ++f) v[std::size_t(f)] = f / 10.0;
        out += recordfile::encodeLine(v);
    }
    return out;
}

QByteArray fileBytes(const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

} // namespace

class TestReplay : public QObject {
    Q_OBJECT
    std::unique_ptr<TForm1> w;
    std::unique_ptr<QTemporaryDir> tmp;
    QStringList errors;
    QString answer; // what the next file dialog returns

    LiveRecorder& rec() { return *w->Recorder; }
    ReplayController& replay() { return *w->Replays->replay(); }
    Comparison& comparison() { return *w->Replays->comparison(); }
    Ui::ChartPanel& chart() { return w->Panel_Parr_Max->ui; }
    Table3DPanel& tables() { return *w->Panel_3D; }
    QCustomPlot* plot() { return chart().Chart1; }
    QString path(const QString& name) { return tmp->filePath(name); }

    QString write(const QString& name, const QByteArray& bytes) {
        QFile f(path(name));
        if (!f.open(QIODevice::WriteOnly)) qFatal("cannot write");
        f.write(bytes);
        return path(name);
    }
    // The main recording: 100 samples of L1 14,5 / 14,7, then 200 of 15.
    void openMain() {
        const QString name = write(QStringLiteral("main_data.txt"), drive(100, 200, 14.5, 14.7, 15));
        QVERIFY(w->RecordFileButtons->load(name, fileBytes(name)));
        chart().atb_Chart1_Stop->click();
        for (int s : {0, 2, 3, 9}) w->Panel_Parr_Parr_Max->seriesRow(s).check->click();
        rec().chart().setTimeRange(0, 50);
        plot()->replot();
    }
    // Opens the menu over a key of the chart, as the right button does, and closes it.
    QAction* menuAt(double key) {
        const QPoint at(int(plot()->xAxis->coordToPixel(key)), plot()->axisRect()->center().y());
        w->Replays->menuOpening(at.x());
        return w->Replays->actReplay;
    }
    void compareWith(const QString& name) {
        answer = name;
        comparison().actCompareRecord->trigger();
    }
    // The cell of 1000 rpm at 2 V (4,5 ms) on the load axis in force.
    QPoint firstCell() {
        const double load = tables().loadAxisIsMafVoltage() ? 2 : 4.5;
        return QPoint(analysis::nearestIndex(tables().speedBreakpoints(), 1000) + 1,
                      analysis::nearestIndex(tables().loadBreakpoints(), load) + 1);
    }
    QPoint secondCell() {
        const double load = tables().loadAxisIsMafVoltage() ? 3.2 : 6;
        return QPoint(analysis::nearestIndex(tables().speedBreakpoints(), 2400) + 1,
                      analysis::nearestIndex(tables().loadBreakpoints(), load) + 1);
    }

private slots:
    void init() {
        QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
        msgs().setRussian();
        wt::freshConfiguration();
        w = std::make_unique<TForm1>();
        tmp = std::make_unique<QTemporaryDir>();
        errors.clear();
        w->Ctx.error = [this](const QString& text) { errors << text; };
        w->Ctx.openFileName = [this](const QString&, const QString& filter, std::optional<TableKind>) {
            [&] { QCOMPARE(filter, QStringLiteral("Данные (*_data.txt)")); }();
            return answer;
        };
        w->Ctx.saveFileName = [this](const QString&, const QString&) { return answer; };
        w->RecordFileButtons->stopLivePoints = [] {};
        w->Replays->beforeDialog = [] {};
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->atb_Parr_minClick();
    }
    void cleanup() {
        w.reset();
        tmp.reset();
        msgs().setRussian();
        QLocale::setDefault(QLocale::c());
    }

    // From the sample under the pointer, with the bar; Space pauses and plays, Esc puts
    // the page and the readouts back.
    void playsFromTheMenuWithTheBarSpaceAndEsc() {
        openMain();
        QLabel* tvt = w->Panel_Parr_Parr_Max->ui.Lbl_TVT;
        tvt->setText(QStringLiteral("before"));
        QVERIFY(menuAt(30)->isEnabled());
        w->Replays->actReplay->trigger();
        QVERIFY(errors.isEmpty());
        QVERIFY(replay().isActive());
        QCOMPARE(replay().row(), 31);
        QCOMPARE(tvt->text(), formatGeneral(rec().Arhiv.value(31, 1)));
        ReplayBar* bar = w->Replays->bar();
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->slReplay->maximum(), 300);
        QCOMPARE(bar->slReplay->value(), 31);

        // Playing at x1 while the window becomes active; Space pauses it where it is.
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTest::keyClick(w.get(), Qt::Key_Space);
        QVERIFY(!replay().isPlaying());
        const int held = replay().row();
        QTest::mouseClick(bar->atbReplayForward, Qt::LeftButton);
        QCOMPARE(replay().row(), held + 1);
        QCOMPARE(bar->slReplay->value(), held + 1);
        QTest::mouseClick(bar->atbReplayBack, Qt::LeftButton);
        QTest::mouseClick(bar->atbReplayBack, Qt::LeftButton);
        QCOMPARE(replay().row(), held - 1);
        QCOMPARE(tvt->text(), formatGeneral(rec().Arhiv.value(held - 1, 1)));
        bar->slReplay->setValue(120);
        QCOMPARE(replay().row(), 120);
        QVERIFY(plot()->xAxis->range().contains(119)); // the page followed
        bar->cbReplaySpeed->setCurrentIndex(bar->cbReplaySpeed->count() - 1);
        QCOMPARE(replay().speed(), 64);
        QTest::keyClick(w.get(), Qt::Key_Space);
        QVERIFY(replay().isPlaying());
        QTRY_VERIFY_WITH_TIMEOUT(replay().atEnd(), 5000); // 18 s of recording at x64

        QTest::keyClick(w.get(), Qt::Key_Escape);
        QVERIFY(!replay().isActive());
        QVERIFY(!bar->isVisible());
        QCOMPARE(plot()->xAxis->range().lower, 0.0);
        QCOMPARE(plot()->xAxis->range().upper, 50.0);
        QCOMPARE(tvt->text(), QStringLiteral("before"));
        // Without a replay Space and Esc are the window's as before.
        QVERIFY(!bar->scReplayPause->isEnabled() && !bar->scReplayStop->isEnabled());
        // Outside the samples the menu starts from the page's first one.
        rec().chart().setTimeRange(40.5, 90.5);
        menuAt(-1000);
        w->Replays->actReplay->trigger();
        QCOMPARE(replay().row(), 42);
    }

    // A recording running refuses the replay, a paused one may be played and Continue ends
    // that; nothing of a replay goes to the module.
    void refusedWhileRecordingAndSilentToTheModule() {
        sim::SimModule* m = wt::connectDemo(*w, QStringLiteral("DEMO TR-70"),
                                            [](sim::SimModule* s) { s->setEngineRunning(false); });
        QVERIFY(m);
        QTRY_VERIFY_WITH_TIMEOUT(!w->Ex->Timer_Read->isActive() && !w->Conn->modelName().isEmpty(), 8000);
        w->atb_Parr_minClick();
        chart().atb_Chart1_Start->click();
        QTRY_VERIFY_WITH_TIMEOUT(rec().Arhiv.samples() >= 8, 10000);
        QVERIFY(!menuAt(3)->isEnabled());
        w->Replays->actReplayClick();
        QVERIFY(!replay().isActive());
        QCOMPARE(errors, QStringList{ReplayController::refusalMessage(ReplayController::Refusal::Recording, false)});

        // Paused, the recording so far plays; Continue ends the replay before its next tick.
        chart().atb_Chart1_Pause->click();
        QVERIFY(menuAt(3)->isEnabled());
        w->Replays->actReplay->trigger();
        QVERIFY(replay().isActive());
        chart().atb_Chart1_Continue->click();
        QVERIFY(!replay().isActive());
        QVERIFY(!w->Replays->bar()->isVisible());
        const int rows = rec().Arhiv.samples();
        QTRY_VERIFY_WITH_TIMEOUT(rec().Arhiv.samples() >= rows + 4, 10000);
        chart().atb_Chart1_Stop->click();
        QTRY_VERIFY_WITH_TIMEOUT(!w->Ex->Timer_NeprOpros->isActive(), 5000);

        // Stopped: the recording plays to its end, and the module hears nothing of it.
        const int heard = int(m->receivedItems().size());
        const int logged = int(wt::logLines(*w).size());
        QVERIFY(menuAt(2)->isEnabled());
        w->Replays->actReplay->trigger();
        QVERIFY(replay().isActive());
        replay().setSpeed(64);
        QTRY_VERIFY_WITH_TIMEOUT(replay().atEnd(), 5000);
        QCOMPARE(int(m->receivedItems().size()), heard);
        QCOMPARE(int(wt::logLines(*w).size()), logged);
        QVERIFY(errors.size() == 1);
        // Clear takes the recording off the chart: the replay ends with it.
        chart().atb_Chart1_Clear->click();
        QVERIFY(!replay().isActive());
    }

    // The table panel shows the shown row's cell and the trail up to it.
    void theOperatingPointFollows() {
        openMain();
        menuAt(40);
        w->Replays->actReplay->trigger();
        replay().pause();
        QCOMPARE(replay().row(), 41);
        w->atb_MAFClick();
        QTRY_COMPARE_WITH_TIMEOUT(int(tables().ui.Panel_Space3D->operatingTrail().size()), 20, 2000);
        for (int row = 42; row <= 112; ++row) {
            replay().step(1);
            QCOMPARE(replay().row(), row);
            QCOMPARE(tables().operatingCell().value_or(QPoint()), row <= 100 ? firstCell() : secondCell());
            QCOMPARE(int(tables().ui.Panel_Space3D->operatingTrail().size()), 20);
        }
        replay().stop(true);
        QVERIFY(!tables().operatingCell());
    }

    void aBadComparisonFileChangesNothing_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("a bad line") << drive(10, 5, 1, 2, 3) + "12#Step#oops\r\n" + drive(3, 0, 1, 1, 1);
        QTest::newRow("no sample") << QByteArray("\r\n\r\n");
        QTest::newRow("binary") << QByteArray("\x00\xff\x00\xff", 4);
    }
    void aBadComparisonFileChangesNothing() {
        QFETCH(QByteArray, bytes);
        openMain();
        const int graphs = plot()->graphCount();
        compareWith(write(QStringLiteral("bad_data.txt"), bytes));
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors.first().contains(QStringLiteral("bad_data.txt")));
        QVERIFY(!comparison().isShown());
        QCOMPARE(plot()->graphCount(), graphs);
        QVERIFY(!comparison().tbReference->isVisible());

        // Over a comparison shown, a bad file leaves that one.
        compareWith(write(QStringLiteral("good_data.txt"), drive(50, 20, 15, 15, 15)));
        QVERIFY(comparison().isShown());
        const auto shown = comparison().recording();
        compareWith(path(QStringLiteral("bad_data.txt")));
        QCOMPARE(errors.size(), 2);
        QVERIFY(comparison().recording() == shown);
        QVERIFY(comparison().fileName().endsWith(QStringLiteral("good_data.txt")));
        QCOMPARE(plot()->graphCount(), graphs + reference::Series);
        // A file that cannot be read at all.
        compareWith(path(QStringLiteral("missing_data.txt")));
        QCOMPARE(errors.size(), 3);
        QVERIFY(comparison().recording() == shown);
    }

    // The comparison is drawn beside the main recording and never becomes part of it.
    void aComparisonNeverEntersTheMainRecording() {
        openMain();
        const QString mainName = path(QStringLiteral("main_data.txt"));
        const int rows = rec().Arhiv.samples();
        const double navValue = rec().Navigator.value(rows, 5);
        chart().atb_Show_Navigator->click();
        const int stripPoints = chart().DBChart_Navigator_Bottom->graph(1)->dataCount();
        const int graphs = plot()->graphCount();

        compareWith(write(QStringLiteral("ref_data.txt"), drive(74, 150, 15.2, 15.6, 14, true)));
        QVERIFY(errors.isEmpty());
        QVERIFY(comparison().isShown());
        QVERIFY(comparison().tbReference->isVisible());
        QCOMPARE(comparison().lblRefName->text(), QStringLiteral("ref_data.txt"));
        QCOMPARE(rec().Arhiv.samples(), rows);
        QCOMPARE(rec().Navigator.samples(), rows);
        QCOMPARE(rec().Navigator.value(rows, 5), navValue);
        QCOMPARE(rec().chart().sampleCount(), rows);
        chart().atb_Show_Navigator->click();
        QCOMPARE(chart().DBChart_Navigator_Bottom->graph(1)->dataCount(), stripPoints);

        // Saved, the main recording is the file it was opened from, byte for byte.
        answer = path(QStringLiteral("saved_data.txt"));
        chart().atb_Param_Save->click();
        QVERIFY(errors.isEmpty());
        QCOMPARE(fileBytes(answer), fileBytes(mainName));

        // The hover readout: both values and the difference (sample 10: L1 14,5 against 15,2).
        ChartReadout* readout = rec().readout();
        plot()->replot();
        readout->pointAt(QPointF(plot()->xAxis->coordToPixel(10), plot()->axisRect()->center().y()));
        QVERIFY2(readout->lines().contains(QStringLiteral("L1: 14,5 / 15,2 (") + minus + "0,7)"),
                 qPrintable(readout->lines().join('\n')));

        // Page changes, zoom and the language switch leave it as it is.
        const auto shown = comparison().recording();
        chart().Btn_toEnd->click();
        chart().Btn_Page_toLeft->click();
        plot()->replot();
        QVERIFY(comparison().view()->graph(3)->dataCount() > 0);
        w->Language->apply(uitexts::Lang::English);
        QCOMPARE(comparison().lblRefOffset->text(), QStringLiteral("Offset, s"));
        QCOMPARE(w->Replays->actReplay->text(), QStringLiteral("Play"));
        QCOMPARE(comparison().actCompareRecord->text(), QStringLiteral("Compare with a recording…"));
        QVERIFY(comparison().recording() == shown);
        w->Language->apply(uitexts::Lang::Russian);
        QVERIFY(comparison().recording() == shown);
        QCOMPARE(plot()->graphCount(), graphs + reference::Series);

        // The offset from its field; something that is not a number gives the field back.
        comparison().edRefOffset->setText(QStringLiteral("1,5"));
        emit comparison().edRefOffset->editingFinished();
        QCOMPARE(comparison().view()->offset(), 1.5);
        comparison().edRefOffset->setText(QStringLiteral("abc"));
        emit comparison().edRefOffset->editingFinished();
        QCOMPARE(comparison().edRefOffset->text(), QStringLiteral("1,5"));

        // Removed: its graphs, its bar and the difference go.
        QVERIFY(tables().actCellStatsDiff->isEnabled());
        comparison().actCompareRemove->trigger();
        QVERIFY(!comparison().isShown());
        QVERIFY(!comparison().tbReference->isVisible());
        QCOMPARE(plot()->graphCount(), graphs);
        QVERIFY(!tables().actCellStatsDiff->isEnabled());
        QVERIFY(!comparison().actCompareRemove->isEnabled());
    }

    // The difference of the means per cell: main (100 samples of 14,5 / 14,7, then 200 of
    // 15) against the comparison (74 samples of 15,2 / 15,6, then 150 of 14 elsewhere).
    void differenceStatisticsByHand() {
        openMain();
        w->atb_MAFClick();
        QVERIFY(!tables().actCellStatsDiff->isEnabled());
        compareWith(write(QStringLiteral("ref_data.txt"), drive(74, 150, 15.2, 15.6, 14, true)));
        QVERIFY(tables().actCellStatsDiff->isEnabled());
        tables().actCellStatsDiff->trigger();
        QTRY_VERIFY(tables().cellStatisticsShown());
        const QPoint a = firstCell(), b = secondCell();
        QTRY_COMPARE(tables().cellStatisticsToolTip(a.x(), a.y()),
                     QStringLiteral("Отсчётов: 100 / 74\nСреднее: 14,6 / 15,4\nРазность: ") + minus + "0,8");
        QCOMPARE(tables().cellStatisticsToolTip(b.x(), b.y()), QStringLiteral("Отсчётов: 200 / 0\nСреднее: 15 / —"));
        const QPoint c(analysis::nearestIndex(tables().speedBreakpoints(), 2400) + 1, a.y());
        QCOMPARE(tables().cellStatisticsToolTip(c.x(), c.y()), QString());

        // Only the chart's page: main rows 1..50, the comparison's samples on the same keys;
        // moved 2 s later, 30 of them are left on the page.
        rec().chart().setTimeRange(0, 49.5);
        tables().actCellStatsPage->trigger();
        QTRY_COMPARE(tables().cellStatisticsToolTip(a.x(), a.y()),
                     QStringLiteral("Отсчётов: 50 / 50\nСреднее: 14,6 / 15,4\nРазность: ") + minus + "0,8");
        comparison().setOffset(2);
        QTRY_COMPARE(tables().cellStatisticsToolTip(a.x(), a.y()),
                     QStringLiteral("Отсчётов: 50 / 30\nСреднее: 14,6 / 15,4\nРазность: ") + minus + "0,8");

        // Off: the plain statistics again; the comparison removed turns the choice off.
        tables().actCellStatsDiff->trigger();
        QTRY_COMPARE(tables().cellStatisticsToolTip(a.x(), a.y()).section('\n', 0, 0), QStringLiteral("Отсчётов: 50"));
        tables().actCellStatsDiff->trigger();
        QTRY_VERIFY(tables().cellStatisticsToolTip(a.x(), a.y()).contains(QStringLiteral(" / ")));
        comparison().remove();
        QVERIFY(!tables().actCellStatsDiff->isChecked());
        QTRY_COMPARE(tables().cellStatisticsToolTip(a.x(), a.y()).section('\n', 0, 0), QStringLiteral("Отсчётов: 50"));
    }
};

QTEST_MAIN(TestReplay)
#include "test_replay.moc"
