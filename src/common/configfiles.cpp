#include "common/configfiles.h"

#include "common/messages.h"
#include "common/numtext.h"
#include "common/savefile.h"

#include <QFile>

#include <cmath>
#include <limits>

namespace cfg {

namespace {

const char* const kInfoKeys[37] = {
    "Enum_Com_Ports_prev", "Index_COM_Port", "Index_K", "Index_V_Graf", "Diapazone", "Index_TypeInput",
    "Enum_Page", "Type_In_WidthLine_ZOND1", "Type_In_WidthLine_ZOND2", "Type_In_RashTo",
    "ry_MAF", "rx_MAF", "rz_MAF", "vLeft_MAF", "vRight_MAF", "vBottom_MAF", "vTop_MAF",
    "ry_Lambda", "rx_Lambda", "rz_Lambda", "vLeft_Lambda", "vRight_Lambda", "vBottom_Lambda", "vTop_Lambda",
    "Enum_YellowPoints", "language", "Color01", "Color02", "Color03", "Color04", "Color05", "Color06",
    "Color07", "Color08", "Color09", "Color10", "Color11",
};

// The orientation fields are single precision in the view; seven significant digits keep
// the file free of float noise ("-90", not "-89,9999976158142") and read back to the same
// single-precision value.
QString orientationText(double v) {
    if (v == 0) return QStringLiteral("0");
    const double digits = std::floor(std::log10(std::fabs(v))) + 1;
    const double scale = std::pow(10.0, 7 - digits);
    return formatGeneral(std::round(v * scale) / scale);
}

struct NamedColour {
    const char* name;
    unsigned bgr; // 00BBGGRR, as the colour texts number them
};
const NamedColour kColours[] = {
    {"clBlack", 0x000000},   {"clMaroon", 0x000080}, {"clGreen", 0x008000},  {"clOlive", 0x008080},
    {"clNavy", 0x800000},    {"clPurple", 0x800080}, {"clTeal", 0x808000},   {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},  {"clRed", 0x0000FF},    {"clLime", 0x00FF00},   {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},    {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},  {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6}, {"clCream", 0xF0FBFF}, {"clMedGray", 0xA4A0A0},
};

unsigned swapRB(unsigned c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); }

// The reports of a damaged file are shown to the user, in the interface language in force
// (Russian before the language is known).
QString text(const QString& ru, const QString& en) { return msgs().english() ? en : ru; }

QString lineError(int line, const QString& what) {
    return text(QStringLiteral("строка %1: %2"), QStringLiteral("line %1: %2")).arg(line).arg(what);
}

} // namespace

const QStringList& infoKeys() {
    static const QStringList keys = [] {
        QStringList k;
        for (const char* s : kInfoKeys) k << QString::fromLatin1(s);
        return k;
    }();
    return keys;
}

QStringList infoLines(const Info& info) {
    QStringList values;
    values << QString::number(info.Enum_Com_Ports_prev) << QString::number(info.Index_COM_Port)
           << QString::number(info.Index_K) << QString::number(info.Index_V_Graf) << info.Diapazone
           << info.Index_TypeInput << info.Enum_Page << info.Type_In_WidthLine_ZOND1
           << info.Type_In_WidthLine_ZOND2 << info.Type_In_RashTo;
    for (double v : info.Saved_MAF) values << orientationText(v * 100);
    for (double v : info.Saved_Lambda) values << orientationText(v * 100);
    values << info.Enum_YellowPoints << info.language;
    for (const QString& c : info.colors) values << c;
    QStringList lines;
    for (int i = 0; i < 37; ++i) lines << values.at(i) + QLatin1Char('=') + infoKeys().at(i);
    return lines;
}

namespace {

// The first failing line of a file read line by line, and its message.
struct FirstBad {
    int line = 0;
    QString message;
    void note(int n, const QString& what) {
        if (line == 0 || n < line) {
            line = n;
            message = lineError(n, what);
        }
    }
};

// Why line i (0-based) of the file is not there: the fault that ended the lines, or the end
// of a file shorter than count lines.
void noteMissing(const textlines::Lines& file, int i, int count, FirstBad* bad) {
    if (!file.ok() && file.badLine == i + 1)
        bad->note(i + 1, textlines::faultWhat(file.fault, msgs().english()));
    else
        bad->note(i + 1, text(QStringLiteral("файл короче %1 строк"), QStringLiteral("the file has fewer than %1 lines"))
                             .arg(count));
}

} // namespace

