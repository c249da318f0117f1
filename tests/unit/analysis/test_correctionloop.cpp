// The corrections tune the simulated engine's MAF table in closed loop: record a round of
// the tuning cycle, propose, apply, repeat. Every visited cell of the open-loop region comes
// within ±2 % of the engine's need in at most three recordings with a wideband sensor, ±3 %
// in at most eight with a zirconia sensor; no step goes beyond the limit, locked cells stay
// as they were, and a tuned table gets no proposals.
#include "correctionloop.h"
#include "sim/tuningcycle.h"

#include <QtTest>

#include <vector>

using namespace analysis;

namespace {

struct Cell {
    int c, r;
};

// The cells the first recording gives a verdict on in the control unit's open-loop region.
std::vector<Cell> visitedCells(const CorrectionResult& r, const CorrectionSettings& s) {
    std::vector<Cell> cells;
    for (int row = 1; row <= Side; ++row)
        for (int c = 1; c <= Side; ++c) {
            const CellProposal& p = r.cell(c, row);
            if (p.samples >= s.minSamples && p.weight >= s.minWeight &&
                sim::MafBreakpoints[row - 1] >= sim::MixtureOptions{}.closedLoopBelow)
                cells.push_back({c, row});
        }
    return cells;
}

QString describe(loop::Engine& e, const std::vector<Cell>& cells) {
    QStringList parts;
    for (const Cell& c : cells)
        parts << QStringLiteral("(%1,%2) need %3 has %4 error %5 %")
                     .arg(c.c)
                     .arg(c.r)
                     .arg(e.need(c.c, c.r), 0, 'f', 1)
                     .arg(e.cell(c.c, c.r))
                     .arg(e.remainingPercent(c.c, c.r), 0, 'f', 2);
    return parts.join(QStringLiteral("; "));
}

} // namespace

class TestCorrectionLoop : public QObject {
    Q_OBJECT

private slots:
    void converges_data() {
        QTest::addColumn<bool>("wideband");
        QTest::addColumn<bool>("current");
        QTest::addColumn<double>("errorPercent");
        QTest::addColumn<uint>("seed");
        QTest::addColumn<int>("iterations");
        QTest::addColumn<double>("tolerance");
        QTest::newRow("wideband AFR") << true << false << 15.0 << 1u << 3 << 2.0;
        QTest::newRow("wideband AFR, other cells") << true << false << 15.0 << 4u << 3 << 2.0;
        QTest::newRow("wideband current") << true << true << 15.0 << 2u << 3 << 2.0;
        // Eight nudges of at most 2 units reach 16 units: the zirconia engine starts within
        // that reach (8 % is 14 units at 3,8 V).
        QTest::newRow("zirconia") << false << false << 8.0 << 3u << 8 << 3.0;
        QTest::newRow("zirconia, other cells") << false << false << 8.0 << 5u << 8 << 3.0;
    }
    void converges() {
        QFETCH(bool, wideband);
        QFETCH(bool, current);
        QFETCH(double, errorPercent);
        QFETCH(uint, seed);
        QFETCH(int, iterations);
        QFETCH(double, tolerance);
        loop::Options o;
        o.wideband = wideband;
        o.pumpCurrent = current;
        o.errorPercent = errorPercent;
        o.seed = seed;
        loop::Engine e(o);
        const double round = sim::tuningCycleLength(o.dwell);
        const CorrectionSettings s;

        e.record(round);
        CorrectionResult r = e.propose(s);
        // The round's overrun and the sensor's warm-up are filtered out.
        QVERIFY(r.rejectedBy(Filter::WarmUp) > 0);
        QVERIFY(r.rejectedBy(Filter::FuelCut) > 0);
        std::vector<Cell> visited = visitedCells(r, s);
        QVERIFY2(visited.size() >= 5, qPrintable(describe(e, visited)));
        // Every proposal of the first recording points towards the engine's need.
        for (const Cell& c : visited) {
            const double gap = e.need(c.c, c.r) - e.cell(c.c, c.r);
            const int change = r.cell(c.c, c.r).change;
            if (std::abs(gap) > 3) QVERIFY2(change * gap > 0, qPrintable(describe(e, visited)));
        }
        // One visited cell is locked: it keeps its value, and the others converge without it.
        const Cell lockedCell = visited[1];
        visited.erase(visited.begin() + 1);
        CellMask locked;
        locked.set(std::size_t(cellIndex(lockedCell.c, lockedCell.r)));
        const int lockedValue = e.cell(lockedCell.c, lockedCell.r);
        r = e.propose(s, locked);

        const int largestStep = wideband ? s.limit : ZirconiaMaxNudge;
        for (int it = 1; it <= iterations; ++it) {
            QVERIFY(e.apply(r) <= largestStep);
            QCOMPARE(e.cell(lockedCell.c, lockedCell.r), lockedValue);
            e.record(round);
            r = e.propose(s, locked);
            QCOMPARE(r.cell(lockedCell.c, lockedCell.r).reason, NoProposal::Locked);
        }
        for (const Cell& c : visited)
            QVERIFY2(std::abs(e.remainingPercent(c.c, c.r)) <= tolerance, qPrintable(describe(e, visited)));
    }

    // A table at the engine's need (as near as whole units come) gets no proposals.
    void tunedTable_data() {
        QTest::addColumn<bool>("wideband");
        QTest::addColumn<uint>("seed");
        QTest::newRow("wideband") << true << 1u;
        QTest::newRow("wideband, other cells") << true << 4u;
        QTest::newRow("zirconia") << false << 3u;
    }
    void tunedTable() {
        QFETCH(bool, wideband);
        QFETCH(uint, seed);
        loop::Options o;
        o.wideband = wideband;
        o.seed = seed;
        loop::Engine e(o);
        e.setTable([&e](int c, int r) {
            const double n = e.need(c, r);
            return std::isnan(n) ? 0 : int(std::lround(n));
        });
        e.record(sim::tuningCycleLength(o.dwell));
        const CorrectionResult r = e.propose(CorrectionSettings{});
        QString proposed;
        for (int row = 1; row <= Side; ++row)
            for (int c = 1; c <= Side; ++c)
                if (r.cell(c, row).proposed())
                    proposed += QStringLiteral(" (%1,%2) %3").arg(c).arg(row).arg(r.cell(c, row).change);
        QVERIFY2(proposed.isEmpty(), qPrintable(proposed));
        QVERIFY(visitedCells(r, CorrectionSettings{}).size() >= 5);
    }
};

QTEST_GUILESS_MAIN(TestCorrectionLoop)
#include "test_correctionloop.moc"
