#include "analysis/corrections.h"

#include "common/lambdascale.h"
#include "common/numtext.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <vector>

namespace analysis {

// The archive's columns this code reads, named in one place.
namespace col = archive::column;

CorrectionSettings::CorrectionSettings() {
    targets.fill(lambdascale::StoichAfr);
}

namespace {

template <double CorrectionSettings::*M> SettingField realField(const char* key, double min, double max) {
    return {key, min, max, false, [](const CorrectionSettings& s) { return s.*M; },
            [](CorrectionSettings& s, double v) { s.*M = v; }};
}
template <int CorrectionSettings::*M> SettingField wholeField(const char* key, double min, double max) {
    return {key, min, max, true, [](const CorrectionSettings& s) { return double(s.*M); },
            [](CorrectionSettings& s, double v) { s.*M = int(v); }};
}

} // namespace

const std::array<SettingField, 15>& settingFields() {
    using S = CorrectionSettings;
    static const std::array<SettingField, 15> f{{
        wholeField<&S::delayMs>("delay_ms", 0, 5000),
        wholeField<&S::minSamples>("min_samples", 1, 100000),
        realField<&S::minWeight>("min_weight", 0, 100000),
        wholeField<&S::limit>("limit", 1, TableLimit),
        wholeField<&S::deadband>("deadband", 0, TableLimit),
        realField<&S::gain>("gain", 0.01, 10),
        realField<&S::warmUpS>("warm_up_s", 0, 3600),
        realField<&S::transientRpmPerS>("transient_rpm_per_s", 1, 100000),
        realField<&S::transientLoadPercentPerS>("transient_load_percent_per_s", 0.1, 10000),
        realField<&S::transientHoldS>("transient_hold_s", 0, 60),
        realField<&S::fuelCutMs>("fuel_cut_ms", 0, 5),
        realField<&S::fuelCutHoldS>("fuel_cut_hold_s", 0, 60),
        realField<&S::afrMin>("afr_min", 5, 30),
        realField<&S::afrMax>("afr_max", 5, 30),
        wholeField<&S::stuckSamples>("stuck_samples", 2, 100000),
    }};
    return f;
}

QString settingsFault(const CorrectionSettings& s) {
    for (const SettingField& f : settingFields()) {
        const double v = f.get(s);
        if (!(v >= f.min && v <= f.max) || (f.whole && v != std::floor(v))) return QString::fromLatin1(f.key);
    }
    if (!(s.afrMin < s.afrMax)) return QStringLiteral("afr_max");
    for (double t : s.targets)
        if (!(t >= TargetMin && t <= TargetMax)) return QStringLiteral("targets");
    return {};
}

int CorrectionResult::proposals() const {
    int n = 0;
    for (const CellProposal& c : cells) n += c.proposed();
    return n;
}

namespace {

// Whether a value lies too far out to count for the edge cells (nearer ones are held at the
// edge, as the cell statistics hold them): beyond an end by more than the interval next to
// it, or not a number.
bool tooFarOut(const Axis& a, double v) {
    return !std::isfinite(v) || v < a[0] - (a[1] - a[0]) || v > a[Side - 1] + (a[Side - 1] - a[Side - 2]);
}

// Accumulation of one cell, summed in row order.
struct Sums {
    int samples = 0;
    double weight = 0, afr = 0, lnError = 0, lean = 0;
};

class Proposer {
  public:
    Proposer(const CorrectionInput& in, const CorrectionSettings& s, const ValueOf& value)
        : m_in(in), m_s(s), m_value(value) {}

    CorrectionResult run(const CellMask& locked);

  private:
    double reading(int row) const; // L1 as an air/fuel ratio (wideband) or volts (zirconia)
    bool plausible(double r) const;
    void markStuck(int lo, int hi, std::vector<char>& stuck) const;
    void add(double rpm, double load, double r);
    void decide(const CellMask& locked, CorrectionResult& out) const;

