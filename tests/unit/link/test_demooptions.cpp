// The demo module's switches: what each one turns on, that a mistake turns nothing on, and
// that a demo connection takes them from the environment or refuses to open naming them.
#include "link/tbcomport.h"
#include "sim/demooptions.h"
#include "sim/simmodule.h"

#include <QtTest>

using namespace sim;

class TestDemoOptions : public QObject {
    Q_OBJECT

private slots:
    void parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("answerLimit");
        QTest::addColumn<bool>("refuse");
        QTest::addColumn<bool>("wide1");
        QTest::addColumn<bool>("wide2");
        QTest::addColumn<bool>("digital");
        QTest::addColumn<bool>("mixture");
        QTest::addColumn<bool>("cycle");
        QTest::addColumn<double>("scale");
        QTest::newRow("nothing") << "" << -1 << false << false << false << false << false << false << 1.0;
        QTest::newRow("blanks and empty items") << " , ,, " << -1 << false << false << false << false << false << false << 1.0;
        QTest::newRow("refuse") << "refuse-writes" << -1 << true << false << false << false << false << false << 1.0;
        QTest::newRow("silent") << "silent-after=40" << 40 << false << false << false << false << false << false << 1.0;
        QTest::newRow("sensors") << "wideband2, digital-maf ,wideband" << -1 << false << true << true << true << false << false << 1.0;
        QTest::newRow("mixture") << "mixture" << -1 << false << false << false << false << true << false << 1.0;
        QTest::newRow("cycle implies mixture") << "tuning-cycle" << -1 << false << false << false << false << true << true << 1.0;
        QTest::newRow("everything") << "wideband,tuning-cycle,speed=4,silent-after=1000000,refuse-writes"
                                    << 1000000 << true << true << false << false << true << true << 4.0;
        QTest::newRow("speed bounds") << "speed=0.1" << -1 << false << false << false << false << false << false << 0.1;
        QTest::newRow("speed blanks") << "speed = 20" << -1 << false << false << false << false << false << false << 20.0;
    }
    void parse() {
        QFETCH(QString, text);
        QString error = QStringLiteral("stale");
        const DemoOptions o = parseDemoOptions(text, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QTEST(o.faults.answerLimit, "answerLimit");
        QTEST(o.faults.refuseWrites, "refuse");
        QTEST(o.equipment.lambda1Wideband, "wide1");
        QTEST(o.equipment.lambda2Wideband, "wide2");
        QTEST(o.equipment.digitalMaf, "digital");
        QTEST(o.mixture.enabled, "mixture");
        QTEST(o.mixture.tuningCycle, "cycle");
        QTEST(o.timeScale, "scale");
        QVERIFY(!o.faults.silent);
    }

    // A mistake anywhere leaves every option off, the good ones before it included.
    void refused_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("named");
        QTest::newRow("unknown") << "wideband,silence" << "silence";
        QTest::newRow("value on a plain switch") << "mixture=1" << "mixture=1";
        QTest::newRow("no value") << "refuse-writes,silent-after" << "silent-after";
        QTest::newRow("not a number") << "silent-after=ten" << "silent-after=ten";
        QTest::newRow("zero items") << "silent-after=0" << "silent-after=0";
        QTest::newRow("fraction of an item") << "silent-after=2.5" << "silent-after=2.5";
        QTest::newRow("too many items") << "silent-after=1000001" << "silent-after=1000001";
        QTest::newRow("too slow") << "speed=0.05" << "speed=0.05";
        QTest::newRow("too fast") << "speed=21" << "speed=21";
        QTest::newRow("not finite") << "speed=inf" << "speed=inf";
        QTest::newRow("case matters") << "Wideband" << "Wideband";
    }
    void refused() {
        QFETCH(QString, text);
        QFETCH(QString, named);
        QString error;
        const DemoOptions o = parseDemoOptions(text, &error);
        QVERIFY(error.contains(QLatin1Char('"') + named + QLatin1Char('"')));
        QVERIFY(error.startsWith(QLatin1String(DemoOptionsVariable)));
        QCOMPARE(o.faults.answerLimit, -1);
        QVERIFY(!o.faults.refuseWrites);
        QVERIFY(!o.equipment.lambda1Wideband);
        QVERIFY(!o.mixture.enabled);
        QCOMPARE(o.timeScale, 1.0);
    }

    // A demo connection builds its module with the options in force, and one with a
    // mistake in them does not open at all.
    void demoPortTakesTheEnvironment() {
        TBComPort port;
        port.setPort(QStringLiteral("DEMO TR-90"));
        qputenv(DemoOptionsVariable, "wideband,refuse-writes,silent-after=7");
        QVERIFY(port.Open_Port());
        QVERIFY(port.demoModule());
        QVERIFY(port.demoModule()->faults().refuseWrites);
        QCOMPARE(port.demoModule()->faults().answerLimit, 7);
        QVERIFY(port.demoModule()->equipment().lambda1Wideband);
        QVERIFY(port.Close_Port());

        qputenv(DemoOptionsVariable, "refuse-writes,loose-cable");
        QString message;
        try {
            port.Open_Port();
        } catch (const EComPort& e) {
            message = e.message();
        }
        QVERIFY(message.contains(QLatin1String("\"loose-cable\"")));
        QVERIFY(!port.isOpen());

        qunsetenv(DemoOptionsVariable);
        QVERIFY(port.Open_Port());
        QVERIFY(!port.demoModule()->faults().refuseWrites);
        QCOMPARE(port.demoModule()->faults().answerLimit, -1);
        QVERIFY(port.Close_Port());
    }
};

QTEST_GUILESS_MAIN(TestDemoOptions)
#include "test_demooptions.moc"
