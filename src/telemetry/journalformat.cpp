#include "telemetry/journalformat.h"

#include "common/userfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <charconv>
#include <cstring>

namespace journal {
namespace {

// One line without its line end, exactly as the writer makes it: a whole number of
// hundredths (optional minus, digits) and its marker, twelve times, nothing else.
bool parseStrict(const char* p, const char* end, std::array<double, recordfile::Fields>* values) {
    for (int i = 0; i < recordfile::Fields; ++i) {
        const char* digits = p;
        if (p < end && *p == '-') ++p;
        if (p == end || *p < '0' || *p > '9') return false;
        long long n = 0;
        const auto r = std::from_chars(digits, end, n);
        if (r.ec != std::errc() || r.ptr == digits) return false;
        // As the record file: a number the journal would not give back the same is no sample.
        if (n >= recordfile::MaxHundredths || n <= -recordfile::MaxHundredths) return false;
        p = r.ptr;
        const QByteArray& m = recordfile::marker(i);
        if (end - p < m.size() || std::memcmp(p, m.constData(), std::size_t(m.size())) != 0) return false;
        p += m.size();
        (*values)[std::size_t(i)] = double(n) / 100;
    }
    return p == end;
}

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

} // namespace

QString fileName() { return QStringLiteral("recording.journal"); }
QString previousFileName() { return QStringLiteral("recording.journal.1"); }
QString path() { return QDir::current().absoluteFilePath(fileName()); }
QString previousPath() { return QDir::current().absoluteFilePath(previousFileName()); }

Journal parse(const QByteArray& bytes) {
    Journal j;
    auto& values = j.record.values;
    for (auto& v : values) v.reserve(std::size_t(bytes.size() / 64 + 1));
    std::array<double, recordfile::Fields> v{};
    const char* data = bytes.constData();
    const qsizetype n = bytes.size();
    qsizetype pos = 0;
    int lineNo = 0;
    auto fail = [&](const QString& reason) {
        j.badLine = lineNo;
        j.reason = reason;
        for (auto& column : values) column.clear();
        return j;
    };
    while (pos < n) {
        ++lineNo;
        const void* lf = std::memchr(data + pos, '\n', std::size_t(n - pos));
        if (!lf) {
            // The crash came while this line was being written: it is not a sample.
            j.tornTail = true;
            break;
        }
        const qsizetype lineEnd = static_cast<const char*>(lf) - data;
        qsizetype end = lineEnd;
        if (end > pos && data[end - 1] == '\r') --end;
        if (end - pos > MaxLine) return fail(QStringLiteral("too long"));
        if (!parseStrict(data + pos, data + end, &v)) return fail(QStringLiteral("not a record line"));
        for (int f = 0; f < recordfile::Fields; ++f) values[std::size_t(f)].push_back(v[std::size_t(f)]);
        pos = lineEnd + 1;
    }
    return j;
}

bool readFile(const QString& path, Journal* journal, QDateTime* modified, QString* error, bool english) {
    // Days of recording at 100 ms stay far below this; a larger file is not a journal.
    if (QFileInfo(path).size() > MaxBytes) {
        *error = english ? QStringLiteral("The file '%1' is too large for a recording.").arg(shown(path))
                         : QStringLiteral("Файл «%1» слишком велик для записи.").arg(shown(path));
        return false;
    }
    QByteArray bytes;
    if (!userfiles::read(path, -1, &bytes, error, english)) return false;
    *journal = parse(bytes);
    if (modified) *modified = QFileInfo(path).lastModified();
    return true;
}

QString restoreQuestion(const QDateTime& when, int samples, bool english) {
    const QString date = QLocale(english ? QLocale::English : QLocale::Russian)
                             .toString(when, QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    return english ? QStringLiteral("An unsaved recording from %1 (%2 samples) was found. Restore it?").arg(date).arg(samples)
                   : QStringLiteral("Найдена несохранённая запись от %1 (%2 отсчётов). Восстановить её?")
                         .arg(date)
                         .arg(samples);
}

QString restoreButton(bool english) { return english ? QStringLiteral("Restore") : QStringLiteral("Восстановить"); }
QString discardButton(bool english) { return english ? QStringLiteral("Discard") : QStringLiteral("Удалить"); }

QString rejectedMessage(const QString& path, const Journal& journal, bool english) {
    return english ? QStringLiteral("The unsaved recording '%1' cannot be read (line %2 is %3). The file is left as it is.")
                         .arg(shown(path))
                         .arg(journal.badLine)
                         .arg(journal.reason)
                   : QStringLiteral("Несохранённую запись «%1» прочитать нельзя (строка %2: %3). Файл оставлен как есть.")
                         .arg(shown(path))
                         .arg(journal.badLine)
                         .arg(journal.reason == QLatin1String("too long") ? QStringLiteral("слишком длинная")
                                                                          : QStringLiteral("не строка записи"));
}

QString writeFailedMessage(const QString& path, const QString& reason, bool english) {
    return english ? QStringLiteral("The recording cannot be written to '%1' (%2); it will not survive a crash.")
                         .arg(shown(path), reason)
                   : QStringLiteral("Запись не удаётся сохранять в «%1» (%2); при сбое она не сохранится.")
                         .arg(shown(path), reason);
}

} // namespace journal
