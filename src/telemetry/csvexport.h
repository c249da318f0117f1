#pragma once
// A recording as CSV for spreadsheets: a header row, then one row per sample with the
// time and the eleven parameters, comma-separated, a point as decimal separator, UTF-8,
// LF line ends. Values are written as the record file holds them (whole hundredths, cut
// toward zero), without trailing zeros: 12.25, 0.5, -0.05, 3. Pure code: QtCore only.

#include <QByteArray>
#include <QString>

#include <functional>

namespace csvexport {

// "time_s,SP,STR,AI,TP,SD,L1,L2,U1do,U1posle,U2do,U2posle" and its LF.
QByteArray header();
// One value in the form above.
QByteArray number(double value);
// The header and `rows` rows; value(row, field) gives the value in units (fields as the
// record file orders them), rows from 0.
QByteArray encode(int rows, const std::function<double(int row, int field)>& value);

// The record save dialog's second filter, and whether a chosen name asks for CSV.
QString dialogFilter();
bool isCsvName(const QString& fileName);

} // namespace csvexport
