// The simulated engine's mixture answering the MAF table: the need per cell, the direction
// and size of one unit, the closed loop below its MAF voltage, the sensor's transport delay
// and lag, the tuning cycle's holds, and the demo module's switches.
#include "common/lambdascale.h"
#include "sim/enginemodel.h"
#include "sim/mixture.h"
#include "sim/simmemory.h"
#include "sim/simmodule.h"
#include "sim/tuningcycle.h"

#include <QtTest>

#include <cmath>

using namespace sim;

namespace {

MixtureOptions on(quint32 seed = 1) {
    MixtureOptions o;
    o.enabled = true;
    o.errorSeed = seed;
    return o;
}

void setCell(SimMemory& m, int c, int r, int units) {
    m.regs[std::size_t(reg::mafCell(c, r))] = quint8(128 + units);
}

} // namespace

class TestMixture : public QObject {
    Q_OBJECT

private slots:
    // With the table at the need, the breakpoint burns the target's mixture exactly.
    void need_data() {
        QTest::addColumn<int>("c");
        QTest::addColumn<int>("r");
        QTest::addColumn<double>("target");
        QTest::newRow("(5,5) 14,5") << 5 << 5 << 14.5;
        QTest::newRow("(7,7) 14,5") << 7 << 7 << 14.5;
        QTest::newRow("(7,6) rich target") << 7 << 6 << 13.0;
        QTest::newRow("(6,5) lean target") << 6 << 5 << 15.5;
        QTest::newRow("(2,8) beyond full load") << 2 << 8 << 14.5;
    }
    void need() {
        QFETCH(int, c);
        QFETCH(int, r);
        QFETCH(double, target);
        Mixture m(on(7));
        const double units = m.need(c, r, target);
        QVERIFY(std::isfinite(units));
        QVERIFY(std::abs(units) < 40);
        // The module holds whole units: set the need exactly through the blended correction.
        SimMemory mem = initialMemory(Model::TR70, Equipment{});
        const double whole = std::floor(units);
        setCell(mem, c, r, int(whole));
        m.takeCorrections(mem, Model::TR70);
        const double volts = MafBreakpoints[r - 1], rpm = SpeedBreakpoints[c - 1];
        const double below = m.openLoopLambda(rpm, volts, airFlowAt(volts), 1);
        setCell(mem, c, r, int(whole) + 1);
        m.takeCorrections(mem, Model::TR70);
        const double above = m.openLoopLambda(rpm, volts, airFlowAt(volts), 1);
        // The target lies between the two whole neighbours of the need.
        const double want = target / 14.5;
        QVERIFY2(below >= want && above <= want, qPrintable(QStringLiteral("%1 %2 %3").arg(below).arg(want).arg(above)));
        // Without the module's table the fuelling error alone decides.
        setCell(mem, c, r, 0);
        m.takeCorrections(mem, Model::TR70);
        QVERIFY(std::abs(m.openLoopLambda(rpm, volts, airFlowAt(volts), 1) * m.fuelFactor(c, r) - 1) < 1e-12);
        // Below the sensor's lowest voltage there is no need to speak of.
        QVERIFY(std::isnan(m.need(c, 1, target)));
    }

    // One unit more signal means more fuel; how much follows the MAF characteristic:
    // 1,67 / (U - 0,95) percent of air at U volts, the figure the default gain is chosen from.
    void oneUnit_data() {
        QTest::addColumn<int>("r");
        QTest::newRow("2,5 V") << 5;
        QTest::newRow("3,2 V") << 6;
        QTest::newRow("3,8 V") << 7;
    }
    void oneUnit() {
        QFETCH(int, r);
        Mixture m(on());
        SimMemory mem = initialMemory(Model::TR70, Equipment{});
        const double volts = MafBreakpoints[r - 1];
        double lambda[2];
        for (int units = 0; units < 2; ++units) {
            setCell(mem, 6, r, units);
            m.takeCorrections(mem, Model::TR70);
            lambda[units] = m.openLoopLambda(2400, volts, airFlowAt(volts), 1);
        }
        QVERIFY(lambda[1] < lambda[0]);
        const double percent = (lambda[0] / lambda[1] - 1) * 100;
        QVERIFY2(std::abs(percent / (1.6667 / (volts - 0.95)) - 1) < 0.02, qPrintable(QString::number(percent)));
        // A module that does not correct (system off) passes the signal on unchanged.
        mem.regs[reg::Mode] |= reg::ModeSystemOff;
        m.takeCorrections(mem, Model::TR70);
        QCOMPARE(m.correctionAt(2400, volts), 0.0);
    }

    // Between breakpoints the cells blend bilinearly.
    void blend() {
        Mixture m(on());
        SimMemory mem = initialMemory(Model::TR70, Equipment{});
        for (int r = 1; r <= 8; ++r)
            for (int c = 1; c <= 8; ++c) setCell(mem, c, r, 0);
        setCell(mem, 6, 5, 20);
        m.takeCorrections(mem, Model::TR70);
        QCOMPARE(m.correctionAt(2400, 2.5), 20.0);
        QCOMPARE(m.correctionAt(3600, 2.5), 10.0);
        QCOMPARE(m.correctionAt(3600, 2.85), 5.0);
        QCOMPARE(m.correctionAt(12000, 2.5), 0.0);
    }

