// Replay and comparison through the real window, with a three-hour record (108 000 samples
// at 100 ms) opened as the main recording:
//  - a replay at x64 (640 samples a second) with the chart in front (pages of 5 s, so the
//    page follows the cursor 12,8 times a second) and with the table panel in front (the
//    operating point on the grid and the surface): the work on the window's thread per
//    frame (its CPU time and its busy wall time between two frames, painting included),
//    the frames' lateness and how far the shown sample fell behind the replay's clock when
//    the next frame came, the frames painted;
//  - a three-hour comparison recording over it: the full-range replot and a page replot
//    with all eleven series shown, against the same replots without the comparison.
// Prints figures; not part of the test suite.
//   build/bench_replay [minutes] [seconds of replay]     (needs a display)
#include "benchutil.h"
#include "app/framelimiter.h"
#include "app/mainwindow.h"
#include "app/replayviews.h"
#include "link/exchange.h"
#include "telemetry/chartpanel.h"
#include "telemetry/comparison.h"
#include "telemetry/liverecorder.h"
#include "telemetry/parampanel.h"
#include "telemetry/recordfile.h"
#include "telemetry/recordfiles.h"
#include "telemetry/referenceview.h"
#include "telemetry/replaycontroller.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <qcustomplot.h>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

using bench::cpuMs;
using bench::stats;

// A drive with idle, acceleration and cruise that sweeps the table; phase shifts it, so
// that a second drive differs from the first.
QByteArray makeRecord(int lines, double phase) {
    QByteArray out;
    out.reserve(qsizetype(lines) * 100);
    std::array<double, recordfile::Fields> v{};
    for (int i = 0; i < lines; ++i) {
        const double t = i * 0.1;
        const double load = 0.5 + 0.5 * std::sin(t / 40.0 + phase) * std::sin(t / 7.0);
        const double noise = ((i * 7919) % 100) / 1000.0;
        v = {t,
             1.5 + 6 * load + noise,                // SP, ms
             0.8 + 14 * load + noise,               // STR, l/h
             4.6 * load,                            // AI, V
             700 + 9000 * load * load + 50 * noise, // TP, rpm
             1500 + 6000 * load,                    // SD, Hz
             14.7 + 0.8 * std::sin(t * 3) + noise,  // L1
             0.45 + 0.4 * std::cos(t * 3),          // L2
             0.5 + 0.3 * std::sin(t),
             0.6 + 0.3 * std::sin(t),
             0.5 + 0.3 * std::cos(t),
             0.6 + 0.3 * std::cos(t)};
        out += recordfile::encodeLine(v);
    }
    return out;
}

void line(const char* what, const std::vector<double>& v, const char* unit = "ms") {
    if (v.empty()) return;
    const bench::Stats s = stats(v);
    std::printf("  %-46s p50 %7.2f  p95 %7.2f  p99 %7.2f  max %7.2f %s\n", what, s.p50, s.p95, s.p99, s.max, unit);
}

// The work of the window's thread between two frames of the replay, and how far the shown
// sample trails the clock when a frame comes.
struct FrameMeter : QObject {
    ReplayController* replay;
    QTimer* timer;
    QElapsedTimer wall;
    qint64 busySince = -1; // the thread is awake since then (ns), -1 while it waits
    qint64 busy = 0;       // awake time since the last frame
    double cpuAt = 0;
    qint64 lastFrame = -1;
    std::vector<double> cpu, busyMs, late, behind;

