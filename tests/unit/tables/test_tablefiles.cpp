// The table and curve files: the exact bytes (64 lines, CR LF each), the lines of files
// written elsewhere (other line ends, missing last end, extra lines), the curve check that
// and the table check that name the first bad line, file names and dialog filters, and reading and writing files.
#include "common/userfiles.h"
#include "tables/tablefiles.h"

#include <QtTest>

Q_DECLARE_METATYPE(TableKind)

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
        QCOMPARE(tablefiles::parseTable(bytes).texts, cells);
    }

    // Always 64 lines: missing texts are empty lines, texts beyond the 64th are not written.
    void encodeWritesSixtyFourLines() {
        QCOMPARE(tablefiles::encode({}), QByteArray("\r\n").repeated(64));
        QCOMPARE(tablefiles::encode(numbered(70)), joined(numbered(64)));
        QCOMPARE(tablefiles::encode({"2,35", "", "x"}),
                 QByteArray("2,35\r\n\r\nx\r\n") + QByteArray("\r\n").repeated(61));
    }

    // A table file: the first 64 lines, each empty or a number of any size under either
    // separator, as the file holds it (never normalised here).
    void tableTexts() {
        QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
        QCOMPARE(tablefiles::parseTable(joined(numbered(70))).texts, numbered(64));
        QStringList odd{"150", "-120", " 7 ", "", "2.5", "1e3"};
        while (odd.size() < 64) odd << QStringLiteral("0");
        const tablefiles::TableFile f = tablefiles::parseTable(joined(odd));
        QVERIFY(f.ok());
        QCOMPARE(f.texts.mid(0, 6), odd.mid(0, 6));
    }

    // Damaged and foreign files: the first bad line is named, at once and in a short
    // message, and nothing of the file is handed on.
    void damagedFiles_data() {
        QTest::addColumn<bool>("curve");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line");
        QTest::addColumn<bool>("missing");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("what"); // in the Russian message
        const QStringList lines(64, QStringLiteral("2,5"));
        QByteArray binary;
        for (int i = 0; i < 256; ++i) binary += char(i);
        QByteArray utf16("\xFF\xFE");
        for (char c : joined(lines)) utf16 += QByteArray(1, c) + '\0';
        QStringList missing = lines;
        missing.removeAt(30);
        for (bool curve : {false, true}) {
            const QByteArray kind = curve ? "curve, " : "table, ";
            QTest::newRow(kind + "short file") << curve << joined(lines.mid(0, 10)) << 11 << true << "" << "кончается";
            QTest::newRow(kind + "a word") << curve << QByteArray("hello") << 1 << false << "hello" << "не число";
            QTest::newRow(kind + "binary bytes") << curve << binary << 1 << false << "" << "двоичные";
            QTest::newRow(kind + "UTF-16") << curve << utf16 << 1 << false << "" << "двоичные";
            QTest::newRow(kind + "3 MB line") << curve << joined(lines.mid(0, 5)) + QByteArray(3 << 20, '7') + "\r\n"
                                              << 6 << false << "" << "длиннее 512";
            QTest::newRow(kind + "missing line") << curve << joined(missing) << 64 << true << "" << "кончается";
            QTest::newRow(kind + "empty file") << curve << QByteArray() << 1 << true << "" << "кончается";
        }
        QStringList letters = lines;
        letters[4] = QStringLiteral("2,5x");
        QStringList twoBad = lines;
        twoBad[62] = QStringLiteral("a");
        twoBad[63] = QStringLiteral("b");
        QStringList emptyLine = lines;
        emptyLine[40] = QString();
        QTest::newRow("table, letters in line 5") << false << joined(letters) << 5 << false << "2,5x" << "не число";
        QTest::newRow("table, first of two") << false << joined(twoBad) << 63 << false << "a" << "не число";
        QTest::newRow("table, an empty cell is fine") << false << joined(emptyLine) << 0 << false << "" << "";
        QTest::newRow("curve, letters in line 5") << true << joined(letters) << 5 << false << "2,5x" << "не число";
        QTest::newRow("curve, empty line 41") << true << joined(emptyLine) << 41 << false << "" << "не число";
        QTest::newRow("curve, first of two") << true << joined(twoBad) << 63 << false << "a" << "не число";
        QTest::newRow("curve, a table file of 64 lines is fine") << true << joined(lines) << 0 << false << "" << "";
    }
    void damagedFiles() {
        QFETCH(bool, curve);
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        QFETCH(bool, missing);
        QFETCH(QString, text);
        QFETCH(QString, what);
        const tablefiles::CurveFile c = tablefiles::parseCurve(bytes);
        const tablefiles::TableFile t = tablefiles::parseTable(bytes);
        const tablefiles::FileCheck& f = curve ? static_cast<const tablefiles::FileCheck&>(c) : t;
        QCOMPARE(f.badLine, line);
        QCOMPARE(f.ok(), line == 0);
        if (line == 0) return;
        QCOMPARE(f.lineMissing, missing);
        QCOMPARE(f.badText, text);
        QVERIFY(curve ? c.texts.isEmpty() && c.volts.isEmpty() : t.texts.isEmpty());
        for (bool english : {false, true}) {
            const QString name = QStringLiteral("/tmp/car1Emu.txt");
            const QString message = curve ? tablefiles::curveLineMessage(name, f, english)
                                          : tablefiles::tableLineMessage(name, f, english);
            QVERIFY2(message.contains(QStringLiteral(", %1 ").arg(english ? "line" : "строка") + QString::number(line)),
                     qPrintable(message));
            QVERIFY(message.contains(QStringLiteral("car1Emu.txt")));
            QVERIFY2(message.size() < 200, qPrintable(message.left(200)));
            if (!english) QVERIFY2(message.contains(what), qPrintable(message));
            QVERIFY(message.contains(english ? (curve ? "curve" : "table") : (curve ? "Кривая" : "Таблица")));
        }
    }

    // A table file without a single value would blank the grid, and a table of zeros would
    // follow it into the module: it is refused, naming the file; one value is enough.
    void tableWithoutValue_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("refused");
        QStringList blank(64, QString());
        QStringList spaces(64, QStringLiteral("  "));
        QStringList oneValue = blank;
        oneValue[63] = QStringLiteral("7");
        QTest::newRow("line ends only") << joined(blank) << true;
        QTest::newRow("LF only") << joined(blank, "\n") << true;
        QTest::newRow("blanks") << joined(spaces) << true;
        QTest::newRow("one value at the end") << joined(oneValue) << false;
    }
    void tableWithoutValue() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, refused);
        const tablefiles::TableFile t = tablefiles::parseTable(bytes);
        QCOMPARE(t.ok(), !refused);
        QCOMPARE(t.texts.isEmpty(), refused);
        if (!refused) return;
        for (bool english : {false, true}) {
            const QString message = tablefiles::tableLineMessage(QStringLiteral("/tmp/blankMAF.txt"), t, english);
            QVERIFY2(message.contains(QStringLiteral("blankMAF.txt")), qPrintable(message));
            QVERIFY2(message.contains(english ? "no value" : "нет ни одного значения"), qPrintable(message));
        }
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

    void curveIgnoresLinesAfterTheSixtyFourth() {
        QStringList lines = numbered(64);
        lines << QStringLiteral("not a number") << QStringLiteral("");
        const tablefiles::CurveFile f = tablefiles::parseCurve(joined(lines, "\n"));
        QVERIFY(f.ok());
        QCOMPARE(f.texts, numbered(64));
        // Whatever follows, however long, is not looked at.
        QVERIFY(tablefiles::parseTable(joined(numbered(64)) + QByteArray(3 << 20, '\0')).ok());
    }

    void names_data() {
        QTest::addColumn<TableKind>("kind");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("filter");
        QTest::newRow("MAF, bare name") << TableKind::Maf << "/d/car1"
                                        << "/d/car1MAF.txt"
                                        << "Данные MAF (MAP) (*MAF.txt)";
        QTest::newRow("MAF, chosen file") << TableKind::Maf << "/d/car1MAF.txt"
                                          << "/d/car1MAF.txt"
                                          << "Данные MAF (MAP) (*MAF.txt)";
        QTest::newRow("Lambda") << TableKind::Lambda << "car1.txt"
                                << "car1.txtLambda.txt"
                                << "Данные Лямбда (*Lambda.txt)";
        QTest::newRow("Lambda into MAF") << TableKind::Maf << "car1Lambda.txt"
                                         << "car1Lambda.txtMAF.txt"
                                         << "Данные MAF (MAP) (*MAF.txt)";
        QTest::newRow("voltage") << TableKind::Voltage << "car1Volt.txt"
                                 << "car1Volt.txt"
                                 << "Данные напряжений (*Volt.txt)";
        QTest::newRow("curve") << TableKind::Curve1 << "Emu"
                               << "EmuEmu.txt"
                               << "Данные Эмулятора (*Emu.txt)";
        QTest::newRow("curve, chosen file") << TableKind::Curve1 << "a b/curveEmu.txt"
                                            << "a b/curveEmu.txt"
                                            << "Данные Эмулятора (*Emu.txt)";
    }
    void names() {
        QFETCH(TableKind, kind);
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
        QVERIFY(userfiles::write(name, bytes, &error, false));
        QByteArray back;
        QVERIFY(tablefiles::readFile(name, &back, &error, false));
        QCOMPARE(back, bytes);

        // A shorter file replaces a longer one completely.
        QVERIFY(userfiles::write(name, "1\r\n", &error, true));
        QVERIFY(tablefiles::readFile(name, &back, &error, true));
        QCOMPARE(back, QByteArray("1\r\n"));

        const QString missing = dir.filePath(QStringLiteral("no/such/dirMAF.txt"));
        QVERIFY(!userfiles::write(missing, bytes, &error, false));
        QVERIFY2(error.contains(QStringLiteral("dirMAF.txt")), qPrintable(error));
        error.clear();
        QVERIFY(!tablefiles::readFile(missing, &back, &error, true));
        QVERIFY2(error.startsWith(QStringLiteral("Cannot open")), qPrintable(error));

        // A huge file is read only as far as 64 lines of any allowed length can reach.
        QVERIFY(userfiles::write(name, QByteArray(8 << 20, '1'), &error, false));
        QVERIFY(tablefiles::readFile(name, &back, &error, false));
        QVERIFY(back.size() < 200 * 1024);
    }
};

QTEST_GUILESS_MAIN(TestTableFiles)
#include "test_tablefiles.moc"
