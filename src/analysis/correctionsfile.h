#pragma once
// The file that keeps the settings of the corrections and the locked cells of every module
// (by its identifier), beside the configuration files. Pure code: QtCore only.
//
// One "key=value" line each, CR LF, UTF-8, numbers with a point:
//   delay_ms=300             every numeric setting by its key (settingFields())
//   targets_1=14.5 14.5 ...  the eight targets of load row 1 (rows 1..8), blank-separated
//   lock.TR-70A03=0000000000000081
//                            the locked cells of a module: bit (r - 1) * 8 + (c - 1) of the
//                            sixteen hex digits; the identifier percent-encoded (letters,
//                            digits, "-", ".", "_", "~" stay as they are)
// A key left out keeps its default. The file is checked whole before anything is taken
// from it: a line too long or not text, a line without "=", a key that is unknown or
// repeated, a number that is not one, not whole where it must be or out of its range, a row
// without exactly eight targets, a lock that is not sixteen hex digits or whose identifier
// is not UTF-8 text: the first such line is reported and nothing changes.

#include "analysis/corrections.h"

#include <QByteArray>
#include <QMap>
#include <QString>

namespace correctionsfile {

inline const QString FileName = QStringLiteral("Corrections_A.ini");
// No such file holds more (64 lines of settings, a few hundred modules' locks).
constexpr qsizetype MaxBytes = 256 * 1024;

struct Contents {
    analysis::CorrectionSettings settings;
    QMap<QString, analysis::CellMask> locks; // by module identifier; modules without locks are left out
};

QByteArray encode(const Contents& contents);

struct Parsed {
    Contents contents;
    int badLine = 0;  // 1-based line of the problem; 0 when it is the file as a whole
    QString problem;  // what is wrong, in the interface language; empty for a good file
    bool ok() const { return problem.isEmpty(); }
};
Parsed parse(const QByteArray& bytes, bool english);

enum class ReadStatus { Read, Missing, Bad };
// Reads and checks the file; *contents changes only when it is Read. On Bad (or a file
// that cannot be read) *error names the file and the problem.
ReadStatus read(const QString& path, Contents* contents, QString* error, bool english);
// Writes the whole file through a temporary one; false with the reason in *error.
bool write(const QString& path, const Contents& contents, QString* error, bool english);

} // namespace correctionsfile
