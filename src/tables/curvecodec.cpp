#include "tables/curvecodec.h"

#include "common/hex.h"
#include "common/messages.h"
#include "common/numtext.h"

#include <QLocale>

#include <algorithm>

namespace curvecodec {

namespace {
constexpr double CountsPerVolt = 48.0;
constexpr double MafCountsPerVolt = 191.0;
constexpr double FuelCountsPerUnit = 64.0;
} // namespace

QString readItem(int curve, int i) {
    const QString a = pointAddress(curve, i);
    return a.isEmpty() ? QString() : a + QLatin1Char('*');
}

QString writeItem(int curve, int i, int byte) {
    const QString a = pointAddress(curve, i);
    return a.isEmpty() ? QString() : lowFirstHex(byte) + a + QLatin1Char(')');
}

int voltageByte(double volts) {
    if (!(volts >= 0)) volts = 0; // NaN as well
    return int(roundHalfEven(std::min(volts, VoltMax) * CountsPerVolt));
}

int voteIndex(const QList<double>& readings) {
    int best = 0;
    int bestCount = 0;
    for (int r = 0; r < readings.size(); ++r) {
        const int count = int(std::count(readings.cbegin(), readings.cend(), readings.at(r)));
        if (count > bestCount) {
            best = r;
            bestCount = count;
        }
    }
    return best;
}

LiveSample decodeLiveAnswer(const QString& answer) {
    LiveSample s;
    const int fuel = lowFirstWord(answer, 1);
    const int maf = lowFirstWord(answer, 6);
    if (fuel >= 0) {
        s.hasX = true;
        s.x = std::min(fuel / FuelCountsPerUnit, FuelMax);
    }
    if (maf >= 0) {
        s.hasV = true;
        s.v = std::min(maf / MafCountsPerVolt, VoltMax);
    }
    return s;
}

QString markerHint(int i, double volts) {
    const Messages& m = msgs();
    return m.Msg_Point + QLatin1Char(' ') + QString::number(i) + QLatin1Char('\n') + m.Msg_Voltage +
           formatGeneral(truncDecimals(volts, 2)) + m.Msg_Volt_Unit;
}

QString livePointHint(double volts, double fuel) {
    const Messages& m = msgs();
    return m.Msg_Voltage + formatGeneral(truncDecimals(volts, 2)) + m.Msg_Volt_Unit +
           QLatin1Char('\n') + m.Msg_Fuel + formatGeneral(truncDecimals(fuel, 2)) +
           m.Msg_Litre_Unit;
}

QString withLocaleSeparator(const QString& text) {
    const QChar dec = QLocale().decimalPoint().at(0);
    const QChar other = dec == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
    QString out = text;
    const qsizetype at = out.indexOf(other);
    if (at >= 0) out[at] = dec;
    return out;
}

bool keyValue(const QString& cellText, KeyValue* out) {
    const QString text = withLocaleSeparator(cellText);
    double v = 0;
    if (!parseNumber(text, &v)) return false;
    if (v < 0) {
        out->volts = 0;
        out->text = QStringLiteral("0");
    } else if (v > VoltMax) {
        out->volts = VoltMax;
        out->text = QStringLiteral("5");
    } else {
        out->volts = v;
        out->text = text;
    }
    return true;
}

QString notANumberMessage(int point, const QString& text, bool english) {
    if (english) return QStringLiteral("Point %1: '%2' is not a valid number").arg(point).arg(text);
    return QStringLiteral("Точка %1: «%2» — не число").arg(point).arg(text);
}

} // namespace curvecodec
