// A three-hour record (108 000 samples at 100 ms) opened through the real window, then:
// the cell statistics over the whole record and over the chart's page, the cost the live
// operating point adds to a recording tick with the table panel hidden and shown (with the
// surface renders it causes), and a mouse move over Chart1 with the hover readout, timed
// up to the repainted chart. Prints figures; not part of the test suite.
//   build/bench_recordingtables [minutes]     (needs a display)
#include "benchutil.h"
#include "analysis/cellstats.h"
#include "app/mainwindow.h"
#include "app/recordingviews.h"
#include "link/exchange.h"
#include "tables/table3dpanel.h"
#include "telemetry/chartpanel.h"
#include "telemetry/chartreadout.h"
#include "telemetry/liverecorder.h"
#include "telemetry/parampanel.h"
#include "telemetry/recordfile.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QToolButton>
#include <qcustomplot.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using bench::stats;
using bench::Stats;

void print(const char* what, const std::vector<double>& ms, const char* extra = "") {
    const Stats s = stats(ms);
    std::printf("%-44s p50 %8.3f  p95 %8.3f  max %8.3f ms%s\n", what, s.p50, s.p95, s.max, extra);
}

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
    if (!bench::writeFile(name, bench::record(lines, bench::sweepLine, 5))) return 1;
    bench::answerOpen(w, name);
    chart.atb_Param_Open->click();
    chart.atb_Chart1_Stop->click();
    app.processEvents();
    chart.Chart1->repaint();
    std::printf("record: %d samples in the archive\n", rec.Arhiv.samples());

    QElapsedTimer t;
    const auto timed = bench::timedMs;

    // --- statistics ---------------------------------------------------------------------
    Table3DPanel& tables = *w.Panel_3D;
    const SampleTable& a = rec.Arhiv;
    const int n = a.samples();
    print("binning alone, whole record", timed([&] {
              const analysis::CellGrid g = analysis::binRows(
                  analysis::speedAxis(), analysis::mafVoltageAxis(), analysis::column::AI, analysis::column::L1, 1,
                  n, [&a](int row, int col) { return a.column(col).at(row - 1); });
              if (g.total() != n) std::printf("lost samples: %d of %d\n", g.total(), n);
          }, 30));
    w.atb_MAFClick();
    app.processEvents();
    tables.actCellStats->trigger();
    app.processEvents();
    print("statistics shown, whole record", timed([&] {
              w.findChild<RecordingViews*>()->showStatistics();
              tables.ui.sgrid_Table_3D->viewport()->repaint();
          }, 30));
    rec.chart().setTimeRange(50000, 50050);
    tables.actCellStatsPage->trigger();
    print("statistics shown, one page", timed([&] {
              w.findChild<RecordingViews*>()->showStatistics();
              tables.ui.sgrid_Table_3D->viewport()->repaint();
          }, 30));
    tables.actCellStats->trigger();

    // --- the live operating point per tick ----------------------------------------------
    SurfaceView* view = tables.ui.Panel_Space3D;
    int row = 1;
    auto tick = [&] {
        emit rec.sampleRecorded(row);
        row = row % n + 1;
    };
    w.atb_Parr_minClick();
    app.processEvents();
    print("operating point per tick, panel hidden", timed(tick, 2000));
    w.atb_MAFClick();
    app.processEvents();
    view->sceneImage();
    const int renders0 = view->renderCount();
    const int ticks = 200;
    const std::vector<double> shown = timed([&] {
        tick();
        view->sceneImage(); // the picture as the next paint of the view takes it
    }, ticks);
    char extra[96];
    std::snprintf(extra, sizeof extra, "; %.2f renders per tick", double(view->renderCount() - renders0) / ticks);
    print("operating point per tick, panel shown", shown, extra);
    const int renders1 = view->renderCount();
    const std::vector<double> alone = timed([&] { view->sceneImage(); }, 50);
    std::snprintf(extra, sizeof extra, " (%d renders: the picture is reused)", view->renderCount() - renders1);
    print("surface picture without a new point", alone, extra);

    // --- the hover readout ---------------------------------------------------------------
    w.atb_Parr_minClick();
    rec.chart().fitTimeAxis();
    app.processEvents();
    chart.Chart1->repaint();
    QCustomPlot* plot = chart.Chart1;
    const QRect area = plot->axisRect()->rect();
    int x = area.left();
    std::vector<double> ms;
    for (int i = 0; i < 300; ++i) {
        x = area.left() + (x - area.left() + 7) % area.width();
        const QPointF at(x, area.center().y());
        QMouseEvent e(QEvent::MouseMove, at, plot->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        t.start();
        QApplication::sendEvent(plot, &e);
        app.processEvents(); // the queued replot
        plot->repaint();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::snprintf(extra, sizeof extra, " (replot %.2f ms, %zu lines)", plot->replotTime(),
                  size_t(w.Recorder->readout()->lines().size()));
    print("mouse move with the readout, whole record", ms, extra);
    return 0;
}
