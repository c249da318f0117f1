// Recording live data through the real window from the simulated module: the live cycle's
// commands, the sample rows against the module's working data, paging, presets and axis
// steppers, series shown at Start, Pause and Continue, and the fuel-counter reset.
#include "common/numtext.h"
#include "dialogs/confirmations.h"
#include "link/connection.h"
#include "settings/settingspanel.h"
#include "sim/simmemory.h"
#include "telemetry/chartaxes.h"
#include "telemetry/chartpanel.h"
#include "telemetry/liverecorder.h"
#include "telemetry/parampanel.h"
#include "telemetry/seriescontrols.h"
#include "windowtest.h"

#include <QColorDialog>
#include <QLineEdit>
#include <qcustomplot.h>

namespace {
void setWord(sim::SimModule* m, int address, int value) {
    m->setWork(address, quint8(value & 0xFF));
    m->setWork(address + 1, quint8(value >> 8));
}
} // namespace

class TestRecording : public QObject {
    Q_OBJECT
    std::unique_ptr<TForm1> w;
    sim::SimModule* m = nullptr;
    QStringList sent; // live commands as their ticks wrote them

    LiveRecorder& rec() { return *w->Recorder; }
    Ui::ChartPanel& chart() { return w->Panel_Parr_Max->ui; }
    Ui::ParamPanel& params() { return w->Panel_Parr_Parr_Max->ui; }
    QCustomPlot* plot() { return chart().Chart1; }

    // Connects a TR-70 whose engine stands still, so that working data stays as set.
    void connectStill() {
        m = wt::connectDemo(*w, QStringLiteral("DEMO TR-70"), [](sim::SimModule* s) { s->setEngineRunning(false); });
        QVERIFY(m);
        QTRY_VERIFY_WITH_TIMEOUT(!w->Ex->Timer_Read->isActive() && !w->Conn->modelName().isEmpty(), 8000);
        w->atb_Parr_minClick();
        connect(w->Ex->Timer_NeprOpros, &QTimer::timeout, this, [this] { sent << w->Ex->Cmd_Sent; });
    }

    QString arhiv(int column) { return rec().Arhiv.text(rec().Row_Arhiv - 1, column); }

    // Stops both timers so that the test drives the recording tick itself.
    void holdTimers() {
        w->Ex->Timer_Module_Graf->stop();
        w->Ex->Timer_NeprOpros->stop();
    }

private slots:
    void init() {
        QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
        wt::freshConfiguration();
        w = std::make_unique<TForm1>();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        sent.clear();
    }
    void cleanup() {
        w.reset();
        m = nullptr;
        QLocale::setDefault(QLocale::c());
    }

