#include "telemetry/csvexport.h"

#include "telemetry/recordfile.h"

#include <charconv>
#include <cstdlib>

namespace csvexport {

QByteArray header() {
    QByteArray h("time_s");
    for (int f = 1; f < recordfile::Fields; ++f) h += ',' + archive::code(f).toLatin1();
    h += '\n';
    return h;
}

QByteArray number(double value) {
    const long long h = recordfile::hundredths(value);
    const unsigned long long a = h < 0 ? 0ULL - (unsigned long long)h : (unsigned long long)h;
    char buf[32];
    char* p = buf;
    if (h < 0) *p++ = '-';
    p = std::to_chars(p, buf + sizeof buf, a / 100).ptr;
    const int frac = int(a % 100);
    if (frac != 0) {
        *p++ = '.';
        *p++ = char('0' + frac / 10);
        if (frac % 10 != 0) *p++ = char('0' + frac % 10);
    }
    return QByteArray(buf, p - buf);
}

QByteArray encode(int rows, const std::function<double(int row, int field)>& value) {
    QByteArray out = header();
    out.reserve(out.size() + qsizetype(rows) * 64);
    for (int r = 0; r < rows; ++r) {
        for (int f = 0; f < recordfile::Fields; ++f) {
            if (f) out += ',';
            out += number(value(r, f));
        }
        out += '\n';
    }
    return out;
}

QString dialogFilter() { return QStringLiteral("CSV (*.csv)"); }

bool isCsvName(const QString& fileName) { return fileName.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive); }

} // namespace csvexport
