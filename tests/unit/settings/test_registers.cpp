// Register codecs: the decode table, the code tables, bits, and encode -> decode over
// every value a stepper can reach.
#include "common/numtext.h"
#include "settings/registers.h"

#include <QtTest>

using regs::Num;

class TestRegisters : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("ru_RU"))); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }

    void decoding_data() {
        QTest::addColumn<int>("reg");
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("k");
        QTest::addColumn<QString>("shown");
        QTest::newRow("04 fuel 100") << int(Num::K_Fuel) << 100 << 1 << "100";
        QTest::newRow("05 128 is 0") << int(Num::Lambda1Korr) << 128 << 1 << "0";
        QTest::newRow("05 108 is -0,2") << int(Num::Lambda1Korr) << 108 << 1 << "-0,2";
        QTest::newRow("05 29 is -0,99") << int(Num::Lambda1Korr) << 29 << 1 << "-0,99";
        QTest::newRow("0B 220 is 0,92") << int(Num::DmrvKKorr) << 220 << 1 << "0,92";
        QTest::newRow("0F 45 is 4,5") << int(Num::VolEng) << 45 << 1 << "4,5";
        QTest::newRow("0F 3 is 0,3") << int(Num::VolEng) << 3 << 1 << "0,3";
        QTest::newRow("10 36 is 0,8") << int(Num::PorogKorr) << 36 << 1 << "0,8";
        QTest::newRow("10 12 is 0,2 (2,5 tenths, tie to even)") << int(Num::PorogKorr) << 12 << 1 << "0,2";
        QTest::newRow("10 60 is 1,2 (12,5 tenths, tie to even)") << int(Num::PorogKorr) << 60 << 1 << "1,2";
        QTest::newRow("10 240 is 5") << int(Num::PorogKorr) << 240 << 1 << "5";
        QTest::newRow("12 162 is 0,8") << int(Num::UMax) << 162 << 1 << "0,8";
        QTest::newRow("15 32 K1 is 2300") << int(Num::PointKorr) << 32 << 1 << "2300";
        QTest::newRow("15 32 K58 is 4600") << int(Num::PointKorr) << 32 << 58 << "4600";
        QTest::newRow("15 32 K4 is 9300") << int(Num::PointKorr) << 32 << 4 << "9300";
        QTest::newRow("15 0 is 0") << int(Num::PointKorr) << 0 << 1 << "0";
        QTest::newRow("15 30 K1 is 2500") << int(Num::PointKorr) << 30 << 1 << "2500";
        QTest::newRow("17 96 is 50") << int(Num::ZadKorr) << 96 << 1 << "50";
        QTest::newRow("17 0 is 0") << int(Num::ZadKorr) << 0 << 1 << "0";
        // Bytes no stepper writes: the divisor shows in full here (1,9 would give 100 and 134).
        QTest::newRow("17 190 is 99") << int(Num::ZadKorr) << 190 << 1 << "99";
        QTest::newRow("17 255 is 133") << int(Num::ZadKorr) << 255 << 1 << "133";
    }
    void decoding() {
        QFETCH(int, reg);
        QFETCH(int, byte);
        QFETCH(int, k);
        QFETCH(QString, shown);
        QCOMPARE(regs::decodeText(Num(reg), byte, k), shown);
    }

    void decodingUnderPointLocale() {
        QLocale::setDefault(QLocale::c());
        QCOMPARE(regs::decodeText(Num::Lambda1Korr, 108), QStringLiteral("-0.2"));
        QCOMPARE(regs::decodeText(Num::UMax, 162), QStringLiteral("0.8"));
        QCOMPARE(regs::decodeText(Num::PointKorr, 30), QStringLiteral("2500"));
    }

    void encodingExamples() {
        QCOMPARE(regs::encode(Num::ZadKorr, 50), 96);      // Int(95,35) + 1
        QCOMPARE(regs::encode(Num::Lambda1Korr, -0.2), 108);
        QCOMPARE(regs::encode(Num::UMax, 0.8), 162);       // Int(162,4)
        QCOMPARE(regs::encode(Num::UMax, 0.17), 34);       // Int(34,51), where rounding gives 35
        QCOMPARE(regs::encode(Num::PorogKorr, 0.8), 38);   // Round(38,4)
        QCOMPARE(regs::encode(Num::PorogKorr, 0.75), 36);
        QCOMPARE(regs::encode(Num::PointKorr, 2500, 1), 30);
        QCOMPARE(regs::encode(Num::PointKorr, 2500, 58), 60);
        QCOMPARE(regs::encode(Num::VolEng, 4.5), 45);
        QCOMPARE(regs::encode(Num::K_Fuel, 100), 100);
    }

    // Every value each stepper can reach encodes to a byte, and reads back as itself
    // except where the firmware's formulas lose it; those places are listed exactly.
    void stepperSweep_data() {
        QTest::addColumn<int>("reg");
        QTest::addColumn<int>("k");
        QTest::addColumn<int>("minSteps"); // limits in whole steps
        QTest::addColumn<int>("maxSteps");
        QTest::addColumn<double>("step");
        QTest::addColumn<QString>("lossy"); // values that read back differently, "x>y" pairs
        QTest::newRow("05") << int(Num::Lambda1Korr) << 1 << -99 << 0 << 0.01 << "";
        QTest::newRow("0B") << int(Num::DmrvKKorr) << 1 << -100 << 100 << 0.01 << "";
        QTest::newRow("12") << int(Num::UMax) << 1 << 0 << 110 << 0.01 << "";
        QTest::newRow("10") << int(Num::PorogKorr) << 1 << 0 << 50 << 0.1 << "";
        QTest::newRow("17") << int(Num::ZadKorr) << 1 << 0 << 120 << 1.0 << "";
        QTest::newRow("04") << int(Num::K_Fuel) << 1 << 1 << 250 << 1.0 << "";
        QTest::newRow("0F") << int(Num::VolEng) << 1 << 12 << 64 << 0.1 << "";
        QTest::newRow("15 K=1") << int(Num::PointKorr) << 1 << 15 << 50 << 100.0
                                << "2900>3000 3300>3400 3600>3700 3800>3900 4000>4100 4200>4400 4300>4400 "
                                   "4500>4600 4700>5000 4800>5000 4900>5000";
        QTest::newRow("15 K=2") << int(Num::PointKorr) << 2 << 15 << 50 << 100.0 << "4300>4400 4700>4800 4900>5000";
        QTest::newRow("15 K=4") << int(Num::PointKorr) << 4 << 15 << 50 << 100.0 << "";
    }
    void stepperSweep() {
        QFETCH(int, reg);
        QFETCH(int, k);
        QFETCH(int, minSteps);
        QFETCH(int, maxSteps);
        QFETCH(double, step);
        QStringList found;
        for (int n = minSteps; n <= maxSteps; ++n) {
            const double x = n * step;
            const int byte = regs::encode(Num(reg), x, k);
            QVERIFY2(byte >= 0 && byte <= 255, qPrintable(QStringLiteral("%1 -> %2").arg(x).arg(byte)));
            const QString shown = formatGeneral(x);
            const QString back = regs::decodeText(Num(reg), byte, k);
            if (back != shown) found << shown + QLatin1Char('>') + back;
        }
        qInfo().noquote() << QTest::currentDataTag() << "lossy:" << found.join(QLatin1Char(' '));
        QFETCH(QString, lossy);
        QCOMPARE(found.join(QLatin1Char(' ')), lossy);
    }

    void leannessCodes() {
        QCOMPARE(regs::stepSmesiCaption(20), QStringLiteral("15,0:1"));
        QCOMPARE(regs::stepSmesiCaption(41), QStringLiteral("15,5:1"));
        QCOMPARE(regs::stepSmesiCaption(143), QStringLiteral("18,0:1"));
        QCOMPARE(regs::stepSmesiCaption(21), QString());
        for (int i = 0; i < 7; ++i)
            QCOMPARE(regs::stepSmesiCode(regs::stepSmesiCaptions().at(i)), regs::stepSmesiCodes().at(i));
        QCOMPARE(regs::stepSmesiCode(QStringLiteral("15:1")), -1);
    }

    void kPrime() {
        QCOMPARE(regs::kPrime(1), 1);
        QCOMPARE(regs::kPrime(2), 2);
        QCOMPARE(regs::kPrime(4), 4);
        QCOMPARE(regs::kPrime(58), 2);
        QCOMPARE(regs::kPrime(5), 2);
    }

    void bits() {
        const QStringList b = regs::bitsFromText(QStringLiteral("00001000"));
        QCOMPARE(b.size(), 8);
        QCOMPARE(b.at(3), QStringLiteral("1"));
        QCOMPARE(regs::logBits(b), QStringLiteral("0001 0000"));
        QCOMPARE(regs::textFromBits(b), QStringLiteral("00001000"));
        const QStringList c = regs::bitsFromText(QStringLiteral("10000001"));
        QCOMPARE(regs::logBits(c), QStringLiteral("1000 0001"));
    }
};

QTEST_APPLESS_MAIN(TestRegisters)
#include "test_registers.moc"
