#include "telemetry/livedecoder.h"

#include "common/archivecolumns.h"
#include "common/hex.h"
#include "common/lambdascale.h"
#include "common/numtext.h"

#include <algorithm>
#include <utility>

namespace live {

namespace {
// The archive's columns by the parameters they hold.
constexpr std::pair<int, Param> kArchive[] = {
    {archive::column::SP, SP},     {archive::column::STR, STR},         {archive::column::AI, AI},
    {archive::column::TP, TP},     {archive::column::SD, SD},           {archive::column::L1, L1},
    {archive::column::L2, L2},     {archive::column::U1do, U1do},       {archive::column::U1posle, U1posle},
    {archive::column::U2do, U2do}, {archive::column::U2posle, U2posle},
};
} // namespace

Param columnParam(int column) {
    for (const auto& [c, p] : kArchive)
        if (c == column) return p;
    return ParamCount;
}

int paramColumn(Param param) {
    for (const auto& [c, p] : kArchive)
        if (p == param) return c;
    return 0;
}

namespace {

const QString kWideband = QStringLiteral("Широкополосный");
const QString kZirconia = QStringLiteral("Циркониевый");

// Digits at the 1-based answer positions first..first+n-1 into out; a position beyond the
// answer reads as invalid.
void storeDigits(const QString& answer, int first, double* out, int n) {
    for (int i = 0; i < n; ++i) {
        const int at = first - 1 + i;
        out[i] = at < answer.size() ? double(hexDigit(answer.at(at))) : -1.0;
    }
}

// Each item of a chained answer is its digit group and one character that is not
// evaluated: words at 1, 6, 11, 16; for the counters a byte, two words and a byte.
void storeWords(const QString& answer, std::array<double, 16>& out) {
    for (int w = 0; w < 4; ++w) storeDigits(answer, 1 + 5 * w, out.data() + 4 * w, 4);
}

void storeCounters(const QString& answer, std::array<double, 12>& out) {
    storeDigits(answer, 1, out.data(), 2);      // "04%"
    storeDigits(answer, 4, out.data() + 2, 4);  // "14&"
    storeDigits(answer, 9, out.data() + 6, 4);  // "D4&"
    storeDigits(answer, 14, out.data() + 10, 2); // "23%"
}

// The crankshaft coefficient texts by item index of its list.
QString crankText(int index) {
    static const QString texts[4] = {QStringLiteral(" 1"), QStringLiteral(" 2"), QStringLiteral(" 4"),
                                     QStringLiteral("58")};
    return index >= 0 && index < 4 ? texts[index] : QString();
}

void setRange(GrafParam& g, double min, double max) {
    g.Min = min;
    g.Max = max;
}

} // namespace

DigitStore::DigitStore() {
    rashTopl.fill(-1);
    sensors.fill(-1);
    counters.fill(-1);
    flows.fill(-1);
}

double groupValue(const double* first, int n) {
    double value = 0;
    double weight = 1;
    for (int i = 0; i < n; ++i) {
        if (!(first[i] >= 0 && first[i] <= 15)) return -1;
        value += first[i] * weight;
        weight *= 16;
    }
    return value;
}

namespace {
// Answer lengths of the cycle commands: each item's digits and the character after them.
constexpr int kWordsAnswerLength = 4 * 5;
constexpr int kCountersAnswerLength = 3 + 5 + 5 + 3;

template <std::size_t N> void invalidate(std::array<double, N>& digits) { digits.fill(-1); }
} // namespace

GateStep liveGate(DigitStore& store, int& startFlag, const QString& sent, const QString& answer) {
    GateStep g;
    if (startFlag == 1) {
        storeDigits(answer, 1, store.rashTopl.data(), 4);
        g.next = kCmdStart;
        g.stored = true;
        ++startFlag;
    } else {
        g.next = kCmdSensors;
    }
    // An answer longer than its command's answer began with characters of an earlier answer
    // that came after the command was sent; its digits stand at other positions than
    // expected, so none of them is taken (the parameters keep their values).
    if (sent == kCmdSensors) {
        storeWords(answer, store.sensors);
        if (answer.size() > kWordsAnswerLength) invalidate(store.sensors);
        g.next = kCmdCounters;
        g.stored = true;
    } else if (sent == kCmdCounters) {
        storeCounters(answer, store.counters);
        if (answer.size() > kCountersAnswerLength) invalidate(store.counters);
        g.next = kCmdFlows;
        g.stored = true;
    } else if (sent == kCmdFlows) {
        storeWords(answer, store.flows);
        if (answer.size() > kWordsAnswerLength) invalidate(store.flows);
        g.next = kCmdClose;
        g.stored = true;
    } else if (sent == kCmdClose) {
        g.endCycle = true;
    }
    return g;
}

LiveState::LiveState() {
    setRange(p[SP], 0, 20);
    setRange(p[STR], 0, 100);
    setRange(p[AI], 0, 5);
    setRange(p[L1], 0, 1);
    setRange(p[L2], 0, 1);
    setRange(p[TP], 100, 15000);
    setRange(p[SD], 0, 10000);
    setRange(p[DigOut], 0, 10000);
    // U1do..U2posle start at 0..0; the displacement method gives them a range. KRT has none.
}

double Limit_Value(double Max, double Min, double New, double Prev, double timeGraf, double limitPercent) {
    if (timeGraf <= 4) return New;
    double c = std::clamp(New, std::min(Min, Max), std::max(Min, Max));
    const double L = limitPercent * 0.01 * (Max - Min);
    c = std::min(c, Prev + L);
    c = std::max(c, Prev - L);
    return c;
}

namespace {

struct Converter {
    LiveState& s;
    const TickSettings& t;

