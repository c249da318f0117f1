#pragma once
// Date and time texts for the protocol log: the locale's short date and its long time
// (hours, minutes and seconds, without a time zone), joined by one blank.

#include <QDateTime>
#include <QString>

QString dateTimeText(const QDateTime& when);
inline QString nowText() { return dateTimeText(QDateTime::currentDateTime()); }
