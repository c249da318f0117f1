// The configuration files: line layout, value cut by length, numbers under either decimal
// separator, colour texts, the port rule and the masks per sensor configuration.
#include "common/configfiles.h"
#include "common/messages.h"
#include "common/numtext.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace cfg;

class TestConfigFiles : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        QLocale::setDefault(QLocale::c());
        msgs().Lang_Code.clear();
    }

    void infoRoundTrip_data() {
        QTest::addColumn<QString>("writeLocale");
        QTest::addColumn<QString>("readLocale");
        QTest::newRow("ru/ru") << "ru_RU" << "ru_RU";
        QTest::newRow("ru/en") << "ru_RU" << "en_US";
        QTest::newRow("en/ru") << "en_US" << "ru_RU";
    }
    void infoRoundTrip() {
        QFETCH(QString, writeLocale);
        QFETCH(QString, readLocale);
        QLocale::setDefault(QLocale(writeLocale));
        Info in;
        in.Enum_Com_Ports_prev = 4;
        in.Index_COM_Port = 3;
        in.Index_K = 1;
        in.Index_V_Graf = 5;
        in.Diapazone = QStringLiteral("5");
        in.Index_TypeInput = QStringLiteral("1");
        in.Enum_Page = QStringLiteral("20");
        in.Type_In_RashTo = QStringLiteral("1");
        in.Saved_MAF = {0.125, -14, 36, -0.9f, 0.9f, -0.9f, 0.9f};
        in.Saved_Lambda = {2, 4, 6, -1, 1, -1, 1};
        in.Enum_YellowPoints = QStringLiteral("12");
        in.language = QStringLiteral("Eng");
        in.colors[0] = QStringLiteral("clRed");
        in.colors[10] = QStringLiteral("$00123456");
        const QStringList lines = infoLines(in);
        QCOMPARE(lines.size(), 37);
        QCOMPARE(lines.at(0), QStringLiteral("4=Enum_Com_Ports_prev"));
        QCOMPARE(lines.at(10), formatGeneral(12.5) + QStringLiteral("=ry_MAF"));
        QCOMPARE(lines.at(13), QStringLiteral("-90=vLeft_MAF")); // no single-precision noise
        QCOMPARE(lines.at(25), QStringLiteral("Eng=language"));
        QCOMPARE(lines.at(36), QStringLiteral("$00123456=Color11"));

        QLocale::setDefault(QLocale(readLocale));
        Info out;
        QString error;
        QVERIFY2(parseInfo(lines, &out, &error), qPrintable(error));
        QCOMPARE(out.Index_COM_Port, 3);
        QCOMPARE(out.Index_V_Graf, 5);
        QCOMPARE(out.Enum_Page, QStringLiteral("20"));
        QCOMPARE(out.Saved_MAF[0], 0.125);
        QCOMPARE(float(out.Saved_MAF[3]), -0.9f);
        QCOMPARE(out.Saved_Lambda[2], 6.0);
        QCOMPARE(out.language, QStringLiteral("Eng"));
        QCOMPARE(out.colors[10], QStringLiteral("$00123456"));
        QCOMPARE(infoLines(out).mid(0, 10), lines.mid(0, 10));
    }

    // The value is the line without as many characters as "=" + key: a misspelt key of the
    // right length still reads, a short file or a bad number fails naming the line and
    // changes nothing.
    void infoReading_data() {
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("errorLine");
        QTest::newRow("misspelt key") << 2 << "7=Index_COM_Pxrt" << true << "";
        QTest::newRow("bad integer") << 4 << "x=Index_V_Graf" << false << "строка 4";
        QTest::newRow("bad orientation") << 12 << "1,2,3=rx_MAF" << false << "строка 12";
        QTest::newRow("no value") << 26 << "anguage" << false << "строка 26";
        QTest::newRow("short file") << -1 << "" << false << "строка 37";
        // The report is in the interface language in force.
        QTest::newRow("short file, English") << -1 << "" << false << "line 37: the file has fewer";
    }
    void infoReading() {
        QFETCH(int, line);
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(QString, errorLine);
        msgs().Lang_Code = errorLine.startsWith(QLatin1String("line")) ? QStringLiteral("Eng") : QString();
        QStringList lines = infoLines(Info());
        if (line > 0)
            lines[line - 1] = text;
        else
            lines.removeLast();
        lines << QStringLiteral("extra lines are ignored");
        if (line < 0) lines.removeLast();
        Info out;
        out.Index_V_Graf = 6;
        QString error;
        QCOMPARE(parseInfo(lines, &out, &error), ok);
        if (ok) {
            QCOMPARE(out.Index_COM_Port, 7);
        } else {
            QVERIFY2(error.startsWith(errorLine), qPrintable(error));
            QCOMPARE(out.Index_V_Graf, 6);
        }
    }

    void masks() {
        Masks m;
        QCOMPARE(configLines(m).size(), 18);
        QCOMPARE(configLines(m).first(), QStringLiteral("WWWWA=11111111111"));
        QCOMPARE(configLines(m).last(), QStringLiteral("ZOZOC=11111111111"));
        // An unknown code before any match stores nowhere; after a match, under that code.
        QCOMPARE(m.store(QStringLiteral("ZZZZA"), QStringLiteral("00000000000")), -1);
        QCOMPARE(m.store(QStringLiteral("ZSZSA"), QStringLiteral("10101010101")), 10);
        QCOMPARE(m.store(QStringLiteral("Z?Z?A"), QStringLiteral("11110000111")), 10);
        QCOMPARE(m.masks.at(10), QStringLiteral("11110000111"));

        // Line 11 is ZSZSA's mask whatever its letters say.
        QStringList lines = configLines(Masks());
        lines[10] = QStringLiteral("QQQQQ=00110011001");
        Masks read;
        QString error;
        QVERIFY(parseConfig(lines, &read, &error));
        QCOMPARE(read.masks.at(sensorCodeIndex(QStringLiteral("ZSZSA"))), QStringLiteral("00110011001"));
        // The current mask for a code: the stored one, or the current one for a code that is
        // none of the 18.
        QCOMPARE(read.maskFor(QStringLiteral("ZSZSA"), QStringLiteral("11111111111")), QStringLiteral("00110011001"));
        QCOMPARE(read.maskFor(QStringLiteral("ZSZS"), QStringLiteral("10000000001")), QStringLiteral("10000000001"));
        lines[3] = QStringLiteral("ZSWWC=0101");
        QVERIFY(!parseConfig(lines, &read, &error));
        QVERIFY(error.startsWith(QStringLiteral("строка 4")));
        QVERIFY(!parseConfig(lines.mid(0, 17), &read, &error));
    }

    void portRule_data() {
        QTest::addColumn<int>("storedCount");
        QTest::addColumn<int>("storedIndex");
        QTest::addColumn<int>("countNow");
        QTest::addColumn<int>("selected");
        QTest::newRow("same list") << 5 << 2 << 5 << 2;
        QTest::newRow("list grew") << 5 << 1 << 6 << 0;
        QTest::newRow("list shrank") << 5 << 1 << 4 << 0;
        QTest::newRow("index 0") << 5 << 0 << 5 << 0;
        QTest::newRow("none") << 5 << -1 << 5 << 0;
        QTest::newRow("first run") << 0 << -1 << 3 << 0;
        QTest::newRow("demo kept, list grew") << 4 << 3 << 5 << 4;   // second demo port
        QTest::newRow("demo kept, list shrank") << 4 << 2 << 3 << 1; // first demo port
    }
    void portRule() {
        QFETCH(int, storedCount);
        QFETCH(int, storedIndex);
        QFETCH(int, countNow);
        QFETCH(int, selected);
        QCOMPARE(selectPort(storedCount, storedIndex, countNow, 2), selected);
    }

    void colours_data() {
        QTest::addColumn<unsigned>("rgb");
        QTest::addColumn<QString>("text");
        QTest::newRow("red") << 0xFF0000u << "clRed";
        QTest::newRow("lime") << 0x00FF00u << "clLime";
        QTest::newRow("navy") << 0x000080u << "clNavy";
        QTest::newRow("other") << 0x123456u << "$00563412";
        QTest::newRow("black") << 0x000000u << "clBlack";
    }
    void colours() {
        QFETCH(unsigned, rgb);
        QFETCH(QString, text);
        QCOMPARE(colorText(rgb), text);
        unsigned back = 1;
        QVERIFY(colorFromText(text, &back));
        QCOMPARE(back, rgb);
        QVERIFY(colorFromText(QStringLiteral("255"), &back)); // a decimal 00BBGGRR is red
        QCOMPARE(back, 0xFF0000u);
        QVERIFY(!colorFromText(QStringLiteral("$FF000000"), &back));
        QVERIFY(!colorFromText(QStringLiteral("clNoSuch"), &back));
    }

    // A first run writes the window's own values: every colour a text that reads back, in
    // series order (yellow first, red for sensor 2 after the module).
    void firstRunValues() {
        const Info info;
        QCOMPARE(info.colors[0], QStringLiteral("clYellow"));
        QCOMPARE(info.colors[8], QStringLiteral("clRed"));
        QCOMPARE(info.colors[9], QStringLiteral("$0000D900"));
        for (const QString& c : info.colors) {
            unsigned rgb = 0;
            QVERIFY2(colorFromText(c, &rgb), qPrintable(c));
        }
        QCOMPARE(info.Diapazone, QStringLiteral("10"));
        QCOMPARE(info.Enum_Page, QStringLiteral("5"));
        QCOMPARE(info.Enum_YellowPoints, QStringLiteral("12"));
    }

    void files() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Info_A.ini"));
        QString error;
        QStringList lines;
        QVERIFY(!readLines(path, &lines, &error));
        QVERIFY(error.contains(QStringLiteral("Info_A.ini")));
        QVERIFY(writeLines(path, {QStringLiteral("a=b"), QStringLiteral("Рус")}, &error));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("a=b\r\n") + QStringLiteral("Рус").toUtf8() + "\r\n");
        QVERIFY(readLines(path, &lines, &error));
        QCOMPARE(lines, (QStringList{QStringLiteral("a=b"), QStringLiteral("Рус")}));
        // A folder in the way cannot be written over; the message names the file.
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Config_A.ini")));
        QVERIFY(!writeLines(dir.filePath(QStringLiteral("Config_A.ini")), lines, &error));
        QVERIFY(error.contains(QStringLiteral("Config_A.ini")));
    }
};

QTEST_GUILESS_MAIN(TestConfigFiles)
#include "test_configfiles.moc"
