#include "analysis/correctionsfile.h"

#include "common/savefile.h"
#include "common/textlines.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStringDecoder>

#include <cctype>
#include <cmath>
#include <optional>

namespace correctionsfile {

using analysis::CellMask;
using analysis::CorrectionSettings;
using analysis::settingFields;

namespace {

const QString kTargetsKey = QStringLiteral("targets_%1");
const QString kLockPrefix = QStringLiteral("lock.");

QString number(double v) {
    return QString::number(v, 'g', 15);
}

// A number with a point (or, typed by hand under a comma locale, a comma).
std::optional<double> toNumber(QString text) {
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

QString maskText(const CellMask& mask) {
    return QString::number(mask.to_ullong(), 16).toUpper().rightJustified(16, QLatin1Char('0'));
}

std::optional<CellMask> toMask(const QString& text) {
    if (text.size() != 16) return std::nullopt;
    for (QChar ch : text)
        if (!ch.isDigit() && !(ch.toUpper() >= QLatin1Char('A') && ch.toUpper() <= QLatin1Char('F'))) return std::nullopt;
    bool ok = false;
    const qulonglong v = text.toULongLong(&ok, 16);
    if (!ok) return std::nullopt;
    return CellMask(v);
}

// The identifier of a lock key, or nothing when it is not percent-encoded UTF-8 text.
std::optional<QString> toIdentifier(const QString& encoded) {
    if (encoded.isEmpty()) return std::nullopt;
    const QByteArray latin = encoded.toLatin1();
    if (QString::fromLatin1(latin) != encoded) return std::nullopt;
    for (qsizetype i = 0; i < latin.size(); ++i) {
        if (latin[i] != '%') continue;
        if (i + 2 >= latin.size() || !std::isxdigit(uchar(latin[i + 1])) || !std::isxdigit(uchar(latin[i + 2])))
            return std::nullopt;
    }
    const QByteArray bytes = QByteArray::fromPercentEncoding(latin);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString id = utf8.decode(bytes);
    if (utf8.hasError() || id.isEmpty()) return std::nullopt;
    return id;
}

struct Texts {
    bool english;
    QString noEquals() const { return english ? QStringLiteral("no '='") : QStringLiteral("нет знака «=»"); }
    QString unknown(const QString& key) const {
        return (english ? QStringLiteral("unknown key '%1'") : QStringLiteral("неизвестный ключ «%1»")).arg(key);
    }
    QString repeated(const QString& key) const {
        return (english ? QStringLiteral("key '%1' is repeated") : QStringLiteral("ключ «%1» повторяется")).arg(key);
    }
    QString notNumber(const QString& text) const {
        return (english ? QStringLiteral("'%1' is not a number") : QStringLiteral("«%1» не число")).arg(text);
    }
    QString notWhole(const QString& text) const {
        return (english ? QStringLiteral("'%1' is not a whole number") : QStringLiteral("«%1» не целое число")).arg(text);
    }
    QString outside(const QString& text, double min, double max) const {
        return (english ? QStringLiteral("%1 is outside %2..%3") : QStringLiteral("%1 вне пределов %2..%3"))
            .arg(text, number(min), number(max));
    }
    QString eightTargets(int n) const {
        return (english ? QStringLiteral("eight targets needed, not %1") : QStringLiteral("нужно восемь целей, а не %1"))
            .arg(n);
    }
    QString badMask() const {
        return english ? QStringLiteral("the locked cells must be sixteen hex digits")
                       : QStringLiteral("закреплённые ячейки должны быть шестнадцатью шестнадцатеричными цифрами");
    }
    QString badIdentifier() const {
        return english ? QStringLiteral("the module identifier is not text")
                       : QStringLiteral("идентификатор модуля не текст");
    }
    QString afrOrder() const {
        return english ? QStringLiteral("afr_min must be below afr_max")
                       : QStringLiteral("afr_min должен быть меньше afr_max");
    }
    QString tooLarge() const {
        return (english ? QStringLiteral("the file is larger than %1 KB") : QStringLiteral("файл больше %1 КБ"))
            .arg(MaxBytes / 1024);
    }
};

} // namespace

QByteArray encode(const Contents& contents) {
    const CorrectionSettings& s = contents.settings;
    QStringList lines;
    for (const analysis::SettingField& f : settingFields())
        lines << QString::fromLatin1(f.key) + QLatin1Char('=') + number(f.get(s));
    for (int r = 1; r <= analysis::Side; ++r) {
        QStringList row;
        for (int c = 1; c <= analysis::Side; ++c) row << number(s.targets[std::size_t(analysis::cellIndex(c, r))]);
        lines << kTargetsKey.arg(r) + QLatin1Char('=') + row.join(QLatin1Char(' '));
    }
    for (auto it = contents.locks.cbegin(); it != contents.locks.cend(); ++it) {
        if (it.value().none()) continue;
        lines << kLockPrefix + QString::fromLatin1(it.key().toUtf8().toPercentEncoding()) + QLatin1Char('=') +
                     maskText(it.value());
    }
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

Parsed parse(const QByteArray& bytes, bool english) {
    const Texts t{english};
    Parsed out;
    auto fail = [&](int line, const QString& problem) {
        out.contents = Contents{};
        out.badLine = line;
        out.problem = problem;
        return out;
    };
    if (bytes.size() > MaxBytes) return fail(0, t.tooLarge());
    const textlines::Lines split = textlines::split(bytes);
    if (!split.ok()) return fail(split.badLine, textlines::faultWhat(split.fault, english));

    QMap<QString, int> seen; // key -> line
    Contents& c = out.contents;
    for (int i = 0; i < split.lines.size(); ++i) {
        const int line = i + 1;
        const QString& text = split.lines[i];
        if (text.trimmed().isEmpty()) continue;
        const qsizetype eq = text.indexOf(QLatin1Char('='));
        if (eq < 0) return fail(line, t.noEquals());
        const QString key = text.left(eq).trimmed();
        const QString value = text.mid(eq + 1).trimmed();
        if (seen.contains(key)) return fail(line, t.repeated(key));
        seen.insert(key, line);

        if (key.startsWith(kLockPrefix)) {
            const std::optional<QString> id = toIdentifier(key.mid(kLockPrefix.size()));
            if (!id) return fail(line, t.badIdentifier());
            const std::optional<CellMask> mask = toMask(value);
            if (!mask) return fail(line, t.badMask());
            // Two spellings of one identifier would be one module twice.
            if (c.locks.contains(*id)) return fail(line, t.repeated(key));
            if (mask->any()) c.locks.insert(*id, *mask);
            continue;
        }
        bool known = false;
        for (int r = 1; r <= analysis::Side && !known; ++r) {
            if (key != kTargetsKey.arg(r)) continue;
            known = true;
            const QStringList parts = value.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (parts.size() != analysis::Side) return fail(line, t.eightTargets(int(parts.size())));
            for (int col = 1; col <= analysis::Side; ++col) {
                const QString& p = parts[col - 1];
                const std::optional<double> v = toNumber(p);
                if (!v) return fail(line, t.notNumber(p));
                if (!(*v >= analysis::TargetMin && *v <= analysis::TargetMax))
                    return fail(line, t.outside(p, analysis::TargetMin, analysis::TargetMax));
                c.settings.targets[std::size_t(analysis::cellIndex(col, r))] = *v;
            }
        }
        for (const analysis::SettingField& f : settingFields()) {
            if (known || key != QLatin1String(f.key)) continue;
            known = true;
            const std::optional<double> v = toNumber(value);
            if (!v) return fail(line, t.notNumber(value));
            if (f.whole && *v != std::floor(*v)) return fail(line, t.notWhole(value));
            if (!(*v >= f.min && *v <= f.max)) return fail(line, t.outside(value, f.min, f.max));
            f.set(c.settings, *v);
        }
        if (!known) return fail(line, t.unknown(key));
    }
    if (!(c.settings.afrMin < c.settings.afrMax))
        return fail(std::max(seen.value(QStringLiteral("afr_min")), seen.value(QStringLiteral("afr_max"))), t.afrOrder());
    return out;
}

ReadStatus read(const QString& path, Contents* contents, QString* error, bool english) {
    if (!QFile::exists(path)) return ReadStatus::Missing;
    const QString name = QDir::toNativeSeparators(path);
    QByteArray bytes;
    QString reason;
    if (!textlines::readPrefix(path, MaxBytes + 1, &bytes, &reason)) {
        *error = (english ? QStringLiteral("Cannot read the file '%1': %2") : QStringLiteral("Не удалось прочитать файл «%1»: %2"))
                     .arg(name, reason);
        return ReadStatus::Bad;
    }
    const Parsed parsed = parse(bytes, english);
    if (!parsed.ok()) {
        const QString where = parsed.badLine > 0
                                  ? (english ? QStringLiteral("line %1: %2") : QStringLiteral("строка %1: %2"))
                                        .arg(parsed.badLine)
                                        .arg(parsed.problem)
                                  : parsed.problem;
        *error = (english ? QStringLiteral("The file '%1' was not taken, %2. The settings of the corrections stay as they were.")
                          : QStringLiteral("Файл «%1» не принят, %2. Настройки поправок остались прежними."))
                     .arg(name, where);
        return ReadStatus::Bad;
    }
    *contents = parsed.contents;
    return ReadStatus::Read;
}

bool write(const QString& path, const Contents& contents, QString* error, bool english) {
    QString reason;
    if (saveWholeFile(path, encode(contents), &reason)) return true;
    *error = (english ? QStringLiteral("Cannot write the file '%1': %2") : QStringLiteral("Не удалось записать файл «%1»: %2"))
                 .arg(QDir::toNativeSeparators(path), reason);
    return false;
}

} // namespace correctionsfile
