// What the model profiles derive from the identification: the sensor configuration code
// for every combination of sensor types, connection way and MAF type, the digital MAF
// output frequency and the fuel calibration value, and which models have a profile.
#include "common/configfiles.h"
#include "common/numtext.h"
#include "link/modelprofile.h"

#include <QtTest>

using profiles::Way;

namespace {
DigitPair digits(const char* answer) {
    auto value = [](char c) -> double {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    return DigitPair{value(answer[0]), value(answer[1])};
}
} // namespace

class TestModelProfile : public QObject {
    Q_OBJECT
  private slots:
    // Every combination of the two sensor types (zirconia, wideband, not determined), the
    // connection way (none, normal, offset) and the MAF type; the code and whether it is one
    // of the 18 the masks are kept for.
    void sensorCodes_data() {
        QTest::addColumn<QString>("type1");
        QTest::addColumn<QString>("type2");
        QTest::addColumn<int>("way");
        QTest::addColumn<bool>("digital");
        QTest::addColumn<QString>("code");
        const QString z = kZirconiaSensor, wb = kWidebandSensor, none;
        // Letters 1 to 4 by sensor 1, sensor 2 and way; "" where the code cannot be valid.
        const struct {
            const QString& t1;
            const QString& t2;
            Way way;
            const char* letters;
        } table[] = {
            {z, z, Way::Offset, "ZSZS"},  {z, z, Way::Normal, "ZOZO"},  {z, z, Way::None, ""},
            {z, wb, Way::Offset, "ZSWW"}, {z, wb, Way::Normal, "ZOWW"}, {z, wb, Way::None, ""},
            {wb, z, Way::Offset, "WWZS"}, {wb, z, Way::Normal, "WWZO"}, {wb, z, Way::None, ""},
            {wb, wb, Way::Offset, "WWWW"}, {wb, wb, Way::Normal, "WWWW"}, {wb, wb, Way::None, "WWWW"},
            {none, z, Way::Offset, ""},   {none, wb, Way::Normal, ""},  {none, none, Way::None, ""},
            {z, none, Way::Offset, ""},   {wb, none, Way::Normal, ""},  {none, z, Way::None, ""},
        };
        for (const auto& row : table) {
            for (bool digital : {false, true}) {
                const QString code = *row.letters ? QLatin1String(row.letters) + QLatin1Char(digital ? 'C' : 'A')
                                                  : QString();
                const QByteArray name = (row.t1.left(3) + QLatin1Char('/') + row.t2.left(3) +
                                         QStringLiteral("/%1/%2").arg(int(row.way)).arg(digital ? "C" : "A"))
                                            .toUtf8();
                QTest::newRow(name.constData()) << row.t1 << row.t2 << int(row.way) << digital << code;
            }
        }
    }
    void sensorCodes() {
        QFETCH(QString, type1);
        QFETCH(QString, type2);
        QFETCH(int, way);
        QFETCH(bool, digital);
        QFETCH(QString, code);
        const QString got = profiles::sensorCode(type1, type2, Way(way), digital);
        if (code.isEmpty()) {
            QCOMPARE(cfg::sensorCodeIndex(got), -1);
        } else {
            QCOMPARE(got, code);
            QVERIFY(cfg::sensorCodeIndex(got) >= 0);
        }
    }

    // Two zirconia sensors on the offset connection with an analog MAF is line 11 of the
    // masks file, the code a TR-90 module always has with an analog MAF.
    void tr90CodeIsLine11() {
        QCOMPARE(cfg::sensorCodeIndex(profiles::sensorCode(kZirconiaSensor, kZirconiaSensor, Way::Offset, false)), 10);
        QCOMPARE(cfg::sensorCodeIndex(profiles::sensorCode(kZirconiaSensor, kZirconiaSensor, Way::Offset, true)), 11);
    }

    // The answers to "D4%" and "E4%" (low digit first) and the frequency shown.
    void digitalMafFrequency_data() {
        QTest::addColumn<QString>("d4");
        QTest::addColumn<QString>("e4");
        QTest::addColumn<double>("hz");
        QTest::newRow("v = 0") << "00" << "00" << 0.0;
        QTest::newRow("v = 1") << "10" << "00" << 10000.0;
        QTest::newRow("v = 2") << "20" << "00" << 5000.0;
        QTest::newRow("v = 3, two decimals") << "30" << "00" << 3333.33;
        QTest::newRow("v = 6, rounded up") << "60" << "00" << 1666.67;
        QTest::newRow("second digit of 4D") << "01" << "00" << 625.0;
        QTest::newRow("first digit of 4E") << "00" << "10" << 39.06;
        QTest::newRow("second digit of 4E") << "00" << "01" << 2.44;
        QTest::newRow("v = FFFF") << "FF" << "FF" << 0.15;
        QTest::newRow("missing digit") << "1 " << "00" << 0.0;
        QTest::newRow("invalid digit of 4E") << "10" << "0g" << 0.0;
    }
    void digitalMafFrequency() {
        QFETCH(QString, d4);
        QFETCH(QString, e4);
        QFETCH(double, hz);
        QCOMPARE(profiles::digitalMafFrequency(digits(qPrintable(d4)), digits(qPrintable(e4))), hz);
    }

    // K_RashTopl from "47%" (byte 74) and "57%" (byte 75).
    void fuelCalibration_data() {
        QTest::addColumn<QString>("b74");
        QTest::addColumn<QString>("b75");
        QTest::addColumn<double>("k");
        QTest::newRow("32") << "02" << "00" << 32.0;
        QTest::newRow("all four digits") << "21" << "43" << double(0x3412);
        QTest::newRow("largest") << "FF" << "FF" << 65535.0;
        QTest::newRow("invalid digit") << "02" << "0-" << -1.0;
    }
    void fuelCalibration() {
        QFETCH(QString, b74);
        QFETCH(QString, b75);
        QFETCH(double, k);
        QCOMPARE(profiles::fuelCalibration(digits(qPrintable(b74)), digits(qPrintable(b75))), k);
    }

    void profilesByModel() {
        QCOMPARE(profiles::forModel(QStringLiteral("TR-70")), &profiles::tr70());
        QCOMPARE(profiles::forModel(QStringLiteral("TR-90")), &profiles::tr90());
        QVERIFY(!profiles::forModel(QStringLiteral("TR-80")));
        QVERIFY(!profiles::forModel(QString()));
        // A TR-70 after a TR-90 gets back every group the TR-90 took away.
        for (const QString& g : profiles::tr90().dimmedGroups)
            QVERIFY(profiles::groupsDimmedByAnyProfile().contains(g));
        QVERIFY(profiles::tr70().dimmedGroups.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestModelProfile)
#include "test_modelprofile.moc"
