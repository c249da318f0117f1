// Eight hours of recording at 100 ms (288 000 samples) in simulated time, through the whole
// recording path: the live cycle's commands written by the real exchange to a port without a
// device, answered by a simulated engine's memory and decoded by the real gates; the
// recording tick (conversion, readouts, archive and navigator rows, chart append); the
// navigator's overview summary; the journal; the queued replot of the chart and a frame of
// the window after every sample, on the widest page the window offers (120 s). Everything
// runs at the rates of a real recording in simulated time: a replot and a frame per
// 100 ms tick (the frame limit allows one per 100 ms) and the journal's write once a
// simulated second (a real journal writes when a second has passed).
// Prints, per simulated hour, the sample time (recording tick plus its cycle's exchange)
// p50/p95/max, the replot-and-frame p95, and heap and resident memory. Not part of the
// test suite.
//   build-rel/bench_soak [hours]     (needs a display; 8 hours unless told)
#include "benchutil.h"
#include "app/framelimiter.h"
#include "app/mainwindow.h"
#include "link/tbcomport.h"
#include "settings/settingspanel.h"
#include "sim/enginemodel.h"
#include "sim/simmemory.h"
#include "sim/simprotocol.h"
#include "telemetry/chartpanel.h"
#include "telemetry/liverecorder.h"
#include "telemetry/parampanel.h"
#include "telemetry/journalkeeper.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <cstdio>
#include <limits>
#include <vector>

namespace {
using bench::heapMB;
using bench::rssMB;
using bench::stats;
using bench::Stats;

constexpr int SamplesPerHour = 36000;
// The widest page the page width stepper offers, s.
constexpr int PageSeconds = 120;
// Samples per simulated second at 100 ms.
constexpr int SamplesPerSecond = 10;
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int hours = argc > 1 ? std::max(1, atoi(argv[1])) : 8;

    QTemporaryDir settingsDir;
    QDir::setCurrent(settingsDir.path());
    TForm1 w;
    bench::showChart(w, app);
    LiveRecorder& rec = *w.Recorder;
    auto& chart = w.Panel_Parr_Max->ui;
    // The live cycle's commands go out through the exchange, to a port without a device.
    bench::optimizerRecording(w, app, PageSeconds, true);
    sim::SimMemory mem = bench::optimizerMemory();
    sim::EngineModel engine(7);
    sim::SimResponder responder(&mem);
    sim::ItemParser parser;

    // Every recorded row is announced once, after the tick wrote it (the journal appends it).
    long long announced = 0;
    QObject::connect(&rec, &LiveRecorder::sampleRecorded, &app, [&](int) { ++announced; });

    const double heap0 = heapMB(), rss0 = rssMB();
    chart.atb_Chart1_Start->click();
    // The bench runs the ticks itself, with no time passing. The recording timer stays on
    // at its interval (the exchange logs no answer while it is, and the page's width counts
    // in its intervals); its ticks are not heard.
    w.Ex->Timer_Module_Graf->blockSignals(true);
    // The frame limit counts on the wall clock, where the bench runs many samples in one
    // interval; the bench asks for the frames itself, one per sample.
    app.removeEventFilter(w.Frames);
    // The journal writes when a second of the wall clock has passed; the bench runs many
    // simulated seconds in one, so it hands the journal its write once a simulated second
    // instead, as a real recording does.
    journal::Writer& journal = rec.journal().writer();
    journal.flushIntervalMs = std::numeric_limits<int>::max();

    std::printf("%d h of recording at 100 ms, 11 series, %d s page, a replot and a frame per sample, the journal "
                "written once a second; figures per simulated hour\n",
                hours, PageSeconds);
    std::printf("hour  sample p50    p95    max ms   replot+frame p95 ms   heap +MB  resident +MB\n");
    std::vector<double> sample, replot, firstHour, lastHour;
    sample.reserve(SamplesPerHour);
    QElapsedTimer t;
    long long exchanges = 0;
    for (int i = 0; i < hours * SamplesPerHour; ++i) {
        engine.advance(0.1, mem, sim::Model::TR70, sim::Equipment{});
        t.start();
        rec.Timer_Module_GrafTimer();
        // The cycle's commands go out one tick each and are answered at once, whole.
        for (int step = 0; step < 8 && w.Ex->Timer_NeprOpros->isActive(); ++step) {
            w.Ex->transferTick(w.Ex->Timer_NeprOpros);
            QByteArray answer;
            for (const sim::CommandItem& item : parser.feed(w.BComPort1->takeWritten()))
                answer += responder.respond(item);
            if (answer.isEmpty()) continue;
            w.BComPort1->feed(answer);
            w.Ex->BComPort1RxChar(w.BComPort1->Waiting_Count());
            ++exchanges;
        }
        sample.push_back(double(t.nsecsElapsed()) / 1e6);
        if (i % SamplesPerSecond == SamplesPerSecond - 1) journal.flush();
        t.start();
        app.processEvents(); // the queued replot, as the event loop runs it between ticks
        w.repaint();         // the frame the window shows every 100 ms (painted at once)
        replot.push_back(double(t.nsecsElapsed()) / 1e6);
        if ((i + 1) % SamplesPerHour == 0) {
            const int hour = (i + 1) / SamplesPerHour;
            const Stats s = stats(sample), r = stats(replot);
            std::printf("%4d  %10.3f %6.3f %8.2f   %19.2f   %8.1f  %12.1f\n", hour, s.p50, s.p95, s.max, r.p95,
                        heapMB() - heap0, rssMB() - rss0);
            std::fflush(stdout);
            if (hour == 1) firstHour = sample;
            lastHour = sample;
            sample.clear();
            replot.clear();
        }
    }
    const int journalSamples = journal.samples();
    chart.atb_Chart1_Stop->click();
    app.processEvents();
    const int journalSyncs = journal.syncs();

    const double p95First = stats(firstHour).p95, p95Last = stats(lastHour).p95;
    const double growth = heapMB() - heap0;
    std::printf("\nrows %d (announced %lld), cycle answers %lld, tables %.1f MB, journal %d samples in %d syncs\n",
                rec.Arhiv.samples(), announced, exchanges,
                double(rec.Arhiv.bytes() + rec.Navigator.bytes()) / (1024.0 * 1024.0), journalSamples, journalSyncs);
    std::printf("last hour's p95 %.3f ms is %+.1f %% of the first hour's %.3f ms (goal: within 20 %%)\n", p95Last,
                (p95Last / p95First - 1) * 100, p95First);
    std::printf("heap grew %.1f MB, %.0f bytes a sample (goal: at most 100 MB for 8 h)\n", growth,
                growth * 1024 * 1024 / double(std::max(1, rec.Arhiv.samples())));
    return 0;
}