    double limit(Param k, double value) const {
        const GrafParam& g = s.p[k];
        return Limit_Value(g.Max, g.Min, value, g.Prev, s.Time_Graf, t.limitPercent);
    }

    void zirconia(Param k, double signal, double base) {
        setRange(s.p[k], -0.2, 5);
        s.p[k].Value = truncDecimals(limit(k, (signal - base) / 203), 2);
    }

    // A sensor's reading from its two channel words, by the sensor type.
    void lambda(Param k, double signal, double base, const QString& type, bool current) {
        if (type == kWideband) {
            const double x = (signal - base) / 18.8; // pump current, mA
            if (current) {
                setRange(s.p[k], -5, 10);
                s.p[k].Value = truncDecimals(limit(k, x), 2);
            } else {
                setRange(s.p[k], -6, 18);
                s.p[k].Value = truncDecimals(limit(k, lambdascale::afrFromPumpCurrent(x)), 1);
            }
        } else if (type == kZirconia) {
            zirconia(k, signal, base);
        }
        // The emulator drives a zirconia-like signal whatever sensor is fitted.
        if (t.emulator) zirconia(k, signal, base);
    }

    void voltage(Param k, double raw) {
        if (t.mafP) setRange(s.p[k], 0, 5);
        if (t.emulator || t.optimizer) setRange(s.p[k], -0.2, 5);
        s.p[k].Value = truncDecimals(limit(k, raw / 203), 2);
    }
};

} // namespace

MafIndicator convertSample(LiveState& s, const DigitStore& d, const TickSettings& t) {
    for (GrafParam& g : s.p) g.Prev = g.Value;
    Converter c{s, t};
    MafIndicator indicator = MafIndicator::Unchanged;

    if (t.startTick) {
        const double k = groupValue(d.rashTopl.data(), 4);
        if (k >= 0) s.K_RashTopl = k;
    }

    // Fuel used: a 24-bit counter, "04%" the low byte and "14&" the upper two bytes.
    const double low = groupValue(&d.counters[0], 2);
    const double high = groupValue(&d.counters[2], 4);
    if (low >= 0 && high >= 0)
        s.p[KRT].Value = truncDecimals((low + 256 * high) * s.K_RashTopl / 20480 / 256, 3);

    const double outPeriod = groupValue(&d.counters[6], 4);
    if (outPeriod >= 0)
        s.p[DigOut].Value = truncDecimals(c.limit(DigOut, outPeriod == 0 ? 0 : 10000 / outPeriod), 1);

    const double injection = groupValue(&d.counters[10], 2);
    if (injection >= 0) s.p[SP].Value = truncDecimals(c.limit(SP, injection * 0.1), 2);

    const double flow = groupValue(&d.flows[0], 4);
    if (flow >= 0) {
        double x = c.limit(STR, flow * 0.1 * s.K_RashTopl / 512);
        x = std::min(x, s.p[STR].Max);
        if (t.averaged) x = (s.strEarlier[0] + s.strEarlier[1] + s.strEarlier[2] + x) * 0.25;
        s.p[STR].Value = truncDecimals(x, 3);
    }
    s.strEarlier = {s.strEarlier[1], s.strEarlier[2], s.p[STR].Value};

    const double inPeriod = groupValue(&d.flows[4], 4);
    if (inPeriod >= 0) {
        double f = 0;
        if (inPeriod != 0) {
            indicator = t.mafAbove1kHz ? MafIndicator::Red : MafIndicator::White;
            f = (t.mafAbove1kHz ? kMafClockAbove1kHz : kMafClockBelow1kHz) / inPeriod;
        }
        s.p[SD].Value = truncDecimals(c.limit(SD, f), 1);
    }

    const QString k = crankText(t.crankIndex);
    if (!k.isEmpty()) s.K_PVK = k;
    const double crankPeriod = groupValue(&d.flows[8], 4);
    bool factorOk = false;
    int factor = s.K_PVK.trimmed().toInt(&factorOk);
    // Without a coefficient the speed cannot be computed; it keeps its value rather than
    // stopping the whole tick.
    if (crankPeriod >= 0 && factorOk) {
        if (factor > 4) {
            s.K_PVK = QStringLiteral("2");
            factor = 2;
        }
        s.p[TP].Value = truncDecimals(c.limit(TP, crankPeriod == 0 ? 0 : factor * 600000.0 / crankPeriod), 1);
    }

    const double mafCount = groupValue(&d.flows[12], 4);
    if (mafCount >= 0) s.p[AI].Value = truncDecimals(c.limit(AI, mafCount / 191), 2);

    const double w2A = groupValue(&d.sensors[0], 4), w4A = groupValue(&d.sensors[4], 4);
    if (w2A >= 0 && w4A >= 0) {
        s.Raw_2A = w2A;
        s.Raw_4A = w4A;
    }
    c.lambda(L1, s.Raw_2A, s.Raw_4A, t.sensorType1, t.current1);

    const double w6A = groupValue(&d.sensors[8], 4), w8A = groupValue(&d.sensors[12], 4);
    if (w6A >= 0 && w8A >= 0) {
        s.Raw_6A = w6A;
        s.Raw_8A = w8A;
    }
    c.lambda(L2, s.Raw_6A, s.Raw_8A, t.sensorType2, t.current2);

    if (t.displacement) {
        c.voltage(U1do, s.Raw_4A);
        c.voltage(U1posle, s.Raw_2A);
        c.voltage(U2do, s.Raw_8A);
        c.voltage(U2posle, s.Raw_6A);
    }
    return indicator;
}

void advanceTime(LiveState& s, int intervalMs) {
    s.Time_Graf += s.Time_Step;
    s.sampleTime = roundHalfEven(s.Time_Graf * 100) / 100;
    s.Time_Text = formatGeneral(s.sampleTime);
    s.Time_Step = intervalMs / 1000.0;
}

void computePercents(LiveState& s) {
    for (int i = 0; i < PlottedCount; ++i) {
        GrafParam& g = s.p[i];
        // A range of no width (the sensor voltages before the displacement method gave
        // them one) has no percent; 0 keeps the navigator table readable as numbers.
        g.Percent = g.Max != g.Min ? (g.Value - g.Min) * 100 / (g.Max - g.Min) : 0;
    }
}

} // namespace live
