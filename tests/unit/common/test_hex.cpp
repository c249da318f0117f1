// The module's low-first hex notation and the lookup tables every codec relies on.
#include "common/hex.h"

#include <QtTest>

class TestHex : public QObject {
    Q_OBJECT
private slots:
    void digitValues_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        for (int i = 0; i < 10; ++i) QTest::addRow("digit %d", i) << QString::number(i) << double(i);
        const QString letters = QStringLiteral("ABCDEF");
        for (int i = 0; i < 6; ++i) QTest::addRow("upper %c", char('A' + i)) << QString(letters[i]) << double(10 + i);
        QTest::newRow("lower a") << QStringLiteral("a") << -1.0;
        QTest::newRow("lower f") << QStringLiteral("f") << -1.0;
        QTest::newRow("G") << QStringLiteral("G") << -1.0;
        QTest::newRow("empty") << QString() << -1.0;
        QTest::newRow("blank") << QStringLiteral(" ") << -1.0;
        QTest::newRow("two chars") << QStringLiteral("1A") << -1.0;
        QTest::newRow("bang") << QStringLiteral("!") << -1.0;
        QTest::newRow("cyrillic A") << QStringLiteral("А") << -1.0;
    }
    void digitValues() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(Hex_Digit_Value(text), value);
    }

    void tables() {
        QCOMPARE(Tab_Byte_Hex().size(), 256);
        QCOMPARE(Tab_Byte_Bin().size(), 256);
        for (int i = 0; i < 256; ++i) {
            QCOMPARE(Tab_Byte_Hex().at(i).toInt(nullptr, 16), i);
            QCOMPARE(Tab_Byte_Bin().at(i).toInt(nullptr, 2), i);
            QCOMPARE(Tab_Byte_Hex().at(i), Tab_Byte_Hex().at(i).toUpper());
            QCOMPARE(Tab_Byte_Bin().at(i).size(), 8);
        }
        QCOMPARE(Tab_Byte_Hex().first(), QStringLiteral("00"));
        QCOMPARE(Tab_Byte_Hex().last(), QStringLiteral("FF"));
        QCOMPARE(Tab_Byte_Bin().at(8), QStringLiteral("00001000"));
    }

    void items() {
        QCOMPARE(readRegItem(0x78), QStringLiteral("87*"));
        QCOMPARE(readRegItem(0x01), QStringLiteral("10*"));
        QCOMPARE(readRegItem(0x14), QStringLiteral("41*"));
        QCOMPARE(readByteItem(0x74), QStringLiteral("47%"));
        QCOMPARE(readWordItem(0xA2), QStringLiteral("2A&"));
        QCOMPARE(writeItem(0x00, 0x1A), QStringLiteral("00A1)"));
        QCOMPARE(writeItem(0x3C, 0x1A), QStringLiteral("C3A1)"));
        QCOMPARE(writeItem(0x3C, 0x13), QStringLiteral("C331)"));
        QCOMPARE(lowFirstHex(0xFF), QStringLiteral("FF"));
        QCOMPARE(lowFirstHex(0x0A), QStringLiteral("A0"));
    }

    // Every byte survives the trip out and back through each decoding path.
    void roundTrips() {
        for (int b = 0; b < 256; ++b) {
            const QString wire = lowFirstHex(b);
            QCOMPARE(lowFirstByte(wire), b);
            QCOMPARE(lowFirstByteRaw(wire + QStringLiteral(" ")), b);
            const QString bits = receivedDigitsToBits(wire);
            QCOMPARE(bits, Tab_Byte_Bin().at(b));
            QCOMPARE(bitsToWriteText(bits), wire);
        }
    }

    void partialAnswers() {
        // A lone first digit: the second reads -1, so the raw byte is 16 * -1 + digit.
        QCOMPARE(lowFirstByteRaw(QStringLiteral("5")), -11);
        QCOMPARE(lowFirstByte(QStringLiteral("5")), -1);
        QCOMPARE(lowFirstByte(QStringLiteral("a0")), -1);
        QCOMPARE(receivedDigitsToBits(QStringLiteral("a0")), QString());
        QCOMPARE(receivedDigitsToBits(QStringLiteral("5")), QString());
        QCOMPARE(bitsToWriteText(QStringLiteral("0000100")), QString());
        QCOMPARE(bitsToWriteText(QStringLiteral("00001002")), QString());
        // Byte 08 arrives as "80" and its bits are 00001000.
        QCOMPARE(receivedDigitsToBits(QStringLiteral("80")), QStringLiteral("00001000"));
    }

    void words() {
        QCOMPARE(lowFirstWord(QStringLiteral("4321")), 0x1234);
        QCOMPARE(lowFirstWord(QStringLiteral("0000")), 0);
        QCOMPARE(lowFirstWord(QStringLiteral("FFFF")), 0xFFFF);
        QCOMPARE(lowFirstWord(QStringLiteral("432")), -1);
        QCOMPARE(lowFirstWord(QStringLiteral("43x1")), -1);
        // Chained answer "04%14&D4&23%": digits at 1-2, 4-7, 9-12, 14-15.
        const QString chain = QStringLiteral("A1 4321 0010 F0 ");
        QCOMPARE(lowFirstByte(chain, 1), 0x1A);
        QCOMPARE(lowFirstWord(chain, 4), 0x1234);
        QCOMPARE(lowFirstWord(chain, 9), 0x0100);
        QCOMPARE(lowFirstByte(chain, 14), 0x0F);
        QCOMPARE(charAt(chain, 0), QString());
        QCOMPARE(charAt(chain, 100), QString());
    }
};

QTEST_APPLESS_MAIN(TestHex)
#include "test_hex.moc"
