// Corrections of the MAF table from a recording: the sign, the delay shift, each filter, the
// bilinear weights, the minimum-samples gate, limit and deadband, locks, zirconia nudges,
// determinism, the tool tips.
#include "analysis/corrections.h"
#include "common/lambdascale.h"

#include <QLocale>
#include <QtTest>

#include <cstring>
#include <functional>
#include <vector>

using namespace analysis;

namespace {

// A recording in the archive's columns, rows 1-based.
struct Rec {
    std::vector<double> sp, tp, ai, l1;
    void add(double rpm, double volts, double reading, double injection = 3.0) {
        tp.push_back(rpm);
        ai.push_back(volts);
        l1.push_back(reading);
        sp.push_back(injection);
    }
    void repeat(int n, double rpm, double volts, double reading) {
        for (int i = 0; i < n; ++i) add(rpm, volts, reading);
    }
    int size() const { return int(tp.size()); }
    ValueOf value() const {
        return [this](int row, int col) {
            const std::size_t i = std::size_t(row - 1);
            switch (col) {
            case column::SP: return sp.at(i);
            case column::TP: return tp.at(i);
            case column::AI: return ai.at(i);
            case column::L1: return l1.at(i);
            }
            return 0.0;
        };
    }
};

// Settings with every filter out of the way, so that a test sees only what it turns on.
CorrectionSettings quiet() {
    CorrectionSettings s;
    s.warmUpS = 0;
    s.delayMs = 0;
    s.transientRpmPerS = 1e9;
    s.transientLoadPercentPerS = 1e9;
    s.transientHoldS = 0;
    s.fuelCutHoldS = 0;
    s.stuckSamples = 1000000;
    s.minSamples = 1;
    s.minWeight = 0;
    return s;
}

CorrectionResult propose(const Rec& rec, const CorrectionSettings& s, SensorKind sensor = SensorKind::WidebandAfr,
                         const CellMask& locked = {}, double intervalMs = 100) {
    CorrectionInput in;
    in.sensor = sensor;
    in.intervalMs = intervalMs;
    in.rows = RecordingRows::whole(rec.size());
    return proposeCorrections(in, s, locked, rec.value());
}

// Alternates two readings a little apart, so that a steady reading never looks stuck.
double wobble(double v, int i, double step = 0.1) {
    return i % 2 ? v + step : v - step;
}

using Edit = std::function<void(Rec&, CorrectionSettings&)>;

} // namespace

Q_DECLARE_METATYPE(analysis::SensorKind)
Q_DECLARE_METATYPE(Edit)

