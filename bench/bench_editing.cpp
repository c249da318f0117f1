// How long a block operation, an undo and a redo on the whole Lambda table take, with the
// grid and the surface repainted before the clock stops. Prints figures; not part of the
// test suite.
//   xvfb-run -a -s "-screen 0 1920x1080x24" build-rel/bench_editing
#include "app/mainwindow.h"
#include "benchutil.h"
#include "tables/table3dpanel.h"
#include "tables/tableeditor.h"

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
    p->btn_Lambda();
    QTableWidget* g = p->ui.sgrid_Table_3D;
    g->selectAll();
    TableEditor* e = p->editor();
    auto drawn = [&] {
        g->viewport()->repaint();
        p->ui.Panel_Space3D->repaint();
        app.processEvents();
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
    std::printf("%-48s %8s %8s %8s   (ms, step + grid + surface repainted)\n", "step", "p50", "p95", "max");
    for (const auto& s : steps) {
        std::vector<double> t;
        for (int i = 0; i < 200; ++i) {
            // Undo and redo alternate with a fresh step so that there is always one to take.
            if (std::string(s.name) == "undo") e->apply(blockops::Op::Add, 1), drawn();
            if (std::string(s.name) == "redo") e->apply(blockops::Op::Add, 1), e->undo(), drawn();
            t.push_back(msOf([&] {
                s.step();
                drawn();
            }));
        }
        const bench::Stats st = bench::stats(t);
        std::printf("%-48s %8.2f %8.2f %8.2f\n", s.name, st.p50, st.p95, st.max);
    }
    return 0;
}
