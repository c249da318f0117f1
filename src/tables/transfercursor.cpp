#include "tables/transfercursor.h"

#include "common/hex.h"
#include "common/numtext.h"

#include <algorithm>

void TransferCursor::start(int n1, int n2) {
    count1 = n1;
    count2 = n2;
    index1 = 0;
    index2 = 0;
}

bool TransferCursor::advance() {
    if (index1 + 1 < count1) {
        ++index1;
        return true;
    }
    if (index2 + 1 < count2) {
        index1 = 0;
        ++index2;
        return true;
    }
    return false;
}

namespace curvecodec {

namespace {
const char kHexDigits[] = "0123456789ABCDEF";
constexpr double CountsPerVolt = 48.0;
constexpr double VoltMax = 5.0;
} // namespace

int firstCount(int curve) { return curve == 2 ? 16 : 8; }
int secondCount(int curve) { return curve == 2 ? 4 : 8; }

QString pointAddress(int curve, int i) {
    if ((curve != 1 && curve != 2) || i < 1 || i > PointCount) return QString();
    const int n = firstCount(curve);
    // Curve 1: both characters run "8".."F"; curve 2: the first "0".."F", the second "3".."6".
    const int first = (curve == 1 ? 8 : 0) + (i - 1) % n;
    const int second = (curve == 1 ? 8 : 3) + (i - 1) / n;
    return QString(QLatin1Char(kHexDigits[first])) + QLatin1Char(kHexDigits[second]);
}

int pointModuleAddress(int curve, int i) {
    const QString a = pointAddress(curve, i);
    return a.isEmpty() ? -1 : lowFirstByte(a);
}

int pointAt(int curve, int moduleAddress) {
    if ((curve != 1 && curve != 2) || moduleAddress < 0 || moduleAddress > 0xFF) return 0;
    // The inverse of pointAddress: the byte is the second character's digit times 16 plus
    // the first character's.
    const int n = firstCount(curve);
    const int first = (moduleAddress & 0x0F) - (curve == 1 ? 8 : 0);
    const int second = (moduleAddress >> 4) - (curve == 1 ? 8 : 3);
    if (first < 0 || first >= n || second < 0 || second >= secondCount(curve)) return 0;
    return second * n + first + 1;
}

double voltageFromByte(int byte) { return std::clamp(byte / CountsPerVolt, 0.0, VoltMax); }

QString voltageText(int byte) { return formatGeneral(truncDecimals(voltageFromByte(byte), 2)); }

} // namespace curvecodec