    const CorrectionInput& m_in;
    const CorrectionSettings& m_s;
    const ValueOf& m_value;
    std::array<Sums, CellCount> m_sums{};
};

double Proposer::reading(int row) const {
    const double l1 = m_value(row, m_in.readingColumn);
    return m_in.sensor == SensorKind::WidebandCurrent ? lambdascale::afrFromPumpCurrent(l1) : l1;
}

bool Proposer::plausible(double r) const {
    if (!std::isfinite(r)) return false;
    // A zirconia sensor gives 0..1 V; a little beyond allows for the module's offset.
    if (m_in.sensor == SensorKind::Zirconia) return r >= -0.1 && r <= 1.2;
    return r >= m_s.afrMin && r <= m_s.afrMax;
}

// Marks rows lo..hi whose L1 belongs to a run of equal values at least stuckSamples long;
// a run is followed beyond lo..hi (within the recording) to learn its length.
void Proposer::markStuck(int lo, int hi, std::vector<char>& stuck) const {
    const int start = m_in.rows.start, end = m_in.rows.end;
    int row = lo;
    while (row <= hi) {
        const int reading = m_in.readingColumn;
        const double v = m_value(row, reading);
        int a = row, b = row;
        if (row == lo)
            while (a > start && m_value(a - 1, reading) == v) --a;
        while (b < end && m_value(b + 1, reading) == v) ++b;
        if (std::isfinite(v) && b - a + 1 >= m_s.stuckSamples)
            for (int k = row; k <= std::min(b, hi); ++k) stuck[std::size_t(k - lo)] = 1;
        row = b + 1;
    }
}

void Proposer::add(double rpm, double load, double r) {
    const double x = fractionalIndex(m_in.speed, rpm), y = fractionalIndex(m_in.load, load);
    const int c0 = std::min(int(x), Side - 2), r0 = std::min(int(y), Side - 2);
    const double fx = x - c0, fy = y - r0;
    const double w[4] = {(1 - fx) * (1 - fy), fx * (1 - fy), (1 - fx) * fy, fx * fy};
    const int cell[4] = {r0 * Side + c0, r0 * Side + c0 + 1, (r0 + 1) * Side + c0, (r0 + 1) * Side + c0 + 1};
    for (int k = 0; k < 4; ++k) {
        if (!(w[k] > 0)) continue;
        Sums& s = m_sums[std::size_t(cell[k])];
        if (w[k] > 0.25) ++s.samples;
        s.weight += w[k];
        if (m_in.sensor == SensorKind::Zirconia) {
            // On the switch point itself the sample says neither.
            s.lean += w[k] * (r < ZirconiaSwitchVolts ? 1.0 : r > ZirconiaSwitchVolts ? 0.0 : 0.5);
        } else {
            s.afr += w[k] * r;
            s.lnError += w[k] * std::log(r / m_s.targets[std::size_t(cell[k])]);
        }
    }
}

CorrectionResult Proposer::run(const CellMask& locked) {
    CorrectionResult out;
    out.sensor = m_in.sensor;
    const RecordingRows& rows = m_in.rows;
    const double interval =
        m_in.intervalMs > 0 ? m_in.intervalMs : recordedIntervalMs(m_value, std::max(rows.first, rows.start), rows.end);
    const auto rowsOf = [interval](double ms) { return int(std::lround(std::max(0.0, ms) / interval)); };
    const int d = rowsOf(m_s.delayMs);
    out.delaySamples = d;

    const int first = std::max(rows.first, std::max(rows.start, 1));
    const int last = std::min(rows.last, rows.end - d);
    if (first <= last && axisUsable(m_in.speed) && axisUsable(m_in.load)) {
        const int loadCol = loadColumn(m_in.mafVoltageLoad);
        const int transientHold = rowsOf(m_s.transientHoldS * 1000);
        const int cutHold = rowsOf(m_s.fuelCutHoldS * 1000);
        const int warmRows = rowsOf(m_s.warmUpS * 1000);
        // The rows the filters look at: the hold-offs reach back, the readings forward.
        const int lo = std::max(rows.start, first - std::max(transientHold, cutHold) - 1);
        const int hi = last + d;
        const std::size_t n = std::size_t(hi - lo + 1);
        std::vector<double> rpm(n), load(n);
        std::vector<char> cut(n), transient(n), stuck(n);
        for (int row = lo; row <= hi; ++row) {
            const std::size_t k = std::size_t(row - lo);
            rpm[k] = m_value(row, col::TP);
            load[k] = m_value(row, loadCol);
            const double sp = m_value(row, col::SP);
            cut[k] = sp <= m_s.fuelCutMs;
        }
        // A transient: speed or load moves faster than its threshold across the window from
        // the row before a sample to its reading.
        const double loadSpan = m_in.load[Side - 1] - m_in.load[0];
        for (int row = lo; row + d <= hi; ++row) {
            const int a = std::max(lo, row - 1), b = row + d;
            if (b == a) continue;
            double rLo = HUGE_VAL, rHi = -HUGE_VAL, lLo = HUGE_VAL, lHi = -HUGE_VAL;
            for (int k = a; k <= b; ++k) {
                const std::size_t i = std::size_t(k - lo);
                rLo = std::min(rLo, rpm[i]), rHi = std::max(rHi, rpm[i]);
                lLo = std::min(lLo, load[i]), lHi = std::max(lHi, load[i]);
            }
            const double seconds = (b - a) * interval / 1000;
            transient[std::size_t(row - lo)] = (rHi - rLo) / seconds > m_s.transientRpmPerS ||
                                               (lHi - lLo) / seconds * 100 / loadSpan > m_s.transientLoadPercentPerS;
        }
        markStuck(lo, hi, stuck);

        // Far enough back that no hold-off reaches the first row.
        int lastTransient = lo - transientHold - 1, lastCut = lo - cutHold - 1;
        for (int row = lo; row <= last; ++row) {
            const std::size_t k = std::size_t(row - lo);
            if (transient[k]) lastTransient = row;
            if (cut[k]) lastCut = row;
            if (row < first) continue;
            ++out.paired;
            const int readRow = row + d;
            const double r = reading(readRow);
            Filter why;
            if (readRow - rows.start < warmRows) why = Filter::WarmUp;
            else if (row - lastCut <= cutHold) why = Filter::FuelCut;
            else if (row - lastTransient <= transientHold) why = Filter::Transient;
            else if (!plausible(r)) why = Filter::Implausible;
            else if (stuck[std::size_t(readRow - lo)]) why = Filter::Stuck;
            else if (tooFarOut(m_in.speed, rpm[k]) || tooFarOut(m_in.load, load[k])) why = Filter::OutsideTable;
            else {
                ++out.used;
                add(rpm[k], load[k], r);
                continue;
            }
            ++out.rejected[std::size_t(why)];
        }
    }
    decide(locked, out);
    return out;
}

void Proposer::decide(const CellMask& locked, CorrectionResult& out) const {
    const bool zirconia = m_in.sensor == SensorKind::Zirconia;
    for (int i = 0; i < CellCount; ++i) {
        const Sums& s = m_sums[std::size_t(i)];
        CellProposal& p = out.cells[std::size_t(i)];
        p.target = m_s.targets[std::size_t(i)];
        p.samples = s.samples;
        p.weight = s.weight;
        if (s.weight > 0) {
            p.meanAfr = s.afr / s.weight;
            p.errorPercent = 100 * s.lnError / s.weight;
            p.leanShare = s.lean / s.weight;
        }
        int change = 0;
        if (zirconia) {
            // Lean share 1 is a nudge of +2, an even split none, all rich -2.
            const int most = std::min(ZirconiaMaxNudge, m_s.limit);
            change = std::clamp(int(std::lround(ZirconiaMaxNudge * (2 * p.leanShare - 1))), -most, most);
        } else {
            change = std::clamp(int(std::lround(m_s.gain * p.errorPercent)), -m_s.limit, m_s.limit);
        }
        if (s.samples == 0) p.reason = NoProposal::NoSamples;
        else if (locked.test(std::size_t(i))) p.reason = NoProposal::Locked;
        else if (s.samples < m_s.minSamples || s.weight < m_s.minWeight) p.reason = NoProposal::TooFewSamples;
        else if (zirconia && std::abs(p.target - lambdascale::StoichAfr) > 0.05) p.reason = NoProposal::ZirconiaTarget;
        else if (std::abs(change) <= m_s.deadband) p.reason = NoProposal::WithinDeadband;
        else p.reason = NoProposal::None;
        p.change = p.proposed() ? change : 0;
    }
}

QString reasonText(NoProposal reason, bool english) {
    switch (reason) {
    case NoProposal::Locked:
        return english ? QStringLiteral("Cell locked") : QStringLiteral("Ячейка закреплена");
    case NoProposal::TooFewSamples:
        return english ? QStringLiteral("Too few samples for a correction")
                       : QStringLiteral("Мало отсчётов для поправки");
    case NoProposal::ZirconiaTarget:
        return (english ? QStringLiteral("Target is not %1: a zirconia sensor tells only rich from lean")
                        : QStringLiteral("Цель не %1: циркониевый датчик различает только богатую и бедную смесь"))
            .arg(formatGeneral(lambdascale::StoichAfr));
    case NoProposal::WithinDeadband:
        return english ? QStringLiteral("Correction within the deadband")
                       : QStringLiteral("Поправка в пределах зоны нечувствительности");
    case NoProposal::None:
    case NoProposal::NoSamples:
        break;
    }
    return {};
}

} // namespace

double recordedIntervalMs(const ValueOf& value, int first, int last) {
    std::vector<double> steps;
    steps.reserve(std::size_t(std::max(0, last - first)));
    double before = first <= last ? value(first, 0) : 0;
    for (int row = first + 1; row <= last; ++row) {
        const double t = value(row, 0);
        const double step = (t - before) * 1000;
        if (std::isfinite(step) && step > 0) steps.push_back(step);
        before = t;
    }
    if (steps.empty()) return 100;
    const auto middle = steps.begin() + std::ptrdiff_t(steps.size() / 2);
    std::nth_element(steps.begin(), middle, steps.end());
    // The times are whole hundredths: 0,1 s apart may read 99,99 or 100,01 ms.
    return std::round(*middle);
}

CorrectionResult proposeCorrections(const CorrectionInput& input, const CorrectionSettings& settings,
                                    const CellMask& locked, const ValueOf& value) {
    return Proposer(input, settings, value).run(locked);
}

QString changeText(int change) {
    return change > 0 ? QLatin1Char('+') + QString::number(change) : QString::number(change);
}

QString proposalToolTip(const CellProposal& cell, SensorKind sensor, bool english) {
    if (cell.samples <= 0) return {};
    QStringList lines;
    if (cell.proposed())
        lines << (english ? QStringLiteral("Correction: %1") : QStringLiteral("Поправка: %1")).arg(changeText(cell.change));
    else
        lines << reasonText(cell.reason, english);
    lines << (english ? QStringLiteral("Samples: %1") : QStringLiteral("Отсчётов: %1")).arg(cell.samples);
    if (sensor == SensorKind::Zirconia)
        lines << (english ? QStringLiteral("Lean: %1 %") : QStringLiteral("Бедно: %1 %"))
                     .arg(std::lround(cell.leanShare * 100));
    else
        lines << (english ? QStringLiteral("Mean AFR: %1") : QStringLiteral("Средний AFR: %1"))
                     .arg(formatGeneral(std::round(cell.meanAfr * 10) / 10));
    lines << (english ? QStringLiteral("Target: %1") : QStringLiteral("Цель: %1")).arg(formatGeneral(cell.target));
    return lines.join(QLatin1Char('\n'));
}

QString filterName(Filter filter, bool english) {
    switch (filter) {
    case Filter::WarmUp:
        return english ? QStringLiteral("Sensor warm-up") : QStringLiteral("Прогрев датчика");
    case Filter::FuelCut:
        return english ? QStringLiteral("Fuel cut") : QStringLiteral("Отсечка топлива");
    case Filter::Transient:
        return english ? QStringLiteral("Transients") : QStringLiteral("Переходные режимы");
    case Filter::Implausible:
        return english ? QStringLiteral("Implausible L1") : QStringLiteral("Недостоверный L1");
    case Filter::Stuck:
        return english ? QStringLiteral("Stuck L1") : QStringLiteral("Залипший L1");
    case Filter::OutsideTable:
        return english ? QStringLiteral("Outside the table") : QStringLiteral("Вне таблицы");
    }
    return {};
}

} // namespace analysis
