#pragma once
// The text files of the correction tables and emulation curves: 64 lines, one cell or point
// each, every line ending in CR LF, nothing else. The kind of a file is told only by the
// end of its name. Pure code: QtCore only.
//
// Table files hold the cells of the table grid row by row (columns 1..8 within a row);
// curve files hold points 1..64. Lines are kept as the grid showed them (a curve file
// written under a comma locale holds "2,35", under a point locale "2.35").

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "common/tablekind.h"
#include "common/textlines.h"

namespace tablefiles {

constexpr int LineCount = 64;

// The end of a file name of the kind: "MAF.txt", "Lambda.txt", "Volt.txt", "Emu.txt" (both
// curves; a curve file opens into either). The settings have no table file: empty.
QString suffix(TableKind kind);
// The file dialog filter of the kind in Qt's form: "Данные MAF (MAP) (*MAF.txt)".
QString dialogFilter(TableKind kind);
// The chosen name with the kind's suffix appended, unless it already ends with it
// ("car1" gives "car1MAF.txt"; "car1MAF.txt" stays).
QString withSuffix(const QString& chosen, TableKind kind);

// The 64 texts as file bytes: each in the local 8-bit encoding followed by CR LF. Missing
// texts are written as empty lines, texts beyond the 64th are not written.
QByteArray encode(const QStringList& lines);
// What checking a table or curve file found: nothing (ok), or the first line (1-based)
// that is missing (the file ends before it), not a number, too long, or not text at all.
struct FileCheck {
    int badLine = 0;
    bool lineMissing = false;
    textlines::Fault fault = textlines::Fault::None; // a line too long, or a binary file
    QString badText;
    // Every line readable, none with a value (a table file of line ends only): taken, it
    // would blank the grid, and written to the module that is a table of zeros.
    bool noValue = false;
    bool ok() const { return badLine == 0 && !noValue; }
};

// A table file, checked whole before anything is loaded: 64 lines, each empty or a number
// of any magnitude (either decimal separator; the table's limits apply at its next
// refresh), at least one of them a number. Texts are the lines unchanged. Lines after the
// 64th are ignored. Nothing is kept when a line fails or no line has a value.
struct TableFile : FileCheck {
    QStringList texts;
};
TableFile parseTable(const QByteArray& bytes);

// A curve file, checked whole before anything is loaded: each of the first 64 lines with
// its decimal separator turned into the locale's, and its value (not limited; 7 stays 7).
// Lines after the 64th are ignored.
struct CurveFile : FileCheck {
    QStringList texts;
    QList<double> volts;
};
CurveFile parseCurve(const QByteArray& bytes);

// A table or curve file read and checked whole before anything changes: its 64 texts (and
// a curve's values), or the message naming the file and what is wrong with it.
struct Loaded {
    QStringList texts;
    QList<double> values;
    QString error;
    bool ok() const { return error.isEmpty(); }
};
Loaded load(TableKind kind, const QString& fileName, bool english);

// Messages in the interface language (English when english is true).
QString curveLineMessage(const QString& fileName, const FileCheck& parsed, bool english);
QString tableLineMessage(const QString& fileName, const FileCheck& parsed, bool english);

// Reads a file, as much of it as 64 lines of the longest length allowed can fill (the rest
// is never looked at); false with the reason in *error (naming the file) when it cannot be
// opened or read. Files are written with userfiles::write.
bool readFile(const QString& fileName, QByteArray* bytes, QString* error, bool english);

} // namespace tablefiles
