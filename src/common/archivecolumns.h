#pragma once
// The columns of a recording: as the archive table holds it, as its record file lines and
// its journal carry it, and as the statistics over the tables read it. Column 0 is the
// sample time, then the eleven recorded parameters in a fixed order, each known by its code
// ("Step" for the time, "SP", ..., "U2posle"). Pure code: QtCore only.

#include <QString>
#include <QStringList>

namespace archive {

namespace column {
inline constexpr int Time = 0;
inline constexpr int SP = 1, STR = 2, AI = 3, TP = 4, SD = 5, L1 = 6, L2 = 7;
inline constexpr int U1do = 8, U1posle = 9, U2do = 10, U2posle = 11;
} // namespace column

inline constexpr int ColumnCount = 12;

// The code of a column; empty outside 0..11.
QString code(int column);
// Every column's code, in column order (the archive table's headings).
const QStringList& codes();

} // namespace archive