    FrameMeter(ReplayController* r, QTimer* t) : replay(r), timer(t) {
        wall.start();
        QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance();
        connect(d, &QAbstractEventDispatcher::awake, this, [this] { busySince = wall.nsecsElapsed(); });
        connect(d, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
            if (busySince >= 0) busy += wall.nsecsElapsed() - busySince;
            busySince = -1;
        });
        // Before the replay's own frame runs: the timer's event comes to its filters first.
        timer->installEventFilter(this);
    }
    void reset() {
        cpu.clear();
        busyMs.clear();
        late.clear();
        behind.clear();
        lastFrame = -1;
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != timer || event->type() != QEvent::Timer || !replay->isPlaying()) return false;
        const qint64 now = wall.nsecsElapsed();
        if (busySince >= 0) busy += now - busySince;
        busySince = now;
        const double c = cpuMs();
        if (lastFrame >= 0) {
            cpu.push_back(c - cpuAt);
            busyMs.push_back(double(busy) / 1e6);
            late.push_back(double(now - lastFrame) / 1e6 - ReplayController::FrameMs);
            // The recorded time the clock is at, against the time the sample after the shown
            // one fell due: how long (in wall time) it has been waiting for a frame.
            const double overdue = replay->clockTime() - replay->dueTime(replay->row() + 1);
            behind.push_back(std::max(0.0, overdue / replay->speed() * 1000));
        }
        busy = 0;
        cpuAt = c;
        lastFrame = now;
        return false;
    }
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int minutes = argc > 1 ? std::max(1, atoi(argv[1])) : 180;
    const int seconds = argc > 2 ? std::max(1, atoi(argv[2])) : 8;
    const int lines = minutes * 600;

    QTemporaryDir dir;
    const QString mainName = dir.filePath(QStringLiteral("after_data.txt"));
    const QString refName = dir.filePath(QStringLiteral("before_data.txt"));
    for (const auto& [name, phase] : {std::pair{mainName, 0.0}, std::pair{refName, 0.7}}) {
        QFile f(name);
        if (!f.open(QIODevice::WriteOnly)) return 1;
        f.write(makeRecord(lines, phase));
    }

    TForm1 w;
    w.resize(1600, 1000);
    w.show();
    w.atb_Parr_minClick();
    app.processEvents();
    auto& chart = w.Panel_Parr_Max->ui;
    LiveRecorder& rec = *w.Recorder;
    w.Ex->Timer_Module_Graf->setInterval(100);
    w.cb_Int_Graf_In->setCurrentIndex(0); // 100 ms: a page of 5 s is 50 samples
    w.Ctx.error = [](const QString& text) { std::printf("error: %s\n", qPrintable(text)); };
    w.Ctx.openFileName = [&](const QString&, const QString&, std::optional<TableKind>) { return mainName; };
    chart.atb_Param_Open->click();
    chart.atb_Chart1_Stop->click();
    for (int s = 0; s < 11; ++s) w.Panel_Parr_Parr_Max->seriesRow(s).check->click();
    chart.atb_Show_Navigator->click();
    app.processEvents();
    QCustomPlot* plot = chart.Chart1;
    std::printf("main recording: %d samples, %d x %d pixels of plot\n", rec.Arhiv.samples(), plot->axisRect()->width(),
                plot->axisRect()->height());

    // --- replay at x64 ------------------------------------------------------------------
    ReplayController& replay = *w.Replays->replay();
    auto* timer = replay.findChild<QTimer*>(QStringLiteral("Timer_Replay"));
    FrameMeter meter(&replay, timer);
    auto play = [&](const char* view) {
        replay.setSpeed(64);
        replay.start(double(rec.Arhiv.samples() / 3));
        meter.reset();
        const int painted = w.Frames->framesPainted();
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < seconds * 1000 && replay.isPlaying()) app.processEvents(QEventLoop::WaitForMoreEvents);
        const double s = t.elapsed() / 1000.0;
        const int rows = replay.row() - rec.Arhiv.samples() / 3 - 1;
        std::printf("replay at x64, %s: %d frames in %.1f s, %.0f samples a second, %.1f frames painted a second\n",
                    view, int(meter.cpu.size()), s, rows / s, (w.Frames->framesPainted() - painted) / s);
        line("work per frame, cpu", meter.cpu);
        line("work per frame, busy wall time", meter.busyMs);
        line("frame late against 16 ms", meter.late);
        line("shown sample behind the clock", meter.behind);
        replay.stop(true);
        app.processEvents();
    };
    play("chart in front, pages of 5 s");
    w.atb_MAFClick();
    app.processEvents();
    play("table panel in front");
    w.atb_Parr_minClick();
    app.processEvents();

    // --- a three-hour comparison over the three-hour recording ----------------------------
    auto replots = [&](const char* what, bool withReference) {
        std::vector<double> full, fullCpu, page, pageCpu;
        for (int i = 0; i < 30; ++i) {
            // A slightly different range each time, so the comparison is fitted again.
            rec.chart().setTimeRange(-double(i % 2), rec.Arhiv.samples() + double(i % 3));
            const double c = cpuMs();
            plot->replot(QCustomPlot::rpImmediateRefresh);
            fullCpu.push_back(cpuMs() - c);
            full.push_back(plot->replotTime());
        }
        for (int i = 0; i < 60; ++i) {
            const double begin = (i * 7919 % 2000) * 50.0;
            rec.chart().setTimeRange(begin, begin + 50);
            const double c = cpuMs();
            plot->replot(QCustomPlot::rpImmediateRefresh);
            pageCpu.push_back(cpuMs() - c);
            page.push_back(plot->replotTime());
        }
        std::printf("%s%s\n", what, withReference ? " (drawing the summary)" : "");
        line("full-range replot, wall", full);
        line("full-range replot, cpu", fullCpu);
        line("page replot (50 samples), wall", page);
        line("page replot (50 samples), cpu", pageCpu);
    };
    replots("three hours, eleven series, no comparison", false);
    w.Ctx.openFileName = [&](const QString&, const QString&, std::optional<TableKind>) { return refName; };
    QElapsedTimer t;
    t.start();
    const double c0 = cpuMs();
    w.Replays->comparison()->actCompareRecord->trigger();
    std::printf("comparison opened (read, checked, columns and summaries) in %.0f ms, cpu %.0f ms, %.1f MB\n",
                double(t.elapsed()), cpuMs() - c0,
                double(w.Replays->comparison()->recording()->bytes()) / (1024.0 * 1024.0));
    w.Replays->comparison()->setOffset(12.5);
    rec.chart().fitTimeAxis();
    plot->replot(QCustomPlot::rpImmediateRefresh);
    if (!w.Replays->comparison()->view()->drawsSummary()) std::printf("(the full range does not draw the summary)\n");
    replots("three hours, eleven series, with a three-hour comparison", true);
    return 0;
}
