// Live data decoding: where each answer's digits go, how the gate walks the cycle, and
// every conversion of the recording tick with its validity, range limit and truncation.
#include "telemetry/livedecoder.h"

#include <QtTest>

using namespace live;

namespace {

const char kHex[] = "0123456789ABCDEF";

// A byte or word as the module sends it: digits least significant first, then a blank.
QString byteText(int v) { return QString(QChar(kHex[v & 15])) + QChar(kHex[(v >> 4) & 15]) + QLatin1Char(' '); }
QString wordText(int v) {
    QString t;
    for (int i = 0; i < 4; ++i) t += QChar(kHex[(v >> (4 * i)) & 15]);
    return t + QLatin1Char(' ');
}

// The digit store after one complete cycle with these words.
struct Cycle {
    int w2A = 0, w4A = 0, w6A = 0, w8A = 0;
    int fuel = 0;          // 24-bit counter
    int outPeriod = 0;     // "D4&"
    int injection = 0;     // "23%", 0.1 ms
    int flow = 0, inPeriod = 0, crankPeriod = 0, maf = 0;

    DigitStore store() const {
        DigitStore d;
        int flag = 2;
        liveGate(d, flag, kCmdSensors, wordText(w2A) + wordText(w4A) + wordText(w6A) + wordText(w8A));
        liveGate(d, flag, kCmdCounters,
                 byteText(fuel & 0xFF) + wordText(fuel >> 8) + wordText(outPeriod) + byteText(injection));
        liveGate(d, flag, kCmdFlows, wordText(flow) + wordText(inPeriod) + wordText(crankPeriod) + wordText(maf));
        return d;
    }
};

TickSettings settings() {
    TickSettings t;
    t.crankIndex = 0;
    t.limitPercent = 5;
    return t;
}

// Runs ticks of 250 ms until the previous sample's time is past the free start.
void settle(LiveState& s, const DigitStore& d, const TickSettings& t) {
    while (s.Time_Graf <= 4) {
        convertSample(s, d, t);
        advanceTime(s, 250);
    }
}

} // namespace

