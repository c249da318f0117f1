// Three hours of recording at 100 ms (108 000 samples, eleven series) through the real
// recording path: the live-cycle digits of a simulated engine, the recording tick (decode,
// readouts, chart append, table rows), the queued replot with a 10-minute page, then a
// replot of the whole recording, the memory it all holds, and the receive handler with the
// protocol log growing by one empty line per event as it does while polling. Prints
// figures; not part of the test suite.
//   build-rel/bench_recording [minutes]     (needs a display)
//   BENCH_NO_GL=1 build-rel/bench_recording  the same without the 3D view's OpenGL widget
#include "benchutil.h"
#include "app/mainwindow.h"
#include "app/protocolpanel.h"
#include "settings/settingspanel.h"
#include "sim/enginemodel.h"
#include "sim/simmemory.h"
#include "sim/simprotocol.h"
#include "telemetry/chartpanel.h"
#include "telemetry/liverecorder.h"
#include "telemetry/parampanel.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QTemporaryDir>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>
#include <qcustomplot.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <malloc.h>
#include <vector>

namespace {

using bench::cpuMs;
using bench::heapMB;
using bench::rssMB;
using bench::stats;
using bench::Stats;

// The answers of one live cycle for the engine's present working data.
QStringList cycleAnswers(const sim::SimMemory& m) {
    using namespace sim;
    auto w = [&](int a) { return QString::fromLatin1(lowFirstWordText(m.workWord(a)) + ' '); };
    auto b = [&](int a) { return QString::fromLatin1(lowFirstByteText(m.work[std::size_t(a)]) + ' '); };
    return {w(work::Lambda1Signal) + w(work::Lambda1Base) + w(work::Lambda2Signal) + w(work::Lambda2Base),
            b(work::FuelCounter) + w(work::FuelCounter + 1) + w(work::MafOutPeriod) + b(work::InjectionTime),
            w(work::FuelFlow) + w(work::MafInPeriod) + w(work::CrankPeriod) + w(work::MafVoltage)};
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int minutes = argc > 1 ? std::max(1, atoi(argv[1])) : 180;
    const int samples = minutes * 600;

    // The window keeps its settings files in the current directory; a measurement leaves
    // none behind and starts from the window's own settings.
    QTemporaryDir settingsDir;
    QDir::setCurrent(settingsDir.path());
    TForm1 w;
    if (qEnvironmentVariableIsSet("BENCH_NO_GL")) {
        // For comparison: a window holding an OpenGL widget (the 3D view) is composed through
        // OpenGL on every repaint, which a machine without a graphics card does in software.
        for (QWidget* gl : w.findChildren<QWidget*>())
            if (gl->inherits("QOpenGLWidget")) delete gl;
    }
    bench::showChart(w, app);
    LiveRecorder& rec = *w.Recorder;
    auto& chart = w.Panel_Parr_Max->ui;
    QCustomPlot* plot = chart.Chart1;
    bench::optimizerRecording(w, app, 600, false); // a 10-minute page
    sim::SimMemory mem = bench::optimizerMemory();
    sim::EngineModel engine(7);

    const double heap0 = heapMB(), rss0 = rssMB();
    chart.atb_Chart1_Start->click();
    w.Ex->Timer_Module_Graf->stop(); // the bench drives the ticks itself

    // Every tick runs in full; every tenth also lets its queued replot run and is timed
    // with it (a replot of every tick would make the bench last an hour and tell nothing
    // more). Wall time includes the waits for a core that other programs cause; the thread's
    // CPU time is what the work costs.
    std::vector<double> tick, tickCpu, replot, replotCpu, layers, total;
    QElapsedTimer t;
    const QStringList cmds = {live::kCmdSensors, live::kCmdCounters, live::kCmdFlows};
    for (int i = 0; i < samples; ++i) {
        engine.advance(0.1, mem, sim::Model::TR70, sim::Equipment{});
        const QStringList answers = cycleAnswers(mem);
        int flag = rec.Graf_Start_Flag;
        for (int c = 0; c < 3; ++c) live::liveGate(rec.Digits, flag, cmds[c], answers[c]);
        rec.Graf_Start_Flag = 2;
        w.Ex->Timer_NeprOpros->stop(); // every tick starts a fresh cycle

        double c0 = cpuMs();
        t.start();
        rec.Timer_Module_GrafTimer();
        const double a = double(t.nsecsElapsed()) / 1e6;
        tick.push_back(a);
        tickCpu.push_back(cpuMs() - c0);
        if (i % 10 != 9) continue;
        c0 = cpuMs();
        t.start();
        app.processEvents(); // the queued replot and the repaint
        const double b = double(t.nsecsElapsed()) / 1e6;
        replot.push_back(b);
        replotCpu.push_back(cpuMs() - c0);
        layers.push_back(plot->replotTime());
        total.push_back(a + b);
        if ((i + 1) % 18000 == 0) {
            const Stats s = stats(std::vector<double>(total.end() - 1800, total.end()));
            std::printf("after %6d samples: tick+replot of the last 30 min p50 %.2f p95 %.2f max %.2f ms, heap +%.1f MB\n",
                        i + 1, s.p50, s.p95, s.max, heapMB() - heap0);
            std::fflush(stdout);
        }
    }
    w.Ex->Timer_NeprOpros->stop();
    chart.atb_Chart1_Stop->click();
    app.processEvents();
    const double heapRec = heapMB() - heap0, rssRec = rssMB() - rss0;

    auto line = [](const char* what, const Stats& s) {
        std::printf("%-40s p50 %6.2f  p95 %6.2f  p99 %6.2f  max %7.2f ms\n", what, s.p50, s.p95, s.p99, s.max);
    };
    std::printf("\n%d samples at 100 ms (%d points), 10-minute page\n", samples, samples * 11);
    line("recording tick, wall", stats(tick));
    line("recording tick, cpu", stats(tickCpu));
    line("replot and repaint, wall", stats(replot));
    line("replot and repaint, cpu", stats(replotCpu));
    line("  drawing the chart (replotTime)", stats(layers));
    line("tick + replot + repaint, wall", stats(total));

    // The whole recording on screen.
    plot->xAxis->setRange(0, samples);
    std::vector<double> full, fullCpu;
    for (int i = 0; i < 20; ++i) {
        const double c0 = cpuMs();
        t.start();
        plot->replot(QCustomPlot::rpImmediateRefresh);
        full.push_back(double(t.nsecsElapsed()) / 1e6);
        fullCpu.push_back(cpuMs() - c0);
    }
    std::printf("full range, %d graphs:\n", plot->graphCount());
    line("full-range replot and repaint, wall", stats(full));
    line("full-range replot and repaint, cpu", stats(fullCpu));

    std::printf("memory of the recording: heap +%.1f MB, resident +%.1f MB (tables %.1f MB)\n", heapRec, rssRec,
                double(rec.Arhiv.bytes() + rec.Navigator.bytes()) / (1024.0 * 1024.0));

    // The receive handler during polling, with the log growing by one empty line per event:
    // two events per tick, 20 a second, about what a port gives while the cycle runs.
    w.Ex->Timer_NeprOpros->setInterval(1000000);
    w.Ex->Timer_NeprOpros->start();
    w.Ex->Timer_Module_Graf->setInterval(1000000);
    w.Ex->Timer_Module_Graf->start();
    const double heapLog0 = heapMB();
    const int events = samples * 2;
    std::vector<double> rx;
    rx.reserve(std::size_t(events));
    for (int i = 0; i < events; ++i) {
        w.Ex->Cmd_Sent = cmds[i % 3];
        t.start();
        w.Ex->BComPort1RxChar(0);
        rx.push_back(double(t.nsecsElapsed()) / 1e3);
        if (i % 1000 == 0) app.processEvents();
    }
    w.Ex->Timer_NeprOpros->stop();
    w.Ex->Timer_Module_Graf->stop();
    app.processEvents();
    const Stats sx = stats(rx), first = stats(std::vector<double>(rx.begin(), rx.begin() + events / 10)),
                last = stats(std::vector<double>(rx.end() - events / 10, rx.end()));
    std::printf("receive event (gate + tail + log line), %d events: p50 %.1f p95 %.1f max %.1f us;"
                " first tenth p95 %.1f, last tenth p95 %.1f us\n",
                events, sx.p50, sx.p95, sx.max, first.p95, last.p95);
    std::printf("protocol log: %d lines, heap +%.1f MB\n", w.Panel_Protocol->lineCount(), heapMB() - heapLog0);
    std::printf("recording and log together: heap +%.1f MB, resident +%.1f MB\n", heapMB() - heap0, rssMB() - rss0);

    // The text area holds the log only while the protocol is shown: the cost of looking.
    const double heapShow0 = heapMB();
    t.start();
    w.atbMemoClick();
    app.processEvents();
    const double showMs = double(t.nsecsElapsed()) / 1e6;
    const double heapShown = heapMB() - heapShow0;
    t.start();
    w.atb_Parr_minClick();
    app.processEvents();
    std::printf("protocol shown with the whole log: %.0f ms, heap +%.1f MB while shown; hidden again in %.0f ms,"
                " heap +%.1f MB\n",
                showMs, heapShown, double(t.nsecsElapsed()) / 1e6, heapMB() - heapShow0);
    return 0;
}