bool parseInfo(const textlines::Lines& file, Info* info, QString* error) {
    const QStringList& lines = file.lines;
    FirstBad bad;
    // The value of line i, or nothing (the line is noted as bad).
    auto value = [&](int i, QString* out) {
        if (i >= lines.size()) {
            noteMissing(file, i, 37, &bad);
            return false;
        }
        const int cut = infoKeys().at(i).size() + 1;
        if (lines.at(i).size() < cut) {
            bad.note(i + 1, text(QStringLiteral("нет значения"), QStringLiteral("no value")));
            return false;
        }
        *out = lines.at(i).left(lines.at(i).size() - cut);
        return true;
    };
    auto integer = [&](int i, int* out) {
        QString v;
        if (!value(i, &v)) return;
        bool ok = false;
        const int n = v.trimmed().toInt(&ok);
        if (!ok)
            bad.note(i + 1, text(QStringLiteral("\"%1\" не целое число"), QStringLiteral("\"%1\" is not a whole number"))
                                .arg(v.left(40)));
        else
            *out = n;
    };
    auto textValue = [&](int i, QString* out) {
        QString v;
        if (value(i, &v)) *out = v;
    };
    Info& r = *info;
    integer(0, &r.Enum_Com_Ports_prev);
    integer(1, &r.Index_COM_Port);
    integer(2, &r.Index_K);
    integer(3, &r.Index_V_Graf);
    textValue(4, &r.Diapazone);
    textValue(5, &r.Index_TypeInput);
    textValue(6, &r.Enum_Page);
    textValue(7, &r.Type_In_WidthLine_ZOND1);
    textValue(8, &r.Type_In_WidthLine_ZOND2);
    textValue(9, &r.Type_In_RashTo);
    for (int i = 0; i < 14; ++i) {
        QString v;
        if (!value(10 + i, &v)) continue;
        double x = 0;
        if (!parseNumber(v, &x))
            bad.note(11 + i, text(QStringLiteral("\"%1\" не число"), QStringLiteral("\"%1\" is not a number"))
                                 .arg(v.left(40)));
        // The view keeps its orientation in single precision: a number beyond it would
        // come back from the view as infinite, and be written as a text no reader takes.
        else if (std::fabs(x / 100) > double(std::numeric_limits<float>::max()))
            bad.note(11 + i, text(QStringLiteral("\"%1\" вне допустимого диапазона"),
                                  QStringLiteral("\"%1\" is out of range"))
                                 .arg(v.left(40)));
        else
            (i < 7 ? r.Saved_MAF[i] : r.Saved_Lambda[i - 7]) = x / 100;
    }
    textValue(24, &r.Enum_YellowPoints);
    textValue(25, &r.language);
    for (int i = 0; i < 11; ++i) textValue(26 + i, &r.colors[i]);
    if (bad.line == 0) return true;
    *error = bad.message;
    return false;
}

bool parseInfo(const QStringList& lines, Info* info, QString* error) {
    return parseInfo(textlines::Lines{lines, textlines::Fault::None, 0}, info, error);
}

const QStringList& sensorCodes() {
    static const QStringList codes = {
        QStringLiteral("WWWWA"), QStringLiteral("WWWWC"), QStringLiteral("ZSWWA"), QStringLiteral("ZSWWC"),
        QStringLiteral("ZOWWA"), QStringLiteral("ZOWWC"), QStringLiteral("WWZSA"), QStringLiteral("WWZSC"),
        QStringLiteral("WWZOA"), QStringLiteral("WWZOC"), QStringLiteral("ZSZSA"), QStringLiteral("ZSZSC"),
        QStringLiteral("ZSZOA"), QStringLiteral("ZSZOC"), QStringLiteral("ZOZSA"), QStringLiteral("ZOZSC"),
        QStringLiteral("ZOZOA"), QStringLiteral("ZOZOC"),
    };
    return codes;
}

int sensorCodeIndex(const QString& code) { return sensorCodes().indexOf(code); }

