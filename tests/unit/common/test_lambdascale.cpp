// The wideband scale: pump current to air/fuel ratio on either side of lambda 1, and back.
#include "common/lambdascale.h"

#include <QtTest>

class TestLambdaScale : public QObject {
    Q_OBJECT
private slots:
    void scale_data() {
        QTest::addColumn<double>("current");
        QTest::addColumn<double>("afr");
        QTest::newRow("lambda 1") << 0.0 << 14.5;
        QTest::newRow("lean 1 mA") << 1.0 << 15.9861;
        QTest::newRow("lean 2,5 mA") << 2.5 << 18.21525;
        QTest::newRow("rich -2 mA") << -2.0 << 14.0;
        QTest::newRow("rich -6 mA") << -6.0 << 13.0;
    }
    void scale() {
        QFETCH(double, current);
        QFETCH(double, afr);
        QCOMPARE(lambdascale::afrFromPumpCurrent(current), afr);
        QCOMPARE(lambdascale::pumpCurrentFromAfr(afr) + 1, current + 1); // fuzzy near zero too
    }
};

QTEST_GUILESS_MAIN(TestLambdaScale)
#include "test_lambdascale.moc"
