// A three-hour record (108 000 lines at 100 ms) opened through the real window: the time
// and memory to read it into the archive, Chart1 and the navigator table (the queued
// replot included), the time until the overview strip shows it, and the time each
// navigation control takes up to the repainted chart and strip. Prints figures; not part
// of the test suite.
//   build/bench_records [minutes]     (needs a display)
#include "benchutil.h"
#include "app/mainwindow.h"
#include "link/exchange.h"
#include "telemetry/chartnavigator.h"
#include "telemetry/chartpanel.h"
#include "telemetry/liverecorder.h"
#include "telemetry/parampanel.h"
#include "telemetry/recordfile.h"
#include "telemetry/recordfiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QMouseEvent>
#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <malloc.h>
#include <vector>

namespace {

using bench::heapMB;
using bench::rssMB;
using bench::stats;
using bench::Stats;

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int minutes = argc > 1 ? std::max(1, atoi(argv[1])) : 180;
    const int lines = minutes * 600;

    TForm1 w;
    bench::browseAt100ms(w, app);
    auto& chart = w.Panel_Parr_Max->ui;
    LiveRecorder& rec = *w.Recorder;

    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("drive_data.txt"));
    if (!bench::writeFile(name, bench::record(lines, bench::driveLine, 3))) return 1;
    std::printf("record: %d lines, %.1f MB\n", lines, double(QFileInfo(name).size()) / (1024.0 * 1024.0));
    bench::answerOpen(w, name);

    QElapsedTimer t;
    auto paint = [&] { bench::paintChart(w, app); };
    malloc_trim(0);
    const double heap0 = heapMB(), rss0 = rssMB();
    t.start();
    chart.atb_Param_Open->click();
    const double loaded = double(t.nsecsElapsed()) / 1e6;
    paint(); // the queued replot and the repaint
    const double opened = double(t.nsecsElapsed()) / 1e6;
    const double heapOpen = heapMB() - heap0, rssOpen = rssMB() - rss0;
    std::printf("open: read and load %.0f ms, with the first replot %.0f ms; heap +%.1f MB, resident +%.1f MB"
                " (tables %.1f MB)\n",
                loaded, opened, heapOpen, rssOpen, double(rec.Arhiv.bytes() + rec.Navigator.bytes()) / (1024.0 * 1024.0));

    chart.atb_Chart1_Stop->click();
    app.processEvents();
    t.start();
    chart.atb_Show_Navigator->click();
    paint();
    std::printf("navigator shown (click, strip and chart repainted): %.1f ms; strip points %d\n",
                double(t.nsecsElapsed()) / 1e6, chart.DBChart_Navigator_Bottom->graph(1)->dataCount());

    // Each control pressed many times, timed up to the repainted chart and strip.
    auto press = [&](const char* what, const std::function<void()>& act, int times) {
        std::vector<double> ms;
        for (int i = 0; i < times; ++i) {
            t.start();
            act();
            paint();
            ms.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        const Stats s = stats(ms);
        std::printf("%-34s p50 %6.2f  p95 %6.2f  max %6.2f ms (drawing the chart %.2f ms)\n", what, s.p50, s.p95,
                    s.max, chart.Chart1->replotTime());
    };
    ChartNavigator& nav = rec.navigator();
    press("Btn_toBegin", [&] { chart.Btn_toBegin->click(); }, 50);
    press("Btn_Page_toRight", [&] { chart.Btn_Page_toRight->click(); }, 200);
    press("Btn_Step_toRight", [&] { chart.Btn_Step_toRight->click(); }, 200);
    press("Btn_Step_toLeft", [&] { chart.Btn_Step_toLeft->click(); }, 200);
    press("Btn_Page_toLeft", [&] { chart.Btn_Page_toLeft->click(); }, 200);
    press("Btn_toEnd", [&] { chart.Btn_toEnd->click(); }, 50);
    int x = 0;
    const int width = chart.DBChart_Navigator_Bottom->width();
    press("click on the strip", [&] { nav.stripPressed((x += 37) % width); }, 200);
    {
        // A right drag across the strip: press, 100 moves, release.
        auto mouse = [&](QEvent::Type type, int x, Qt::MouseButton button, Qt::MouseButtons buttons) {
            const QPointF at(x, 30);
            QMouseEvent e(type, at, chart.Blue_Line->mapToGlobal(at), button, buttons, Qt::NoModifier);
            QApplication::sendEvent(chart.Blue_Line, &e);
        };
        mouse(QEvent::MouseButtonPress, 5, Qt::RightButton, Qt::RightButton);
        std::vector<double> ms;
        for (int i = 0; i < 100; ++i) {
            t.start();
            mouse(QEvent::MouseMove, 12, Qt::NoButton, Qt::RightButton);
            paint();
            ms.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        t.start();
        mouse(QEvent::MouseButtonRelease, 5, Qt::RightButton, Qt::NoButton);
        paint();
        const Stats s = stats(ms);
        std::printf("%-34s p50 %6.2f  p95 %6.2f  max %6.2f ms; release %.2f ms\n", "right drag, per move", s.p50,
                    s.p95, s.max, double(t.nsecsElapsed()) / 1e6);
    }
    std::printf("window at %d, page %.1f..%.1f\n", nav.windowLeft(), rec.Page_Begin, rec.Page_End);
    return 0;
}
