// How long a block operation, an undo and a redo on the whole Lambda table take, with the
// grid and the surface repainted before the clock stops. Prints figures; not part of the
// test suite.
//   xvfb-run -a -s "-screen 0 1920x1080x24" build-rel/bench_editing
#include "app/mainwindow.h"
#include "benchutil.h"
#include "tables/grideditor.h"
#include "tables/table3dpanel.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {
QElapsedTimer g_clock;
double msOf(const std::function<void()>& fn) {
    const qint64 t0 = g_clock.nsecsElapsed();
    fn();
    return double(g_clock.nsecsElapsed() - t0) / 1e6;
}
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QTemporaryDir settingsDir;
    QDir::setCurrent(settingsDir.path());
    TForm1 w;
    w.show();
    app.processEvents();
    g_clock.start();

    Table3DPanel* p = w.Panel_3D;
    for (int r = 1; r <= 8; ++r)
        for (int c = 1; c <= 8; ++c) p->modelGrid(TableKind::Lambda).setCell(c, r, QString::number((c * 37 + r * 11) % 199 - 99));
    w.atb_Lambda->click(); // the table panel in front, so that the repaints below draw
    app.processEvents();
    if (!p->ui.Panel_Space3D->isVisible()) std::printf("warning: the surface is not shown\n");
    QTableWidget* g = p->ui.sgrid_Table_3D;
    g->selectAll();
    GridEditor* e = p->editor();
    // Rendering both into images forces a full paint now (an upper bound: the surface's
    // frame is read back from the graphics memory as well).
    auto drawn = [&] {
        app.processEvents();
        (void)g->grab();
        (void)p->ui.Panel_Space3D->sceneImage();
    };

    const struct {
        const char* name;
        std::function<void()> step;
    } steps[] = {
        {"add 1 to the whole table", [&] { e->apply(blockops::Op::Add, 1); }},
        {"scale the whole table by 90 %", [&] { e->apply(blockops::Op::Scale, 90); }},
        {"interpolate the whole table from its corners", [&] { e->apply(blockops::Op::Interpolate2D); }},
        {"smooth the whole table", [&] { e->apply(blockops::Op::Smooth); }},
        {"undo", [&] { e->undo(); }},
        {"redo", [&] { e->redo(); }},
    };
    std::printf("%-48s %8s %8s %8s %10s   (ms: step + grid and surface rendered; the step alone)\n",
                "step", "p50", "p95", "max", "step p50");
    for (const auto& s : steps) {
        std::vector<double> t, only;
        for (int i = 0; i < 200; ++i) {
            // Undo and redo alternate with a fresh step so that there is always one to take.
            // (a set to a value that differs from the last one is always a step)
            if (std::string(s.name) == "undo") e->apply(blockops::Op::Set, i % 50), drawn();
            if (std::string(s.name) == "redo") e->apply(blockops::Op::Set, i % 50), e->undo(), drawn();
            if (std::string(s.name) == "smooth the whole table") e->apply(blockops::Op::Set, 0), g->item(3, 3)->setText(QString::number(i % 90)), drawn();
            const double own = msOf([&] { s.step(); });
            only.push_back(own);
            t.push_back(own + msOf(drawn));
        }
        const bench::Stats st = bench::stats(t);
        const bench::Stats so = bench::stats(only);
        std::printf("%-48s %8.2f %8.2f %8.2f %10.3f\n", s.name, st.p50, st.p95, st.max, so.p50);
        if (e->undoStack(int(TableKind::Lambda))->stack()->count() == 0) std::printf("warning: no step was stored\n");
    }
    return 0;
}
