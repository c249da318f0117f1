#pragma once
// The files the user names (tables, curves, records and their copies): reading one whole,
// or as much of it as its kind can hold, writing one whole (common/savefile.h), and the
// messages about them that name the file. Pure code: QtCore only.

#include <QByteArray>
#include <QString>

namespace userfiles {

// "The file '…' already exists. Replace it?", asked when a suffix the program appended to a
// chosen name makes it name a file that exists (the dialog asked only about the name as
// chosen). In the interface language (English when english is true).
QString overwriteQuestion(const QString& fileName, bool english);

// Reads the file, at most maxBytes of it (the rest is never looked at); a negative maxBytes
// reads it whole. False with the reason, naming the file, in *error when it cannot be opened
// or read.
bool read(const QString& fileName, qint64 maxBytes, QByteArray* bytes, QString* error, bool english);
// Writes the file whole through a temporary one, so a failed write leaves an older file as
// it was; false with the reason, naming the file, in *error.
bool write(const QString& fileName, const QByteArray& bytes, QString* error, bool english);

} // namespace userfiles
