#pragma once
// The one transfer cursor of the table and curve transfers, and the addresses of the
// emulation curves' points. Only one table or curve transfer runs at a time, so they all
// walk with the same cursor. Pure code: QtCore only.

#include <QString>

// Two indexes into the lists of address characters: index1 runs fastest (the table's
// column, or a curve point's first address character), index2 steps when index1 wraps
// (the table's row, or the point's second character).
struct TransferCursor {
    int index1 = 0;
    int index2 = 0;
    int count1 = 8; // values of index1
    int count2 = 8; // values of index2

    // Back to the first cell or point of a walk over count1 x count2 items.
    void start(int n1 = 8, int n2 = 8);
    // Steps to the next item; false (and the cursor stays on the last item) when the walk
    // has ended.
    bool advance();

    // As a table cell: column 1..8 and row 1..8.
    int column() const { return index1 + 1; }
    int row() const { return index2 + 1; }
    // As a curve point, 1..count1 * count2.
    int point() const { return index2 * count1 + index1 + 1; }
    // 0-based position in the walk.
    int position() const { return index2 * count1 + index1; }
};

namespace curvecodec {

constexpr int PointCount = 64;

// The two address characters of curve point i (1..64) as they travel in a command item:
// curve 1 "88", "98" .. "F8", "89" .. "FF"; curve 2 "03", "13" .. "F3", "04" .. "F6".
// Empty for another curve or point.
QString pointAddress(int curve, int i);
// The same address in the module's numbering (curve 1 point 1 is 0x88, point 8 is 0x8F;
// curve 2 point 1 is 0x30); -1 for another curve or point.
int pointModuleAddress(int curve, int i);
// The point of a curve stored at a module address, 1..64, or 0 when none is.
int pointAt(int curve, int moduleAddress);
// The cursor walk of a curve's points: n1 x n2 (8 x 8 for curve 1, 16 x 4 for curve 2).
int firstCount(int curve);
int secondCount(int curve);

// Voltage of a received point byte: byte / 48, limited to 0..5.
double voltageFromByte(int byte);
// The same voltage as the curve grid shows it: cut toward zero to two decimals, in the
// locale's notation ("2,5" for the byte 120).
QString voltageText(int byte);

} // namespace curvecodec
