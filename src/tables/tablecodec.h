#pragma once
// The three correction tables as the module stores them: cell addresses, the command items
// of a cell, the byte encodings, and the rules that keep a cell inside its table's domain.
// Cells are numbered as the table grid shows them: column c (engine speed) and row r
// (engine load), both 1..8. Pure code: QtCore only.

#include <QPoint>
#include <QString>

#include <array>

#include "common/tablekind.h"

namespace tablecodec {

constexpr int Side = 8;        // cells per row and per column
constexpr int CellCount = 64;

// The two address characters of cell (c, r) as they travel in a command item ("78" for
// MAF cell (1,1), "F8" for Lambda cell (1,1)); empty outside 1..8.
QString cellAddress(TableKind kind, int c, int r);
// The same address in the module's own numbering (high digit first): MAF (1,1) is 0x87,
// Lambda (1,1) is 0x8F; -1 outside 1..8.
int cellModuleAddress(TableKind kind, int c, int r);

// Read item of a cell: its address characters and "*".
QString readItem(TableKind kind, int c, int r);
// Write item of a cell: the byte in low-first hex, the address characters and ")".
// byte must be 0..255.
QString writeItem(TableKind kind, int c, int r, int byte);

// Cell text from a received byte: byte - 128 for the Lambda and MAF tables (a whole
// number -128..127).
QString wholeCellText(int byte);
// Voltage from a received byte: byte / 52 at full precision (the hidden model cell) and cut
// toward zero to two decimals (the shown cell), in the locale's notation.
QString voltageModelText(int byte);
QString voltageCellText(int byte);

// Byte to send for a cell text: whole value + 128 (Lambda, MAF) or round(V * 52) with ties
// to even (voltage), limited to 0..255 so that an item never carries more than one byte.
// Returns -1 when the text is not a number of the table's kind (a whole number for Lambda
// and MAF; any number for the voltage table).
int cellByte(TableKind kind, const QString& text);

// The domain rules applied when a table is shown or committed. A Lambda or MAF cell: empty
// becomes "0", below -99 "-99", 100 or more "99". A voltage cell: the other decimal
// separator becomes the locale's, empty becomes "0", below 0 "0", above 5 "5", then it is
// cut toward zero to two decimals. Return false (and leave *out alone) when the text is
// not a number of the table's kind.
bool normaliseWhole(const QString& text, QString* out);
bool normaliseVoltage(const QString& text, QString* out);
bool normaliseCell(TableKind kind, const QString& text, QString* out);

// The message shown when a cell does not hold a number of its table's kind, in the
// interface language (English when english is true).
QString notANumberMessage(TableKind kind, const QString& text, bool english);

// Where Enter leaves the grid's cursor: one row down; from row 8 to row 1 of the next
// column; from (8,8) back to (1,1). x is the column, y the row.
QPoint nextCellOnEnter(int c, int r);

} // namespace tablecodec

// A hidden model grid: the 64 cell texts of one table, by column c and row r (1..8).
// Out-of-range coordinates read as an empty text and are ignored when written.
class ModelGrid {
public:
    QString cell(int c, int r) const;
    void setCell(int c, int r, const QString& text);
    void clear();

private:
    std::array<QString, tablecodec::CellCount> m_cells;
};