    // Start asks for "47&" (twice: the second answer only moves on), then the cycle runs
    // its four commands once per recording tick; the log gets no exchange lines meanwhile.
    void liveCycleCommands() {
        connectStill();
        const int logLines = int(wt::logLines(*w).size());
        QTest::mouseClick(chart().atb_Chart1_Start, Qt::LeftButton);
        QVERIFY(!chart().gb_Type_Graf->isEnabled());
        QVERIFY(!w->cb_Int_Graf_In->isEnabled());
        QVERIFY(!w->atb_ModuleOff->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(wt::distinctRuns(sent).count(QStringLiteral("AA&")) >= 2, 8000);
        // Each command is followed by the next of the cycle, or by the cycle's first when
        // a tick starts a new one.
        const QStringList runs = wt::distinctRuns(sent);
        QCOMPARE(runs.first(), QStringLiteral("47&"));
        const QStringList cycle = {live::kCmdSensors, live::kCmdCounters, live::kCmdFlows, live::kCmdClose};
        for (int i = 1; i + 1 < runs.size(); ++i) {
            const int at = int(cycle.indexOf(runs.at(i)));
            QVERIFY2(at >= 0, qPrintable(runs.at(i)));
            QVERIFY2(runs.at(i + 1) == cycle.at((at + 1) % 4) || runs.at(i + 1) == live::kCmdSensors,
                     qPrintable(runs.join(' ')));
        }
        QCOMPARE(runs.at(1), live::kCmdSensors);
        QCOMPARE(w->Conn->Byte_74.byte() + 256 * w->Conn->Byte_75.byte(), sim::FuelCalibrationValue);
        const QStringList log = wt::logLines(*w).mid(logLines);
        QVERIFY(log.size() >= 8); // at least one empty line per answer
        for (const QString& line : log) QVERIFY2(line.isEmpty(), qPrintable(line));

        QTest::mouseClick(chart().atb_Chart1_Stop, Qt::LeftButton);
        QVERIFY(!w->Ex->Timer_Module_Graf->isActive());
        QVERIFY(chart().atb_Chart1_Clear->isEnabled());
        QVERIFY(chart().atb_Show_Navigator->isEnabled());
        QVERIFY(w->atb_ModuleOff->isEnabled());
        QVERIFY(w->cb_Int_Graf_In->isEnabled());
        QTest::mouseClick(chart().atb_Chart1_Clear, Qt::LeftButton);
        QVERIFY(chart().atb_Chart1_Start->isVisible());
        QVERIFY(!chart().atb_Chart1_Pause->isVisible());
        QCOMPARE(rec().chart().sampleCount(), 0);
        QCOMPARE(rec().Samples_Total, 0.0);
    }

    // One sample equals the module's working data converted by hand, under both decimal
    // separators, at the shortest and at the default interval (at 100 ms a tick comes
    // before the cycle's later commands; they still get read).
    void sampleFromWorkingData_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("intervalIndex");
        QTest::newRow("ru 0,25 s") << "ru_RU" << 2;
        QTest::newRow("C 0,1 s") << "C" << 0;
    }
    void sampleFromWorkingData() {
        QFETCH(QString, locale);
        QFETCH(int, intervalIndex);
        QLocale::setDefault(QLocale(locale));
        connectStill();
        using namespace sim::work;
        m->setWork(InjectionTime, 45);  // 4,5 ms
        setWord(m, FuelFlow, 1000);     // 1000 * 0,1 * 32 / 512 = 6,25 l/h
        setWord(m, MafVoltage, 382);    // 2 V
        setWord(m, CrankPeriod, 600);   // 1000 rpm with K = 1
        setWord(m, MafInPeriod, 40);    // 20000 / 40 = 500 Hz
        setWord(m, MafOutPeriod, 4);    // 2500 Hz
        setWord(m, Lambda1Signal, 150); // after: 0,73 V; L1 = (150 - 122) / 203 = 0,13
        setWord(m, Lambda1Base, 122);   // before: 0,6 V
        setWord(m, Lambda2Signal, 203);
        setWord(m, Lambda2Base, 61);
        w->Ctx.module.Ed_Type_Datchik_1_RU = QStringLiteral("Циркониевый");
        w->Panel_Sett_Max->ui.AdvTBtn_Opt->setChecked(true);
        QVERIFY(w->Panel_Sett_Max->ui.atb_LAMBDA_Way_Displacement->isChecked());
        w->cb_Int_Graf_In->setCurrentIndex(intervalIndex);
        params().atb_D2_posle->hide(); // a hidden row: empty readout, "0" in the overview
        w->Panel_Parr_Parr_Max->showDigitalOutputSelector(true); // as for a wide-range MAF

        QTest::mouseClick(chart().atb_Chart1_Start, Qt::LeftButton);
        auto dec = [&](QString t) { return locale == QLatin1String("C") ? t.replace(',', '.') : t; };
        // The module reports a zirconia sensor 2: L2 = (203 - 61) / 203.
        const QStringList expected = {dec("4,5"), dec("6,25"), "2", "1000", "500", dec("0,13"), dec("0,69"),
                                      dec("0,6"), dec("0,73"), dec("0,3"), "1"};
        auto lastRow = [&] {
            QStringList row;
            for (int c = 1; c <= 11; ++c) row << arhiv(c);
            return row;
        };
        // Waits for a row that holds the data (a busy machine may let the first cycle's
        // answers run late and make a group invalid for a tick).
        QTRY_COMPARE_WITH_TIMEOUT(lastRow(), expected, 8000);
        QCOMPARE(params().Lbl_TVT->text(), dec("4,5"));
        QCOMPARE(params().Lbl_digDMRV_Output->text(), "2500");
        QCOMPARE(params().Lbl_KRT->text(), dec("1,25"));
        QCOMPARE(params().Lbl_D2_posle->text(), QString());
        QCOMPARE(params().Lbl_D2_do->text(), dec("0,3"));
        const LiveRecorder& r = rec();
        QCOMPARE(r.Navigator.text(r.Row_Arhiv - 1, 2), dec("22,5"));  // SP 4,5 of 0..20
        QCOMPARE(r.Navigator.text(r.Row_Arhiv - 1, 12), "0");         // hidden U2posle
        QCOMPARE(r.Navigator.text(0, 7), "Lambda_1");
        const double step = w->Ex->Timer_Module_Graf->interval() / 1000.0;
        QCOMPARE(r.Arhiv.value(2, 0) - r.Arhiv.value(1, 0), step);
        QCOMPARE(rec().chart().timeLabel(1), QLocale().toString(step));
        // Continuous: the time axis holds the whole recording.
        QCOMPARE(plot()->xAxis->range().upper, double(rec().chart().sampleCount() - 1));

        // Data that changes keeps being followed, also at 100 ms.
        m->setWork(InjectionTime, 52);
        QTRY_COMPARE_WITH_TIMEOUT(arhiv(1), dec("5,2"), 8000);
    }

