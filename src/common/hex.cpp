#include "common/hex.h"

int hexDigit(QChar c) {
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    return -1;
}

double Hex_Digit_Value(const QString& ch) {
    if (ch.size() != 1) return -1;
    return hexDigit(ch.at(0));
}

const QStringList& Tab_Byte_Hex() {
    static const QStringList table = [] {
        QStringList t;
        for (int i = 0; i < 256; ++i) t << QString::asprintf("%02X", i);
        return t;
    }();
    return table;
}

const QStringList& Tab_Byte_Bin() {
    static const QStringList table = [] {
        QStringList t;
        for (int i = 0; i < 256; ++i) t << QString::number(i, 2).rightJustified(8, QLatin1Char('0'));
        return t;
    }();
    return table;
}

QString charAt(const QString& text, int pos) {
    if (pos < 1 || pos > text.size()) return QString();
    return text.mid(pos - 1, 1);
}

int lowFirstByteRaw(const QString& answer, int pos) {
    const int lo = int(Hex_Digit_Value(charAt(answer, pos)));
    const int hi = int(Hex_Digit_Value(charAt(answer, pos + 1)));
    return 16 * hi + lo;
}

int lowFirstByte(const QString& answer, int pos) {
    const int lo = int(Hex_Digit_Value(charAt(answer, pos)));
    const int hi = int(Hex_Digit_Value(charAt(answer, pos + 1)));
    if (lo < 0 || hi < 0) return -1;
    return 16 * hi + lo;
}

int lowFirstWord(const QString& answer, int pos) {
    int value = 0;
    for (int i = 3; i >= 0; --i) {
        const int d = int(Hex_Digit_Value(charAt(answer, pos + i)));
        if (d < 0) return -1;
        value = value * 16 + d;
    }
    return value;
}

QString lowFirstHex(int byte) {
    const QString& h = Tab_Byte_Hex().at(byte & 0xFF);
    return QString(h.at(1)) + h.at(0);
}

QString writeItem(int value, int address) { return lowFirstHex(value) + lowFirstHex(address) + QLatin1Char(')'); }
QString readRegItem(int address) { return lowFirstHex(address) + QLatin1Char('*'); }
QString readByteItem(int address) { return lowFirstHex(address) + QLatin1Char('%'); }
QString readWordItem(int address) { return lowFirstHex(address) + QLatin1Char('&'); }

QString receivedDigitsToBits(const QString& twoChars) {
    if (twoChars.size() < 2) return QString();
    const QString highFirst = QString(twoChars.at(1)) + twoChars.at(0);
    const int idx = Tab_Byte_Hex().indexOf(highFirst);
    if (idx < 0) return QString();
    return Tab_Byte_Bin().at(idx);
}

QString bitsToWriteText(const QString& bits) {
    const int idx = Tab_Byte_Bin().indexOf(bits);
    if (idx < 0) return QString();
    const QString& h = Tab_Byte_Hex().at(idx);
    return QString(h.at(1)) + h.at(0);
}
