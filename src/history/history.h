#pragma once
// The module's history: a copy of every table, curve and settings image the tool read from
// a module or wrote to it, one file per transfer, in history/<identifier>/ beside the
// configuration files:
//   history/TR-70A03/2026-05-14_09-12-03_Lambda_read.txt
// Tables and curves are copies in the table file format, so the Open buttons read them;
// the settings copy holds one line per register. Files are written through a temporary
// one and never replaced: a second copy of the same kind within one second gets "_2",
// "_3", ... before ".txt". Pure code: QtCore only.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

#include "common/tablekind.h"

namespace history {

// A write the module stopped taking part way is WrittenPartial: its copy never passes for
// a complete write.
enum class Direction { Read, Written, WrittenPartial };

// The kind as copies' names carry it: "Lambda", "MAF", "Volt", "Emu1", "Emu2", "settings";
// "read", "written" or "written-partial".
QString kindName(TableKind kind);
QString directionName(Direction direction);

// The identifier as a folder name: blanks at either end dropped, every character other
// than ASCII letters, digits, '-', '_' and '.' replaced by '_', at most 64 characters (a
// module names itself in eight; a folder name has a length limit); "unknown" for an empty
// identifier and for "." and "..".
QString folderName(const QString& identifier);
// root/history/<folderName(identifier)>.
QString folder(const QString& root, const QString& identifier);
// "<yyyy-MM-dd_HH-mm-ss>_<kind>_<direction>.txt".
QString fileName(const QDateTime& when, TableKind kind, Direction direction);

// Writes one copy; the path written in *path, or false with the reason in *error.
bool keep(const QString& root, const QString& identifier, TableKind kind, Direction direction, const QByteArray& bytes,
          const QDateTime& when, QString* path, QString* error, bool english);
// The same at the current directory and time, a failure handed with its reason to report
// (when there is one): a copy that cannot be written never stops what it is a copy of.
bool keepHere(const QString& identifier, TableKind kind, Direction direction, const QByteArray& bytes, bool english,
              const std::function<void(const QString&)>& report);

struct Entry {
    QString path;
    QDateTime when;
    TableKind kind;
    Direction direction;
};
// The copies of one module, oldest first; files whose names are not copies are left out.
QList<Entry> list(const QString& root, const QString& identifier);

// The open dialog filter that shows the copies of one kind ("*_MAF_*.txt").
QString copyPattern(TableKind kind);

} // namespace history
