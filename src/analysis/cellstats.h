#pragma once
// Where the samples of a recording fall on a correction table, free of widgets: the two
// axes of the tables (engine speed over the columns, engine load over the rows), the cell
// a sample belongs to, the engine's position between the breakpoints, and per cell the
// count, mean, lowest and highest value of one recorded parameter.
//
// A sample belongs to the cell of the nearest breakpoint on each axis; a value exactly
// half-way between two breakpoints goes to the lower one, and values beyond the ends go to
// the edge cells. A sample with a value that is not a finite number belongs nowhere.

#include <QString>

#include <array>
#include <cmath>
#include <limits>

#include "common/archivecolumns.h"

namespace analysis {

inline constexpr int Side = 8;
inline constexpr int CellCount = Side * Side;

// The breakpoints of one axis, strictly increasing.
using Axis = std::array<double, Side>;

// Engine speed (rpm) of columns 1..8.
const Axis& speedAxis();
// Engine load of rows 1..8: MAF voltage (V) or injection time (ms).
const Axis& mafVoltageAxis();
const Axis& injectionTimeAxis();
inline const Axis& loadAxis(bool mafVoltage) { return mafVoltage ? mafVoltageAxis() : injectionTimeAxis(); }

// True when the eight values are finite and strictly increasing.
bool axisUsable(const Axis& axis);

// Index 0..7 of the breakpoint nearest to v; -1 when v is not a finite number.
int nearestIndex(const Axis& axis, double v);

// Position of v along the axis in breakpoints, 0..7: whole at a breakpoint, linear in
// between, held at the ends. NaN when v is not a finite number.
double fractionalIndex(const Axis& axis, double v);

// The archive's columns (0 is the sample time) of the recorded parameters.
namespace column = archive::column;

// The parameters whose statistics can be asked for, in the order they are offered, with
// their codes (the same in both languages). L1 comes first: it is the default.
struct StatParameter {
    const char* code;
    int column;
};
const std::array<StatParameter, 10>& statParameters();
// The archive column of the load axis in force.
inline int loadColumn(bool mafVoltage) { return mafVoltage ? column::AI : column::SP; }

struct CellStats {
    int count = 0;
    double sum = 0;
    double min = std::numeric_limits<double>::infinity();
    double max = -std::numeric_limits<double>::infinity();
    double mean() const { return count > 0 ? sum / count : 0; }
    void add(double v) {
        ++count;
        sum += v;
        if (v < min) min = v;
        if (v > max) max = v;
    }
};

// The 64 cells, index (r - 1) * 8 + (c - 1) for load row r and speed column c (1..8), as
// the table grid counts them.
class CellGrid {
public:
    CellGrid(const Axis& speed, const Axis& load) : m_speed(speed), m_load(load) {}

    // Adds one sample; false (and nothing counted) when it belongs to no cell: its speed or
    // load is not a finite number, nor is the value.
    bool add(double speed, double load, double value) {
        if (!std::isfinite(value)) return false;
        const int c = nearestIndex(m_speed, speed);
        const int r = nearestIndex(m_load, load);
        if (c < 0 || r < 0) return false;
        m_cells[std::size_t(r * Side + c)].add(value);
        return true;
    }
    const CellStats& cell(int c, int r) const { return m_cells.at(std::size_t((r - 1) * Side + (c - 1))); }
    const std::array<CellStats, CellCount>& cells() const { return m_cells; }
    int total() const;

private:
    Axis m_speed, m_load;
    std::array<CellStats, CellCount> m_cells{};
};

// Bins rows first..last (inclusive) of a recording; value(row, column) reads one number.
template <class ValueOf>
CellGrid binRows(const Axis& speed, const Axis& load, int loadCol, int paramCol, int first, int last,
                 ValueOf&& value) {
    CellGrid grid(speed, load);
    for (int row = first; row <= last; ++row)
        grid.add(value(row, column::TP), value(row, loadCol), value(row, paramCol));
    return grid;
}

// The four lines of a cell's tool tip ("Отсчётов: N", "Среднее: m", "Мин: a", "Макс: b",
// or in English "Samples", "Mean", "Min", "Max"), numbers in the locale's form; empty for a
// cell without samples.
QString cellToolTip(const CellStats& cell, bool english);
// The mean as the cell shows it: at most three decimals, in the locale's form.
QString meanText(double mean);

} // namespace analysis