class TestCorrections : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    // A lean cell needs a positive change (more signal, more fuel), a rich one a negative.
    void sign_data() {
        QTest::addColumn<SensorKind>("sensor");
        QTest::addColumn<double>("reading");
        QTest::addColumn<int>("change");
        const auto current = [](double afr) { return std::trunc(lambdascale::pumpCurrentFromAfr(afr) * 100) / 100; };
        QTest::newRow("lean AFR") << SensorKind::WidebandAfr << 16.0 << 10;
        QTest::newRow("rich AFR") << SensorKind::WidebandAfr << 13.0 << -10;
        QTest::newRow("slightly lean AFR") << SensorKind::WidebandAfr << 14.9 << 3;
        QTest::newRow("lean current") << SensorKind::WidebandCurrent << current(17.0) << 10;
        QTest::newRow("rich current") << SensorKind::WidebandCurrent << current(13.0) << -10;
        QTest::newRow("slightly rich current") << SensorKind::WidebandCurrent << current(14.2) << -3;
        QTest::newRow("lean zirconia") << SensorKind::Zirconia << 0.1 << 2;
        QTest::newRow("rich zirconia") << SensorKind::Zirconia << 0.8 << -2;
    }
    void sign() {
        QFETCH(SensorKind, sensor);
        QFETCH(double, reading);
        QFETCH(int, change);
        Rec rec;
        rec.repeat(100, 1600, 2.5, reading);
        const CorrectionResult r = propose(rec, quiet(), sensor);
        const CellProposal& cell = r.cell(5, 5);
        QVERIFY(cell.proposed());
        QCOMPARE(cell.change, change);
        QCOMPARE(r.proposals(), 1);
    }

    // The reading of a sample comes one delay later: with the delay the sensor really has,
    // a cell at its target reads exactly its target although the next cell is lean.
    void delayShift_data() {
        QTest::addColumn<int>("delayMs");
        QTest::addColumn<double>("intervalMs");
        QTest::addColumn<int>("delaySamples");
        QTest::addColumn<bool>("matches");
        QTest::newRow("300 ms") << 300 << 100.0 << 3 << true;
        QTest::newRow("none") << 0 << 100.0 << 0 << false;
        QTest::newRow("250 ms rounds up") << 250 << 100.0 << 3 << true;
        QTest::newRow("340 ms rounds down") << 340 << 100.0 << 3 << true;
        QTest::newRow("360 ms is too long") << 360 << 100.0 << 4 << false;
        QTest::newRow("600 ms at 200 ms") << 600 << 200.0 << 3 << true;
        QTest::newRow("300 ms at 200 ms") << 300 << 200.0 << 2 << false;
    }
    void delayShift() {
        QFETCH(int, delayMs);
        QFETCH(double, intervalMs);
        QFETCH(int, delaySamples);
        QFETCH(bool, matches);
        constexpr int late = 3; // the sensor's delay in samples
        Rec rec;
        std::vector<bool> atB;
        for (int block = 0; block < 4; ++block)
            for (int i = 0; i < 60; ++i) atB.push_back(block % 2 == 1);
        for (std::size_t i = 0; i < atB.size(); ++i) {
            const bool sourceB = i >= late && atB[i - late];
            rec.add(atB[i] ? 2400 : 1600, 2.5, sourceB ? 16.0 : 14.5);
        }
        CorrectionSettings s = quiet();
        s.delayMs = delayMs;
        s.deadband = 0;
        s.gain = 10; // a few stray lean readings among 120 show as a change
        s.limit = TableLimit;
        const CorrectionResult r = propose(rec, s, SensorKind::WidebandAfr, {}, intervalMs);
        QCOMPARE(r.delaySamples, delaySamples);
        QCOMPARE(r.paired, rec.size() - delaySamples);
        const CellProposal& a = r.cell(5, 5);
        const CellProposal& b = r.cell(6, 5);
        QCOMPARE(a.errorPercent == 0, matches);
        QCOMPARE(a.reason == NoProposal::WithinDeadband, matches);
        QCOMPARE(a.change > 0, !matches);
        if (matches) QCOMPARE(b.meanAfr, 16.0);
        QVERIFY(b.change > 0);
    }

    // A page of the recording takes the readings of its last samples from the rows after
    // it, and the warm-up counts from the recording's start, not the page's.
    void pageRows() {
        Rec rec;
        for (int i = 0; i < 200; ++i) rec.add(1600, 2.5, i < 100 ? 14.5 : 16.0);
        CorrectionSettings s = quiet();
        s.delayMs = 500;
        s.warmUpS = 3;
        CorrectionInput in;
        in.rows = RecordingRows::page(rec.size(), 51, 100);
        const CorrectionResult page = proposeCorrections(in, s, {}, rec.value());
        QCOMPARE(page.paired, 50);
        QCOMPARE(page.rejectedBy(Filter::WarmUp), 0);
        QCOMPARE(page.cell(5, 5).samples, 50);
        QVERIFY(page.cell(5, 5).meanAfr > 14.5); // rows 96..100 read rows 101..105
        in.rows = {1, 1, 100, 100};
        const CorrectionResult cut = proposeCorrections(in, s, {}, rec.value());
        QCOMPARE(cut.paired, 95);
        QCOMPARE(cut.rejectedBy(Filter::WarmUp), 25); // readings of rows 6..30
        QCOMPARE(cut.cell(5, 5).meanAfr, 14.5);
    }

    // Each filter on a steady recording of 300 samples at one cell, 100 ms apart.
    void filters_data() {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<int>("filter");
        QTest::addColumn<int>("rejected");
        const auto f = [](Filter x) { return int(x); };
        QTest::newRow("warm-up 2 s") << Edit([](Rec&, CorrectionSettings& s) { s.warmUpS = 2; }) << f(Filter::WarmUp) << 20;
        QTest::newRow("warm-up counts readings") << Edit([](Rec&, CorrectionSettings& s) {
            s.warmUpS = 2;
            s.delayMs = 500;
        }) << f(Filter::WarmUp) << 15;
        QTest::newRow("fuel cut") << Edit([](Rec& r, CorrectionSettings&) {
            for (int i = 100; i < 105; ++i) r.sp[std::size_t(i)] = 0;
        }) << f(Filter::FuelCut) << 5;
        QTest::newRow("fuel cut and its hold-off") << Edit([](Rec& r, CorrectionSettings& s) {
            for (int i = 100; i < 105; ++i) r.sp[std::size_t(i)] = 0.2;
            s.fuelCutHoldS = 1;
        }) << f(Filter::FuelCut) << 15;
        QTest::newRow("short injection is no cut") << Edit([](Rec& r, CorrectionSettings&) {
            for (int i = 100; i < 105; ++i) r.sp[std::size_t(i)] = 0.5;
        }) << f(Filter::FuelCut) << 0;
        QTest::newRow("speed step and hold-off") << Edit([](Rec& r, CorrectionSettings& s) {
            for (int i = 150; i < r.size(); ++i) r.tp[std::size_t(i)] = 2400;
            s.transientRpmPerS = 1500;
            s.transientHoldS = 1;
        }) << f(Filter::Transient) << 11;
        QTest::newRow("speed step across the delay window") << Edit([](Rec& r, CorrectionSettings& s) {
            for (int i = 150; i < r.size(); ++i) r.tp[std::size_t(i)] = 2400;
            s.transientRpmPerS = 1500;
            s.delayMs = 300;
        }) << f(Filter::Transient) << 4;
        QTest::newRow("load step") << Edit([](Rec& r, CorrectionSettings& s) {
            for (int i = 150; i < r.size(); ++i) r.ai[std::size_t(i)] = 3.2;
            s.transientLoadPercentPerS = 20;
        }) << f(Filter::Transient) << 1;
        QTest::newRow("slow drift") << Edit([](Rec& r, CorrectionSettings& s) {
            for (int i = 0; i < r.size(); ++i) r.tp[std::size_t(i)] = 1600 + 10 * i;
            for (int i = 0; i < r.size(); ++i) r.ai[std::size_t(i)] = 2.5 + 0.002 * i;
            s.transientRpmPerS = 1500;
            s.transientLoadPercentPerS = 20;
            s.transientHoldS = 1;
        }) << f(Filter::Transient) << 0;
        QTest::newRow("implausible") << Edit([](Rec& r, CorrectionSettings&) {
            r.l1[200] = 25;
            r.l1[201] = 9.9;
            r.l1[202] = std::nan("");
            r.l1[203] = 20; // the limits themselves are plausible
        }) << f(Filter::Implausible) << 3;
        QTest::newRow("stuck") << Edit([](Rec& r, CorrectionSettings& s) {
            for (int i = 50; i < 90; ++i) r.l1[std::size_t(i)] = 14.5;
            s.stuckSamples = 30;
        }) << f(Filter::Stuck) << 40;
        QTest::newRow("almost stuck") << Edit([](Rec& r, CorrectionSettings& s) {
            for (int i = 50; i < 79; ++i) r.l1[std::size_t(i)] = 14.5;
            s.stuckSamples = 30;
        }) << f(Filter::Stuck) << 0;
        QTest::newRow("too far out") << Edit([](Rec& r, CorrectionSettings&) {
            for (int i = 200; i < 210; ++i) r.tp[std::size_t(i)] = 15300;
            r.ai[220] = 5.1;
            r.tp[221] = std::nan("");
        }) << f(Filter::OutsideTable) << 12;
        QTest::newRow("near enough for the edge") << Edit([](Rec& r, CorrectionSettings&) {
            for (int i = 200; i < 210; ++i) r.tp[std::size_t(i)] = 15100;
            r.ai[220] = 4.95;
            r.tp[221] = 570;
        }) << f(Filter::OutsideTable) << 0;
        QTest::newRow("first filter counts") << Edit([](Rec& r, CorrectionSettings& s) {
            s.warmUpS = 2;
            for (int i = 0; i < 10; ++i) r.sp[std::size_t(i)] = 0;
        }) << f(Filter::FuelCut) << 0;
    }
    void filters() {
        QFETCH(Edit, edit);
        QFETCH(int, filter);
        QFETCH(int, rejected);
        Rec rec;
        for (int i = 0; i < 300; ++i) rec.add(1600, 2.5, wobble(14.5, i));
        CorrectionSettings s = quiet();
        edit(rec, s);
        const CorrectionResult r = propose(rec, s);
        QCOMPARE(r.rejected[std::size_t(filter)], rejected);
        int all = 0;
        for (int n : r.rejected) all += n;
        QCOMPARE(r.used + all, r.paired);
    }

    // A sample splits over the four cells around it by bilinear distance; a cell counts
    // samples with a weight above a quarter.
    void weights_data() {
        QTest::addColumn<double>("rpm");
        QTest::addColumn<double>("volts");
        QTest::addColumn<QList<int>>("cells"); // c, r pairs
        QTest::addColumn<QList<double>>("weights");
        QTest::newRow("breakpoint") << 1600.0 << 2.5 << QList<int>{5, 5} << QList<double>{1};
        QTest::newRow("half-way") << 1400.0 << 2.5 << QList<int>{4, 5, 5, 5} << QList<double>{0.5, 0.5};
        QTest::newRow("quarter") << 1300.0 << 2.5 << QList<int>{4, 5, 5, 5} << QList<double>{0.75, 0.25};
        QTest::newRow("four cells") << 1400.0 << 2.8 << QList<int>{4, 5, 5, 5, 4, 6, 5, 6}
                                    << QList<double>{2.0 / 7, 2.0 / 7, 1.5 / 7, 1.5 / 7};
        QTest::newRow("beyond the far ends") << 12000.0 << 4.6 << QList<int>{8, 8} << QList<double>{1};
        QTest::newRow("below the near ends") << 600.0 << -0.3 << QList<int>{1, 1} << QList<double>{1};
    }
    void weights() {
        QFETCH(double, rpm);
        QFETCH(double, volts);
        QFETCH(QList<int>, cells);
        QFETCH(QList<double>, weights);
        Rec rec;
        rec.add(rpm, volts, 15.0);
        const CorrectionResult r = propose(rec, quiet());
        double total = 0;
        for (int k = 0; k < weights.size(); ++k) {
            const CellProposal& p = r.cell(cells[2 * k], cells[2 * k + 1]);
            QVERIFY(qAbs(p.weight - weights[k]) < 1e-12);
            QCOMPARE(p.samples, weights[k] > 0.25 ? 1 : 0);
            total += p.weight;
        }
        double all = 0;
        for (const CellProposal& p : r.cells) all += p.weight;
        QVERIFY(qAbs(all - 1) < 1e-12);
        QVERIFY(qAbs(total - 1) < 1e-12);
    }

    // A cell needs enough samples above a quarter's weight and enough total weight.
    void minimumSamples_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<double>("rpm");
        QTest::addColumn<double>("minWeight");
        QTest::addColumn<bool>("proposed");
        QTest::newRow("19 at the breakpoint") << 19 << 1600.0 << 10.0 << false;
        QTest::newRow("20 at the breakpoint") << 20 << 1600.0 << 10.0 << true;
        QTest::newRow("20 half-way, weight 10") << 20 << 2000.0 << 10.0 << true;
        QTest::newRow("20 half-way, weight short") << 20 << 2000.0 << 10.5 << false;
        QTest::newRow("40 at a quarter count for none") << 40 << 2200.0 << 0.0 << false;
    }
    void minimumSamples() {
        QFETCH(int, count);
        QFETCH(double, rpm);
        QFETCH(double, minWeight);
        QFETCH(bool, proposed);
        Rec rec;
        rec.repeat(count, rpm, 2.5, 16.0);
        CorrectionSettings s = quiet();
        s.minSamples = 20;
        s.minWeight = minWeight;
        const CellProposal p = propose(rec, s).cell(5, 5);
        QCOMPARE(p.proposed(), proposed);
        if (!proposed) QCOMPARE(p.reason, p.samples ? NoProposal::TooFewSamples : NoProposal::NoSamples);
    }

    // The change is gain × the mean of ln(measured / target) in percent, limited, and
    // dropped within the deadband.
    void limitAndDeadband_data() {
        QTest::addColumn<QList<double>>("readings");
        QTest::addColumn<double>("gain");
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("deadband");
        QTest::addColumn<int>("change"); // 0: within the deadband
        QTest::newRow("3,4 % lean") << QList<double>{15.0} << 1.0 << 10 << 1 << 3;
        QTest::newRow("3,5 % rich rounds away") << QList<double>{14.0} << 1.0 << 10 << 1 << -4;
        QTest::newRow("limited") << QList<double>{15.0} << 1.0 << 2 << 1 << 2;
        QTest::newRow("limited rich") << QList<double>{12.0} << 1.2 << 10 << 1 << -10;
        QTest::newRow("at the deadband") << QList<double>{15.0} << 1.0 << 10 << 3 << 0;
        QTest::newRow("beyond the deadband") << QList<double>{15.0} << 1.0 << 10 << 2 << 3;
        QTest::newRow("one unit in a deadband of one") << QList<double>{14.6} << 1.0 << 10 << 1 << 0;
        QTest::newRow("one unit without deadband") << QList<double>{14.6} << 1.0 << 10 << 0 << 1;
        // ln(16 / 14,5) + ln(13,2 / 14,5) is +0,44 %, where the plain mean 14,6 would be +0,69 %.
        QTest::newRow("lean and rich cancel") << QList<double>{16.0, 13.2} << 10.0 << 99 << 0 << 2;
    }
    void limitAndDeadband() {
        QFETCH(QList<double>, readings);
        QFETCH(double, gain);
        QFETCH(int, limit);
        QFETCH(int, deadband);
        QFETCH(int, change);
        Rec rec;
        for (int i = 0; i < 40; ++i) rec.add(1600, 2.5, readings[i % readings.size()]);
        CorrectionSettings s = quiet();
        s.gain = gain;
        s.limit = limit;
        s.deadband = deadband;
        const CellProposal p = propose(rec, s).cell(5, 5);
        QCOMPARE(p.change, change);
        QCOMPARE(p.reason, change ? NoProposal::None : NoProposal::WithinDeadband);
    }

    // Each cell is compared with its own target.
    void targets() {
        Rec rec;
        rec.repeat(30, 1600, 2.5, 13.0);
        rec.repeat(30, 2400, 2.5, 13.0);
        CorrectionSettings s = quiet();
        s.targets[std::size_t(cellIndex(5, 5))] = 13.0;
        const CorrectionResult r = propose(rec, s);
        QCOMPARE(r.cell(5, 5).reason, NoProposal::WithinDeadband);
        QCOMPARE(r.cell(5, 5).target, 13.0);
        QCOMPARE(r.cell(6, 5).change, -10);
    }

    // A locked cell gets no proposal however lean; its neighbours are not affected.
    void locks() {
        Rec rec;
        rec.repeat(30, 1600, 2.5, 16.0);
        rec.repeat(30, 2400, 2.5, 16.0);
        rec.repeat(30, 2400, 3.2, 16.0);
        CellMask locked;
        locked.set(std::size_t(cellIndex(6, 5)));
        locked.set(std::size_t(cellIndex(1, 1))); // without samples: nothing to say
        const CorrectionResult r = propose(rec, quiet(), SensorKind::WidebandAfr, locked);
        QCOMPARE(r.cell(6, 5).reason, NoProposal::Locked);
        QCOMPARE(r.cell(6, 5).change, 0);
        QCOMPARE(r.cell(6, 5).samples, 30);
        QCOMPARE(r.cell(1, 1).reason, NoProposal::NoSamples);
        QCOMPARE(r.cell(5, 5).change, 10);
        QCOMPARE(r.cell(6, 6).change, 10);
        QCOMPARE(r.proposals(), 2);
    }

    // A zirconia sensor nudges by the share of time lean: at most 2 units, never a size.
    void zirconia_data() {
        QTest::addColumn<int>("lean");      // of 20 samples at 0,1 V, the rest at 0,8 V
        QTest::addColumn<int>("atSwitch");  // of those rich ones, this many exactly at 0,45 V
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("deadband");
        QTest::addColumn<double>("target");
        QTest::addColumn<int>("change");
        QTest::addColumn<int>("reason");
        const int none = int(NoProposal::None), dead = int(NoProposal::WithinDeadband);
        QTest::newRow("all lean") << 20 << 0 << 10 << 0 << 14.5 << 2 << none;
        QTest::newRow("90 % lean") << 18 << 0 << 10 << 0 << 14.5 << 2 << none;
        QTest::newRow("75 % lean") << 15 << 0 << 10 << 0 << 14.5 << 1 << none;
        QTest::newRow("60 % lean") << 12 << 0 << 10 << 0 << 14.5 << 0 << dead;
        QTest::newRow("even") << 10 << 0 << 10 << 0 << 14.5 << 0 << dead;
        QTest::newRow("25 % lean") << 5 << 0 << 10 << 0 << 14.5 << -1 << none;
        QTest::newRow("all rich") << 0 << 0 << 10 << 0 << 14.5 << -2 << none;
        QTest::newRow("switch point is half") << 10 << 10 << 10 << 0 << 14.5 << 1 << none;
        QTest::newRow("limit below 2") << 20 << 0 << 1 << 0 << 14.5 << 1 << none;
        QTest::newRow("default deadband") << 15 << 0 << 10 << 1 << 14.5 << 0 << dead;
        QTest::newRow("target not lambda 1") << 20 << 0 << 10 << 0 << 13.0 << 0 << int(NoProposal::ZirconiaTarget);
    }
    void zirconia() {
        QFETCH(int, lean);
        QFETCH(int, atSwitch);
        QFETCH(int, limit);
        QFETCH(int, deadband);
        QFETCH(double, target);
        QFETCH(int, change);
        QFETCH(int, reason);
        Rec rec;
        for (int i = 0; i < 20; ++i) rec.add(1600, 2.5, i < lean ? 0.1 : i < lean + atSwitch ? 0.45 : 0.8);
        CorrectionSettings s = quiet();
        s.limit = limit;
        s.deadband = deadband;
        s.gain = 10; // the gain never sizes a zirconia nudge
        s.targets.fill(target);
        const CellProposal p = propose(rec, s, SensorKind::Zirconia).cell(5, 5);
        QCOMPARE(p.change, change);
        QCOMPARE(int(p.reason), reason);
        QCOMPARE(p.leanShare, (lean + 0.5 * atSwitch) / 20);
    }

    // The same recording gives the same result, to the last bit.
    void determinism() {
        Rec rec;
        quint32 x = 7;
        auto rnd = [&x] {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            return (x >> 8) / double(1 << 24);
        };
        // The engine wanders slowly over the table; the readings are random.
        for (int i = 0; i < 20000; ++i)
            rec.add(1500 + 1200 * std::sin(i / 500.0) + 10 * rnd(), 2.2 + 1.5 * std::sin(i / 777.0) + 0.01 * rnd(),
                    11 + 8 * rnd(), rnd() < 0.002 ? 0 : 3);
        CorrectionSettings s;
        const CorrectionResult a = propose(rec, s);
        const CorrectionResult b = propose(rec, s);
        QVERIFY(a.proposals() > 10);
        QCOMPARE(std::memcmp(&a.rejected, &b.rejected, sizeof a.rejected), 0);
        for (int i = 0; i < CellCount; ++i) {
            const CellProposal &p = a.cells[std::size_t(i)], &q = b.cells[std::size_t(i)];
            QCOMPARE(p.change, q.change);
            QCOMPARE(std::memcmp(&p.weight, &q.weight, sizeof p.weight), 0);
            QCOMPARE(std::memcmp(&p.errorPercent, &q.errorPercent, sizeof p.errorPercent), 0);
        }
    }

    // The interval of an opened recording comes from its times.
    void interval_data() {
        QTest::addColumn<QList<double>>("times");
        QTest::addColumn<double>("intervalMs");
        QTest::newRow("100 ms") << QList<double>{0, 0.1, 0.2, 0.3, 0.4} << 100.0;
        QTest::newRow("hundredths") << QList<double>{5.2, 5.7, 6.2, 6.7} << 500.0;
        QTest::newRow("a pause") << QList<double>{0, 0.2, 0.4, 30, 30.2, 30.4} << 200.0;
        QTest::newRow("interval changed once") << QList<double>{0, 0.1, 0.2, 0.3, 1.3, 2.3} << 100.0;
        QTest::newRow("one row") << QList<double>{7} << 100.0;
        QTest::newRow("no usable times") << QList<double>{0, 0, std::nan("")} << 100.0;
    }
    void interval() {
        QFETCH(QList<double>, times);
        QFETCH(double, intervalMs);
        const ValueOf value = [&times](int row, int col) { return col == 0 ? times.at(row - 1) : 0.0; };
        QCOMPARE(recordedIntervalMs(value, 1, int(times.size())), intervalMs);
    }

    // Sensor 1's reading may come from another column (a zirconia sensor's own voltage
    // where L1 is the module's shift), and a proposal then follows that column.
    void readingColumn() {
        Rec rec;
        rec.repeat(40, 1600, 2.5, 0.8); // L1 reads rich
        const ValueOf l1 = rec.value();
        const ValueOf value = [&l1](int row, int col) { return col == column::U1do ? 0.1 : l1(row, col); };
        CorrectionInput in;
        in.sensor = SensorKind::Zirconia;
        in.rows = RecordingRows::whole(rec.size());
        in.readingColumn = column::U1do;
        QCOMPARE(proposeCorrections(in, quiet(), {}, value).cell(5, 5).change, 2);
        in.readingColumn = column::L1;
        QCOMPARE(proposeCorrections(in, quiet(), {}, value).cell(5, 5).change, -2);
    }

    void toolTip_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<bool>("english");
        QTest::addColumn<SensorKind>("sensor");
        QTest::addColumn<int>("reason");
        QTest::addColumn<QString>("text");
        const int none = int(NoProposal::None);
        QTest::newRow("ru proposal") << "ru_RU" << false << SensorKind::WidebandAfr << none
                                     << "Поправка: +7\nОтсчётов: 41\nСредний AFR: 15,5\nЦель: 14,5";
        QTest::newRow("en proposal") << "C" << true << SensorKind::WidebandCurrent << none
                                     << "Correction: +7\nSamples: 41\nMean AFR: 15.5\nTarget: 14.5";
        QTest::newRow("ru zirconia") << "ru_RU" << false << SensorKind::Zirconia << none
                                     << "Поправка: +7\nОтсчётов: 41\nБедно: 80 %\nЦель: 14,5";
        QTest::newRow("en zirconia") << "C" << true << SensorKind::Zirconia << none
                                     << "Correction: +7\nSamples: 41\nLean: 80 %\nTarget: 14.5";
        QTest::newRow("ru locked") << "ru_RU" << false << SensorKind::WidebandAfr << int(NoProposal::Locked)
                                   << "Ячейка закреплена\nОтсчётов: 41\nСредний AFR: 15,5\nЦель: 14,5";
        QTest::newRow("en too few") << "C" << true << SensorKind::WidebandAfr << int(NoProposal::TooFewSamples)
                                    << "Too few samples for a correction\nSamples: 41\nMean AFR: 15.5\nTarget: 14.5";
        QTest::newRow("ru deadband") << "ru_RU" << false << SensorKind::WidebandAfr << int(NoProposal::WithinDeadband)
                                     << "Поправка в пределах зоны нечувствительности\nОтсчётов: 41\nСредний AFR: 15,5\nЦель: 14,5";
        QTest::newRow("en zirconia target") << "C" << true << SensorKind::Zirconia << int(NoProposal::ZirconiaTarget)
                                            << "Target is not 14.5: a zirconia sensor tells only rich from lean\n"
                                               "Samples: 41\nLean: 80 %\nTarget: 14.5";
        QTest::newRow("no samples") << "ru_RU" << false << SensorKind::WidebandAfr << int(NoProposal::NoSamples) << "";
    }
    void toolTip() {
        QFETCH(QString, locale);
        QFETCH(bool, english);
        QFETCH(SensorKind, sensor);
        QFETCH(int, reason);
        QFETCH(QString, text);
        QLocale::setDefault(QLocale(locale));
        CellProposal p;
        p.reason = NoProposal(reason);
        p.change = p.proposed() ? 7 : 0;
        p.samples = p.reason == NoProposal::NoSamples ? 0 : 41;
        p.meanAfr = 15.4634;
        p.leanShare = 0.8;
        QCOMPARE(proposalToolTip(p, sensor, english), text);
        QCOMPARE(changeText(-3), QStringLiteral("-3"));
    }

    void settingsCheck_data() {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("fault");
        QTest::newRow("defaults") << Edit([](Rec&, CorrectionSettings&) {}) << "";
        QTest::newRow("limit 0") << Edit([](Rec&, CorrectionSettings& s) { s.limit = 0; }) << "limit";
        QTest::newRow("gain nan") << Edit([](Rec&, CorrectionSettings& s) { s.gain = std::nan(""); }) << "gain";
        QTest::newRow("afr order") << Edit([](Rec&, CorrectionSettings& s) { s.afrMin = 21; s.afrMax = 20; }) << "afr_max";
        QTest::newRow("target") << Edit([](Rec&, CorrectionSettings& s) { s.targets[63] = 25; }) << "targets";
    }
    void settingsCheck() {
        QFETCH(Edit, edit);
        QFETCH(QString, fault);
        Rec none;
        CorrectionSettings s;
        edit(none, s);
        QCOMPARE(settingsFault(s), fault);
    }
};

QTEST_GUILESS_MAIN(TestCorrections)
#include "test_corrections.moc"
