// Binning recorded samples over the tables' axes: the nearest breakpoint with ties to the
// lower one, the ends, samples that belong nowhere, the statistics of a cell and its tool
// tip, the position between breakpoints.
#include "analysis/cellstats.h"

#include <QLocale>
#include <QtTest>

#include <vector>

using namespace analysis;

class TestCellStats : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void nearestBreakpoint_data() {
        QTest::addColumn<bool>("mafVoltage");
        QTest::addColumn<int>("axisKind"); // 0 speed, 1 load
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("index");
        // At the breakpoints.
        QTest::newRow("670 rpm") << true << 0 << 670.0 << 0;
        QTest::newRow("10000 rpm") << true << 0 << 10000.0 << 7;
        QTest::newRow("2,5 V") << true << 1 << 2.5 << 4;
        QTest::newRow("4,0 ms") << false << 1 << 4.0 << 3;
        // Between, on either side of the half-way mark.
        QTest::newRow("724 rpm") << true << 0 << 724.0 << 0;
        QTest::newRow("726 rpm") << true << 0 << 726.0 << 1;
        QTest::newRow("3600 rpm") << true << 0 << 3599.0 << 5;
        QTest::newRow("3601 rpm") << true << 0 << 3601.0 << 6;
        QTest::newRow("2,84 V") << true << 1 << 2.84 << 4;
        QTest::newRow("2,86 V") << true << 1 << 2.86 << 5;
        QTest::newRow("6,9 ms") << false << 1 << 6.9 << 7;
        // Exactly half-way: the lower breakpoint, also where the decimal half-way value
        // is not exact in binary.
        QTest::newRow("725 rpm tie") << true << 0 << 725.0 << 0;
        QTest::newRow("7400 rpm tie") << true << 0 << 7400.0 << 6;
        QTest::newRow("0,3 V tie") << true << 1 << 0.3 << 0;
        QTest::newRow("0,95 V tie") << true << 1 << 0.95 << 1;
        QTest::newRow("2,85 V tie") << true << 1 << 2.85 << 4;
        QTest::newRow("4,1 V tie") << true << 1 << 4.1 << 6;
        QTest::newRow("2,0 ms tie") << false << 1 << 2.0 << 0;
        QTest::newRow("6,8 ms tie") << false << 1 << 6.8 << 6;
        // Beyond the ends: the edge cells.
        QTest::newRow("0 rpm") << true << 0 << 0.0 << 0;
        QTest::newRow("15000 rpm") << true << 0 << 15000.0 << 7;
        QTest::newRow("-0,2 V") << true << 1 << -0.2 << 0;
        QTest::newRow("5 V") << true << 1 << 5.0 << 7;
        QTest::newRow("0 ms") << false << 1 << 0.0 << 0;
        QTest::newRow("20 ms") << false << 1 << 20.0 << 7;
        // Not a number: no cell.
        QTest::newRow("NaN") << true << 1 << std::nan("") << -1;
        QTest::newRow("inf") << true << 0 << HUGE_VAL << -1;
    }
    void nearestBreakpoint() {
        QFETCH(bool, mafVoltage);
        QFETCH(int, axisKind);
        QFETCH(double, value);
        QFETCH(int, index);
        QCOMPARE(nearestIndex(axisKind == 0 ? speedAxis() : loadAxis(mafVoltage), value), index);
    }

    // A grid of samples: every cell is reached by its own breakpoints; statistics per cell;
    // samples that belong nowhere are left out, cells without samples stay empty.
    void binning() {
        struct S {
            double tp, load, value;
        };
        const std::vector<S> samples = {
            {820, 0.0, 0.4},  {850, 0.2, 0.6},    {780, -1, 0.8}, // cell (2,1) x3
            {10000, 4.4, 1.0},                                   // cell (8,8)
            {2000, 2.85, -0.5}, {2399, 2.5, 0.5},                // cells (5,5) and (6,5)
            {std::nan(""), 1.0, 9}, {1000, std::nan(""), 9}, {1000, 1.0, std::nan("")},
        };
        auto value = [&](int row, int col) {
            const S& s = samples[std::size_t(row)];
            return col == column::TP ? s.tp : col == column::AI ? s.load : s.value;
        };
        const CellGrid g = binRows(speedAxis(), mafVoltageAxis(), column::AI, column::L1, 0,
                                   int(samples.size()) - 1, value);
        QCOMPARE(g.total(), 6);
        const CellStats& a = g.cell(2, 1);
        QCOMPARE(a.count, 3);
        QCOMPARE(a.mean(), (0.4 + 0.6 + 0.8) / 3);
        QCOMPARE(a.min, 0.4);
        QCOMPARE(a.max, 0.8);
        QCOMPARE(g.cell(8, 8).count, 1);
        // 2000 rpm is exactly half-way between 1600 and 2400: the lower column, 5.
        QCOMPARE(g.cell(5, 5).count, 1);
        QCOMPARE(g.cell(5, 5).mean(), -0.5);
        QCOMPARE(g.cell(6, 5).count, 1);
        int empty = 0;
        for (const CellStats& c : g.cells()) empty += c.count == 0;
        QCOMPARE(empty, 60);
        // The injection-time axis bins the same speeds on other rows.
        auto byInjection = [&](int row, int col) { return col == column::SP ? 7.0 : value(row, col); };
        const CellGrid h = binRows(speedAxis(), injectionTimeAxis(), column::SP, column::L1, 0, 3, byInjection);
        QCOMPARE(h.cell(2, 8).count, 3);
        QCOMPARE(h.cell(8, 8).count, 1);
        // An empty range bins nothing.
        QCOMPARE(binRows(speedAxis(), mafVoltageAxis(), column::AI, column::L1, 5, 4, value).total(), 0);
    }

    // The extremes of a cell, whatever order its samples come in: the largest first, the
    // smallest first, one sample alone (it is both), all below zero.
    void extremes_data() {
        QTest::addColumn<QList<double>>("samples");
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::newRow("largest first") << QList<double>{0.8, 0.4} << 0.4 << 0.8;
        QTest::newRow("smallest first") << QList<double>{0.4, 0.8} << 0.4 << 0.8;
        QTest::newRow("one sample") << QList<double>{0.6} << 0.6 << 0.6;
        QTest::newRow("one sample below zero") << QList<double>{-0.3} << -0.3 << -0.3;
        QTest::newRow("falling, below zero") << QList<double>{-0.1, -0.5, -0.9} << -0.9 << -0.1;
        QTest::newRow("largest in the middle") << QList<double>{0.2, 0.9, 0.1} << 0.1 << 0.9;
    }
    void extremes() {
        QFETCH(QList<double>, samples);
        QFETCH(double, min);
        QFETCH(double, max);
        // Through the grid, as the table panel gets them: every sample in cell (2, 1).
        auto value = [&](int row, int col) {
            return col == column::TP ? 800.0 : col == column::AI ? 0.0 : samples.at(row);
        };
        const CellGrid g =
            binRows(speedAxis(), mafVoltageAxis(), column::AI, column::L1, 0, int(samples.size()) - 1, value);
        const CellStats& c = g.cell(2, 1);
        QCOMPARE(c.count, int(samples.size()));
        QCOMPARE(c.min, min);
        QCOMPARE(c.max, max);
    }

    void position_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("position");
        QTest::newRow("below") << 100.0 << 0.0;
        QTest::newRow("first") << 670.0 << 0.0;
        QTest::newRow("between") << 1400.0 << 3.5;
        QTest::newRow("breakpoint") << 2400.0 << 5.0;
        QTest::newRow("quarter") << 3000.0 << 5.25;
        QTest::newRow("beyond") << 12000.0 << 7.0;
    }
    void position() {
        QFETCH(double, value);
        QFETCH(double, position);
        QCOMPARE(fractionalIndex(speedAxis(), value), position);
    }

    void axes() {
        QVERIFY(axisUsable(speedAxis()));
        QVERIFY(axisUsable(mafVoltageAxis()));
        QVERIFY(axisUsable(injectionTimeAxis()));
        Axis flat = speedAxis();
        flat[3] = flat[2];
        QVERIFY(!axisUsable(flat));
        Axis nan = speedAxis();
        nan[7] = std::nan("");
        QVERIFY(!axisUsable(nan));
        QCOMPARE(statParameters().front().code, "L1");
        QCOMPARE(loadColumn(true), column::AI);
        QCOMPARE(loadColumn(false), column::SP);
    }

    void toolTip_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("text");
        QTest::newRow("ru") << "ru_RU" << false << "Отсчётов: 3\nСреднее: 0,2\nМин: 0,1\nМакс: 0,3";
        QTest::newRow("en") << "C" << true << "Samples: 3\nMean: 0.2\nMin: 0.1\nMax: 0.3";
    }
    void toolTip() {
        QFETCH(QString, locale);
        QFETCH(bool, english);
        QFETCH(QString, text);
        QLocale::setDefault(QLocale(locale));
        CellStats c;
        for (double v : {0.1, 0.2, 0.3}) c.add(v);
        QCOMPARE(cellToolTip(c, english), text);
        QCOMPARE(cellToolTip(CellStats{}, english), QString());
        QCOMPARE(meanText(2.0 / 3), locale == "C" ? QStringLiteral("0.667") : QStringLiteral("0,667"));
    }
};

QTEST_GUILESS_MAIN(TestCellStats)
#include "test_cellstats.moc"
