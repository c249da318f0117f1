#pragma once
// How the protocol log is written to a file: the chosen name always gets ".txt" appended
// (a name that already ends in ".txt" gets a second one, as users of the older releases
// know it), every line ends with CR LF, and one more CR LF closes the file.

#include <QByteArray>
#include <QString>

QString protocolFileName(const QString& chosen);
// The bytes of the file for the log text (lines separated by '\n'), UTF-8.
QByteArray protocolFileBytes(const QString& logText);
// Writes the file, replacing an existing one only once the new one is complete.
// Returns false and fills *error with the system's message when it cannot.
bool writeProtocolFile(const QString& path, const QString& logText, QString* error);
