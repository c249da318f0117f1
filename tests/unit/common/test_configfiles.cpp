// The configuration files: line layout, value cut by length, numbers under either decimal
// separator, colour texts, the port rule and the masks per sensor configuration.
#include "common/configfiles.h"
#include "common/messages.h"
#include "common/numtext.h"
#include "common/textlines.h"

#include "lockedfolder.h"

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
    // right length still reads. Each line stands on its own: a short file, a bad number or
    // a missing value costs only that line's value (what the window held), every other line
    // applies, and the message names the first bad line.
    void infoReading_data() {
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("errorLine");
        QTest::newRow("misspelt key") << 2 << "7=Index_COM_Pxrt" << "";
        QTest::newRow("bad integer") << 4 << "x=Index_V_Graf" << "строка 4";
        QTest::newRow("bad orientation") << 12 << "1,2,3=rx_MAF" << "строка 12";
        // Beyond single precision, which the view keeps; just within it still reads.
        QTest::newRow("orientation too large") << 12 << "3,5e40=rx_MAF" << "строка 12";
        QTest::newRow("orientation too small") << 12 << "-1e300=rx_MAF" << "строка 12";
        QTest::newRow("orientation at the limit") << 12 << "3,4e40=rx_MAF" << "";
        QTest::newRow("no value") << 26 << "anguage" << "строка 26";
        QTest::newRow("short file") << -1 << "" << "строка 37";
        // The report is in the interface language in force.
        QTest::newRow("short file, English") << -1 << "" << "line 37: the file has fewer";
    }
    void infoReading() {
        QFETCH(int, line);
        QFETCH(QString, text);
        QFETCH(QString, errorLine);
        msgs().Lang_Code = errorLine.startsWith(QLatin1String("line")) ? QStringLiteral("Eng") : QString();
        Info written;
        written.Index_COM_Port = 7;
        written.Index_V_Graf = 3;
        written.Saved_MAF[1] = 0.25;
        written.language = QStringLiteral("Eng");
        written.colors[10] = QStringLiteral("clRed");
        QStringList lines = infoLines(written);
        if (line > 0)
            lines[line - 1] = text;
        else
            lines.removeLast();
        if (line > 0) lines << QStringLiteral("extra lines are ignored");
        Info out;
        out.Index_V_Graf = 6;
        out.Saved_MAF[1] = 0.5;
        out.language = QStringLiteral("Rus");
        out.colors[10] = QStringLiteral("clBlue");
        QString error;
        QCOMPARE(parseInfo(lines, &out, &error), errorLine.isEmpty());
        if (!errorLine.isEmpty()) QVERIFY2(error.startsWith(errorLine), qPrintable(error));
        QCOMPARE(out.Index_COM_Port, 7);
        QCOMPARE(out.Index_V_Graf, line == 4 ? 6 : 3);
        QCOMPARE(out.Saved_MAF[1], line != 12 ? 0.25 : errorLine.isEmpty() ? 3.4e38 : 0.5);
        QCOMPARE(out.language, line == 26 ? QStringLiteral("Rus") : QStringLiteral("Eng"));
        QCOMPARE(out.colors[10], line < 0 ? QStringLiteral("clBlue") : QStringLiteral("clRed"));
    }

    // Damaged or foreign files, read from disk: the lines before the damage apply, the rest
    // keeps what the window held, and one message names the first bad line, at once.
    void damagedFiles_data() {
        QTest::addColumn<bool>("info");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("goodLines"); // leading lines that must have applied
        QTest::addColumn<bool>("stops");    // nothing from the bad line on applies
        QTest::addColumn<QString>("errorStart");
        const auto join = [](const QStringList& lines) {
            QByteArray b;
            for (const QString& l : lines) b += l.toUtf8() + "\r\n";
            return b;
        };
        Info info;
        info.Index_COM_Port = 3;
        info.Index_V_Graf = 4;
        info.Diapazone = QStringLiteral("7");
        const QStringList infoFile = infoLines(info);
        Masks m;
        for (int i = 0; i < 18; ++i) m.masks[i] = QStringLiteral("0101010101") + QString::number(i % 2);
        const QStringList configFile = configLines(m);
        QByteArray binary;
        for (int i = 0; i < 256; ++i) binary += char(i);
        const QByteArray huge(3 * 1024 * 1024, 'x');
        for (bool isInfo : {true, false}) {
            const QStringList& good = isInfo ? infoFile : configFile;
            const QByteArray name = isInfo ? "Info_A.ini, " : "Config_A.ini, ";
            QStringList missing = good;
            missing.removeAt(2);
            QTest::newRow(name + "short file") << isInfo << join(good.mid(0, 10)) << 10 << true << "строка 11: файл короче";
            QTest::newRow(name + "a word") << isInfo << QByteArray("hello") << 0 << true << "строка 1: ";
            QTest::newRow(name + "binary bytes") << isInfo << binary << 0 << true << "строка 1: двоичные";
            QTest::newRow(name + "UTF-16")
                << isInfo << QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char*>(QString::fromUtf8(join(good)).utf16()), join(good).size() * 2)
                << 0 << true << "строка 1: двоичные";
            QTest::newRow(name + "3 MB line") << isInfo << join(good.mid(0, 3)) + huge + "\r\n" + join(good.mid(3))
                                              << 3 << true << "строка 4: длиннее 512";
            QTest::newRow(name + "missing line") << isInfo << join(missing) << 2 << false << (isInfo ? "строка 3:" : "строка 18:");
        }
    }
    void damagedFiles() {
        QFETCH(bool, info);
        QFETCH(QByteArray, bytes);
        QFETCH(int, goodLines);
        QFETCH(bool, stops);
        QFETCH(QString, errorStart);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("settings.ini"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        f.close();
        textlines::Lines file;
        QString error;
        QVERIFY(readFile(path, &file, &error));
        if (info) {
            Info out;
            out.Diapazone = QStringLiteral("kept");
            QVERIFY(!parseInfo(file, &out, &error));
            if (goodLines >= 2) QCOMPARE(out.Index_COM_Port, 3);
            if (stops) {
                QCOMPARE(out.Index_COM_Port, goodLines >= 2 ? 3 : -1);
                QCOMPARE(out.Index_V_Graf, goodLines >= 4 ? 4 : 2);
                QCOMPARE(out.Diapazone, goodLines >= 5 ? QStringLiteral("7") : QStringLiteral("kept"));
            }
        } else {
            Masks out;
            QVERIFY(!parseConfig(file, &out, &error));
            for (int i = 0; i < goodLines; ++i)
                QCOMPARE(out.masks.at(i), QStringLiteral("0101010101") + QString::number(i % 2));
            for (int i = stops ? goodLines : 17; i < 18; ++i)
                QCOMPARE(out.masks.at(i), QStringLiteral("11111111111"));
        }
        QVERIFY2(error.startsWith(errorStart), qPrintable(error));
        QVERIFY2(error.size() < 200, qPrintable(error.left(200)));
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
        // A line without a mask costs that code's mask only: it keeps what it held, the
        // others are read, and the message names the line.
        lines[3] = QStringLiteral("ZSWWC=0101");
        lines[4] = QStringLiteral("ZOWWA=00000000001");
        read.masks[3] = QStringLiteral("11111111111");
        QVERIFY(!parseConfig(lines, &read, &error));
        QVERIFY(error.startsWith(QStringLiteral("строка 4")));
        QCOMPARE(read.masks.at(3), QStringLiteral("11111111111"));
        QCOMPARE(read.masks.at(4), QStringLiteral("00000000001"));
        QCOMPARE(read.masks.at(10), QStringLiteral("00110011001"));
        Masks shortRead;
        QVERIFY(!parseConfig(lines.mid(5, 12), &shortRead, &error));
        QVERIFY2(error.startsWith(QStringLiteral("строка 13")), qPrintable(error));
        QCOMPARE(shortRead.masks.at(5), QStringLiteral("00110011001")); // line 6 holds line 11
        QCOMPARE(shortRead.masks.at(12), QStringLiteral("11111111111"));
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

    // In a folder that takes no new file the file itself is written in place.
    void writesInLockedFolder() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Info_A.ini"));
        QString error;
        QVERIFY(writeLines(path, {QStringLiteral("old")}, &error));
        LockedFolder lock(dir.path());
        if (!lock.locked()) QSKIP("this file system cannot lock a folder");
        QVERIFY2(writeLines(path, {QStringLiteral("new"), QStringLiteral("lines")}, &error), qPrintable(error));
        QStringList lines;
        QVERIFY(readLines(path, &lines, &error));
        QCOMPARE(lines, (QStringList{QStringLiteral("new"), QStringLiteral("lines")}));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Info_A.ini")});
    }
};

QTEST_GUILESS_MAIN(TestConfigFiles)
#include "test_configfiles.moc"
