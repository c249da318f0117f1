#include "tables/tablefiles.h"

#include "common/numtext.h"
#include "common/userfiles.h"
#include "tables/curvecodec.h"

#include <QDir>

#include <algorithm>

namespace tablefiles {

QString suffix(TableKind kind) {
    switch (kind) {
    case TableKind::Maf:
        return QStringLiteral("MAF.txt");
    case TableKind::Lambda:
        return QStringLiteral("Lambda.txt");
    case TableKind::Voltage:
        return QStringLiteral("Volt.txt");
    case TableKind::Curve1:
    case TableKind::Curve2:
        return QStringLiteral("Emu.txt");
    case TableKind::Settings:
        break;
    }
    return QString();
}

QString dialogFilter(TableKind kind) {
    QString description;
    switch (kind) {
    case TableKind::Maf:
        description = QStringLiteral("Данные MAF (MAP)");
        break;
    case TableKind::Lambda:
        description = QStringLiteral("Данные Лямбда");
        break;
    case TableKind::Voltage:
        description = QStringLiteral("Данные напряжений");
        break;
    case TableKind::Curve1:
    case TableKind::Curve2:
        description = QStringLiteral("Данные Эмулятора");
        break;
    case TableKind::Settings:
        return QString();
    }
    return description + QStringLiteral(" (*") + suffix(kind) + QLatin1Char(')');
}

QString withSuffix(const QString& chosen, TableKind kind) {
    const QString s = suffix(kind);
    return chosen.endsWith(s) ? chosen : chosen + s;
}

QByteArray encode(const QStringList& lines) {
    QByteArray out;
    for (int k = 0; k < LineCount; ++k) {
        if (k < lines.size()) out += lines.at(k).toLocal8Bit();
        out += "\r\n";
    }
    return out;
}

namespace {

// The first 64 lines, each checked by accept (false: not a number); the first failure is
// recorded in check and ends the walk.
template <typename Accept>
void checkLines(const QByteArray& bytes, FileCheck* check, Accept accept) {
    const textlines::Lines split = textlines::split(bytes, LineCount);
    if (!split.ok()) {
        check->badLine = split.badLine;
        check->fault = split.fault;
        return;
    }
    for (int k = 0; k < LineCount; ++k) {
        if (k >= split.lines.size()) {
            check->badLine = k + 1;
            check->lineMissing = true;
            return;
        }
        if (!accept(split.lines.at(k))) {
            check->badLine = k + 1;
            check->badText = split.lines.at(k);
            return;
        }
    }
}

QString lineMessage(const QString& fileName, const FileCheck& parsed, bool english, bool curve) {
    const QString name = QDir::toNativeSeparators(fileName);
    if (parsed.noValue)
        return english ? QStringLiteral("The file '%1' holds no value. The table was not changed.").arg(name)
                       : QStringLiteral("В файле «%1» нет ни одного значения. Таблица не изменена.").arg(name);
    if (english) {
        const QString what =
            parsed.fault != textlines::Fault::None
                ? textlines::faultWhat(parsed.fault, true)
            : parsed.lineMissing
                ? QStringLiteral("the file ends before it (a %1 file has %2 lines)")
                      .arg(curve ? QStringLiteral("curve") : QStringLiteral("table"))
                      .arg(LineCount)
                : QStringLiteral("'%1' is not a number").arg(parsed.badText);
        return QStringLiteral("File '%1', line %2: %3. The %4 was not changed.")
            .arg(name)
            .arg(parsed.badLine)
            .arg(what, curve ? QStringLiteral("curve") : QStringLiteral("table"));
    }
    const QString what =
        parsed.fault != textlines::Fault::None
            ? textlines::faultWhat(parsed.fault, false)
        : parsed.lineMissing
            ? QStringLiteral("файл кончается раньше (в файле %1 %2 строки)")
                  .arg(curve ? QStringLiteral("кривой") : QStringLiteral("таблицы"))
                  .arg(LineCount)
            : QStringLiteral("«%1» — не число").arg(parsed.badText);
    return QStringLiteral("Файл «%1», строка %2: %3. %4 не изменена.")
        .arg(name)
        .arg(parsed.badLine)
        .arg(what, curve ? QStringLiteral("Кривая") : QStringLiteral("Таблица"));
}

} // namespace

TableFile parseTable(const QByteArray& bytes) {
    TableFile f;
    checkLines(bytes, &f, [&](const QString& line) {
        // The text goes in as the file holds it (the grid saved it so); an empty cell stays
        // empty, anything else must read as a number under either separator.
        double v = 0;
        if (!line.trimmed().isEmpty() && !parseNumber(line, &v)) return false;
        f.texts << line;
        return true;
    });
    if (f.ok() && std::all_of(f.texts.cbegin(), f.texts.cend(), [](const QString& t) { return t.trimmed().isEmpty(); }))
        f.noValue = true;
    if (!f.ok()) f.texts.clear();
    return f;
}

CurveFile parseCurve(const QByteArray& bytes) {
    CurveFile f;
    checkLines(bytes, &f, [&](const QString& line) {
        const QString text = curvecodec::withLocaleSeparator(line);
        double v = 0;
        if (!parseNumber(text, &v)) return false;
        f.texts << text;
        f.volts << v;
        return true;
    });
    if (!f.ok()) {
        f.texts.clear();
        f.volts.clear();
    }
    return f;
}

QString curveLineMessage(const QString& fileName, const FileCheck& parsed, bool english) {
    return lineMessage(fileName, parsed, english, true);
}

QString tableLineMessage(const QString& fileName, const FileCheck& parsed, bool english) {
    return lineMessage(fileName, parsed, english, false);
}

Loaded load(TableKind kind, const QString& fileName, bool english) {
    Loaded out;
    QByteArray bytes;
    if (!readFile(fileName, &bytes, &out.error, english)) return out;
    if (isCurve(kind)) {
        CurveFile parsed = parseCurve(bytes);
        if (!parsed.ok()) {
            out.error = curveLineMessage(fileName, parsed, english);
            return out;
        }
        out.texts = std::move(parsed.texts);
        out.values = std::move(parsed.volts);
        return out;
    }
    TableFile parsed = parseTable(bytes);
    if (!parsed.ok()) {
        out.error = tableLineMessage(fileName, parsed, english);
        return out;
    }
    out.texts = std::move(parsed.texts);
    return out;
}

bool readFile(const QString& fileName, QByteArray* bytes, QString* error, bool english) {
    return userfiles::read(fileName, LineCount * (textlines::MaxLineBytes + 2) + 2, bytes, error, english);
}

} // namespace tablefiles
