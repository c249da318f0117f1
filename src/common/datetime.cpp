#include "common/datetime.h"

#include <QLocale>
#include <QRegularExpression>

QString dateTimeText(const QDateTime& when) {
    const QLocale loc;
    QString timeFormat = loc.timeFormat(QLocale::LongFormat);
    // Long formats carry the time zone ("t", "tttt"); the log wants the clock only.
    static const QRegularExpression zone(QStringLiteral("\\s*\\(?t+\\)?"));
    timeFormat.remove(zone);
    timeFormat = timeFormat.trimmed();
    if (!timeFormat.contains(QLatin1String("ss"))) timeFormat = QStringLiteral("HH:mm:ss");
    return loc.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           loc.toString(when.time(), timeFormat);
}
