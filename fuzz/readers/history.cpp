// The module's history: the identifier a module sends names its folder, and the folder's
// file names are read back as copies. The input's first line is the identifier; each
// further line is a file name put into the folder, or, starting with '+', a copy kept
// through the tool's own writer at a time, kind and direction taken from its bytes.
//
// Checked: the folder stays a single plain name under history/ whatever the identifier;
// no copy replaces a file; every copy kept is listed once with its own time, kind and
// direction; everything listed is a copy's name, in its folder, in time order.
#include "fuzzwindow.h"
#include "readers/reader.h"

#include "history/history.h"

#include <QDir>
#include <QFile>
#include <QSet>

namespace {

const QString kStamp = QStringLiteral("yyyy-MM-dd_HH-mm-ss");

bool plainName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return false;
    for (QChar c : name) {
        const char16_t u = c.unicode();
        if (!((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '-' || u == '_' ||
              u == '.'))
            return false;
    }
    return true;
}

struct Kept {
    QString path;
    QString stamp;
    TableKind kind;
    history::Direction direction;
};

} // namespace

void fuzzReader(const QByteArray& file) {
    const QList<QByteArray> lines = file.split('\n');
    const QString identifier = QString::fromUtf8(lines.value(0));
    const QString root = QDir(fuzzwin::workDir()).filePath(QStringLiteral("root"));
    QDir(root).removeRecursively();

    const QString name = history::folderName(identifier);
    FUZZ_CHECK(plainName(name), name);
    const QString folder = history::folder(root, identifier);
    FUZZ_CHECK(QDir::cleanPath(folder) == root + QStringLiteral("/history/") + name, folder);
    FUZZ_CHECK(QDir().mkpath(folder), folder);

    int files = 0;
    QList<Kept> kept;
    for (qsizetype i = 1; i < lines.size() && i <= 24; ++i) {
        const QByteArray& line = lines[i];
        if (line.startsWith('+') && line.size() >= 4) {
            // Times from 1990 on, a few seconds apart at most, so that copies share seconds.
            const auto b = [&](int k) { return quint8(line[k]); };
            const qint64 secs = 631152000 + qint64(b(1)) * 86400 * 37 + b(2) % 4;
            const auto kind = TableKind(b(3) % 6);
            const auto direction = b(3) & 0x80 ? history::Direction::Written : history::Direction::Read;
            const QDateTime when = QDateTime::fromSecsSinceEpoch(secs);
            QString path, error;
            const QStringList before = QDir(folder).entryList(QDir::Files);
            if (!history::keep(root, identifier, kind, direction, line, when, &path, &error, true)) {
                // Only a thousand copies of one kind in one second are refused.
                FUZZ_CHECK(error.contains(QLatin1String("exists")), error);
                continue;
            }
            const QFileInfo info(path);
            FUZZ_CHECK(info.absolutePath() == QFileInfo(folder).absoluteFilePath(), path);
            FUZZ_CHECK(!before.contains(info.fileName()), path);
            FUZZ_CHECK(fuzzwin::readAll(path) == line, path);
            kept << Kept{path, when.toString(kStamp), kind, direction};
            ++files;
            continue;
        }
        // Names the file system cannot hold are not what a folder shows.
        const QString fname = QString::fromUtf8(line);
        if (fname.isEmpty() || fname.contains(QLatin1Char('/')) || fname.contains(QChar(0)) || line.size() > 200 ||
            fname == QLatin1String(".") || fname == QLatin1String(".."))
            continue;
        QFile f(QDir(folder).filePath(fname));
        if (f.exists()) continue;
        if (!f.open(QIODevice::WriteOnly)) continue;
        f.close();
        ++files;
    }

    const QList<history::Entry> listed = history::list(root, identifier);
    FUZZ_CHECK(listed.size() <= files, QString::number(listed.size()));
    QSet<QString> paths;
    for (qsizetype i = 0; i < listed.size(); ++i) {
        const history::Entry& e = listed[i];
        FUZZ_CHECK(!paths.contains(e.path), e.path);
        paths.insert(e.path);
        const QFileInfo info(e.path);
        FUZZ_CHECK(info.absolutePath() == QFileInfo(folder).absoluteFilePath(), e.path);
        FUZZ_CHECK(info.exists() && e.when.isValid(), e.path);
        // The name is the copy's own, with at most a number for a copy of the same second.
        const QString base = history::fileName(e.when, e.kind, e.direction);
        FUZZ_CHECK(info.fileName() == base || info.fileName().startsWith(base.chopped(4) + QLatin1Char('_')),
                   info.fileName() + QStringLiteral(" / ") + base);
        if (i > 0) FUZZ_CHECK(listed[i - 1].when <= e.when, e.path);
    }
    for (const Kept& k : kept) {
        int found = 0;
        for (const history::Entry& e : listed) {
            if (QFileInfo(e.path).fileName() != QFileInfo(k.path).fileName()) continue;
            ++found;
            FUZZ_CHECK(e.when.toString(kStamp) == k.stamp && e.kind == k.kind && e.direction == k.direction, e.path);
        }
        FUZZ_CHECK(found == 1, k.path);
    }
}
