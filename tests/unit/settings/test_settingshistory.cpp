// The settings image of the module's history read back: every byte of every register comes
// back as written, line ends of either kind are taken, and a line that is not exactly one
// register line is refused with its number.
#include "settings/settingshistory.h"

#include <QtTest>

class TestSettingsHistory : public QObject {
    Q_OBJECT
private slots:
    void everyByteComesBack() {
        for (int byte = 0; byte < 256; ++byte) {
            const QMap<int, int> image{{0x00, byte}, {0x1A, 255 - byte}, {0xFF, byte ^ 0x5A}};
            QMap<int, int> back;
            int bad = -1;
            QVERIFY2(settingshistory::decode(settingshistory::encode(image), &back, &bad), qPrintable(QString::number(byte)));
            QCOMPARE(back, image);
            QCOMPARE(bad, 0);
        }
    }

    void reading_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("badLine");
        QTest::newRow("LF ends") << QByteArray("EEPROM-04 =  0010 0110\nEEPROM-05 =  0000 0000\n") << true << 0;
        QTest::newRow("no end on the last line") << QByteArray("EEPROM-04 =  0010 0110") << true << 0;
        QTest::newRow("an empty last line") << QByteArray("EEPROM-04 =  0010 0110\r\n\r\n") << true << 0;
        QTest::newRow("an empty line inside") << QByteArray("EEPROM-04 =  0010 0110\r\n\r\nEEPROM-05 =  0000 0000\r\n")
                                              << false << 2;
        QTest::newRow("a blank after the bits") << QByteArray("EEPROM-04 =  0010 0110 \r\n") << false << 1;
        QTest::newRow("three hex digits") << QByteArray("EEPROM-104 =  0010 0110\r\n") << false << 1;
        QTest::newRow("nine bits") << QByteArray("EEPROM-04 =  0010 01100\r\n") << false << 1;
        QTest::newRow("nothing") << QByteArray("\r\n") << false << 0;
    }
    void reading() {
        QFETCH(QByteArray, bytes);
        QMap<int, int> image;
        int bad = -1;
        QTEST(settingshistory::decode(bytes, &image, &bad), "ok");
        QTEST(bad, "badLine");
    }
};

QTEST_GUILESS_MAIN(TestSettingsHistory)
#include "test_settingshistory.moc"
