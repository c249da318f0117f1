#include "app/protocolfile.h"

#include "common/savefile.h"

#include <QStringList>

QString protocolFileName(const QString& chosen) { return chosen + QStringLiteral(".txt"); }

QByteArray protocolFileBytes(const QString& logText) {
    QByteArray out;
    const QStringList lines = logText.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        out += line.toUtf8();
        out += "\r\n";
    }
    out += "\r\n";
    return out;
}

bool writeProtocolFile(const QString& path, const QString& logText, QString* error) {
    return saveWholeFile(path, protocolFileBytes(logText), error);
}
