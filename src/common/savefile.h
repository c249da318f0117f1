#pragma once
// Writing a whole file the program or the user keeps. Pure code: QtCore only.

#include <QByteArray>
#include <QString>

// Writes bytes as the file's whole content: through a temporary file renamed into place, so
// a failed write leaves the older file as it was. Where the folder takes no new file (a
// folder the user may not write, or an immutable one) but the file itself may be written,
// the file is written in place instead. False with the system's reason in *reason.
bool saveWholeFile(const QString& path, const QByteArray& bytes, QString* reason);
