// The texts a work report is made of: values as the grids show them, where a change lies,
// the summary of the work and why a history copy was left out, in either language and in
// the window's number form.
#include "report/reporttexts.h"

#include <QtTest>

using Kind = TableKind;
using report::Change;
using report::Fault;

Q_DECLARE_METATYPE(Kind)
Q_DECLARE_METATYPE(Fault)
Q_DECLARE_METATYPE(report::Change)
Q_DECLARE_METATYPE(QList<report::Part>)

namespace {

report::Part part(Kind kind, bool before, bool after, int changes) {
    report::Part p;
    p.kind = kind;
    p.before.present = before;
    p.after.present = after;
    for (int i = 0; i < changes; ++i) p.changes << Change{i, 1, 2};
    return p;
}

} // namespace

class TestReportTexts : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void changes_data() {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("russian");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("cell");
        QTest::newRow("MAF cell (3,2)") << Kind::Maf << Change{1 * 8 + 2, 128 + 12, 128 + 17} << "C"
                                        << "Строка 2, столбец 3: 12 → 17" << "Row 2, column 3: 12 → 17" << "12→17";
        QTest::newRow("Lambda corner (8,8), negative") << Kind::Lambda << Change{63, 0, 255} << "C"
                                                       << "Строка 8, столбец 8: -128 → 127"
                                                       << "Row 8, column 8: -128 → 127" << "-128→127";
        QTest::newRow("voltage cell, comma form") << Kind::Voltage << Change{0, 130, 131} << "ru_RU"
                                                  << "Строка 1, столбец 1: 2,5 → 2,51"
                                                  << "Row 1, column 1: 2,5 → 2,51" << "2,5→2,51";
        QTest::newRow("curve point 17") << Kind::Curve1 << Change{16, 113, 120} << "C" << "Точка 17: 2.35 → 2.5"
                                        << "Point 17: 2.35 → 2.5" << "2.35→2.5";
        QTest::newRow("curve 2 point 64 at 5 V") << Kind::Curve2 << Change{63, 0, 240} << "ru_RU"
                                                 << "Точка 64: 0 → 5" << "Point 64: 0 → 5" << "0→5";
    }
    void changes() {
        QFETCH(Kind, kind);
        QFETCH(Change, change);
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        QTEST(report::changeText(kind, change, false), "russian");
        QTEST(report::changeText(kind, change, true), "english");
        QTEST(report::changeCell(kind, change), "cell");
    }

    void summary_data() {
        QTest::addColumn<QList<report::Part>>("parts");
        QTest::addColumn<int>("settingsChanged");
        QTest::addColumn<QStringList>("russian");
        QTest::addColumn<QStringList>("english");
        QTest::newRow("no work") << QList<report::Part>{} << 0
                                 << QStringList{"С этого времени модуль не читался и не записывался."}
                                 << QStringList{"The module was neither read nor written since then."};
        QTest::newRow("read, nothing changed")
            << QList<report::Part>{part(Kind::Settings, true, true, 0), part(Kind::Maf, true, false, 0)} << 0
            << QStringList{"За время работы ничего не изменено."} << QStringList{"Nothing was changed during the work."};
        QTest::newRow("written the same: nothing changed")
            << QList<report::Part>{part(Kind::Maf, true, true, 0)} << 0
            << QStringList{"За время работы ничего не изменено."} << QStringList{"Nothing was changed during the work."};
        QTest::newRow("three cells and a setting")
            << QList<report::Part>{part(Kind::Settings, true, true, 1), part(Kind::Lambda, true, false, 0),
                                   part(Kind::Maf, true, true, 3), part(Kind::Curve2, true, true, 2)}
            << 1
            << QStringList{"Настройки: изменено — 1", "Таблица Лямбда: прочитана, не записывалась",
                           "Таблица MAF: изменено ячеек — 3", "Кривая Лямбда 2: изменено точек — 2"}
            << QStringList{"Settings: 1 changed", "Lambda table: read, not written", "MAF table: 3 cells changed",
                           "Lambda 2 curve: 2 points changed"};
        // A table written with nothing to compare with is not a change that can be shown,
        // but it is not "nothing changed" either: it is named as what it is.
        QTest::newRow("written without a read, and nothing else")
            << QList<report::Part>{part(Kind::Settings, true, true, 0), part(Kind::Lambda, false, true, 0)} << 0
            << QStringList{"Настройки: без изменений", "Таблица Лямбда: записана без чтения: сравнить не с чем"}
            << QStringList{"Settings: no changes", "Lambda table: written without a read: nothing to compare with"};
        QTest::newRow("written without a read")
            << QList<report::Part>{part(Kind::Settings, true, true, 0), part(Kind::Voltage, false, true, 0),
                                   part(Kind::Curve1, true, true, 1)}
            << 0
            << QStringList{"Настройки: без изменений", "Таблица напряжений: записана без чтения: сравнить не с чем",
                           "Кривая Лямбда 1: изменено точек — 1"}
            << QStringList{"Settings: no changes", "Voltage table: written without a read: nothing to compare with",
                           "Lambda 1 curve: 1 point changed"};
    }
    void summary() {
        QFETCH(QList<report::Part>, parts);
        QFETCH(int, settingsChanged);
        report::Content c;
        c.parts = parts;
        QTEST(report::summaryLines(c, settingsChanged, false), "russian");
        QTEST(report::summaryLines(c, settingsChanged, true), "english");
    }

    void damaged_data() {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("russian");
        QTest::addColumn<QString>("english");
        QTest::newRow("not a number") << Fault::NotNumber << 3 << "c.txt: строка 3 — не число"
                                      << "c.txt: line 3 is not a number";
        QTest::newRow("missing") << Fault::Missing << 64 << "c.txt: нет строки 64" << "c.txt: line 64 is missing";
        QTest::newRow("out of range") << Fault::OutOfRange << 5 << "c.txt: строка 5 — число вне допустимых значений"
                                      << "c.txt: line 5 is out of range";
        QTest::newRow("binary") << Fault::NotText << 2 << "c.txt: не текст" << "c.txt: not text";
        QTest::newRow("too long") << Fault::TooLong << 1 << "c.txt: строка 1 слишком длинная"
                                  << "c.txt: line 1 is too long";
        QTest::newRow("too large") << Fault::TooLarge << 0 << "c.txt: слишком велик для копии"
                                   << "c.txt: far too large for a copy";
        QTest::newRow("settings line") << Fault::BadLine << 7 << "c.txt: строка 7 — не строка регистра"
                                       << "c.txt: line 7 is not a register line";
        QTest::newRow("settings empty") << Fault::Empty << 0 << "c.txt: не содержит ни одного регистра"
                                        << "c.txt: holds no register";
        QTest::newRow("unreadable") << Fault::Unreadable << 0 << "c.txt: не читается (Permission denied)"
                                    << "c.txt: cannot be read (Permission denied)";
    }
    void damaged() {
        QFETCH(Fault, fault);
        QFETCH(int, line);
        const report::Damaged d{QStringLiteral("/x/history/TR/c.txt"), fault, line, QStringLiteral("Permission denied")};
        QTEST(report::damagedText(d, false), "russian");
        QTEST(report::damagedText(d, true), "english");
    }
};

QTEST_GUILESS_MAIN(TestReportTexts)
#include "test_reporttexts.moc"
