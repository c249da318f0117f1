#pragma once
// The words of a work report in both languages, and the texts made from its content: cell
// and point values as the grids show them, the changes, the summary and the damaged copies.
// Numbers and dates are written in the locale's form, as the window writes them. Pure code:
// QtCore only.

#include "report/reportcontent.h"

#include <QString>
#include <QStringList>

namespace report {

struct Texts {
    QString title;             // of the document and of every page's header
    QString page;              // "Страница %1 из %2"
    QString moduleHeading, model, identifier, sensorCode, work, port, made, since;
    QString summaryHeading, nothingChanged, nothingDone;
    QString settingsHeading, settingColumn, settingsRead, asRead, now, changed, settingsNotRead;
    QString asWritten, difference, changesHeading, noChanges, notWritten, notReadBefore, earlierCopy;
    QString readAt, writtenAt;
    QString damagedHeading;
    QString recordingHeading, recordingFacts, statisticsHeading, axes, loadVolts, loadMs;
    QString pointsHeading, curveVolts;
    QString unknown;
};
const Texts& texts(bool english);

// "Таблица MAF", "Кривая Лямбда 1", "Настройки", ...
QString kindTitle(TableKind kind, bool english);
// A cell or point value as the grids show it (a whole number, volts cut to two decimals).
QString valueText(TableKind kind, int byte);
// Where a change lies and what it is: "Строка 2, столбец 3: 12 → 17", "Точка 17: 2,35 → 2,5".
QString changeText(TableKind kind, const Change& change, bool english);
// The cell of the difference grid for a change: "12→17".
QString changeCell(TableKind kind, const Change& change);
// One line per part of the summary: what changed, or that nothing did; the texts are
// "Таблица MAF: изменено ячеек — 3" and the like.
QStringList summaryLines(const Content& content, int changedSettings, bool english);
// The file's name and why it was left out: "…_MAF_read.txt: строка 3 — не число".
QString damagedText(const Damaged& damaged, bool english);
// "14.05.2026 09:12:03" in the locale's form; a dash for an invalid time.
QString when(const QDateTime& t);

} // namespace report
