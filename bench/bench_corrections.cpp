// Corrections of the MAF table from recordings of the simulated engine: per iteration
// (record one round of the tuning cycle, propose, apply) the RMS and the largest mixture
// error left in the visited cells, for a wideband sensor (as air/fuel ratio and as pump
// current) and a zirconia sensor; then the time of the proposals over a three-hour
// recording (108 000 samples) read from the archive's columns, and over a page of it.
// Prints figures; not part of the test suite.
//   build-rel/bench_corrections
#include "benchutil.h"
#include "correctionloop.h"
#include "sim/tuningcycle.h"
#include "telemetry/sampletable.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

struct Cell {
    int c, r;
};

// The cells the first recording gives a verdict on (enough samples) in the control
// unit's open-loop region, where the mixture shows the table.
std::vector<Cell> visitedCells(const analysis::CorrectionResult& r, const analysis::CorrectionSettings& s) {
    std::vector<Cell> cells;
    for (int row = 1; row <= 8; ++row)
        for (int c = 1; c <= 8; ++c) {
            const analysis::CellProposal& p = r.cell(c, row);
            if (p.samples >= s.minSamples && p.weight >= s.minWeight &&
                sim::MafBreakpoints[row - 1] >= sim::MixtureOptions{}.closedLoopBelow)
                cells.push_back({c, row});
        }
    return cells;
}

void closedLoop(const char* title, const loop::Options& o, int iterations) {
    std::printf("\n%s, hidden error ±%.0f %%, %g s per recording (%d samples):\n", title, o.errorPercent,
                sim::tuningCycleLength(o.dwell), int(std::lround(sim::tuningCycleLength(o.dwell) * 1000 / o.intervalMs)));
    loop::Engine e(o);
    const analysis::CorrectionSettings s;
    std::vector<Cell> visited;
    std::printf("  iteration  proposals  largest step  RMS error %%  largest error %%\n");
    for (int it = 0; it <= iterations; ++it) {
        e.record(sim::tuningCycleLength(o.dwell));
        const analysis::CorrectionResult r = e.propose(s);
        if (visited.empty()) visited = visitedCells(r, s);
        double sum = 0, worst = 0;
        for (const Cell& c : visited) {
            const double err = e.remainingPercent(c.c, c.r);
            sum += err * err;
            worst = std::max(worst, std::abs(err));
        }
        const int step = it < iterations ? e.apply(r) : 0;
        std::printf("  %9d  %9d  %12d  %11.2f  %15.2f\n", it, r.proposals(), step,
                    std::sqrt(sum / double(std::max<std::size_t>(visited.size(), 1))), worst);
    }
    std::printf("  visited cells (column, row):");
    for (const Cell& c : visited) std::printf(" (%d,%d) need %+.1f now %+d;", c.c, c.r, e.need(c.c, c.r), e.cell(c.c, c.r));
    std::printf("\n");
}

void timing() {
    // Three hours of the tuning cycle at 100 ms, in the archive's columns.
    SampleTable archive(12, 0);
    loop::recordInto(archive, 3 * 3600);
    const analysis::ValueOf value = [&archive](int row, int col) { return archive.column(col).at(row - 1); };

    const analysis::CorrectionSettings s;
    auto time = [&](analysis::RecordingRows rows, int repeats) {
        analysis::CorrectionInput in;
        in.rows = rows;
        std::vector<double> ms;
        int proposals = 0;
        for (int i = 0; i < repeats; ++i) {
            const double t0 = bench::cpuMs();
            proposals = analysis::proposeCorrections(in, s, {}, value).proposals();
            ms.push_back(bench::cpuMs() - t0);
        }
        const bench::Stats st = bench::stats(ms);
        std::printf("  rows %6d..%-6d  p50 %7.2f ms  max %7.2f ms  (%d proposals)\n", rows.first, rows.last, st.p50,
                    st.max, proposals);
    };
    std::printf("\nproposals over a recording of %d samples (CPU time, %d runs):\n", archive.samples(), 21);
    time(analysis::RecordingRows::whole(archive.samples()), 21);
    std::printf("over one page of 300 samples in its middle:\n");
    const int n = archive.samples();
    time(analysis::RecordingRows::page(n, n / 2, n / 2 + 299), 201);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    loop::Options wideband;
    closedLoop("wideband sensor 1, air/fuel ratio", wideband, 4);
    loop::Options current = wideband;
    current.pumpCurrent = true;
    current.seed = 2;
    closedLoop("wideband sensor 1, pump current", current, 4);
    // What a window test sees of a demo engine running four times as fast as the clock,
    // recording at 100 ms: one sample per 0,4 s of engine time.
    loop::Options fast = wideband;
    fast.intervalMs = 400;
    closedLoop("wideband sensor 1, a sample per 0,4 s of engine time", fast, 4);
    loop::Options zirconia;
    zirconia.wideband = false;
    zirconia.errorPercent = 8;
    zirconia.seed = 3;
    closedLoop("zirconia sensor 1", zirconia, 9);
    timing();
    return 0;
}
