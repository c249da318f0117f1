#include "tables/tablefiles.h"

#include "common/numtext.h"
#include "tables/curvecodec.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace tablefiles {

QString suffix(Kind kind) {
    switch (kind) {
    case Kind::Maf:
        return QStringLiteral("MAF.txt");
    case Kind::Lambda:
        return QStringLiteral("Lambda.txt");
    case Kind::Volt:
        return QStringLiteral("Volt.txt");
    case Kind::Emu:
        break;
    }
    return QStringLiteral("Emu.txt");
}

QString dialogFilter(Kind kind) {
    QString description;
    switch (kind) {
    case Kind::Maf:
        description = QStringLiteral("Данные MAF (MAP)");
        break;
    case Kind::Lambda:
        description = QStringLiteral("Данные Лямбда");
        break;
    case Kind::Volt:
        description = QStringLiteral("Данные напряжений");
        break;
    case Kind::Emu:
        description = QStringLiteral("Данные Эмулятора");
        break;
    }
    return description + QStringLiteral(" (*") + suffix(kind) + QLatin1Char(')');
}

QString withSuffix(const QString& chosen, Kind kind) {
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

QStringList decodeLines(const QByteArray& bytes) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const char c = bytes.at(i);
        if (c == '\r' || c == '\n') {
            lines << QString::fromLocal8Bit(bytes.mid(start, i - start));
            if (c == '\r' && i + 1 < n && bytes.at(i + 1) == '\n') ++i;
            start = i + 1;
        }
        ++i;
    }
    if (start < n) lines << QString::fromLocal8Bit(bytes.mid(start));
    return lines;
}

QStringList tableCells(const QByteArray& bytes) {
    QStringList cells = decodeLines(bytes).mid(0, LineCount);
    while (cells.size() < LineCount)
        cells << QString();
    return cells;
}

CurveFile parseCurve(const QByteArray& bytes) {
    CurveFile f;
    const QStringList lines = decodeLines(bytes);
    for (int k = 0; k < LineCount; ++k) {
        if (k >= lines.size()) {
            f.badLine = k + 1;
            f.lineMissing = true;
            break;
        }
        const QString text = curvecodec::withLocaleSeparator(lines.at(k));
        double v = 0;
        if (!parseNumber(text, &v)) {
            f.badLine = k + 1;
            f.badText = lines.at(k);
            break;
        }
        f.texts << text;
        f.volts << v;
    }
    if (!f.ok()) {
        f.texts.clear();
        f.volts.clear();
    }
    return f;
}

QString curveLineMessage(const QString& fileName, const CurveFile& parsed, bool english) {
    const QString name = QDir::toNativeSeparators(fileName);
    if (english) {
        const QString what =
            parsed.lineMissing
                ? QStringLiteral("the file ends before it (a curve file has %1 lines)")
                      .arg(LineCount)
                : QStringLiteral("'%1' is not a number").arg(parsed.badText);
        return QStringLiteral("File '%1', line %2: %3. The curve was not changed.")
            .arg(name)
            .arg(parsed.badLine)
            .arg(what);
    }
    const QString what =
        parsed.lineMissing
            ? QStringLiteral("файл кончается раньше (в файле кривой %1 строки)").arg(LineCount)
            : QStringLiteral("«%1» — не число").arg(parsed.badText);
    return QStringLiteral("Файл «%1», строка %2: %3. Кривая не изменена.")
        .arg(name)
        .arg(parsed.badLine)
        .arg(what);
}

QString overwriteQuestion(const QString& fileName, bool english) {
    const QString name = QDir::toNativeSeparators(fileName);
    return english ? QStringLiteral("The file '%1' already exists. Replace it?").arg(name)
                   : QStringLiteral("Файл «%1» уже существует. Заменить его?").arg(name);
}

bool readFile(const QString& fileName, QByteArray* bytes, QString* error, bool english) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = english ? QStringLiteral("Cannot open the file '%1': %2")
                               .arg(QDir::toNativeSeparators(fileName), f.errorString())
                         : QStringLiteral("Не удалось открыть файл «%1»: %2")
                               .arg(QDir::toNativeSeparators(fileName), f.errorString());
        return false;
    }
    *bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        *error = english ? QStringLiteral("Cannot read the file '%1': %2")
                               .arg(QDir::toNativeSeparators(fileName), f.errorString())
                         : QStringLiteral("Не удалось прочитать файл «%1»: %2")
                               .arg(QDir::toNativeSeparators(fileName), f.errorString());
        return false;
    }
    return true;
}

bool writeFile(const QString& fileName, const QByteArray& bytes, QString* error, bool english) {
    QSaveFile f(fileName);
    if (f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.commit()) return true;
    *error = english ? QStringLiteral("Cannot write the file '%1': %2")
                           .arg(QDir::toNativeSeparators(fileName), f.errorString())
                     : QStringLiteral("Не удалось записать файл «%1»: %2")
                           .arg(QDir::toNativeSeparators(fileName), f.errorString());
    return false;
}

} // namespace tablefiles