    // The sensor sees the exhaust one transport delay late, then follows with its lag.
    void sensorDelay() {
        MixtureOptions o = on();
        o.transportDelay = 0.3;
        o.sensorLag = 0.1;
        Mixture m(o);
        double t = 0, seen = 1;
        for (; t < 1.0; t += 0.02) seen = m.sense(t, 1.0, 0.02);
        QCOMPARE(seen, 1.0);
        double firstMove = -1, at63 = -1;
        for (const double start = t; t < start + 1.5; t += 0.02) {
            seen = m.sense(t, 1.2, 0.02);
            if (firstMove < 0 && seen > 1.0) firstMove = t - start;
            if (at63 < 0 && seen >= 1.0 + 0.2 * 0.63) at63 = t - start;
        }
        QVERIFY2(std::abs(firstMove - 0.3) < 0.025, qPrintable(QString::number(firstMove)));
        QVERIFY2(at63 > 0.37 && at63 < 0.45, qPrintable(QString::number(at63)));
        QVERIFY(std::abs(seen - 1.2) < 1e-6);
    }

    // Driving the tuning cycle: the closed loop hides the error below its voltage, the open
    // loop shows it; the holds sit at their breakpoints; the overrun cuts the fuel.
    void tuningCycle() {
        EngineModel e(3);
        MixtureOptions o = on(3);
        o.tuningCycle = true;
        e.setMixture(o);
        SimMemory mem = initialMemory(Model::TR70, Equipment{});
        for (int r = 1; r <= 8; ++r)
            for (int c = 1; c <= 8; ++c) setCell(mem, c, r, 0);
        struct Hold {
            int c, r;
            double lambdaSum = 0;
            int n = 0;
        };
        Hold holds[] = {{6, 4}, {6, 5}, {7, 5}, {7, 6}, {7, 7}, {5, 5}};
        int cut = 0;
        const double length = tuningCycleLength(o.dwell);
        for (double t = 0; t < length; t += 0.1) {
            e.advance(0.1, mem, Model::TR70, Equipment{});
            cut += e.fuelCut();
            for (Hold& h : holds) {
                // Near the hold's breakpoint (full throttle at 1600 rpm reaches 2,49 V).
                if (std::abs(e.rpm() / SpeedBreakpoints[h.c - 1] - 1) < 0.02 &&
                    std::abs(e.mafVoltage() - MafBreakpoints[h.r - 1]) < 0.03) {
                    h.lambdaSum += e.lambda(0);
                    ++h.n;
                }
            }
        }
        QVERIFY2(cut >= 25 && cut <= 35, qPrintable(QString::number(cut)));
        Mixture m(o);
        for (const Hold& h : holds) {
            QVERIFY2(h.n > o.dwell * 10 * 0.6, qPrintable(QStringLiteral("(%1,%2): %3").arg(h.c).arg(h.r).arg(h.n)));
            const double mean = h.lambdaSum / h.n;
            const bool closed = MafBreakpoints[h.r - 1] < o.closedLoopBelow;
            const double expected = closed ? 1.0 : 1 / m.fuelFactor(h.c, h.r);
            QVERIFY2(std::abs(mean / expected - 1) < 0.01,
                     qPrintable(QStringLiteral("(%1,%2): %3, expected %4").arg(h.c).arg(h.r).arg(mean).arg(expected)));
        }
    }

    // The demo module's switches: a wideband sensor fitted later is what the identification
    // reads; the need is known through the module.
    void moduleSwitches() {
        SimModule module(Model::TR70);
        module.setEngineRunning(false);
        QCOMPARE(module.work(work::Lambda1Type), quint8(0));
        Equipment e;
        e.lambda1Wideband = true;
        module.setEquipment(e);
        QVERIFY(module.equipment().lambda1Wideband);
        QVERIFY(module.work(work::Lambda1Type) != 0);
        QVERIFY(std::isnan(module.mixtureNeed(7, 7, 14.5))); // off: no engine error to speak of
        module.setMixture(on(9));
        QCOMPARE(module.mixtureNeed(7, 7, 14.5), Mixture(on(9)).need(7, 7, 14.5));
        // A wideband reading with the mixture on sits on the tool's scale: lambda 1 is no current.
        // At idle the closed loop holds it within a few percent of 14,5.
        module.stepEngine(5);
        const int pump = module.workWord(work::Lambda1Signal) - module.workWord(work::Lambda1Base);
        const double afr = lambdascale::afrFromPumpCurrent(pump / CountsPerMilliampere);
        QVERIFY2(std::abs(afr - 14.5) < 0.7, qPrintable(QString::number(afr)));
    }
};

QTEST_GUILESS_MAIN(TestMixture)
#include "test_mixture.moc"
