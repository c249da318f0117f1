#include "common/numtext.h"

#include <QLocale>

#include <cmath>

QString formatGeneral(double value) {
    QLocale loc;
    loc.setNumberOptions(QLocale::OmitGroupSeparator);
    if (value == 0) value = 0; // no "-0"
    QString s = loc.toString(value, 'g', 15);
    return s;
}

bool parseNumber(const QString& text, double* value) {
    QLocale loc;
    QString t = text.trimmed();
    if (t.isEmpty()) return false;
    const QChar dec = loc.decimalPoint().at(0);
    const QChar other = dec == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
    t.replace(other, dec);
    loc.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double v = loc.toDouble(t, &ok);
    if (!ok || !std::isfinite(v)) return false;
    *value = v;
    return true;
}

double truncDecimals(double value, int k) {
    const double scale = std::pow(10.0, k);
    const double scaled = value * scale;
    // A value such as 0.29 is stored as 0.28999999999999998; scaled it is 28.999999999999996.
    // Snap to the integer it is meant to be before cutting.
    const double nearest = std::round(scaled);
    const double cut = std::fabs(scaled - nearest) < 1e-9 * std::max(1.0, std::fabs(scaled))
                           ? nearest
                           : std::trunc(scaled);
    return cut / scale;
}

double roundHalfEven(double value) {
    // nearbyint rounds in the current rounding mode, which is round-to-nearest-even.
    return std::nearbyint(value);
}
