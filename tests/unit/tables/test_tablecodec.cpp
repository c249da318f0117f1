// The correction tables and emulation curves as the module stores them: cell and point
// addresses (checked against the simulated module's own memory map), items, encodings,
// the domain rules under a comma and a point locale, the Enter walk and the transfer cursor.
#include "sim/simmemory.h"
#include "tables/tablecodec.h"
#include "tables/transfercursor.h"

#include <QtTest>

Q_DECLARE_METATYPE(TableKind)

class TestTableCodec : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void everyCellAddressIsTheModulesCell() {
        QSet<int> maf, lambda;
        for (int r = 1; r <= 8; ++r) {
            for (int c = 1; c <= 8; ++c) {
                QCOMPARE(tablecodec::cellModuleAddress(TableKind::Maf, c, r), sim::reg::mafCell(c, r));
                QCOMPARE(tablecodec::cellModuleAddress(TableKind::Voltage, c, r), sim::reg::mafCell(c, r));
                QCOMPARE(tablecodec::cellModuleAddress(TableKind::Lambda, c, r), sim::reg::lambdaCell(c, r));
                maf << tablecodec::cellModuleAddress(TableKind::Maf, c, r);
                lambda << tablecodec::cellModuleAddress(TableKind::Lambda, c, r);
            }
        }
        QCOMPARE(maf.size(), 64);
        QCOMPARE(lambda.size(), 64);
        QVERIFY(!maf.intersects(lambda));
        QCOMPARE(tablecodec::cellAddress(TableKind::Maf, 0, 1), QString());
        QCOMPARE(tablecodec::cellModuleAddress(TableKind::Lambda, 1, 9), -1);
    }

    void items_data() {
        QTest::addColumn<TableKind>("kind");
        QTest::addColumn<int>("c");
        QTest::addColumn<int>("r");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("read");
        QTest::addColumn<QString>("write");
        QTest::newRow("MAF -50 at (1,1)") << TableKind::Maf << 1 << 1 << "-50" << "78*" << "E478)";
        QTest::newRow("MAF 99 at (8,8)") << TableKind::Maf << 8 << 8 << "99" << "0F*" << "3E0F)";
        QTest::newRow("voltage 2,00 at (1,1)") << TableKind::Voltage << 1 << 1 << "2,00" << "78*" << "8678)";
        QTest::newRow("voltage 2.00 pasted") << TableKind::Voltage << 1 << 1 << "2.00" << "78*" << "8678)";
        QTest::newRow("Lambda -1 at (1,1)") << TableKind::Lambda << 1 << 1 << "-1" << "F8*" << "F7F8)";
        QTest::newRow("Lambda 12 at (2,3)") << TableKind::Lambda << 2 << 3 << "12" << "EA*" << "C8EA)";
        QTest::newRow("Lambda 0 at (8,8)") << TableKind::Lambda << 8 << 8 << "0" << "8F*" << "088F)";
    }
    void items() {
        QFETCH(TableKind, kind);
        QFETCH(int, c);
        QFETCH(int, r);
        QFETCH(QString, text);
        QFETCH(QString, read);
        QFETCH(QString, write);
        QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
        QCOMPARE(tablecodec::readItem(kind, c, r), read);
        QCOMPARE(tablecodec::writeItem(kind, c, r, tablecodec::cellByte(kind, text)), write);
    }

    void bytes_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<TableKind>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("byte");
        for (const char* loc : {"ru_RU", "C"}) {
            const QString l = QString::fromLatin1(loc);
            auto row = [&](const char* name) -> QTestData& { return QTest::addRow("%s %s", loc, name) << l; };
            row("whole -99") << TableKind::Maf << "-99" << 29;
            row("whole 127") << TableKind::Lambda << "127" << 255;
            row("whole -128") << TableKind::Lambda << "-128" << 0;
            // A value that never went through the domain rules still fits one byte.
            row("whole 150 limited") << TableKind::Maf << "150" << 255;
            row("whole -300 limited") << TableKind::Lambda << "-300" << 0;
            row("whole blanks") << TableKind::Maf << " 7 " << 135;
            row("whole 2,5 is not whole") << TableKind::Maf << "2,5" << -1;
            row("whole empty") << TableKind::Maf << "" << -1;
            row("whole text") << TableKind::Lambda << "abc" << -1;
            row("voltage 0,01") << TableKind::Voltage << "0,01" << 1;
            row("voltage 1.5") << TableKind::Voltage << "1.5" << 78;
            row("voltage 4,9") << TableKind::Voltage << "4,9" << 255;
            // 5 V is inside the table's domain but 260 counts: the item carries 255.
            row("voltage 5 limited") << TableKind::Voltage << "5" << 255;
            row("voltage negative limited") << TableKind::Voltage << "-1" << 0;
            row("voltage text") << TableKind::Voltage << "x" << -1;
        }
    }
    void bytes() {
        QFETCH(QString, locale);
        QFETCH(TableKind, kind);
        QFETCH(QString, text);
        QFETCH(int, byte);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(tablecodec::cellByte(kind, text), byte);
    }

    void decoding_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("byte");
        QTest::addColumn<QString>("whole");
        QTest::addColumn<QString>("voltageModel");
        QTest::addColumn<QString>("voltageCell");
        // "E4" is the byte 78.
        QTest::newRow("ru E4") << "ru_RU" << 78 << "-50" << "1,5" << "1,5";
        QTest::newRow("C E4") << "C" << 78 << "-50" << "1.5" << "1.5";
        QTest::newRow("ru 1") << "ru_RU" << 1 << "-127" << "0,0192307692307692" << "0,01";
        QTest::newRow("ru 103 cut, not rounded") << "ru_RU" << 103 << "-25" << "1,98076923076923" << "1,98";
        QTest::newRow("C 255") << "C" << 255 << "127" << "4.90384615384615" << "4.9";
        QTest::newRow("C 0") << "C" << 0 << "-128" << "0" << "0";
    }
    void decoding() {
        QFETCH(QString, locale);
        QFETCH(int, byte);
        QFETCH(QString, whole);
        QFETCH(QString, voltageModel);
        QFETCH(QString, voltageCell);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(tablecodec::wholeCellText(byte), whole);
        QCOMPARE(tablecodec::voltageModelText(byte), voltageModel);
        QCOMPARE(tablecodec::voltageCellText(byte), voltageCell);
    }

    // A voltage read and written back is the same byte, for every byte: the shown cell is
    // cut to two decimals, which must never move it by half a count.
    void voltageRoundTripKeepsEveryByte() {
        for (const char* loc : {"ru_RU", "C"}) {
            QLocale::setDefault(QLocale(QString::fromLatin1(loc)));
            for (int b = 0; b < 256; ++b) {
                QString cell;
                QVERIFY(tablecodec::normaliseVoltage(tablecodec::voltageCellText(b), &cell));
                QCOMPARE(tablecodec::cellByte(TableKind::Voltage, cell), b);
            }
        }
    }

    void normaliseWhole_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("result");
        QTest::newRow("empty") << "" << true << "0";
        QTest::newRow("150") << "150" << true << "99";
        QTest::newRow("100") << "100" << true << "99";
        QTest::newRow("99 stays") << "99" << true << "99";
        QTest::newRow("-99 stays") << "-99" << true << "-99";
        QTest::newRow("-100") << "-100" << true << "-99";
        QTest::newRow("-120") << "-120" << true << "-99";
        QTest::newRow("huge") << "123456789012345678901234567890" << true << "99";
        QTest::newRow("huge negative") << "-123456789012345678901234567890" << true << "-99";
        QTest::newRow("7 unchanged") << "7" << true << "7";
        QTest::newRow("decimal") << "2,5" << false << "";
        QTest::newRow("text") << "abc" << false << "";
        QTest::newRow("sign only") << "-" << false << "";
    }
    void normaliseWhole() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(QString, result);
        QString out = QStringLiteral("untouched");
        QCOMPARE(tablecodec::normaliseWhole(text, &out), ok);
        QCOMPARE(out, ok ? result : QStringLiteral("untouched"));
    }

    void normaliseVoltage_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("result");
        QTest::newRow("ru 2.345") << "ru_RU" << "2.345" << true << "2,34";
        QTest::newRow("C 2,345") << "C" << "2,345" << true << "2.34";
        QTest::newRow("ru -1") << "ru_RU" << "-1" << true << "0";
        QTest::newRow("ru 7") << "ru_RU" << "7" << true << "5";
        QTest::newRow("ru 4,999") << "ru_RU" << "4,999" << true << "4,99";
        QTest::newRow("C 4.999") << "C" << "4.999" << true << "4.99";
        QTest::newRow("ru 2,35 stays") << "ru_RU" << "2,35" << true << "2,35";
        QTest::newRow("ru 0,50") << "ru_RU" << "0,50" << true << "0,5";
        QTest::newRow("ru 4") << "ru_RU" << "4" << true << "4";
        QTest::newRow("ru empty") << "ru_RU" << "" << true << "0";
        QTest::newRow("ru text") << "ru_RU" << "V" << false << "";
        QTest::newRow("C nan") << "C" << "nan" << false << "";
    }
    void normaliseVoltage() {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(QString, result);
        QLocale::setDefault(QLocale(locale));
        QString out = QStringLiteral("untouched");
        QCOMPARE(tablecodec::normaliseVoltage(text, &out), ok);
        QCOMPARE(out, ok ? result : QStringLiteral("untouched"));
    }

    void enterWalk() {
        QCOMPARE(tablecodec::nextCellOnEnter(8, 8), QPoint(1, 1));
        QCOMPARE(tablecodec::nextCellOnEnter(3, 8), QPoint(4, 1));
        QCOMPARE(tablecodec::nextCellOnEnter(3, 5), QPoint(3, 6));
        QCOMPARE(tablecodec::nextCellOnEnter(8, 1), QPoint(8, 2));
    }

    // The cursor walks a table row by row, columns first, and a curve point by point.
    void cursorWalks() {
        TransferCursor cur;
        cur.start(8, 8);
        QList<QPoint> cells;
        do cells << QPoint(cur.column(), cur.row());
        while (cur.advance());
        QCOMPARE(cells.size(), 64);
        QCOMPARE(cells.at(0), QPoint(1, 1));
        QCOMPARE(cells.at(7), QPoint(8, 1));
        QCOMPARE(cells.at(8), QPoint(1, 2));
        QCOMPARE(cells.at(63), QPoint(8, 8));
        QCOMPARE(cur.position(), 63); // stays on the last cell
        QVERIFY(!cur.advance());

        cur.start(curvecodec::firstCount(2), curvecodec::secondCount(2));
        int steps = 1;
        while (cur.advance()) {
            ++steps;
            QCOMPARE(cur.point(), steps);
            QCOMPARE(curvecodec::pointAddress(2, cur.point()).at(1), QChar(QLatin1Char('3' + cur.index2)));
        }
        QCOMPARE(steps, 64);
    }

    void curvePoints() {
        const QStringList curve1{"88", "98", "F8", "89", "FF"};
        const QStringList curve2{"03", "13", "F3", "04", "F6"};
        const int points[] = {1, 2, 8, 9, 64};
        const int points2[] = {1, 2, 16, 17, 64};
        for (int k = 0; k < 5; ++k) {
            QCOMPARE(curvecodec::pointAddress(1, points[k]), curve1[k]);
            QCOMPARE(curvecodec::pointAddress(2, points2[k]), curve2[k]);
        }
        for (int i = 1; i <= 64; ++i) {
            QCOMPARE(curvecodec::pointModuleAddress(1, i), sim::reg::curve1Point(i));
            QCOMPARE(curvecodec::pointModuleAddress(2, i), sim::reg::curve2Point(i));
            QCOMPARE(curvecodec::pointAt(1, sim::reg::curve1Point(i)), i);
            QCOMPARE(curvecodec::pointAt(2, sim::reg::curve2Point(i)), i);
        }
        QCOMPARE(curvecodec::pointAt(1, 0x87), 0); // a MAF cell
        // Every other byte, and what is no byte, is no point of either curve.
        for (int curve : {1, 2, 0, 3}) {
            QCOMPARE(curvecodec::pointAt(curve, -1), 0);
            QCOMPARE(curvecodec::pointAt(curve, 0x100), 0);
            for (int address = 0; address <= 0xFF; ++address) {
                int expected = 0;
                for (int i = 1; i <= 64; ++i)
                    if (curvecodec::pointModuleAddress(curve, i) == address) expected = i;
                QCOMPARE(curvecodec::pointAt(curve, address), expected);
            }
        }
        QCOMPARE(curvecodec::pointAddress(3, 1), QString());
        QCOMPARE(curvecodec::pointAddress(1, 65), QString());
    }

    // The Lambda table and curve 1 share their cells: cell (1,1) is point 8, the last
    // cell of a row is the first point of its group of eight.
    void lambdaCellsAreCurveOnePoints() {
        auto pointOf = [](int c, int r) {
            return curvecodec::pointAt(1, tablecodec::cellModuleAddress(TableKind::Lambda, c, r));
        };
        QCOMPARE(pointOf(1, 1), 8);
        QCOMPARE(pointOf(8, 1), 1);
        QCOMPARE(pointOf(1, 2), 16);
        QCOMPARE(pointOf(8, 8), 57);
        QSet<int> seen;
        for (int r = 1; r <= 8; ++r)
            for (int c = 1; c <= 8; ++c) seen << pointOf(c, r);
        QCOMPARE(seen.size(), 64);
        QVERIFY(!seen.contains(0));
    }

    void curveVoltages_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("byte");
        QTest::addColumn<QString>("text");
        QTest::newRow("ru 120 (answer 87)") << "ru_RU" << 120 << "2,5";
        QTest::newRow("ru 255 limited") << "ru_RU" << 255 << "5";
        QTest::newRow("ru 47 cut") << "ru_RU" << 47 << "0,97";
        QTest::newRow("C 47 cut") << "C" << 47 << "0.97";
        QTest::newRow("C 0") << "C" << 0 << "0";
    }
    void curveVoltages() {
        QFETCH(QString, locale);
        QFETCH(int, byte);
        QFETCH(QString, text);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(curvecodec::voltageText(byte), text);
    }

    void modelGridIgnoresOutsideCells() {
        ModelGrid g;
        g.setCell(3, 5, QStringLiteral("-12"));
        g.setCell(0, 1, QStringLiteral("x"));
        g.setCell(9, 1, QStringLiteral("x"));
        QCOMPARE(g.cell(3, 5), QStringLiteral("-12"));
        QCOMPARE(g.cell(5, 3), QString());
        QCOMPARE(g.cell(0, 1), QString());
        g.clear();
        QCOMPARE(g.cell(3, 5), QString());
    }
};

QTEST_GUILESS_MAIN(TestTableCodec)
#include "test_tablecodec.moc"
