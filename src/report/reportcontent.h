#pragma once
// What a work report holds, chosen from the module's history: for the settings and for each
// table and curve the work touched, the module's state before the work and after it, and
// what differs between the two. Pure code: QtCore only.
//
// The work is every copy from a chosen start on (the program's start, or an earlier date of
// the history). For each kind:
//   before  the first copy of the work when it is a read; when the work began with a write
//           (nothing was read first), the last copy from before the work, marked as earlier,
//           or nothing when there is none;
//   after   tables and curves: the last written copy of the work (nothing when none was
//           written); settings: the last copy of the work, read or written, i.e. what the
//           module holds now as far as the program knows.
// A copy that cannot be read or is not what its kind holds is left out and named; the
// choice goes on with the copies around it, so a damaged file never stops a report.

#include "history/history.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>

#include <functional>

namespace report {

constexpr int Cells = 64;
// The biggest copy read: a copy holds 64 short lines, or a few dozen register lines.
constexpr qsizetype MaxCopyBytes = 64 * 1024;

// One copy read and checked: the 64 cells or points as the module holds them (bytes,
// tables row by row, curves point by point) or the settings registers (register -> byte).
struct Copy {
    history::Entry entry{};
    QList<int> bytes;
    QMap<int, int> registers;
};

// Why a copy was left out.
enum class Fault {
    Unreadable, // the file cannot be opened or read (reason holds the system's words)
    TooLarge,   // far bigger than any copy
    NotText,    // a NUL byte: binary or UTF-16
    TooLong,    // a line longer than any copy's
    Missing,    // the file ends before line `line`
    NotNumber,  // line `line` is empty or not a number of its kind
    OutOfRange, // line `line` is a number the module cannot hold there
    BadLine,    // line `line` of a settings copy is not a register line
    Empty,      // a settings copy without a register
};
struct Damaged {
    QString path;
    Fault fault = Fault::Unreadable;
    int line = 0;
    QString reason;
};

// Checks bytes as a copy of its kind (copy->entry is left as it is).
bool parseCopy(TableKind kind, const QByteArray& bytes, Copy* copy, Damaged* damaged);
// Reads and checks the copy of an entry; false with *damaged filled (its path included).
bool readCopy(const history::Entry& entry, Copy* copy, Damaged* damaged);
using CopyReader = std::function<bool(const history::Entry&, Copy*, Damaged*)>;

// The module's state on one side of the work.
struct Side {
    bool present = false;
    bool earlier = false; // from before the work: nothing was read before the first write
    Copy copy;
};
// One cell, point or register whose byte differs: index 0..63 (cell (c, r) is (r-1)*8 +
// c-1, point i is i-1) or the register number.
struct Change {
    int index = 0;
    int before = 0;
    int after = 0;
    bool operator==(const Change&) const = default;
};
struct Part {
    TableKind kind = TableKind::Settings;
    Side before, after;
    QList<Change> changes; // empty unless both sides are present
    int copies = 0;        // copies of the work of this kind that were read
};

struct Content {
    QDateTime since;
    QDateTime first, last; // the first and last copy of the work; invalid without one
    QList<Part> parts;     // settings, Lambda, MAF, voltage table, curve 1, curve 2: those with copies
    QList<Damaged> damaged;

    const Part* part(TableKind kind) const;
    // True when anything differs between before and after.
    bool changed() const;
};

// The kinds in report order: the settings first, then tables and curves.
const QList<TableKind>& reportOrder();
// The changes between two sides (both of one kind).
QList<Change> compare(TableKind kind, const Copy& before, const Copy& after);

// Chooses from the copies of one module (history::list, oldest first). Copies from `since`
// on belong to the work (whole seconds, as the names keep them).
Content choose(const QList<history::Entry>& copies, const QDateTime& since, const CopyReader& read = readCopy);

// The days of the history with copies, newest first, each with its first copy's time: the
// starts a user may choose for a report of earlier work.
QList<QDateTime> workDays(const QList<history::Entry>& copies);

} // namespace report
