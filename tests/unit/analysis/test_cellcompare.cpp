// Two recordings over the same table: the difference of the means per cell against a hand
// computation, the cells only one recording reaches, and the texts in both languages.
#include "analysis/cellcompare.h"

#include <QLocale>
#include <QtTest>

#include <vector>

using namespace analysis;

namespace {
CellStats cell(const std::vector<double>& values) {
    CellStats c;
    for (double v : values) c.add(v);
    return c;
}
const QString minus = QString(QChar(0x2212));
} // namespace

class TestCellCompare : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("ru_RU"))); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void differenceText_data() {
        QTest::addColumn<double>("difference");
        QTest::addColumn<QString>("ru");
        QTest::addColumn<QString>("en");
        QTest::newRow("negative") << -0.8 << minus + "0,8" << minus + "0.8";
        QTest::newRow("positive") << 1.25 << "1,25" << "1.25";
        QTest::newRow("zero") << 0.0 << "0" << "0";
        // A binary neighbour of a decimal difference reads as the decimal one.
        QTest::newRow("14,6 - 15,4") << (14.6 - 15.4) << minus + "0,8" << minus + "0.8";
        QTest::newRow("three decimals") << -1.23456 << minus + "1,235" << minus + "1.235";
        // Below half a thousandth nothing is left to sign.
        QTest::newRow("tiny negative") << -0.0004 << "0" << "0";
        QTest::newRow("large") << -1234.5 << minus + "1234,5" << minus + "1234.5";
    }
    void differenceText() {
        QFETCH(double, difference);
        QFETCH(QString, ru);
        QFETCH(QString, en);
        QCOMPARE(analysis::differenceText(difference), ru);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(analysis::differenceText(difference), en);
    }

    // The task's example, worked by hand: 41 samples of mean 14,6 against 37 of mean 15,4.
    void toolTipAgainstAHandComputation() {
        std::vector<double> main, ref;
        for (int i = 0; i < 41; ++i) main.push_back(14.6 + (i % 2 ? 0.1 : -0.1) * (i < 40)); // 20 up, 20 down, one exact
        for (int i = 0; i < 37; ++i) ref.push_back(15.4 + (i % 2 ? 0.3 : -0.3) * (i < 36));
        const CellStats a = cell(main), b = cell(ref);
        QCOMPARE(a.count, 41);
        QCOMPARE(b.count, 37);
        const std::optional<double> d = meanDifference(a, b);
        QVERIFY(d);
        QVERIFY(std::abs(*d - (-0.8)) < 1e-9);
        QCOMPARE(differenceToolTip(a, b, false),
                 QStringLiteral("Отсчётов: 41 / 37\nСреднее: 14,6 / 15,4\nРазность: ") + minus + "0,8");
        QLocale::setDefault(QLocale::c());
        QCOMPARE(differenceToolTip(a, b, true),
                 QStringLiteral("Samples: 41 / 37\nMean: 14.6 / 15.4\nDifference: ") + minus + "0.8");
    }

    // Means of uneven values: the difference is of the means, not of sums or counts.
    void differenceOfMeans_data() {
        QTest::addColumn<std::vector<double>>("main");
        QTest::addColumn<std::vector<double>>("ref");
        QTest::addColumn<QString>("tip");
        QTest::newRow("one each") << std::vector<double>{3} << std::vector<double>{1} << "Отсчётов: 1 / 1\nСреднее: 3 / 1\nРазность: 2";
        QTest::newRow("counts differ")
            << std::vector<double>{1, 2, 3, 4} << std::vector<double>{10}
            << "Отсчётов: 4 / 1\nСреднее: 2,5 / 10\nРазность: " + minus + "7,5";
        QTest::newRow("equal means") << std::vector<double>{0.1, 0.2} << std::vector<double>{0.15, 0.15, 0.15}
                                     << "Отсчётов: 2 / 3\nСреднее: 0,15 / 0,15\nРазность: 0";
        // Only one recording reaches the cell: no difference, the other mean is a dash.
        QTest::newRow("main only") << std::vector<double>{14.6} << std::vector<double>{}
                                   << QStringLiteral("Отсчётов: 1 / 0\nСреднее: 14,6 / —");
        QTest::newRow("reference only") << std::vector<double>{} << std::vector<double>{15, 16}
                                        << QStringLiteral("Отсчётов: 0 / 2\nСреднее: — / 15,5");
        QTest::newRow("neither") << std::vector<double>{} << std::vector<double>{} << QString();
    }
    void differenceOfMeans() {
        QFETCH(std::vector<double>, main);
        QFETCH(std::vector<double>, ref);
        QFETCH(QString, tip);
        const CellStats a = cell(main), b = cell(ref);
        QCOMPARE(differenceToolTip(a, b, false), tip);
        QCOMPARE(meanDifference(a, b).has_value(), !main.empty() && !ref.empty());
    }
};

QTEST_MAIN(TestCellCompare)
#include "test_cellcompare.moc"