    // When a tick starts a new live cycle: not while data answers are awaited, nor while
    // the closing "AA&" is out (its late answer would be read as the sensor words).
    void cycleRestart_data() {
        QTest::addColumn<bool>("running");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QString>("pending");
        QTest::addColumn<QString>("next");
        QTest::newRow("ended") << false << "AA&" << live::kCmdSensors << live::kCmdSensors;
        QTest::newRow("awaiting counters") << true << live::kCmdSensors << live::kCmdCounters << live::kCmdCounters;
        QTest::newRow("awaiting flows") << true << live::kCmdCounters << live::kCmdFlows << live::kCmdFlows;
        QTest::newRow("closing unsent") << true << live::kCmdFlows << "AA&" << live::kCmdSensors;
        QTest::newRow("closing out") << true << "AA&" << "AA&" << "AA&";
    }
    void cycleRestart() {
        QFETCH(bool, running);
        QFETCH(QString, sent);
        QFETCH(QString, pending);
        QFETCH(QString, next);
        rec().Graf_Start_Flag = 2;
        rec().Row_Arhiv = 1;
        QTimer* cycle = w->Ex->Timer_NeprOpros;
        cycle->setInterval(100000);
        if (running) cycle->start();
        w->Ex->Cmd_Sent = sent;
        w->Ex->Cmd_Pending = pending;
        rec().Timer_Module_GrafTimer();
        QCOMPARE(w->Ex->Cmd_Pending, next);
        QVERIFY(cycle->isActive());
        QCOMPARE(cycle->interval(), running && next != live::kCmdSensors ? 100000 : 50);
        cycle->stop();
    }

