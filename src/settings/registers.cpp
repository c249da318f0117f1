#include "settings/registers.h"

#include "common/numtext.h"

namespace regs {

namespace {
// Int of the firmware's formulas, immune to 28.999999999 standing for 29.
double intOf(double v) { return truncDecimals(v, 0); }
} // namespace

int kPrime(int k) { return k > 4 ? 2 : k; }

double decode(Num reg, int v, int k) {
    switch (reg) {
    case Num::K_Fuel:
        return v;
    case Num::Lambda1Korr:
    case Num::DmrvKKorr:
        return (v - 128) * 0.01;
    case Num::VolEng:
        return v * 0.1;
    case Num::PorogKorr:
        return roundHalfEven(v / 48.0 * 10.0) / 10.0;
    case Num::UMax:
        return roundHalfEven(v / 203.0 * 100.0) / 100.0;
    case Num::PointKorr:
        if (v == 0) return 0;
        return intOf(kPrime(k) * 75000.0 / v / 100.0) * 100.0;
    case Num::ZadKorr:
        return intOf(v / 1.907);
    }
    return 0;
}

int encode(Num reg, double x, int k) {
    switch (reg) {
    case Num::K_Fuel:
        return int(roundHalfEven(x));
    case Num::Lambda1Korr:
    case Num::DmrvKKorr:
        return int(roundHalfEven(x * 100.0 + 128.0));
    case Num::VolEng:
        return int(roundHalfEven(x * 10.0));
    case Num::PorogKorr:
        return int(roundHalfEven(x * 48.0));
    case Num::UMax:
        return int(intOf(x * 203.0));
    case Num::PointKorr:
        if (x == 0) return 0;
        return int(intOf(kPrime(k) * 75000.0 / x));
    case Num::ZadKorr:
        return int(intOf(x * 1.907)) + 1;
    }
    return 0;
}

QString decodeText(Num reg, int byte, int k) { return formatGeneral(decode(reg, byte, k)); }

const QList<int>& stepSmesiCodes() {
    static const QList<int> codes = {20, 41, 61, 82, 102, 123, 143};
    return codes;
}

const QStringList& stepSmesiCaptions() {
    static const QStringList captions = {
        QStringLiteral("15,0:1"), QStringLiteral("15,5:1"), QStringLiteral("15,8:1"), QStringLiteral("16,3:1"),
        QStringLiteral("16,8:1"), QStringLiteral("17,4:1"), QStringLiteral("18,0:1"),
    };
    return captions;
}

QString stepSmesiCaption(int byte) {
    const int i = int(stepSmesiCodes().indexOf(byte));
    return i < 0 ? QString() : stepSmesiCaptions().at(i);
}

int stepSmesiCode(const QString& caption) {
    const int i = int(stepSmesiCaptions().indexOf(caption));
    return i < 0 ? -1 : stepSmesiCodes().at(i);
}

const QList<int>& kCodes() {
    static const QList<int> codes = {1, 2, 4, 58};
    return codes;
}

QStringList bitsFromText(const QString& bits7to0) {
    QStringList bits;
    for (int bit = 0; bit < 8; ++bit) bits << QString(bits7to0.at(7 - bit));
    return bits;
}

QString textFromBits(const QStringList& bits) {
    QString t;
    for (int bit = 7; bit >= 0; --bit) t += bits.value(bit, QStringLiteral("0"));
    return t;
}

QString logBits(const QStringList& bits) {
    return bits.mid(0, 4).join(QString()) + QLatin1Char(' ') + bits.mid(4, 4).join(QString());
}

} // namespace regs
