#include "common/savefile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

bool saveWholeFile(const QString& path, const QByteArray& bytes, QString* reason) {
    QSaveFile f(path);
    // Qt falls back by itself where the folder refuses the temporary file for permissions;
    // the check below covers the other refusals (an immutable folder says EPERM).
    f.setDirectWriteFallback(true);
    if (f.open(QIODevice::WriteOnly)) {
        if (f.write(bytes) == bytes.size() && f.commit()) return true;
        *reason = f.errorString();
        return false;
    }
    *reason = f.errorString();
    const QFileInfo info(path);
    if (!info.isFile() || !info.isWritable()) return false;
    QFile direct(path);
    if (direct.open(QIODevice::WriteOnly | QIODevice::Truncate) && direct.write(bytes) == bytes.size() &&
        direct.flush()) {
        direct.close();
        if (direct.error() == QFileDevice::NoError) return true;
    }
    *reason = direct.errorString();
    return false;
}
