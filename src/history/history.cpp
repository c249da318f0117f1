#include "history/history.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>

namespace history {
namespace {

constexpr TableKind kKinds[] = {TableKind::Lambda, TableKind::Maf,    TableKind::Voltage,
                                TableKind::Curve1, TableKind::Curve2, TableKind::Settings};
const QString kStamp = QStringLiteral("yyyy-MM-dd_HH-mm-ss");
constexpr int FolderNameMax = 64;

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

} // namespace

QString kindName(TableKind kind) {
    switch (kind) {
    case TableKind::Lambda:
        return QStringLiteral("Lambda");
    case TableKind::Maf:
        return QStringLiteral("MAF");
    case TableKind::Voltage:
        return QStringLiteral("Volt");
    case TableKind::Curve1:
        return QStringLiteral("Emu1");
    case TableKind::Curve2:
        return QStringLiteral("Emu2");
    case TableKind::Settings:
        break;
    }
    return QStringLiteral("settings");
}

QString directionName(Direction direction) {
    switch (direction) {
    case Direction::Read:
        return QStringLiteral("read");
    case Direction::WrittenPartial:
        return QStringLiteral("written-partial");
    case Direction::Written:
        break;
    }
    return QStringLiteral("written");
}

QString folderName(const QString& identifier) {
    QString out;
    for (QChar c : identifier.trimmed().left(FolderNameMax)) {
        const char16_t u = c.unicode();
        const bool plain = (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '-' ||
                           u == '_' || u == '.';
        out += plain ? c : QChar(u'_');
    }
    if (out.isEmpty() || out == QLatin1String(".") || out == QLatin1String("..")) return QStringLiteral("unknown");
    return out;
}

QString folder(const QString& root, const QString& identifier) {
    return QDir(root).filePath(QStringLiteral("history/") + folderName(identifier));
}

QString fileName(const QDateTime& when, TableKind kind, Direction direction) {
    return when.toString(kStamp) + QLatin1Char('_') + kindName(kind) + QLatin1Char('_') + directionName(direction) +
           QStringLiteral(".txt");
}

bool keep(const QString& root, const QString& identifier, TableKind kind, Direction direction, const QByteArray& bytes,
          const QDateTime& when, QString* path, QString* error, bool english) {
    const QString dir = folder(root, identifier);
    auto failed = [&](const QString& target, const QString& reason) {
        if (error)
            *error = english ? QStringLiteral("The copy for the module's history cannot be written to '%1': %2")
                                   .arg(shown(target), reason)
                             : QStringLiteral("Не удалось записать копию в историю модуля «%1»: %2")
                                   .arg(shown(target), reason);
        return false;
    };
    if (!QDir().mkpath(dir)) return failed(dir, english ? QStringLiteral("no folder") : QStringLiteral("нет папки"));
    const QString base = fileName(when, kind, direction);
    QString target = QDir(dir).filePath(base);
    // An earlier copy is never replaced.
    for (int n = 2; QFile::exists(target); ++n) {
        if (n > 999) return failed(target, QStringLiteral("exists"));
        target = QDir(dir).filePath(base.chopped(4) + QLatin1Char('_') + QString::number(n) + QStringLiteral(".txt"));
    }
    QSaveFile f(target);
    if (!(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.commit()))
        return failed(target, f.errorString());
    if (path) *path = target;
    return true;
}

bool keepHere(const QString& identifier, TableKind kind, Direction direction, const QByteArray& bytes, bool english,
              const std::function<void(const QString&)>& report) {
    QString error;
    if (keep(QDir::currentPath(), identifier, kind, direction, bytes, QDateTime::currentDateTime(), nullptr, &error,
             english))
        return true;
    if (report) report(error);
    return false;
}

QList<Entry> list(const QString& root, const QString& identifier) {
    static const QRegularExpression re(
        QStringLiteral("^(\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d)_([A-Za-z0-9]+)_(read|written|written-partial)(?:_(\\d+))?\\.txt$"));
    QList<Entry> out;
    QList<int> order;
    const QDir dir(folder(root, identifier));
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        const QRegularExpressionMatch m = re.match(name);
        if (!m.hasMatch()) continue;
        const QDateTime when = QDateTime::fromString(m.captured(1), kStamp);
        if (!when.isValid()) continue;
        const TableKind* kind = std::find_if(std::begin(kKinds), std::end(kKinds),
                                        [&](TableKind k) { return kindName(k) == m.captured(2); });
        if (kind == std::end(kKinds)) continue;
        const Direction d = m.captured(3) == QLatin1String("read")      ? Direction::Read
                            : m.captured(3) == QLatin1String("written") ? Direction::Written
                                                                        : Direction::WrittenPartial;
        out << Entry{dir.filePath(name), when, *kind, d};
        order << (m.captured(4).isEmpty() ? 1 : m.captured(4).toInt());
    }
    // By time; copies of one second in the order they were made ("_2" after the first).
    QList<int> idx(out.size());
    for (int i = 0; i < idx.size(); ++i) idx[i] = i;
    std::stable_sort(idx.begin(), idx.end(), [&](int a, int b) {
        if (out[a].when != out[b].when) return out[a].when < out[b].when;
        return order[a] < order[b];
    });
    QList<Entry> sorted;
    for (int i : idx) sorted << out[i];
    return sorted;
}

QString copyPattern(TableKind kind) { return QStringLiteral("*_") + kindName(kind) + QStringLiteral("_*.txt"); }

} // namespace history
