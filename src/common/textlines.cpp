#include "common/textlines.h"

#include <QFile>

#include <algorithm>

namespace textlines {

Lines split(const QByteArray& bytes, int maxLines) {
    Lines out;
    const char* data = bytes.constData();
    const qsizetype n = bytes.size();
    qsizetype pos = 0;
    while (pos < n && (maxLines < 0 || out.lines.size() < maxLines)) {
        const int lineNo = int(out.lines.size()) + 1;
        // Look no further than one byte past the longest line allowed (a character takes up
        // to four bytes of UTF-8).
        const qsizetype limit = std::min(n, pos + MaxLineBytes + 1);
        qsizetype end = pos;
        while (end < limit && data[end] != '\n' && data[end] != '\r' && data[end] != '\0') ++end;
        if (end < n && data[end] == '\0') {
            out.fault = Fault::NotText;
            out.badLine = lineNo;
            return out;
        }
        const QString line = end - pos > MaxLineBytes ? QString() : QString::fromUtf8(data + pos, end - pos);
        if (end - pos > MaxLineBytes || line.size() > MaxLineLength) {
            out.fault = Fault::TooLong;
            out.badLine = lineNo;
            return out;
        }
        out.lines << line;
        pos = end;
        if (pos < n && data[pos] == '\r') {
            ++pos;
            if (pos < n && data[pos] == '\n') ++pos;
        } else if (pos < n) {
            ++pos; // LF
        }
    }
    return out;
}

QString faultWhat(Fault fault, bool english) {
    switch (fault) {
    case Fault::TooLong:
        return english ? QStringLiteral("longer than %1 characters").arg(MaxLineLength)
                       : QStringLiteral("длиннее %1 знаков").arg(MaxLineLength);
    case Fault::NotText:
        return english ? QStringLiteral("binary data: this is not a text file")
                       : QStringLiteral("двоичные данные: это не текстовый файл");
    case Fault::None:
        break;
    }
    return QString();
}

QString faultText(const Lines& lines, bool english) {
    if (lines.ok()) return QString();
    return (english ? QStringLiteral("line %1: %2") : QStringLiteral("строка %1: %2"))
        .arg(lines.badLine)
        .arg(faultWhat(lines.fault, english));
}

bool readPrefix(const QString& path, qsizetype maxBytes, QByteArray* bytes, QString* reason) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *reason = f.errorString();
        return false;
    }
    *bytes = maxBytes < 0 ? f.readAll() : f.read(maxBytes);
    if (f.error() != QFileDevice::NoError) {
        *reason = f.errorString();
        return false;
    }
    return true;
}

} // namespace textlines
