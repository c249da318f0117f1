#pragma once
// Lines of the text files the program reads (settings, tables, curves, records). Nothing a
// file holds is trusted: a line longer than any line these files have, or a NUL byte (a
// UTF-16 or binary file), stops the split at once, before anything is converted, so a
// damaged or foreign file is reported by its line and never parsed for seconds. Pure code:
// QtCore only.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace textlines {

// No line of the program's files comes near it (a record line has about 90 characters).
constexpr qsizetype MaxLineLength = 512;
// The most bytes such a line can take in UTF-8.
constexpr qsizetype MaxLineBytes = 4 * MaxLineLength;

enum class Fault { None, TooLong, NotText };

struct Lines {
    QStringList lines;  // the lines before the fault, without their ends
    Fault fault = Fault::None;
    int badLine = 0;    // 1-based number of the line that stopped the split
    bool ok() const { return fault == Fault::None; }
};

// Splits at CR LF, LF or a lone CR; a last line without an end counts, nothing after the
// last line end is an extra empty line. Stops after maxLines lines when maxLines >= 0 (what
// follows is not looked at). Bytes are read as UTF-8.
Lines split(const QByteArray& bytes, int maxLines = -1);

// What is wrong with the line, in the interface language: "longer than 512 characters".
QString faultWhat(Fault fault, bool english);
// Why the split stopped: "line 3 is longer than 512 characters".
QString faultText(const Lines& lines, bool english);

// Reads at most maxBytes bytes of a file (all of it when maxBytes < 0); false with the
// system's reason in *reason when the file cannot be opened or read.
bool readPrefix(const QString& path, qsizetype maxBytes, QByteArray* bytes, QString* reason);

} // namespace textlines
