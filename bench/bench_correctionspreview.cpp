// The corrections' preview on the table grid: a setting changed in fmSuggest computes the
// proposals of a three-hour recording (108 000 samples of the tuning cycle) again and
// repaints the grid, which must fit in one frame (16,7 ms). Wall time of the whole step,
// the recomputation and the grid's synchronous repaint, on an off-screen window.
// Prints figures; not part of the test suite.
//   QT_QPA_PLATFORM=offscreen build-rel/bench_correctionspreview
#include "benchutil.h"
#include "correctionloop.h"
#include "tables/correctionscontroller.h"
#include "tables/table3dpanel.h"
#include "telemetry/sampletable.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTableWidget>

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SampleTable archive(12, 0);
    loop::recordInto(archive, 3 * 3600);

    Table3DPanel panel;
    panel.resize(1400, 700);
    panel.show();
    panel.btn_MAF();
    CorrectionsController c(&panel);
    c.source = [&archive](bool) {
        CorrectionSource s;
        s.value = [&archive](int row, int col) { return archive.column(col).at(row - 1); };
        s.rows = analysis::RecordingRows::whole(archive.samples());
        return s;
    };
    c.moduleId = [] { return QStringLiteral("TR-70A03"); };
    c.startPreview();
    app.processEvents();

    QTableWidget* grid = panel.ui.sgrid_Table_3D;
    analysis::CorrectionSettings s = c.contents().settings;
    std::vector<double> whole, compute, paint;
    for (int i = 0; i < 31; ++i) {
        s.gain = i % 2 ? 1.2 : 1.3;
        QElapsedTimer t;
        t.start();
        c.setSettings(s); // computes and asks for a repaint
        const double computed = double(t.nsecsElapsed()) / 1e6;
        grid->viewport()->repaint();
        const double all = double(t.nsecsElapsed()) / 1e6;
        whole.push_back(all);
        compute.push_back(computed);
        paint.push_back(all - computed);
    }
    const bench::Stats w = bench::stats(whole), k = bench::stats(compute), p = bench::stats(paint);
    std::printf("preview after a setting change, %d samples, %d proposals (wall time, %zu runs):\n", archive.samples(),
                c.result().proposals(), whole.size());
    std::printf("  recompute        p50 %7.2f ms  max %7.2f ms\n", k.p50, k.max);
    std::printf("  grid repaint     p50 %7.2f ms  max %7.2f ms\n", p.p50, p.max);
    std::printf("  both             p50 %7.2f ms  max %7.2f ms  (one frame: 16,7 ms)\n", w.p50, w.max);
    return 0;
}
