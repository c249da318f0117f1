#pragma once
// What the benchmarks measure with: heap and resident memory, thread CPU time, and the
// percentiles of a series of timings; and the set-up of the benches that drive the window.
#include "app/mainwindow.h"
#include "link/exchange.h"
#include "link/tbcomport.h"
#include "settings/settingspanel.h"
#include "sim/simmemory.h"
#include "telemetry/chartpanel.h"
#include "telemetry/parampanel.h"
#include "telemetry/recordfile.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QToolButton>
#include <qcustomplot.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>
#include <malloc.h>
#include <optional>
#include <vector>

namespace bench {

// Bytes in use from malloc: the arenas' chunks and the blocks too large for an arena, which
// malloc maps on their own (a column of a long recording is one such block until it is
// reallocated into an arena).
inline double heapMB() {
    const struct mallinfo2 m = mallinfo2();
    return double(m.uordblks + m.hblkhd) / (1024.0 * 1024.0);
}

inline double rssMB() {
    FILE* f = std::fopen("/proc/self/statm", "r");
    long pages = 0, resident = 0;
    if (f) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return double(resident) * 4096.0 / (1024.0 * 1024.0);
}

// CPU time of the calling thread: what the work costs, without the waits for a core that
// other programs on the machine cause.
inline double cpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

struct Stats {
    double p50, p95, p99, max;
};

inline Stats stats(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    auto at = [&](double q) { return v[std::min(v.size() - 1, std::size_t(q * double(v.size())))]; };
    return {at(0.5), at(0.95), at(0.99), v.back()};
}

} // namespace bench

// --- the window and its recordings -------------------------------------------------
// What the benches that drive the real window share: its size and the chart in front,
// the eleven series, a TR-70 recording in the optimizer mode, and record files of a
// drive to open through the chart's open button.

