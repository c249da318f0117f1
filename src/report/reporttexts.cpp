#include "report/reporttexts.h"

#include "common/datetime.h"
#include "tables/tablecodec.h"
#include "tables/transfercursor.h"

#include <QFileInfo>

#include <algorithm>

namespace report {

namespace {

Texts russian() {
    Texts t;
    t.title = QStringLiteral("Отчёт о работе");
    t.page = QStringLiteral("Страница %1 из %2");
    t.moduleHeading = QStringLiteral("Модуль");
    t.model = QStringLiteral("Модель");
    t.identifier = QStringLiteral("Идентификатор");
    t.sensorCode = QStringLiteral("Код конфигурации датчиков");
    t.work = QStringLiteral("Дата и время работы");
    t.port = QStringLiteral("Порт");
    t.made = QStringLiteral("Отчёт составлен");
    t.since = QStringLiteral("Работа с");
    t.summaryHeading = QStringLiteral("Итог");
    t.nothingChanged = QStringLiteral("За время работы ничего не изменено.");
    t.nothingDone = QStringLiteral("С этого времени модуль не читался и не записывался.");
    t.settingsHeading = QStringLiteral("Настройки");
    t.settingColumn = QStringLiteral("Настройка");
    t.settingsRead = QStringLiteral("Прочитано");
    t.asRead = QStringLiteral("Как прочитана");
    t.now = QStringLiteral("Сейчас");
    t.changed = QStringLiteral("изменено");
    t.settingsNotRead = QStringLiteral("Настройки до работы неизвестны: сравнить не с чем.");
    t.asWritten = QStringLiteral("Как записана");
    t.difference = QStringLiteral("Разница (изменённые ячейки отмечены)");
    t.changesHeading = QStringLiteral("Изменения");
    t.noChanges = QStringLiteral("без изменений");
    t.notWritten = QStringLiteral("прочитана, не записывалась");
    t.notReadBefore = QStringLiteral("записана без чтения: сравнить не с чем");
    t.earlierCopy = QStringLiteral("до работы — по копии от %1");
    t.readAt = QStringLiteral("Прочитана: %1");
    t.writtenAt = QStringLiteral("Записана: %1");
    t.damagedHeading = QStringLiteral("Повреждённые файлы истории (пропущены)");
    t.recordingHeading = QStringLiteral("Запись");
    t.recordingFacts = QStringLiteral("Отсчётов: %1, время %2 – %3 с");
    t.statisticsHeading = QStringLiteral("Статистика ячеек таблицы MAF по L1: среднее (число отсчётов)");
    t.axes = QStringLiteral("Столбцы — частота вращения, об/мин; строки — %1");
    t.loadVolts = QStringLiteral("напряжение MAF, В");
    t.loadMs = QStringLiteral("время впрыска, мс");
    t.pointsHeading = QStringLiteral("Точки");
    t.curveVolts = QStringLiteral("В");
    t.unknown = QStringLiteral("—");
    return t;
}

Texts english() {
    Texts t;
    t.title = QStringLiteral("Work report");
    t.page = QStringLiteral("Page %1 of %2");
    t.moduleHeading = QStringLiteral("Module");
    t.model = QStringLiteral("Model");
    t.identifier = QStringLiteral("Identifier");
    t.sensorCode = QStringLiteral("Sensor configuration code");
    t.work = QStringLiteral("Date and time of the work");
    t.port = QStringLiteral("Port");
    t.made = QStringLiteral("Report made");
    t.since = QStringLiteral("Work since");
    t.summaryHeading = QStringLiteral("Summary");
    t.nothingChanged = QStringLiteral("Nothing was changed during the work.");
    t.nothingDone = QStringLiteral("The module was neither read nor written since then.");
    t.settingsHeading = QStringLiteral("Settings");
    t.settingColumn = QStringLiteral("Setting");
    t.settingsRead = QStringLiteral("As read");
    t.asRead = QStringLiteral("As read");
    t.now = QStringLiteral("Now");
    t.changed = QStringLiteral("changed");
    t.settingsNotRead = QStringLiteral("The settings before the work are not known: nothing to compare with.");
    t.asWritten = QStringLiteral("As written");
    t.difference = QStringLiteral("Difference (changed cells marked)");
    t.changesHeading = QStringLiteral("Changes");
    t.noChanges = QStringLiteral("no changes");
    t.notWritten = QStringLiteral("read, not written");
    t.notReadBefore = QStringLiteral("written without a read: nothing to compare with");
    t.earlierCopy = QStringLiteral("before the work: the copy of %1");
    t.readAt = QStringLiteral("Read: %1");
    t.writtenAt = QStringLiteral("Written: %1");
    t.damagedHeading = QStringLiteral("Damaged history files (skipped)");
    t.recordingHeading = QStringLiteral("Recording");
    t.recordingFacts = QStringLiteral("Samples: %1, time %2 – %3 s");
    t.statisticsHeading = QStringLiteral("Cell statistics of L1 over the MAF table: mean (samples)");
    t.axes = QStringLiteral("Columns: engine speed, rpm; rows: %1");
    t.loadVolts = QStringLiteral("MAF voltage, V");
    t.loadMs = QStringLiteral("injection time, ms");
    t.pointsHeading = QStringLiteral("Points");
    t.curveVolts = QStringLiteral("V");
    t.unknown = QStringLiteral("—");
    return t;
}

// "изменено ячеек — 3", "3 cells changed", "1 point changed".
QString changedCount(int n, bool points, bool english) {
    if (!english) return (points ? QStringLiteral("изменено точек — %1") : QStringLiteral("изменено ячеек — %1")).arg(n);
    const QString what = points ? QStringLiteral("point") : QStringLiteral("cell");
    return QStringLiteral("%1 %2%3 changed").arg(n).arg(what, n == 1 ? QString() : QStringLiteral("s"));
}

} // namespace

const Texts& texts(bool english) {
    static const Texts ru = russian();
    static const Texts en = report::english();
    return english ? en : ru;
}

QString kindTitle(TableKind kind, bool english) {
    switch (kind) {
    case TableKind::Lambda:
        return english ? QStringLiteral("Lambda table") : QStringLiteral("Таблица Лямбда");
    case TableKind::Maf:
        return english ? QStringLiteral("MAF table") : QStringLiteral("Таблица MAF");
    case TableKind::Voltage:
        return english ? QStringLiteral("Voltage table") : QStringLiteral("Таблица напряжений");
    case TableKind::Curve1:
        return english ? QStringLiteral("Lambda 1 curve") : QStringLiteral("Кривая Лямбда 1");
    case TableKind::Curve2:
        return english ? QStringLiteral("Lambda 2 curve") : QStringLiteral("Кривая Лямбда 2");
    case TableKind::Settings:
        break;
    }
    return texts(english).settingsHeading;
}

QString valueText(TableKind kind, int byte) {
    if (byte < 0) return QStringLiteral("—");
    if (isCurve(kind)) return curvecodec::voltageText(byte);
    if (kind == TableKind::Voltage) return tablecodec::voltageCellText(byte);
    return tablecodec::wholeCellText(byte);
}

QString changeCell(TableKind kind, const Change& change) {
    return valueText(kind, change.before) + QStringLiteral("→") + valueText(kind, change.after);
}

QString changeText(TableKind kind, const Change& change, bool english) {
    const QString values = valueText(kind, change.before) + QStringLiteral(" → ") + valueText(kind, change.after);
    if (isCurve(kind))
        return (english ? QStringLiteral("Point %1: %2") : QStringLiteral("Точка %1: %2")).arg(change.index + 1).arg(values);
    const int r = change.index / 8 + 1;
    const int c = change.index % 8 + 1;
    return (english ? QStringLiteral("Row %1, column %2: %3") : QStringLiteral("Строка %1, столбец %2: %3"))
        .arg(r)
        .arg(c)
        .arg(values);
}

QStringList summaryLines(const Content& content, int changedSettings, bool english) {
    const Texts& t = texts(english);
    if (content.parts.isEmpty()) return {t.nothingDone};
    // A table written with nothing to compare with may have changed: that is not "nothing".
    const bool unknown = std::any_of(content.parts.begin(), content.parts.end(), [](const Part& p) {
        return p.kind != TableKind::Settings && p.after.present && !p.before.present;
    });
    if (!content.changed() && changedSettings == 0 && !unknown) return {t.nothingChanged};
    QStringList out;
    for (const Part& p : content.parts) {
        QString what;
        if (p.kind == TableKind::Settings) {
            if (!p.before.present) what = english ? QStringLiteral("not known before the work")
                                                  : QStringLiteral("до работы неизвестны");
            else if (changedSettings == 0) what = t.noChanges;
            else what = (english ? QStringLiteral("%1 changed") : QStringLiteral("изменено — %1")).arg(changedSettings);
        } else if (!p.after.present) {
            what = t.notWritten;
        } else if (!p.before.present) {
            what = t.notReadBefore;
        } else if (p.changes.isEmpty()) {
            what = t.noChanges;
        } else {
            what = changedCount(int(p.changes.size()), isCurve(p.kind), english);
        }
        out << kindTitle(p.kind, english) + QStringLiteral(": ") + what;
    }
    return out;
}

QString damagedText(const Damaged& d, bool english) {
    // %1 is the line, or the system's reason where the file cannot be read.
    struct FaultText {
        Fault fault;
        const char16_t* ru;
        const char16_t* en;
    };
    static const FaultText kTexts[] = {
        {Fault::Unreadable, u"не читается (%1)", u"cannot be read (%1)"},
        {Fault::TooLarge, u"слишком велик для копии", u"far too large for a copy"},
        {Fault::NotText, u"не текст", u"not text"},
        {Fault::TooLong, u"строка %1 слишком длинная", u"line %1 is too long"},
        {Fault::Missing, u"нет строки %1", u"line %1 is missing"},
        {Fault::NotNumber, u"строка %1 — не число", u"line %1 is not a number"},
        {Fault::OutOfRange, u"строка %1 — число вне допустимых значений", u"line %1 is out of range"},
        {Fault::BadLine, u"строка %1 — не строка регистра", u"line %1 is not a register line"},
        {Fault::Empty, u"не содержит ни одного регистра", u"holds no register"},
    };
    QString why;
    for (const FaultText& f : kTexts)
        if (f.fault == d.fault) why = QString::fromUtf16(english ? f.en : f.ru);
    if (why.contains(QLatin1String("%1")))
        why = why.arg(d.fault == Fault::Unreadable ? d.reason : QString::number(d.line));
    return QFileInfo(d.path).fileName() + QStringLiteral(": ") + why;
}

QString when(const QDateTime& t) { return t.isValid() ? dateTimeText(t) : QStringLiteral("—"); }

} // namespace report
