#include "tables/tablecodec.h"

#include "common/hex.h"
#include "common/numtext.h"

#include <algorithm>
#include <limits>

namespace tablecodec {

namespace {

constexpr double VoltageCounts = 52.0; // bytes per volt of the voltage table
constexpr double VoltageMax = 5.0;
constexpr int WholeLimit = 99;

bool inGrid(int c, int r) { return c >= 1 && c <= Side && r >= 1 && r <= Side; }

// The module's address characters: the first by column, the second by row.
const char kMafColumns[] = "76543210";
const char kLambdaColumns[] = "FEDCBA98";
const char kRows[] = "89ABCDEF";

// A whole number as the tables hold it: optional sign and digits, blanks around it
// allowed. Texts too long for an integer keep their sign, which is all the limits need.
bool parseWhole(const QString& text, qint64* value) {
    const QString t = text.trimmed();
    int i = 0;
    if (i < t.size() && (t.at(i) == QLatin1Char('-') || t.at(i) == QLatin1Char('+'))) ++i;
    if (i == t.size()) return false;
    for (int k = i; k < t.size(); ++k)
        if (!t.at(k).isDigit() || t.at(k).unicode() > 127) return false;
    bool ok = false;
    const qint64 v = t.toLongLong(&ok);
    if (ok) {
        *value = v;
    } else {
        *value = t.startsWith(QLatin1Char('-')) ? std::numeric_limits<qint64>::min()
                                                : std::numeric_limits<qint64>::max();
    }
    return true;
}

} // namespace

QString cellAddress(TableKind kind, int c, int r) {
    if (!inGrid(c, r)) return QString();
    const char* columns = kind == TableKind::Lambda ? kLambdaColumns : kMafColumns;
    return QString(QLatin1Char(columns[c - 1])) + QLatin1Char(kRows[r - 1]);
}

int cellModuleAddress(TableKind kind, int c, int r) {
    const QString a = cellAddress(kind, c, r);
    if (a.isEmpty()) return -1;
    return lowFirstByte(a);
}

QString readItem(TableKind kind, int c, int r) { return cellAddress(kind, c, r) + QLatin1Char('*'); }

QString writeItem(TableKind kind, int c, int r, int byte) {
    return lowFirstHex(byte) + cellAddress(kind, c, r) + QLatin1Char(')');
}

QString wholeCellText(int byte) { return QString::number(byte - 128); }

QString voltageModelText(int byte) { return formatGeneral(byte / VoltageCounts); }

QString voltageCellText(int byte) { return formatGeneral(truncDecimals(byte / VoltageCounts, 2)); }

int cellByte(TableKind kind, const QString& text) {
    if (kind == TableKind::Voltage) {
        double v = 0;
        if (!parseNumber(text, &v)) return -1;
        return int(std::clamp(roundHalfEven(v * VoltageCounts), 0.0, 255.0));
    }
    qint64 v = 0;
    if (!parseWhole(text, &v)) return -1;
    return int(std::clamp<qint64>(v, -128, 127) + 128);
}

bool normaliseWhole(const QString& text, QString* out) {
    if (text.isEmpty()) {
        *out = QStringLiteral("0");
        return true;
    }
    qint64 v = 0;
    if (!parseWhole(text, &v)) return false;
    if (v < -WholeLimit) {
        *out = QStringLiteral("-99");
    } else if (v > WholeLimit) {
        *out = QStringLiteral("99");
    } else {
        *out = text;
    }
    return true;
}

bool normaliseVoltage(const QString& text, QString* out) {
    // The other separator is accepted (a value typed or pasted with a point under a comma
    // locale); the cell is rewritten in the locale's notation below.
    if (text.isEmpty()) {
        *out = QStringLiteral("0");
        return true;
    }
    double v = 0;
    if (!parseNumber(text, &v)) return false;
    if (!(v >= 0)) v = 0;
    if (v > VoltageMax) v = VoltageMax;
    *out = formatGeneral(truncDecimals(v, 2));
    return true;
}

bool normaliseCell(TableKind kind, const QString& text, QString* out) {
    return kind == TableKind::Voltage ? normaliseVoltage(text, out) : normaliseWhole(text, out);
}

QString notANumberMessage(TableKind kind, const QString& text, bool english) {
    const bool whole = kind != TableKind::Voltage;
    if (english)
        return whole ? QStringLiteral("'%1' is not a valid whole number").arg(text)
                     : QStringLiteral("'%1' is not a valid number").arg(text);
    return whole ? QStringLiteral("«%1» — не целое число").arg(text)
                 : QStringLiteral("«%1» — не число").arg(text);
}

QPoint nextCellOnEnter(int c, int r) {
    if (r < Side) return QPoint(c, r + 1);
    if (c < Side) return QPoint(c + 1, 1);
    return QPoint(1, 1);
}

} // namespace tablecodec

QString ModelGrid::cell(int c, int r) const {
    if (c < 1 || c > tablecodec::Side || r < 1 || r > tablecodec::Side) return QString();
    return m_cells[(r - 1) * tablecodec::Side + (c - 1)];
}

void ModelGrid::setCell(int c, int r, const QString& text) {
    if (c < 1 || c > tablecodec::Side || r < 1 || r > tablecodec::Side) return;
    m_cells[(r - 1) * tablecodec::Side + (c - 1)] = text;
}

void ModelGrid::clear() {
    for (QString& s : m_cells) s.clear();
}