std::array<QString, 11> Info::initialColorTexts() {
    // 00BBGGRR: yellow, dark blue, orange, navy, fuchsia, teal, brown, blue, red, green, dark blue.
    static const unsigned bgr[11] = {0x00FFFF, 10485760, 33023,  0x800000, 0xFF00FF, 0x808000,
                                     2450868,  0xFF0000, 0x0000FF, 55552,  10485760};
    std::array<QString, 11> out;
    for (int i = 0; i < 11; ++i) out[i] = colorText(swapRB(bgr[i]));
    return out;
}

QString Masks::maskFor(const QString& code, const QString& current) const {
    const int i = sensorCodeIndex(code);
    return i >= 0 ? masks.at(i) : current;
}

int Masks::store(const QString& code, const QString& mask) {
    const int i = sensorCodeIndex(code);
    if (i >= 0) lastIndex = i;
    if (lastIndex < 0) return -1;
    masks[lastIndex] = mask;
    return lastIndex;
}

QStringList configLines(const Masks& m) {
    QStringList lines;
    for (int i = 0; i < 18; ++i) lines << sensorCodes().at(i) + QLatin1Char('=') + m.masks.at(i);
    return lines;
}

bool parseConfig(const textlines::Lines& file, Masks* m, QString* error) {
    FirstBad bad;
    for (int i = 0; i < 18; ++i) {
        if (i >= file.lines.size()) {
            noteMissing(file, i, 18, &bad);
            continue;
        }
        // Any character other than "1" switches its series off; only the length is checked.
        const QString& line = file.lines.at(i);
        const QString mask = line.mid(6, 11);
        if (mask.size() != 11) {
            bad.note(i + 1, text(QStringLiteral("\"%1\" не содержит маски из 11 знаков"),
                                 QStringLiteral("\"%1\" holds no mask of 11 characters"))
                                .arg(line.left(40)));
            continue;
        }
        m->masks[i] = mask;
    }
    if (bad.line == 0) return true;
    *error = bad.message;
    return false;
}

bool parseConfig(const QStringList& lines, Masks* m, QString* error) {
    return parseConfig(textlines::Lines{lines, textlines::Fault::None, 0}, m, error);
}

int selectPort(int storedCount, int storedIndex, int countNow, int demoPorts) {
    if (storedCount >= 1 && storedIndex >= 1 && storedCount == countNow) return storedIndex;
    // A demo port keeps its place from the end of the list.
    const int fromEnd = storedCount - storedIndex;
    if (storedIndex >= 0 && fromEnd >= 1 && fromEnd <= demoPorts && countNow >= demoPorts)
        return countNow - fromEnd;
    return 0;
}

QString colorText(unsigned rgb) {
    const unsigned bgr = swapRB(rgb & 0xFFFFFF);
    for (const NamedColour& c : kColours)
        if (c.bgr == bgr) return QString::fromLatin1(c.name);
    return QStringLiteral("$") + QStringLiteral("%1").arg(bgr, 8, 16, QLatin1Char('0')).toUpper();
}

bool colorFromText(const QString& text, unsigned* rgb) {
    const QString t = text.trimmed();
    for (const NamedColour& c : kColours)
        if (t.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0) {
            *rgb = swapRB(c.bgr);
            return true;
        }
    bool ok = false;
    const qulonglong n = t.startsWith(QLatin1Char('$')) ? t.mid(1).toULongLong(&ok, 16) : t.toULongLong(&ok, 10);
    // System colours and "none" have a high byte; they are not colours of their own here.
    if (!ok || n > 0xFFFFFF) return false;
    *rgb = swapRB(unsigned(n));
    return true;
}

bool readFile(const QString& path, textlines::Lines* file, QString* error) {
    // Both files are a few hundred bytes; what lies beyond any plausible length is not read.
    QByteArray bytes;
    QString reason;
    if (!textlines::readPrefix(path, 64 * 1024, &bytes, &reason)) {
        *error = path + QStringLiteral(": ") + reason;
        return false;
    }
    *file = textlines::split(bytes);
    return true;
}

bool readLines(const QString& path, QStringList* lines, QString* error) {
    textlines::Lines file;
    if (!readFile(path, &file, error)) return false;
    *lines = file.lines;
    return true;
}

bool writeLines(const QString& path, const QStringList& lines, QString* error) {
    QByteArray data;
    for (const QString& l : lines) data += l.toUtf8() + "\r\n";
    QString reason;
    if (saveWholeFile(path, data, &reason)) return true;
    *error = path + QStringLiteral(": ") + reason;
    return false;
}

} // namespace cfg
