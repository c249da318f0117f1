#include "common/userfiles.h"

#include "common/savefile.h"

#include <QDir>
#include <QFile>

namespace userfiles {
namespace {
QString shown(const QString& fileName) { return QDir::toNativeSeparators(fileName); }
} // namespace

QString overwriteQuestion(const QString& fileName, bool english) {
    return english ? QStringLiteral("The file '%1' already exists. Replace it?").arg(shown(fileName))
                   : QStringLiteral("Файл «%1» уже существует. Заменить его?").arg(shown(fileName));
}

bool read(const QString& fileName, qint64 maxBytes, QByteArray* bytes, QString* error, bool english) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = english ? QStringLiteral("Cannot open the file '%1': %2").arg(shown(fileName), f.errorString())
                         : QStringLiteral("Не удалось открыть файл «%1»: %2").arg(shown(fileName), f.errorString());
        return false;
    }
    *bytes = maxBytes < 0 ? f.readAll() : f.read(maxBytes);
    if (f.error() == QFileDevice::NoError) return true;
    *error = english ? QStringLiteral("Cannot read the file '%1': %2").arg(shown(fileName), f.errorString())
                     : QStringLiteral("Не удалось прочитать файл «%1»: %2").arg(shown(fileName), f.errorString());
    return false;
}

bool write(const QString& fileName, const QByteArray& bytes, QString* error, bool english) {
    QString reason;
    if (saveWholeFile(fileName, bytes, &reason)) return true;
    *error = english ? QStringLiteral("Cannot write the file '%1': %2").arg(shown(fileName), reason)
                     : QStringLiteral("Не удалось записать файл «%1»: %2").arg(shown(fileName), reason);
    return false;
}

} // namespace userfiles