class TestLiveDecoder : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    // Low-first digits: 1,2,3,4 is hexadecimal 4321.
    void groupsAreLowDigitFirst() {
        DigitStore d;
        int flag = 2;
        liveGate(d, flag, kCmdFlows, QStringLiteral("1234 "));
        QCOMPARE(groupValue(&d.flows[0], 4), 17185.0);
        QCOMPARE(groupValue(&d.flows[4], 4), -1.0); // not received
        const double twoDigits[2] = {10, 1};        // "A1" is 1A
        QCOMPARE(groupValue(twoDigits, 2), 26.0);
    }

    // Which answer positions feed which parameter: one group is spoilt (lower-case digit,
    // or cut short), it keeps its previous value, the others of the answer convert.
    void spoiltGroupKeepsItsValue_data() {
        QTest::addColumn<QString>("cmd");
        QTest::addColumn<int>("spoil");  // 1-based answer position made invalid
        QTest::addColumn<int>("frozen"); // the parameter that keeps its value (-1: none)
        QTest::newRow("2A& low digit") << kCmdSensors << 1 << int(L1);
        QTest::newRow("4A& high digit") << kCmdSensors << 9 << int(L1);
        QTest::newRow("6A&") << kCmdSensors << 12 << int(L2);
        QTest::newRow("8A&") << kCmdSensors << 19 << int(L2);
        QTest::newRow("separator is free") << kCmdSensors << 5 << -1;
        QTest::newRow("04%") << kCmdCounters << 2 << int(KRT);
        QTest::newRow("14&") << kCmdCounters << 7 << int(KRT);
        QTest::newRow("D4&") << kCmdCounters << 9 << int(DigOut);
        QTest::newRow("23%") << kCmdCounters << 15 << int(SP);
        QTest::newRow("74&") << kCmdFlows << 4 << int(STR);
        QTest::newRow("B4&") << kCmdFlows << 6 << int(SD);
        QTest::newRow("65&") << kCmdFlows << 13 << int(TP);
        QTest::newRow("AA&") << kCmdFlows << 16 << int(AI);
    }
    void spoiltGroupKeepsItsValue() {
        QFETCH(QString, cmd);
        QFETCH(int, spoil);
        QFETCH(int, frozen);
        TickSettings t = settings();
        t.sensorType1 = t.sensorType2 = QStringLiteral("Циркониевый");
        LiveState s;
        s.K_RashTopl = 32;
        Cycle first{700, 100, 500, 2, 0x032000, 2000, 31, 500, 1000, 600, 400};
        convertSample(s, first.store(), t);
        const LiveState before = s;

        Cycle second{800, 300, 600, 3, 0x042000, 1000, 45, 900, 500, 800, 600};
        DigitStore d = second.store();
        // The same answer again with one character in lower case (or missing, at the end).
        QString answer = cmd == kCmdSensors
                             ? wordText(800) + wordText(300) + wordText(600) + wordText(3)
                             : cmd == kCmdCounters ? byteText(0x00) + wordText(0x0420) + wordText(1000) + byteText(45)
                                                   : wordText(900) + wordText(500) + wordText(800) + wordText(600);
        answer.replace(spoil - 1, 1, spoil == 5 ? QStringLiteral("z") : QStringLiteral("a"));
        int flag = 2;
        liveGate(d, flag, cmd, answer);
        convertSample(s, d, t);
        for (int k : {SP, STR, AI, L1, L2, TP, SD, DigOut, KRT}) {
            if (k == frozen)
                QCOMPARE(s.p[k].Value, before.p[k].Value);
            else
                QVERIFY2(s.p[k].Value != before.p[k].Value, qPrintable(QString::number(k)));
        }
        // A short answer: the digits not yet received are invalid as well.
        DigitStore shortStore = second.store();
        liveGate(shortStore, flag, kCmdFlows, wordText(900).left(3));
        QCOMPARE(groupValue(&shortStore.flows[0], 4), -1.0);
    }

    // The tail of an earlier answer that arrives after the next command went out stands
    // before the new answer: such an answer is too long and none of its digits is taken.
    void lateTailSpoilsTheWholeAnswer_data() {
        QTest::addColumn<QString>("cmd");
        QTest::addColumn<QString>("answer");
        QTest::newRow("sensors") << kCmdSensors << wordText(800) + wordText(300) + wordText(600) + wordText(3);
        QTest::newRow("counters") << kCmdCounters << byteText(0) + wordText(0x420) + wordText(1000) + byteText(45);
        QTest::newRow("flows") << kCmdFlows << wordText(900) + wordText(500) + wordText(800) + wordText(600);
    }
    void lateTailSpoilsTheWholeAnswer() {
        QFETCH(QString, cmd);
        QFETCH(QString, answer);
        DigitStore d;
        int flag = 2;
        liveGate(d, flag, cmd, answer);
        const auto& digits = cmd == kCmdSensors ? d.sensors.data() : cmd == kCmdCounters ? d.counters.data() : d.flows.data();
        QVERIFY(groupValue(digits, 2) >= 0); // the exact answer is taken
        liveGate(d, flag, cmd, QStringLiteral(" ") + answer);
        const int n = cmd == kCmdCounters ? 12 : 16;
        for (int i = 0; i < n; ++i) QCOMPARE(digits[i], -1.0);
    }

    // The gate's walk: "47&" twice after Start, then the four cycle commands; anything
    // else sent leaves the cycle's first command pending.
    void gateWalk() {
        DigitStore d;
        int flag = 1;
        GateStep g = liveGate(d, flag, kCmdStart, QStringLiteral("0200 "));
        QCOMPARE(g.next, kCmdStart);
        QCOMPARE(flag, 2);
        QCOMPARE(groupValue(d.rashTopl.data(), 4), 32.0);
        g = liveGate(d, flag, kCmdStart, QStringLiteral("1200 ")); // the second answer is not kept
        QCOMPARE(g.next, kCmdSensors);
        QCOMPARE(groupValue(d.rashTopl.data(), 4), 32.0);
        g = liveGate(d, flag, kCmdSensors, QString());
        QCOMPARE(g.next, kCmdCounters);
        g = liveGate(d, flag, kCmdCounters, QString());
        QCOMPARE(g.next, kCmdFlows);
        g = liveGate(d, flag, kCmdFlows, QString());
        QCOMPARE(g.next, kCmdClose);
        QVERIFY(!g.endCycle);
        g = liveGate(d, flag, kCmdClose, QStringLiteral("12"));
        QVERIFY(g.endCycle);
        QCOMPARE(g.next, kCmdSensors);
        g = liveGate(d, flag, QStringLiteral("87*"), QStringLiteral("12"));
        QCOMPARE(g.next, kCmdSensors);
        QVERIFY(!g.stored && !g.endCycle);
    }

    void limitValue_data() {
        QTest::addColumn<double>("time");
        QTest::addColumn<double>("newValue");
        QTest::addColumn<double>("prev");
        QTest::addColumn<double>("expected");
        // SP's range 0..20 at 5 %: one tick moves at most 1.
        QTest::newRow("free at 4 s") << 4.0 << 25.0 << 3.0 << 25.0;
        QTest::newRow("limited up") << 4.25 << 9.0 << 3.0 << 4.0;
        QTest::newRow("limited down") << 4.25 << 0.0 << 3.0 << 2.0;
        QTest::newRow("small step") << 10.0 << 3.5 << 3.0 << 3.5;
        QTest::newRow("clamped to max") << 10.0 << 25.0 << 19.8 << 20.0;
        QTest::newRow("clamped to min") << 10.0 << -3.0 << 0.5 << 0.0;
    }
    void limitValue() {
        QFETCH(double, time);
        QFETCH(double, newValue);
        QFETCH(double, prev);
        QFETCH(double, expected);
        QCOMPARE(Limit_Value(20, 0, newValue, prev, time, 5), expected);
    }

    // Injection time through the ticks of a recording: free for 4 s, then 1,0 ms a tick.
    void injectionSettlesThenLimits() {
        LiveState s;
        const TickSettings t = settings();
        convertSample(s, Cycle{.injection = 150}.store(), t);
        QCOMPARE(s.p[SP].Value, 15.0);
        settle(s, Cycle{.injection = 30}.store(), t);
        QCOMPARE(s.p[SP].Value, 3.0); // jumped freely while the start settled
        const DigitStore high = Cycle{.injection = 200}.store();
        for (double expected : {4.0, 5.0, 6.0}) {
            convertSample(s, high, t);
            advanceTime(s, 250);
            QCOMPARE(s.p[SP].Value, expected);
        }
    }

    // Crankshaft speed: a zero period is 0 while free, then the range minimum 100, and a
    // fall is limited to 5 % of 14900 rpm a tick.
    void crankshaftSpeed() {
        LiveState s;
        TickSettings t = settings();
        convertSample(s, Cycle{.crankPeriod = 0}.store(), t);
        QCOMPARE(s.p[TP].Value, 0.0);
        settle(s, Cycle{.crankPeriod = 200}.store(), t); // 600000 / 200 = 3000 rpm
        QCOMPARE(s.p[TP].Value, 3000.0);
        const DigitStore zero = Cycle{.crankPeriod = 0}.store();
        convertSample(s, zero, t);
        QCOMPARE(s.p[TP].Value, 2255.0);
        for (int i = 0; i < 5; ++i) convertSample(s, zero, t);
        QCOMPARE(s.p[TP].Value, 100.0);
    }

    void crankshaftFactor_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<double>("rpm");
        QTest::addColumn<QString>("kept");
        QTest::newRow("1") << 0 << 2000.0 << " 1";
        QTest::newRow("2") << 1 << 4000.0 << " 2";
        QTest::newRow("4") << 2 << 8000.0 << " 4";
        QTest::newRow("58 counts as 2") << 3 << 4000.0 << "2";
    }
    void crankshaftFactor() {
        QFETCH(int, index);
        QFETCH(double, rpm);
        QFETCH(QString, kept);
        LiveState s;
        TickSettings t = settings();
        t.crankIndex = index;
        convertSample(s, Cycle{.crankPeriod = 300}.store(), t);
        QCOMPARE(s.p[TP].Value, rpm);
        QCOMPARE(s.K_PVK, kept);
    }

    // No coefficient ever chosen: the speed cannot be computed and keeps its value, while
    // the rest of the tick goes on.
    void crankshaftWithoutCoefficient() {
        LiveState s;
        TickSettings t = settings();
        t.crankIndex = -1;
        convertSample(s, Cycle{.injection = 40, .crankPeriod = 300}.store(), t);
        QCOMPARE(s.p[TP].Value, 0.0);
        QCOMPARE(s.p[SP].Value, 4.0);
        t.crankIndex = 1;
        convertSample(s, Cycle{.crankPeriod = 300}.store(), t);
        t.crankIndex = -1; // a later loss of the selection keeps the last coefficient
        convertSample(s, Cycle{.crankPeriod = 600}.store(), t);
        QCOMPARE(s.p[TP].Value, 2000.0);
    }

    // Digital MAF frequency: 524300 or 20000 counts per second by the range button; the
    // indicator is painted only for a non-zero count.
    void digitalMafFrequency_data() {
        QTest::addColumn<bool>("above");
        QTest::addColumn<int>("count");
        QTest::addColumn<double>("hz");
        QTest::addColumn<int>("indicator");
        QTest::newRow("above, 1 kHz") << true << 524 << 1000.5 << int(MafIndicator::Red);
        QTest::newRow("above, 5 kHz") << true << 105 << 4993.3 << int(MafIndicator::Red);
        QTest::newRow("above, 2 kHz") << true << 262 << 2001.1 << int(MafIndicator::Red);
        QTest::newRow("below, 500 Hz") << false << 40 << 500.0 << int(MafIndicator::White);
        QTest::newRow("below, 3 Hz") << false << 6000 << 3.3 << int(MafIndicator::White);
        QTest::newRow("zero count") << true << 0 << 0.0 << int(MafIndicator::Unchanged);
    }
    void digitalMafFrequency() {
        QFETCH(bool, above);
        QFETCH(int, count);
        QFETCH(double, hz);
        QFETCH(int, indicator);
        LiveState s;
        TickSettings t = settings();
        t.mafAbove1kHz = above;
        QCOMPARE(int(convertSample(s, Cycle{.inPeriod = count}.store(), t)), indicator);
        QCOMPARE(s.p[SD].Value, hz);
    }

    void outputFrequencyAndVoltage() {
        LiveState s;
        convertSample(s, Cycle{.outPeriod = 3, .maf = 400}.store(), settings());
        QCOMPARE(s.p[DigOut].Value, 3333.3);
        QCOMPARE(s.p[AI].Value, 2.09); // 400 / 191 = 2.0942..
        convertSample(s, Cycle{.outPeriod = 0, .maf = 191}.store(), settings());
        QCOMPARE(s.p[DigOut].Value, 0.0);
        QCOMPARE(s.p[AI].Value, 1.0);
    }

    // Fuel: KRT from the 24-bit counter; STR from the flow count, averaged on request.
    void fuel() {
        LiveState s;
        TickSettings t = settings();
        convertSample(s, Cycle{.fuel = 0x032000, .flow = 1000}.store(), t);
        QCOMPARE(s.p[KRT].Value, 0.0); // K_RashTopl 0: nothing used, whatever the counter
        QCOMPARE(s.p[STR].Value, 0.0);
        s.K_RashTopl = 32;
        convertSample(s, Cycle{.fuel = 0x032000, .flow = 1000}.store(), t);
        QCOMPARE(s.p[KRT].Value, 1.25);
        QCOMPARE(s.p[STR].Value, 6.25);
        t.averaged = true;
        convertSample(s, Cycle{.flow = 2000}.store(), t);
        // Earlier values after the last three ticks: 0, 0, 6.25; new 12.5.
        QCOMPARE(s.p[STR].Value, 4.687);
        QCOMPARE(s.p[KRT].Value, 0.0);
    }

    // K_RashTopl is taken from the "47&" digits only on the first tick after Start.
    void fuelCalibrationOnStart() {
        LiveState s;
        DigitStore d = Cycle{.fuel = 0x032000}.store();
        int flag = 1;
        liveGate(d, flag, kCmdStart, QStringLiteral("0200 "));
        TickSettings t = settings();
        convertSample(s, d, t);
        QCOMPARE(s.K_RashTopl, 0.0);
        t.startTick = true;
        convertSample(s, d, t);
        QCOMPARE(s.K_RashTopl, 32.0);
        QCOMPARE(s.p[KRT].Value, 1.25);
        d.rashTopl[3] = -1; // spoilt digits keep the last value
        convertSample(s, d, t);
        QCOMPARE(s.K_RashTopl, 32.0);
    }

    void sensorReadings_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<bool>("current");
        QTest::addColumn<bool>("emulator");
        QTest::addColumn<int>("signal");
        QTest::addColumn<int>("base");
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        const QString wb = QStringLiteral("Широкополосный"), zr = QStringLiteral("Циркониевый");
        QTest::newRow("wideband current") << wb << true << false << 601 << 507 << 5.0 << -5.0 << 10.0;
        QTest::newRow("wideband lean ratio") << wb << false << false << 601 << 507 << 21.9 << -6.0 << 18.0;
        QTest::newRow("wideband rich ratio") << wb << false << false << 469 << 507 << 13.9 << -6.0 << 18.0;
        QTest::newRow("zirconia") << zr << false << false << 185 << 2 << 0.9 << -0.2 << 5.0;
        QTest::newRow("emulator over wideband") << wb << true << true << 609 << 507 << 0.5 << -0.2 << 5.0;
        QTest::newRow("unknown type") << QString() << false << false << 185 << 2 << 0.7 << 0.0 << 1.0;
        QTest::newRow("unknown type, emulator") << QString() << false << true << 185 << 2 << 0.9 << -0.2 << 5.0;
    }
    void sensorReadings() {
        QFETCH(QString, type);
        QFETCH(bool, current);
        QFETCH(bool, emulator);
        QFETCH(int, signal);
        QFETCH(int, base);
        QFETCH(double, value);
        QFETCH(double, min);
        QFETCH(double, max);
        for (int sensor : {1, 2}) {
            LiveState s;
            const Param k = sensor == 1 ? L1 : L2;
            s.p[k].Value = 0.7; // what an unknown type keeps
            TickSettings t = settings();
            (sensor == 1 ? t.sensorType1 : t.sensorType2) = type;
            (sensor == 1 ? t.current1 : t.current2) = current;
            t.emulator = emulator;
            const Cycle c = sensor == 1 ? Cycle{.w2A = signal, .w4A = base} : Cycle{.w6A = signal, .w8A = base};
            convertSample(s, c.store(), t);
            // Truncated, not rounded: the rich ratio is 14.5 - 38 / 18.8 / 4 = 13.9946...
            QVERIFY2(qFuzzyCompare(s.p[k].Value, value), qPrintable(QString::number(s.p[k].Value)));
            QCOMPARE(s.p[k].Min, min);
            QCOMPARE(s.p[k].Max, max);
        }
    }

    // The sensor voltages before and after the module, only with the displacement method;
    // the range follows the operating mode, emulator or optimizer winning over MAF(P).
    void sensorVoltages_data() {
        QTest::addColumn<bool>("displacement");
        QTest::addColumn<bool>("mafP");
        QTest::addColumn<bool>("optimizer");
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("u1do");
        QTest::newRow("off") << false << false << false << 0.0 << 0.0;
        QTest::newRow("no mode") << true << false << false << 0.0 << 0.6;
        QTest::newRow("MAF(P)") << true << true << false << 0.0 << 0.6;
        QTest::newRow("optimizer") << true << false << true << -0.2 << 0.6;
        QTest::newRow("both") << true << true << true << -0.2 << 0.6;
    }
    void sensorVoltages() {
        QFETCH(bool, displacement);
        QFETCH(bool, mafP);
        QFETCH(bool, optimizer);
        QFETCH(double, min);
        QFETCH(double, u1do);
        LiveState s;
        TickSettings t = settings();
        t.displacement = displacement;
        t.mafP = mafP;
        t.optimizer = optimizer;
        convertSample(s, Cycle{.w2A = 150, .w4A = 122, .w6A = 203, .w8A = 61}.store(), t);
        QCOMPARE(s.p[U1do].Value, u1do);
        QCOMPARE(s.p[U1posle].Value, displacement ? 0.73 : 0.0);
        QCOMPARE(s.p[U2do].Value, displacement ? 0.3 : 0.0);
        QCOMPARE(s.p[U2posle].Value, displacement ? 1.0 : 0.0);
        QCOMPARE(s.p[U1do].Min, min);
        QCOMPARE(s.p[U2posle].Max, displacement && (mafP || optimizer) ? 5.0 : 0.0);
        computePercents(s);
        // A range of no width gives 0, never a number the tables cannot show.
        QCOMPARE(s.p[U1do].Percent, s.p[U1do].Max == s.p[U1do].Min ? 0.0 : (u1do - min) * 100 / (5 - min));
    }

    void timeTexts_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("interval");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("ru 250") << "ru_RU" << 250 << QStringList{"0", "0,25", "0,5", "0,75", "1"};
        QTest::newRow("C 250") << "C" << 250 << QStringList{"0", "0.25", "0.5", "0.75", "1"};
        QTest::newRow("ru 100") << "ru_RU" << 100 << QStringList{"0", "0,1", "0,2", "0,3", "0,4"};
        QTest::newRow("C 1500") << "C" << 1500 << QStringList{"0", "1.5", "3", "4.5", "6"};
    }
    void timeTexts() {
        QFETCH(QString, locale);
        QFETCH(int, interval);
        QFETCH(QStringList, texts);
        QLocale::setDefault(QLocale(locale));
        LiveState s;
        QStringList got;
        for (int i = 0; i < texts.size(); ++i) {
            advanceTime(s, interval);
            got << s.Time_Text;
        }
        QCOMPARE(got, texts);
        // Many ticks of 0.1 s add up without a tail of rounding digits.
        for (int i = 0; i < 1000; ++i) advanceTime(s, interval);
        QVERIFY2(s.Time_Text.size() <= 6, qPrintable(s.Time_Text));
    }

    void percents() {
        LiveState s;
        s.p[SP].Value = 5;
        s.p[TP].Value = 1590;
        s.p[L1].Value = 0.25;
        computePercents(s);
        QCOMPARE(s.p[SP].Percent, 25.0);
        QCOMPARE(s.p[TP].Percent, 10.0);
        QCOMPARE(s.p[L1].Percent, 25.0);
        QCOMPARE(s.p[U1do].Percent, 0.0);
    }
};

QTEST_GUILESS_MAIN(TestLiveDecoder)
#include "test_livedecoder.moc"
