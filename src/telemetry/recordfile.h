#pragma once
// Parameter record files ("..._data.txt"): one sample per line, lines ended by CR LF, no
// header. A line holds twelve whole numbers, each followed by its marker:
//   1225#Step#345#SP#1050#STR#212#AI#85000#TP#310000#SD#-180#L1#0#L2#0#U1do#0#U1posle#0#U2do#0#U2posle#
// Every number is its quantity in hundredths of the unit (time 12,25 s, injection 3,45 ms,
// ...), cut toward zero. The markers are the only separators. Pure code: QtCore only.
//
// A record is held in units (the archive's form), so a record read and written again gives
// the same bytes.

#include <QByteArray>
#include <QString>

#include "common/archivecolumns.h"

#include <array>
#include <functional>
#include <vector>

namespace recordfile {

// Fields of a line: the archive's columns, the sample time first.
inline constexpr int Fields = archive::ColumnCount;

// The marker after field i: "#" + its code + "#" ("#Step#", "#SP#", ...).
const QByteArray& marker(int field);

// The end of every record file's name, and the file dialogs' filter in Qt's form.
QString suffix();
QString dialogFilter();
// The chosen name with the suffix appended unless it already ends with it.
QString withSuffix(const QString& chosen);

// The largest number of hundredths a line may hold, beyond it refused: a field is held in
// units (hundredths / 100), and beyond about 10^15 hundredths the division and the
// multiplication back no longer give the same whole number, so a saved record would write
// another number than it read. 10^14 hundredths are a million times any quantity the
// module measures.
inline constexpr long long MaxHundredths = 100000000000000LL; // 10^14

// A value in hundredths, cut toward zero; a value that is a whole number of hundredths
// but sits a hair below it in binary (3,45 * 100 = 344,99999...) counts as that number.
long long hundredths(double value);

// One line for twelve values in units (CR LF included).
QByteArray encodeLine(const std::array<double, Fields>& values);
// A whole file of `rows` lines; value(row, field) gives the value in units, rows from 0.
QByteArray encode(int rows, const std::function<double(int row, int field)>& value);

// A file read: the values of its lines in units (field / 100), one vector per field, up to
// the first line that cannot be read.
struct Record {
    std::array<std::vector<double>, Fields> values;
    int rows() const { return int(values[0].size()); }
    // 0 when every line was read; otherwise the number of the first line (1-based, as the
    // file counts its lines) that lacks a marker or holds a field that is not a number.
    int badLine = 0;
    QString badText;
    bool ok() const { return badLine == 0; }
};
// Reads the lines of a file. Blank lines and blanks before a line are skipped; a line
// ends at LF, CR LF or CR; text after the last marker is ignored. A field may be written
// with the locale's decimal separator; blanks around it are ignored.
Record parse(const QByteArray& bytes);
// One line (no line end): the twelve values in units; false when it cannot be read.
bool parseLine(const QByteArray& line, std::array<double, Fields>* values);

// Messages in the interface language (English when english is true).
QString badLineMessage(const QString& fileName, const Record& record, bool english);
QString nothingRecordedMessage(bool english);

} // namespace recordfile
