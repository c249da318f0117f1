#include "telemetry/recordfile.h"

#include "common/numtext.h"
#include "common/textlines.h"

#include <QDir>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace recordfile {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// One field in hundredths, read as a number: a plain whole number quickly, anything else
// under the locale (the file is in the 8-bit code page).
bool fieldValue(const char* begin, const char* end, double* value) {
    while (begin < end && isBlank(*begin)) ++begin;
    while (end > begin && isBlank(end[-1])) --end;
    if (begin == end) return false;
    long long n = 0;
    const auto r = std::from_chars(begin, end, n);
    if (r.ec == std::errc() && r.ptr == end) {
        if (n >= MaxHundredths || n <= -MaxHundredths) return false;
        *value = double(n);
        return true;
    }
    double x = 0;
    if (!parseNumber(QString::fromLocal8Bit(begin, end - begin), &x) ||
        std::fabs(x) >= double(MaxHundredths))
        return false;
    *value = x;
    return true;
}

QString shown(const QString& fileName) { return QDir::toNativeSeparators(fileName); }

} // namespace

const QByteArray& marker(int field) {
    // Made once: every line of every record and journal uses them.
    static const std::array<QByteArray, Fields> m = [] {
        std::array<QByteArray, Fields> out;
        for (int i = 0; i < Fields; ++i) out[std::size_t(i)] = '#' + archive::code(i).toLatin1() + '#';
        return out;
    }();
    return m[std::size_t(field)];
}

QString suffix() { return QStringLiteral("_data.txt"); }

QString dialogFilter() { return QStringLiteral("Данные (*_data.txt)"); }

QString withSuffix(const QString& chosen) {
    return chosen.endsWith(suffix(), Qt::CaseInsensitive) ? chosen : chosen + suffix();
}

long long hundredths(double value) {
    const double x = value * 100;
    const double nearest = std::round(x);
    if (std::abs(x - nearest) <= 1e-9 * std::max(1.0, std::abs(x))) return (long long)nearest;
    return (long long)std::trunc(x);
}

QByteArray encodeLine(const std::array<double, Fields>& values) {
    QByteArray line;
    line.reserve(128);
    char digits[24];
    for (int i = 0; i < Fields; ++i) {
        const auto r = std::to_chars(digits, digits + sizeof digits, hundredths(values[std::size_t(i)]));
        line.append(digits, r.ptr - digits);
        line.append(marker(i));
    }
    line.append("\r\n");
    return line;
}

QByteArray encode(int rows, const std::function<double(int row, int field)>& value) {
    QByteArray out;
    out.reserve(qsizetype(rows) * 96);
    std::array<double, Fields> v;
    for (int r = 0; r < rows; ++r) {
        for (int f = 0; f < Fields; ++f) v[std::size_t(f)] = value(r, f);
        out.append(encodeLine(v));
    }
    return out;
}

bool parseLine(const QByteArray& line, std::array<double, Fields>* values) {
    const char* data = line.constData();
    qsizetype from = 0;
    for (int i = 0; i < Fields; ++i) {
        // Markers follow one another; the search for each starts after the one before, which
        // reads every well-formed line as the first occurrence of each marker would.
        const QByteArray& m = marker(i);
        const qsizetype at = line.indexOf(m, from);
        double hundreds = 0;
        if (at < 0 || !fieldValue(data + from, data + at, &hundreds)) return false;
        (*values)[std::size_t(i)] = hundreds / 100;
        from = at + m.size();
    }
    return true;
}

Record parse(const QByteArray& bytes) {
    Record rec;
    for (auto& v : rec.values) v.reserve(std::size_t(bytes.size() / 90 + 1));
    std::array<double, Fields> v;
    const qsizetype n = bytes.size();
    const char* data = bytes.constData();
    qsizetype pos = 0;
    int lineNo = 0;
    QByteArray line;
    while (pos < n) {
        // A line longer than any record line stops the load at once, unparsed.
        const qsizetype limit = std::min(n, pos + textlines::MaxLineLength + 1);
        qsizetype end = pos;
        while (end < limit && data[end] != '\n' && data[end] != '\r') ++end;
        ++lineNo;
        if (end - pos > textlines::MaxLineLength) {
            rec.badLine = lineNo;
            rec.badText = QString::fromUtf8(data + pos, 120);
            break;
        }
        qsizetype begin = pos;
        while (begin < end && isBlank(data[begin])) ++begin;
        // The next line starts after LF, CR LF or a lone CR.
        pos = end;
        if (pos < n && data[pos] == '\r') ++pos;
        if (pos < n && data[pos] == '\n') ++pos;
        if (begin == end) continue; // a blank line
        line = QByteArray::fromRawData(data + begin, end - begin);
        if (!parseLine(line, &v)) {
            rec.badLine = lineNo;
            rec.badText = QString::fromLocal8Bit(data + begin, end - begin);
            break;
        }
        for (int f = 0; f < Fields; ++f) rec.values[std::size_t(f)].push_back(v[std::size_t(f)]);
    }
    return rec;
}

QString badLineMessage(const QString& fileName, const Record& record, bool english) {
    QString text = record.badText;
    if (text.size() > 120) text = text.left(117) + QStringLiteral("...");
    if (english)
        return QStringLiteral("File '%1', line %2 cannot be read as a record line: '%3'. "
                              "The %4 lines before it have been loaded.")
            .arg(shown(fileName))
            .arg(record.badLine)
            .arg(text)
            .arg(record.rows());
    return QStringLiteral("Файл «%1», строка %2 не читается как строка записи: «%3». "
                          "Загружено строк до неё: %4.")
        .arg(shown(fileName))
        .arg(record.badLine)
        .arg(text)
        .arg(record.rows());
}

QString nothingRecordedMessage(bool english) {
    return english ? QStringLiteral("No parameter values have been recorded.")
                   : QStringLiteral("Нет записанных значений параметров.");
}

} // namespace recordfile