namespace bench {

// The window at 1600 x 1000 with the chart in front, shown and laid out.
inline void showChart(TForm1& w, QApplication& app) {
    w.resize(1600, 1000);
    w.show();
    w.atb_Parr_minClick();
    app.processEvents();
}

// Every one of the eleven series on the chart.
inline void showAllSeries(TForm1& w) {
    for (int s = 0; s < 11; ++s) w.Panel_Parr_Parr_Max->seriesRow(s).check->click();
}

// The chart as a record file is browsed: the window shown, every series, the recording
// interval at 100 ms (a record's interval: a page is 50 samples).
inline void browseAt100ms(TForm1& w, QApplication& app) {
    showChart(w, app);
    showAllSeries(w);
    w.Ex->Timer_Module_Graf->setInterval(100);
    app.processEvents();
}

// A TR-70 in the optimizer mode with two zirconia sensors on the displacement method,
// unblocked, every series on the chart, recording at 100 ms on pages of pageSeconds. With
// detachedPort the port counts as open without a device, so that the exchange writes the
// live cycle's commands.
inline void optimizerRecording(TForm1& w, QApplication& app, int pageSeconds, bool detachedPort) {
    w.Ctx.module.Ed_Type_Datchik_1_RU = w.Ctx.module.Ed_Type_Datchik_2_RU = QStringLiteral("Циркониевый");
    w.Ctx.module.K_RashTopl = sim::FuelCalibrationValue;
    w.Panel_Sett_Max->ui.AdvTBtn_Opt->setChecked(true);
    w.Panel_Sett_Max->ui.atb_LAMBDA_Way_Displacement->setChecked(true);
    if (detachedPort) w.BComPort1->openDetached();
    w.Btn_UnBlockClick();
    showAllSeries(w);
    w.cb_Int_Graf_In->setCurrentIndex(0); // 100 ms
    auto& chart = w.Panel_Parr_Max->ui;
    chart.atb_Type_Graf_Page->click();
    chart.Edit_Width_Page_Graf->setText(QString::number(pageSeconds));
    app.processEvents();
}

// The memory of that module: a TR-70 on the displacement method.
inline sim::SimMemory optimizerMemory() {
    sim::SimMemory mem = sim::initialMemory(sim::Model::TR70, sim::Equipment{});
    mem.regs[sim::reg::Flags] |= sim::reg::FlagsOffsetWay;
    return mem;
}

using RecordLine = std::array<double, recordfile::Fields>;

// A drive with idle, acceleration and cruise: every parameter moves, as in a real record.
inline RecordLine driveLine(int i, QRandomGenerator& rng) {
    const double t = i * 0.1;
    const double load = 0.5 + 0.5 * std::sin(t / 40.0) * std::sin(t / 7.0);
    const double noise = rng.bounded(100) / 1000.0;
    return {t,
            2.5 + 6 * load + noise,               // SP, ms
            0.8 + 14 * load + noise,              // STR, l/h
            1.0 + 3 * load,                       // AI, V
            800 + 4200 * load + 50 * noise,       // TP, rpm
            1500 + 6000 * load,                   // SD, Hz
            0.45 + 0.4 * std::sin(t * 3) + noise, // L1, V
            0.45 + 0.4 * std::cos(t * 3),         // L2
            0.5 + 0.3 * std::sin(t),              // U1do
            0.6 + 0.3 * std::sin(t),              // U1posle
            0.5 + 0.3 * std::cos(t),              // U2do
            0.6 + 0.3 * std::cos(t)};             // U2posle
}

// A drive whose speed and load sweep the whole table.
inline RecordLine sweepLine(int i, QRandomGenerator& rng) {
    const double t = i * 0.1;
    const double load = 0.5 + 0.5 * std::sin(t / 40.0) * std::sin(t / 7.0);
    const double noise = rng.bounded(100) / 1000.0;
    return {t,
            1.5 + 6 * load + noise,                 // SP, ms
            0.8 + 14 * load + noise,                // STR, l/h
            4.6 * load,                             // AI, V
            700 + 9000 * load * load + 50 * noise,  // TP, rpm
            1500 + 6000 * load,                     // SD, Hz
            0.45 + 0.4 * std::sin(t * 3) + noise,   // L1, V
            0.45 + 0.4 * std::cos(t * 3),           // L2
            0.5 + 0.3 * std::sin(t), 0.6 + 0.3 * std::sin(t), 0.5 + 0.3 * std::cos(t), 0.6 + 0.3 * std::cos(t)};
}

// A record file's text of `lines` lines at 100 ms, the noise drawn from `seed`.
inline QByteArray record(int lines, RecordLine (*line)(int, QRandomGenerator&), quint32 seed) {
    QByteArray out;
    QRandomGenerator rng(seed);
    for (int i = 0; i < lines; ++i) out += recordfile::encodeLine(line(i, rng));
    return out;
}

// Writes a file whole; false when it cannot be written.
inline bool writeFile(const QString& name, const QByteArray& bytes) {
    QFile f(name);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The window's open dialogs answer `name`, and its errors are printed.
inline void answerOpen(TForm1& w, const QString& name) {
    w.Ctx.openFileName = [name](const QString&, const QString&, std::optional<TableKind>) { return name; };
    w.Ctx.error = [](const QString& text) { std::printf("error: %s\n", qPrintable(text)); };
}

// Runs what is queued (the chart's replot), then paints the chart and its overview strip
// at once: the window's frame limit would otherwise leave the pixels out of a timing.
inline void paintChart(TForm1& w, QApplication& app) {
    app.processEvents();
    w.Panel_Parr_Max->ui.Chart1->repaint();
    w.Panel_Parr_Max->ui.DBChart_Navigator_Bottom->repaint();
}

// f run `times` times, each timed on the wall clock, ms.
inline std::vector<double> timedMs(const std::function<void()>& f, int times) {
    std::vector<double> ms;
    QElapsedTimer t;
    for (int i = 0; i < times; ++i) {
        t.start();
        f();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    return ms;
}

} // namespace bench