    // Pages of 5 s at 250 ms hold 20 samples: samples 0..19 on 0..20, sample 20 opens 20..40.
    void paging() {
        connectStill();
        chart().atb_Type_Graf_Page->click();
        QTest::mouseClick(chart().atb_Chart1_Start, Qt::LeftButton);
        holdTimers();
        QCOMPARE(rec().Page_End, 20.0);
        for (int sample = 0; sample <= 40; ++sample) {
            rec().Timer_Module_GrafTimer();
            const double begin = sample < 20 ? 0 : sample < 40 ? 20 : 40;
            QCOMPARE(plot()->xAxis->range(), QCPRange(begin, begin + 20));
        }
        QCOMPARE(rec().Samples_Total, 41.0);
        QCOMPARE(rec().chart().sampleCount(), 41);

        // A wider page after Stop keeps the middle of the shown page: 40..60 becomes 38..62.
        QTest::mouseClick(chart().atb_Chart1_Stop, Qt::LeftButton);
        QTest::mousePress(chart().atb_PageUp, Qt::LeftButton);
        QTest::mouseRelease(chart().atb_PageUp, Qt::LeftButton);
        QCOMPARE(chart().Edit_Width_Page_Graf->text(), "6");
        QCOMPARE(rec().Page_Samples, 24.0);
        QCOMPARE(plot()->xAxis->range(), QCPRange(38, 62));
        QCOMPARE(rec().Page_Begin, 38.0);
        QCOMPARE(rec().Page_End, 62.0);
    }

