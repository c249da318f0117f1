// The settings of a work report: each setting decoded from the two images by the registers'
// codecs, named as the settings panel names it, marked when its bits or value changed (and
// only then), in the window's language and number form.
#include "report/reportsettings.h"

#include <QtTest>

namespace {

using Image = QMap<int, int>;

// The registers as a module holds them from the factory.
Image factory() {
    return {{0x00, 0x00}, {0x01, 0x10}, {0x04, 100}, {0x05, 108}, {0x09, 4},  {0x0B, 178}, {0x0F, 45}, {0x10, 36},
            {0x12, 162},  {0x13, 41},   {0x14, 1},   {0x15, 30},  {0x17, 96}, {0x18, 4},   {0x19, 0}};
}

Image with(Image im, const QList<std::pair<int, int>>& changes) {
    for (const auto& [reg, v] : changes) {
        if (v < 0)
            im.remove(reg);
        else
            im.insert(reg, v);
    }
    return im;
}

// name: before -> after, as the rows must show them.
using Expected = QMap<QString, QStringList>;

} // namespace

Q_DECLARE_METATYPE(Image)

class TestReportSettings : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void rows_data() {
        QTest::addColumn<bool>("hasBefore");
        QTest::addColumn<Image>("before");
        QTest::addColumn<Image>("after");
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<Expected>("changed"); // exactly the rows marked
        QTest::addColumn<Expected>("same");    // rows that must stand unmarked

        const Image f = factory();
        QTest::newRow("displacement")
            << true << f << with(f, {{0x0F, 46}}) << false << "C"
            << Expected{{"Объём двигателя", {"4.5", "4.6"}}}
            << Expected{{"Коэффициент коррекции Лямбда 1", {"-0.2", "-0.2"}}, {"Количество форсунок", {"4", "4"}}};
        QTest::newRow("displacement in the Russian number form")
            << true << f << with(f, {{0x0F, 46}}) << false << "ru_RU"
            << Expected{{"Объём двигателя", {"4,5", "4,6"}}}
            << Expected{{"Коэффициент коррекции ДМРВ", {"0,5", "0,5"}}};
        QTest::newRow("displacement, English")
            << true << f << with(f, {{0x0F, 46}}) << true << "C" << Expected{{"Engine displacement", {"4.5", "4.6"}}}
            << Expected{{"Maximum offset voltage", {"0.8", "0.8"}}, {"Mixture leaning", {"15,5:1", "15,5:1"}}};
        QTest::newRow("the point follows the crankshaft coefficient")
            << true << f << with(f, {{0x14, 2}}) << false << "C"
            << Expected{{"Коэффициент частоты вращения коленвала", {"1", "2"}},
                        {"Точка максимальной коррекции", {"2500", "5000"}}}
            << Expected{};
        QTest::newRow("a byte that shows the same value is still a change")
            << true << f << with(f, {{0x10, 37}}) << false << "C"
            << Expected{{"Порог коррекции аналогового ДМРВ", {"0.8", "0.8"}}} << Expected{};
        QTest::newRow("emulator to optimizer")
            << true << with(f, {{0x00, 0x08}}) << f << false << "C"
            << Expected{{"Режим работы", {"Эмулятор", "Оптимизатор"}}}
            << Expected{{"Работа системы", {"Вкл", "Вкл"}}, {"Датчик коленвала", {"Нет", "Нет"}}};
        QTest::newRow("system off, learning on, offset to ground")
            << true << f << with(f, {{0x00, 0x80 | 0x40 | 0x04}}) << true << "C"
            << Expected{{"System operation", {"On", "Off"}},
                        {"Lambda emulator learning", {"Off", "On"}},
                        {"Offset voltage", {"Input", "Ground"}}}
            << Expected{{"Operating mode", {"Optimizer", "Optimizer"}}};
        QTest::newRow("bits of register 01")
            << true << f << with(f, {{0x01, 0x01 | 0x04 | 0x80}}) << false << "C"
            << Expected{{"Тип ДМРВ", {"Аналог", "Цифра"}},
                        {"Канал Лямбда 2", {"Обычный", "Катализатор"}},
                        {"Тип датчика", {"MAF", "MAP"}},
                        {"Нагрузка ДМРВ 1 кОм", {"Выкл", "Вкл"}}}
            << Expected{{"Режим коррекции", {"Простая", "Простая"}}};
        QTest::newRow("bit 5 of register 00, which no control shows")
            << true << f << with(f, {{0x00, 0x20}}) << false << "C" << Expected{{"EEPROM-00, бит 5", {"0", "1"}}}
            << Expected{};
        QTest::newRow("a code the panel does not know")
            << true << f << with(f, {{0x13, 21}, {0x09, 0}}) << false << "C"
            << Expected{{"Степень забеднения смеси", {"15,5:1", "— (21)"}}, {"Количество форсунок", {"4", "— (0)"}}}
            << Expected{};
        QTest::newRow("a register missing after")
            << true << f << with(f, {{0x18, -1}}) << false << "C"
            << Expected{{"Уровень спада коррекции", {"4", "—"}}} << Expected{};
        QTest::newRow("the tables' load axis")
            << true << f << with(f, {{0x00, 0x02}}) << true << "C"
            << Expected{{"Tables corrected over", {"Injection time", "Voltage from MAF"}}} << Expected{};
        QTest::newRow("nothing known before: nothing marked")
            << false << Image{} << with(f, {{0x0F, 46}}) << false << "C" << Expected{}
            << Expected{{"Объём двигателя", {"", "4.6"}}};
    }
    void rows() {
        QFETCH(bool, hasBefore);
        QFETCH(Image, before);
        QFETCH(Image, after);
        QFETCH(bool, english);
        QFETCH(QString, locale);
        QFETCH(Expected, changed);
        QFETCH(Expected, same);
        QLocale::setDefault(QLocale(locale));
        const QList<report::SettingRow> rows = report::settingRows(hasBefore ? &before : nullptr, after, english);
        QMap<QString, report::SettingRow> byName;
        for (const report::SettingRow& r : rows) {
            QVERIFY2(!byName.contains(r.name), qPrintable(r.name));
            byName.insert(r.name, r);
        }
        // Every setting of the panel has its row, bit 5 only when it changed.
        QCOMPARE(rows.size(), 26 + (byName.contains(QStringLiteral("EEPROM-00, бит 5")) ? 1 : 0));
        QStringList marked;
        for (const report::SettingRow& r : rows)
            if (r.changed) marked << r.name;
        QStringList expectedMarked = changed.keys();
        marked.sort();
        QCOMPARE(marked, expectedMarked);
        auto check = [&](const Expected& e, bool mark) {
            for (auto it = e.cbegin(); it != e.cend(); ++it) {
                QVERIFY2(byName.contains(it.key()), qPrintable(it.key()));
                const report::SettingRow& r = byName.value(it.key());
                QCOMPARE(r.before, it.value().at(0));
                QCOMPARE(r.after, it.value().at(1));
                QCOMPARE(r.changed, mark);
            }
        };
        check(changed, true);
        check(same, false);
    }
};

QTEST_GUILESS_MAIN(TestReportSettings)
#include "test_reportsettings.moc"
