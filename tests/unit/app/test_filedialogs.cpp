// The open dialogs' filters: a table or curve dialog adds its kind's history copies after
// the file filter, word for word as the user has always seen them; the save dialogs' own
// extension.
#include "app/filedialogs.h"
#include "tables/tablefiles.h"
#include "telemetry/recordfile.h"

#include <QtTest>

class TestFileDialogs : public QObject {
    Q_OBJECT
private slots:
    void historyFilter_data() {
        QTest::addColumn<int>("kind"); // -1: a file of no kind (a recording)
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("filter");
        auto row = [](const char* name, int kind, bool english, const QString& filter) {
            QTest::newRow(name) << kind << english << filter;
        };
        row("Lambda", int(TableKind::Lambda), false,
            QStringLiteral("Данные Лямбда (*Lambda.txt);;История модуля (*_Lambda_*.txt)"));
        row("MAF, English", int(TableKind::Maf), true,
            QStringLiteral("Данные MAF (MAP) (*MAF.txt);;Module history (*_MAF_*.txt)"));
        row("voltages", int(TableKind::Voltage), false,
            QStringLiteral("Данные напряжений (*Volt.txt);;История модуля (*_Volt_*.txt)"));
        row("curve 1: both curves' copies", int(TableKind::Curve1), false,
            QStringLiteral("Данные Эмулятора (*Emu.txt);;История модуля (*_Emu1_*.txt *_Emu2_*.txt)"));
        row("curve 2: both curves' copies", int(TableKind::Curve2), true,
            QStringLiteral("Данные Эмулятора (*Emu.txt);;Module history (*_Emu1_*.txt *_Emu2_*.txt)"));
        row("recording: no copies", -1, false, QStringLiteral("Данные (*_data.txt)"));
        row("recording, English: no copies", -1, true, QStringLiteral("Данные (*_data.txt)"));
    }
    void historyFilter() {
        QFETCH(int, kind);
        QFETCH(bool, english);
        QFETCH(QString, filter);
        const std::optional<TableKind> copiesOf =
            kind < 0 ? std::nullopt : std::optional<TableKind>(TableKind(kind));
        const QString fileFilter = copiesOf ? tablefiles::dialogFilter(*copiesOf) : recordfile::dialogFilter();
        QCOMPARE(filedialogs::withHistoryFilter(fileFilter, copiesOf, english), filter);
    }

    // The extension a save dialog puts on a name typed without it: only a filter of one
    // plain "*.ext" pattern gives one.
    void plainExtension_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("extension");
        QTest::newRow("csv") << QStringLiteral("CSV (*.csv)") << QStringLiteral(".csv");
        QTest::newRow("picture") << QStringLiteral("PNG (*.png)") << QStringLiteral(".png");
        QTest::newRow("suffix with a name part") << QStringLiteral("Данные (*_data.txt)") << QString();
        QTest::newRow("two patterns") << QStringLiteral("Pictures (*.png *.jpg)") << QString();
        QTest::newRow("empty") << QString() << QString();
    }
    void plainExtension() {
        QFETCH(QString, filter);
        QFETCH(QString, extension);
        QCOMPARE(filedialogs::plainExtension(filter), extension);
    }
};

QTEST_GUILESS_MAIN(TestFileDialogs)
#include "test_filedialogs.moc"
