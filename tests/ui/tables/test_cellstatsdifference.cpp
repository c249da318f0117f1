// The cell statistics drawn as a difference from a comparison recording: the colour runs
// from blue (main below the comparison) over white (no difference) to red (above), scaled
// to the largest difference of the grid either way; a cell without samples on either side
// has no colour; the tool tip holds both counts and means; and a plain grid set again drops
// the comparison.
#include "analysis/cellcompare.h"
#include "common/messages.h"
#include "tables/cellstatsdelegate.h"

#include <QtTest>

using namespace analysis;

namespace {

// The sample values of cell (c, r) (1-based) into a grid.
void put(CellGrid& grid, int c, int r, std::initializer_list<double> values) {
    for (double v : values) grid.add(speedAxis()[std::size_t(c - 1)], mafVoltageAxis()[std::size_t(r - 1)], v);
}

} // namespace

class TestCellStatsDifference : public QObject {
    Q_OBJECT
    CellGrid main{speedAxis(), mafVoltageAxis()};
    CellGrid reference{speedAxis(), mafVoltageAxis()};

private slots:
    void init() {
        QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
        msgs().setRussian();
        main = CellGrid(speedAxis(), mafVoltageAxis());
        reference = CellGrid(speedAxis(), mafVoltageAxis());
        put(main, 1, 1, {14, 15});         // mean 14,5 against 15,5: -1
        put(reference, 1, 1, {15, 16});
        put(main, 2, 1, {16, 16, 16});     // 16 against 14: +2, the largest
        put(reference, 2, 1, {14});
        put(main, 3, 1, {15});             // 15 against 15: none
        put(reference, 3, 1, {15, 15});
        put(main, 4, 1, {15});             // no comparison sample
        put(reference, 5, 1, {15});        // no main sample
    }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void colours_data() {
        QTest::addColumn<int>("c");
        QTest::addColumn<QColor>("colour");
        // fade = 255 * (1 - |d| / 2 * 0,75)
        QTest::newRow("below: half the largest, blue") << 1 << QColor(159, 159, 255);
        QTest::newRow("the largest above: full red") << 2 << QColor(255, 64, 64);
        QTest::newRow("no difference: white") << 3 << QColor(255, 255, 255);
        QTest::newRow("no comparison sample") << 4 << QColor();
        QTest::newRow("no main sample") << 5 << QColor();
        QTest::newRow("neither") << 6 << QColor();
    }
    void colours() {
        QFETCH(int, c);
        QFETCH(QColor, colour);
        CellStatsDelegate d;
        d.setGrid(main, &reference);
        QVERIFY(d.showsDifference());
        QCOMPARE(d.cellColour(c, 1), colour);
    }

    void toolTips_data() {
        QTest::addColumn<int>("c");
        QTest::addColumn<QString>("tip");
        const QString minus = QString(QChar(0x2212));
        QTest::newRow("both") << 1 << QStringLiteral("Отсчётов: 2 / 2\nСреднее: 14,5 / 15,5\nРазность: ") + minus + "1";
        QTest::newRow("above") << 2 << QStringLiteral("Отсчётов: 3 / 1\nСреднее: 16 / 14\nРазность: 2");
        QTest::newRow("main only") << 4 << QStringLiteral("Отсчётов: 1 / 0\nСреднее: 15 / —");
        QTest::newRow("neither") << 6 << QString();
    }
    void toolTips() {
        QFETCH(int, c);
        QFETCH(QString, tip);
        CellStatsDelegate d;
        d.setGrid(main, &reference);
        QCOMPARE(d.toolTip(c, 1), tip);
    }

    // The plain statistics again: the mean's heat map and its own tool tip.
    void aPlainGridDropsTheComparison() {
        CellStatsDelegate d;
        d.setGrid(main, &reference);
        d.setGrid(main);
        QVERIFY(!d.showsDifference());
        QCOMPARE(d.toolTip(1, 1), cellToolTip(main.cell(1, 1), false));
        QVERIFY(d.cellColour(4, 1).isValid());
        QVERIFY(!d.cellColour(5, 1).isValid());
    }
};

QTEST_MAIN(TestCellStatsDifference)
#include "test_cellstatsdifference.moc"
