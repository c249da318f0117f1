// The table and curve files: the exact bytes (64 lines, CR LF each), the lines of files
// written elsewhere (other line ends, missing last end, extra lines), the curve check that
// names the first bad line, file names and dialog filters, and reading and writing files.
#include "tables/tablefiles.h"

#include <QtTest>

using tablefiles::Kind;
Q_DECLARE_METATYPE(tablefiles::Kind)

namespace {
QStringList numbered(int n, const QString& prefix = {}) {
    QStringList out;
    for (int k = 1; k <= n; ++k)
        out << prefix + QString::number(k);
    return out;
}
QByteArray joined(const QStringList& lines, const char* end = "\r\n") {
    QByteArray out;
    for (const QString& l : lines)
        out += l.toLatin1() + end;
    return out;
}
} // namespace

class TestTableFiles : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void mafTableBytes() {
        QStringList cells{"-12", "-8", "0", "0", "3", "5", "5", "4"};
        while (cells.size() < 64)
            cells << QString::number(cells.size() % 7 - 3);
        const QByteArray bytes = tablefiles::encode(cells);
        QVERIFY(bytes.startsWith(QByteArray::fromHex("2D31320D0A2D380D0A300D0A300D0A330D0A")));
        QVERIFY(bytes.endsWith(cells.last().toLatin1() + "\r\n"));
        QCOMPARE(bytes.count("\r\n"), 64);
        QCOMPARE(bytes.count('\n'), 64);
        QCOMPARE(bytes.count('\r'), 64);
        QCOMPARE(tablefiles::tableCells(bytes), cells);
    }

    // Always 64 lines: missing texts are empty lines, texts beyond the 64th are not written.
    void encodeWritesSixtyFourLines() {
        QCOMPARE(tablefiles::encode({}), QByteArray("\r\n").repeated(64));
        QCOMPARE(tablefiles::encode(numbered(70)), joined(numbered(64)));
        QCOMPARE(tablefiles::encode({"2,35", "", "x"}),
                 QByteArray("2,35\r\n\r\nx\r\n") + QByteArray("\r\n").repeated(61));
    }

    void decodeLines_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF") << QByteArray("1\r\n2\r\n") << QStringList{"1", "2"};
        QTest::newRow("LF") << QByteArray("1\n2\n") << QStringList{"1", "2"};
        QTest::newRow("CR") << QByteArray("1\r2\r") << QStringList{"1", "2"};
        QTest::newRow("no end on the last line") << QByteArray("1\r\n2") << QStringList{"1", "2"};
        QTest::newRow("empty lines kept")
            << QByteArray("1\r\n\r\n\n3\r\n") << QStringList{"1", "", "", "3"};
        QTest::newRow("mixed ends") << QByteArray("1\n\r2\r\n") << QStringList{"1", "", "2"};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
        QTest::newRow("one line end") << QByteArray("\r\n") << QStringList{""};
    }
    void decodeLines() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QCOMPARE(tablefiles::decodeLines(bytes), lines);
    }

    // A table file: the first 64 lines unchanged (never normalised), the rest empty.
    void tableCells() {
        QCOMPARE(tablefiles::tableCells(joined(numbered(70))), numbered(64));
        QStringList shortFile = numbered(10, QStringLiteral("-"));
        QStringList expected = shortFile;
        while (expected.size() < 64)
            expected << QString();
        QCOMPARE(tablefiles::tableCells(joined(shortFile)), expected);
        QStringList odd{"150", "-120", " 7 ", "x", ""};
        QCOMPARE(tablefiles::tableCells(joined(odd)).mid(0, 5), odd);
    }

    // A curve file opens under either separator, whichever wrote it.
    void curveSeparators_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("volts");
        QTest::newRow("point file, comma locale") << "ru_RU"
                                                  << "2.35"
                                                  << "2,35" << 2.35;
        QTest::newRow("comma file, point locale") << "C"
                                                  << "2,35"
                                                  << "2.35" << 2.35;
        QTest::newRow("own separator") << "ru_RU"
                                       << "0,5"
                                       << "0,5" << 0.5;
        QTest::newRow("whole number") << "C"
                                      << "4"
                                      << "4" << 4.0;
        QTest::newRow("7 is not limited") << "ru_RU"
                                          << "7"
                                          << "7" << 7.0;
    }
    void curveSeparators() {
        QFETCH(QString, locale);
        QFETCH(QString, line);
        QFETCH(QString, text);
        QFETCH(double, volts);
        QLocale::setDefault(QLocale(locale));
        QStringList lines(64, QStringLiteral("1"));
        lines[9] = line;
        const tablefiles::CurveFile f = tablefiles::parseCurve(joined(lines));
        QVERIFY(f.ok());
        QCOMPARE(f.texts.size(), 64);
        QCOMPARE(f.volts.size(), 64);
        QCOMPARE(f.texts.at(9), text);
        QCOMPARE(f.volts.at(9), volts);
        QCOMPARE(f.volts.at(0), 1.0);
    }

    // The first bad line is named; nothing of the file is handed on.
    void badCurves_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line");
        QTest::addColumn<bool>("missing");
        QTest::addColumn<QString>("text");
        QStringList lines(64, QStringLiteral("2,5"));
        QStringList letters = lines;
        letters[4] = QStringLiteral("2,5x");
        QStringList empty = lines;
        empty[40] = QString();
        QStringList twoBad = lines;
        twoBad[62] = QStringLiteral("a");
        twoBad[63] = QStringLiteral("b");
        QTest::newRow("63 lines") << joined(lines.mid(0, 63)) << 64 << true << "";
        QTest::newRow("empty file") << QByteArray() << 1 << true << "";
        QTest::newRow("letters in line 5") << joined(letters) << 5 << false << "2,5x";
        QTest::newRow("empty line 41") << joined(empty) << 41 << false << "";
        QTest::newRow("first of two") << joined(twoBad) << 63 << false << "a";
        QTest::newRow("a table file of 64 lines is fine") << joined(lines) << 0 << false << "";
    }
    void badCurves() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        QFETCH(bool, missing);
        QFETCH(QString, text);
        const tablefiles::CurveFile f = tablefiles::parseCurve(bytes);
        QCOMPARE(f.badLine, line);
        QCOMPARE(f.ok(), line == 0);
        if (line == 0) return;
        QCOMPARE(f.lineMissing, missing);
        QCOMPARE(f.badText, text);
        QVERIFY(f.texts.isEmpty() && f.volts.isEmpty());
        for (bool english : {false, true}) {
            const QString message =
                tablefiles::curveLineMessage(QStringLiteral("/tmp/car1Emu.txt"), f, english);
            QVERIFY2(message.contains(QString::number(line)), qPrintable(message));
            QVERIFY(message.contains(QStringLiteral("car1Emu.txt")));
        }
    }

    void curveIgnoresLinesAfterTheSixtyFourth() {
        QStringList lines = numbered(64);
        lines << QStringLiteral("not a number") << QStringLiteral("");
        const tablefiles::CurveFile f = tablefiles::parseCurve(joined(lines, "\n"));
        QVERIFY(f.ok());
        QCOMPARE(f.texts, numbered(64));
    }

    void names_data() {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("filter");
        QTest::newRow("MAF, bare name") << Kind::Maf << "/d/car1"
                                        << "/d/car1MAF.txt"
                                        << "Данные MAF (MAP) (*MAF.txt)";
        QTest::newRow("MAF, chosen file") << Kind::Maf << "/d/car1MAF.txt"
                                          << "/d/car1MAF.txt"
                                          << "Данные MAF (MAP) (*MAF.txt)";
        QTest::newRow("Lambda") << Kind::Lambda << "car1.txt"
                                << "car1.txtLambda.txt"
                                << "Данные Лямбда (*Lambda.txt)";
        QTest::newRow("Lambda into MAF") << Kind::Maf << "car1Lambda.txt"
                                         << "car1Lambda.txtMAF.txt"
                                         << "Данные MAF (MAP) (*MAF.txt)";
        QTest::newRow("voltage") << Kind::Volt << "car1Volt.txt"
                                 << "car1Volt.txt"
                                 << "Данные напряжений (*Volt.txt)";
        QTest::newRow("curve") << Kind::Emu << "Emu"
                               << "EmuEmu.txt"
                               << "Данные Эмулятора (*Emu.txt)";
        QTest::newRow("curve, chosen file") << Kind::Emu << "a b/curveEmu.txt"
                                            << "a b/curveEmu.txt"
                                            << "Данные Эмулятора (*Emu.txt)";
    }
    void names() {
        QFETCH(Kind, kind);
        QFETCH(QString, chosen);
        QFETCH(QString, name);
        QFETCH(QString, filter);
        QCOMPARE(tablefiles::withSuffix(chosen, kind), name);
        QCOMPARE(tablefiles::dialogFilter(kind), filter);
    }

    void readAndWriteFiles() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString name = dir.filePath(QStringLiteral("t1MAF.txt"));
        const QByteArray bytes = tablefiles::encode(numbered(64, QStringLiteral("-")));
        QString error;
        QVERIFY(tablefiles::writeFile(name, bytes, &error, false));
        QByteArray back;
        QVERIFY(tablefiles::readFile(name, &back, &error, false));
        QCOMPARE(back, bytes);

        // A shorter file replaces a longer one completely.
        QVERIFY(tablefiles::writeFile(name, "1\r\n", &error, true));
        QVERIFY(tablefiles::readFile(name, &back, &error, true));
        QCOMPARE(back, QByteArray("1\r\n"));

        const QString missing = dir.filePath(QStringLiteral("no/such/dirMAF.txt"));
        QVERIFY(!tablefiles::writeFile(missing, bytes, &error, false));
        QVERIFY2(error.contains(QStringLiteral("dirMAF.txt")), qPrintable(error));
        error.clear();
        QVERIFY(!tablefiles::readFile(missing, &back, &error, true));
        QVERIFY2(error.startsWith(QStringLiteral("Cannot open")), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TestTableFiles)
#include "test_tablefiles.moc"
