#include "app/protocolfile.h"

#include <QSaveFile>
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
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        *error = f.errorString();
        return false;
    }
    const QByteArray bytes = protocolFileBytes(logText);
    if (f.write(bytes) != bytes.size()) {
        *error = f.errorString();
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        *error = f.errorString();
        return false;
    }
    return true;
}