    // Presets follow their parameter's range on every tick; a stepper press releases the
    // preset; steps never make a range narrower than one step; a held button stops at its
    // bound and the release brings the axis back to it.
    void presetsAndSteppers() {
        connectStill();
        ChartAxes& axes = rec().axes();
        chart().atb_ShowAxis_Chart1->click();
        QVERIFY(chart().Panel_AxLeft->isVisible() && chart().Panel_AxRight->isVisible());
        w->Ctx.module.Ed_Type_Datchik_1_RU = QStringLiteral("Широкополосный");
        params().CheckBox_D1->setChecked(true);
        QTest::mouseClick(chart().atb_Chart1_Start, Qt::LeftButton);
        holdTimers();
        rec().Timer_Module_GrafTimer();
        params().rb04->click();
        QCOMPARE(plot()->yAxis->range(), QCPRange(-5, 10));
        QCOMPARE(chart().Ed_AxLeft_Bottom->text(), "-5");
        params().CheckBox_D1->click(); // air/fuel ratio
        QCOMPARE(params().atb_D1->text(), QStringLiteral("Датчик 1. Отношение воздух/топливо"));
        rec().Timer_Module_GrafTimer();
        QCOMPARE(plot()->yAxis->range(), QCPRange(-6, 18));

        w->Ctx.module.Ed_Type_Datchik_1_RU.clear();
        rec().Live.p[live::L1].Min = 0;
        rec().Live.p[live::L1].Max = 1;
        params().rb04->click();
        QCOMPARE(plot()->yAxis->range(), QCPRange(0, 1));
        QTest::mousePress(chart().atb_AxLeft_TopDown, Qt::LeftButton);
        QVERIFY(!params().rb04->isChecked());
        QTest::mouseRelease(chart().atb_AxLeft_TopDown, Qt::LeftButton);
        QCOMPARE(plot()->yAxis->range(), QCPRange(0, 1));
        QCOMPARE(chart().Ed_AxLeft_Top->text(), "1");

        params().rb10->click();
        plot()->yAxis2->setRange(0, 14990);
        axes.showAxesInEdits();
        QTest::mousePress(chart().atb_AxRight_TopUp10, Qt::LeftButton);
        QVERIFY(!params().rb10->isChecked());
        QCOMPARE(chart().Ed_AxRight_Top->text(), "15000");
        QVERIFY(axes.Timer_UpAx->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(!axes.Timer_UpAx->isActive(), 3000);
        QCOMPARE(chart().Ed_AxRight_Top->text(), "15000");
        QTest::mouseRelease(chart().atb_AxRight_TopUp10, Qt::LeftButton);
        QCOMPARE(plot()->yAxis2->range(), QCPRange(0, 15000));

        chart().atb_AxRight_Auto->click();
        QCOMPARE(plot()->yAxis2->range(), QCPRange(0, 5000));
        QCOMPARE(chart().Ed_AxRight_Top->text(), "5000");
    }

    // While recording, the module menu's Disconnect does nothing, as atb_ModuleOff (which
    // Start disables) would: the port stays open under the recording's timers and no
    // settings file is written.
    void menuDisconnectWhileRecording() {
        connectStill();
        QTest::mouseClick(chart().atb_Chart1_Start, Qt::LeftButton);
        QVERIFY(!w->atb_ModuleOff->isEnabled());
        QFile::remove(QStringLiteral("Config_A.ini"));
        w->AdvToolButton8->click();
        QVERIFY(w->BComPort1->isOpen());
        QVERIFY(w->Ex->Timer_Module_Graf->isActive());
        QVERIFY(!QFile::exists(QStringLiteral("Config_A.ini")));
        const int rows = rec().Row_Arhiv;
        QTRY_VERIFY_WITH_TIMEOUT(rec().Row_Arhiv > rows + 2, 5000);
        // Stopped, the item disconnects again.
        QTest::mouseClick(chart().atb_Chart1_Stop, Qt::LeftButton);
        QVERIFY(w->atb_ModuleOff->isEnabled());
        w->AdvToolButton8->click();
        QVERIFY(!w->BComPort1->isOpen());
        QVERIFY(QFile::exists(QStringLiteral("Config_A.ini")));
    }

    // The wheel zooms both value axes; the four edits follow at once, and a stepper
    // released afterwards moves only its own end from the zoomed range.
    void wheelZoomFollowsEdits() {
        connectStill();
        chart().atb_ShowAxis_Chart1->click();
        QCustomPlot* c = plot();
        const QPoint centre = c->axisRect()->rect().center();
        QWheelEvent wheel(centre, c->mapToGlobal(centre), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(c, &wheel);
        QVERIFY(c->yAxis->range() != QCPRange(0, 10));
        QVERIFY(c->yAxis2->range() != QCPRange(0, 5000));
        const auto shown = [&] {
            return chart().Ed_AxLeft_Top->text() == formatGeneral(c->yAxis->range().upper) &&
                   chart().Ed_AxLeft_Bottom->text() == formatGeneral(c->yAxis->range().lower) &&
                   chart().Ed_AxRight_Top->text() == formatGeneral(c->yAxis2->range().upper) &&
                   chart().Ed_AxRight_Bottom->text() == formatGeneral(c->yAxis2->range().lower);
        };
        QTRY_VERIFY_WITH_TIMEOUT(shown(), 2000);
        const QCPRange zoomed = c->yAxis->range();
        QTest::mousePress(chart().atb_AxLeft_TopUp, Qt::LeftButton);
        QTest::mouseRelease(chart().atb_AxLeft_TopUp, Qt::LeftButton);
        QVERIFY2(qAbs(c->yAxis->range().lower - zoomed.lower) < 1e-9, qPrintable(formatGeneral(c->yAxis->range().lower)));
        QVERIFY2(qAbs(c->yAxis->range().upper - zoomed.upper - 1) < 1e-9, qPrintable(formatGeneral(c->yAxis->range().upper)));
    }

    // Start shows the ticked series whose boxes are shown; a colour change starts a new
    // run of that series while the earlier points keep their colour.
    void seriesAtStartAndColours() {
        connectStill();
        // The first run's mask shows every series; start from none.
        w->Panel_Parr_Parr_Max->applyChartMask(QStringLiteral("00000000000"));
        for (QCheckBox* b : {params().cb_T_vpryska_topl, params().cb_PVK, params().cb_D1}) b->click();
        params().cb_D1->hide();
        QTest::mouseClick(chart().atb_Chart1_Start, Qt::LeftButton);
        holdTimers();
        ParamChart& c = rec().chart();
        QVERIFY(c.seriesActive(0) && c.seriesActive(9));
        QVERIFY(!c.seriesActive(3));
        QVERIFY(!c.seriesActive(1));
        QVERIFY(params().atb_PVK_Color->isEnabled());

        rec().Timer_Module_GrafTimer();
        rec().Timer_Module_GrafTimer();
        rec().series().colorButtonMouseMove(0);
        QVERIFY(params().Panel_WLine->isVisible());
        w->Ctx.confirm = [](QDialog* d) {
            static_cast<QColorDialog*>(d)->setCurrentColor(QColor(10, 20, 30));
            return true;
        };
        params().atb_DlgColor->click();
        QCOMPARE(params().atb_TVT_Color->barColor(), QColor(10, 20, 30));
        rec().Timer_Module_GrafTimer();
        QCOMPARE(c.runs(0).size(), std::size_t(2));
        QCOMPARE(c.runSize(0, 0), 2);
        QCOMPARE(c.runSize(0, 1), 2); // seeded with the last point of the old run
        QCOMPARE(c.runs(0)[1]->pen().color(), QColor(10, 20, 30));
        QVERIFY(c.runs(0)[1]->visible());
        QCOMPARE(c.runs(1).size(), std::size_t(1));
        params().cb_T_vpryska_topl->click();
        QVERIFY(!c.runs(0)[0]->visible() && !c.runs(0)[1]->visible());
        QVERIFY(!params().atb_TVT_Color->isEnabled());
    }

    // Without a crankshaft coefficient Start warns and records all the same.
    void startWithoutCoefficient() {
        connectStill();
        w->Panel_Sett_Max->ui.cb_K->setCurrentIndex(-1);
        QDialog* shown = nullptr;
        w->Ctx.confirm = [&](QDialog* d) {
            shown = d;
            return true;
        };
        QTest::mouseClick(chart().atb_Chart1_Start, Qt::LeftButton);
        QCOMPARE(shown, static_cast<QDialog*>(w->fmPredupr0D));
        QTRY_VERIFY_WITH_TIMEOUT(rec().Row_Arhiv > 3, 5000);
    }

    // Pause in the middle of a cycle leaves its rest unsent; Continue starts a new cycle.
    void pauseMidCycle() {
        connectStill();
        QTest::mouseClick(chart().atb_Chart1_Start, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!sent.isEmpty() && sent.last() == live::kCmdCounters, 8000);
        QTest::mouseClick(chart().atb_Chart1_Pause, Qt::LeftButton);
        QVERIFY(!w->Ex->Timer_NeprOpros->isActive() && !w->Ex->Timer_Module_Graf->isActive());
        QVERIFY(chart().atb_Chart1_Continue->isVisible());
        QVERIFY(chart().gb_Type_Graf->isEnabled());
        const int before = int(sent.size());
        QTest::qWait(300);
        QCOMPARE(int(sent.size()), before);
        QTest::mouseClick(chart().atb_Chart1_Continue, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(sent.size() > before, 3000);
        QCOMPARE(sent.at(before), live::kCmdSensors);
        QVERIFY(!chart().gb_Type_Graf->isEnabled());
    }

    // The reset repeats each action until the module acknowledges it with "!".
    void fuelCounterReset() {
        connectStill();
        sim::Faults refuse;
        refuse.refuseWrites = true;
        m->setFaults(refuse);
        m->clearReceived();
        QTest::mouseClick(params().atb_Get_0, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(m->receivedItems().count(QStringLiteral("0004$")) >= 3, 3000);
        QCOMPARE(wt::distinctRuns(m->receivedItems()), QStringList{"0004$"});
        m->setFaults(sim::Faults());
        QTRY_VERIFY_WITH_TIMEOUT(!w->Ex->Timer_Get_0->isActive(), 3000);
        QCOMPARE(wt::distinctRuns(m->receivedItems()), (QStringList{"0004$", "0014$", "0024$"}));
        QCOMPARE(params().Lbl_KRT->text(), "0");
        QCOMPARE(m->work(sim::work::FuelCounter + 1), quint8(0));
        QVERIFY(wt::logLines(*w).contains(QStringLiteral("Запрос 0024$   Ответ !")));
    }

    void fuelCalculationCaption() {
        QToolButton* b = params().atb_RT_TypeCalc;
        b->setEnabled(true);
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(b->text(), QStringLiteral("среднее"));
        QVERIFY(b->isChecked());
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(b->text(), QStringLiteral("норма"));
    }
};

QTEST_MAIN(TestRecording)
#include "test_recording.moc"
