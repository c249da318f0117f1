#include "analysis/cellstats.h"

#include "common/numtext.h"

#include <QLocale>

namespace analysis {

const Axis& speedAxis() {
    static const Axis a{670, 780, 940, 1200, 1600, 2400, 4800, 10000};
    return a;
}

const Axis& mafVoltageAxis() {
    static const Axis a{0.0, 0.6, 1.3, 1.9, 2.5, 3.2, 3.8, 4.4};
    return a;
}

const Axis& injectionTimeAxis() {
    static const Axis a{1.6, 2.4, 3.2, 4.0, 4.8, 5.6, 6.4, 7.2};
    return a;
}

bool axisUsable(const Axis& axis) {
    for (int i = 0; i < Side; ++i) {
        if (!std::isfinite(axis[std::size_t(i)])) return false;
        if (i > 0 && !(axis[std::size_t(i)] > axis[std::size_t(i - 1)])) return false;
    }
    return true;
}

int nearestIndex(const Axis& axis, double v) {
    if (!std::isfinite(v)) return -1;
    // The first breakpoint whose upper half-way mark lies at or beyond v: a value exactly
    // half-way stays with the lower breakpoint.
    for (int i = 0; i + 1 < Side; ++i) {
        const double lo = axis[std::size_t(i)], hi = axis[std::size_t(i + 1)];
        // Nearer to lo, or half-way: the texts of the archive are decimal, so a value that
        // reads exactly half-way may lie a binary hair either side of it.
        if ((v - lo) - (hi - v) <= 1e-9 * (hi - lo)) return i;
    }
    return Side - 1;
}

double fractionalIndex(const Axis& axis, double v) {
    if (!std::isfinite(v)) return std::numeric_limits<double>::quiet_NaN();
    if (v <= axis.front()) return 0;
    for (int i = 0; i + 1 < Side; ++i) {
        const double lo = axis[std::size_t(i)], hi = axis[std::size_t(i + 1)];
        if (v <= hi) return i + (v - lo) / (hi - lo);
    }
    return Side - 1;
}

const std::array<StatParameter, 10>& statParameters() {
    static const std::array<StatParameter, 10> p{{{"L1", column::L1},
                                                  {"L2", column::L2},
                                                  {"AI", column::AI},
                                                  {"SP", column::SP},
                                                  {"STR", column::STR},
                                                  {"SD", column::SD},
                                                  {"U1do", column::U1do},
                                                  {"U1posle", column::U1posle},
                                                  {"U2do", column::U2do},
                                                  {"U2posle", column::U2posle}}};
    return p;
}

int CellGrid::total() const {
    int n = 0;
    for (const CellStats& c : m_cells) n += c.count;
    return n;
}

QString meanText(double mean) {
    // Rounded to three decimals first, so that a mean of 0.1 + 0.2 reads 0,3.
    const double rounded = std::round(mean * 1000) / 1000;
    return formatGeneral(rounded == 0 ? 0.0 : rounded);
}

QString cellToolTip(const CellStats& cell, bool english) {
    if (cell.count <= 0) return {};
    const QString lines[4] = {
        english ? QStringLiteral("Samples: %1") : QStringLiteral("Отсчётов: %1"),
        english ? QStringLiteral("Mean: %1") : QStringLiteral("Среднее: %1"),
        english ? QStringLiteral("Min: %1") : QStringLiteral("Мин: %1"),
        english ? QStringLiteral("Max: %1") : QStringLiteral("Макс: %1"),
    };
    return lines[0].arg(cell.count) + QLatin1Char('\n') + lines[1].arg(meanText(cell.mean())) +
           QLatin1Char('\n') + lines[2].arg(formatGeneral(cell.min)) + QLatin1Char('\n') +
           lines[3].arg(formatGeneral(cell.max));
}

} // namespace analysis
