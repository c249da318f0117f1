// The emulation curves on the wire and in the grid: point items of both curves, the byte a
// voltage is written as, the read filter's vote, the live point answer, the hints and the
// value a grid key applies, under a comma and a point locale.
#include "common/messages.h"
#include "tables/curvecodec.h"

#include <QtTest>

class TestCurveCodec : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() {
        QLocale::setDefault(QLocale::c());
        msgs().setRussian();
    }

    void items_data() {
        QTest::addColumn<int>("curve");
        QTest::addColumn<int>("point");
        QTest::addColumn<double>("volts");
        QTest::addColumn<QString>("read");
        QTest::addColumn<QString>("write");
        QTest::newRow("curve 1 point 1, 2,5 V") << 1 << 1 << 2.5 << "88*"
                                                << "8788)";
        QTest::newRow("curve 1 point 2") << 1 << 2 << 0.0 << "98*"
                                         << "0098)";
        QTest::newRow("curve 1 point 8, 5 V") << 1 << 8 << 5.0 << "F8*"
                                              << "0FF8)";
        QTest::newRow("curve 1 point 9") << 1 << 9 << 1.0 << "89*"
                                         << "0389)";
        QTest::newRow("curve 1 point 64") << 1 << 64 << 4.99 << "FF*"
                                          << "0FFF)";
        QTest::newRow("curve 2 point 1") << 2 << 1 << 2.5 << "03*"
                                         << "8703)";
        QTest::newRow("curve 2 point 2") << 2 << 2 << 0.1 << "13*"
                                         << "5013)";
        QTest::newRow("curve 2 point 16") << 2 << 16 << 3.0 << "F3*"
                                          << "09F3)";
        QTest::newRow("curve 2 point 17") << 2 << 17 << 0.5 << "04*"
                                          << "8104)";
        QTest::newRow("curve 2 point 64") << 2 << 64 << 7.0 << "F6*"
                                          << "0FF6)";
    }
    void items() {
        QFETCH(int, curve);
        QFETCH(int, point);
        QFETCH(double, volts);
        QFETCH(QString, read);
        QFETCH(QString, write);
        QCOMPARE(curvecodec::readItem(curve, point), read);
        QCOMPARE(curvecodec::writeItem(curve, point, curvecodec::voltageByte(volts)), write);
    }

    void noItemOutsideTheCurve() {
        QCOMPARE(curvecodec::readItem(1, 0), QString());
        QCOMPARE(curvecodec::readItem(2, 65), QString());
        QCOMPARE(curvecodec::writeItem(3, 1, 0), QString());
    }

    // round(V * 48), ties to even, the voltage first brought into 0..5 V: a byte never
    // needs a third digit.
    void voltageBytes_data() {
        QTest::addColumn<double>("volts");
        QTest::addColumn<int>("byte");
        QTest::newRow("2,5") << 2.5 << 120;
        QTest::newRow("0") << 0.0 << 0;
        QTest::newRow("5") << 5.0 << 240;
        QTest::newRow("tie 1,5 up to 2") << 0.03125 << 2;
        QTest::newRow("tie 4,5 down to 4") << 0.09375 << 4;
        QTest::newRow("tie 25,5 up to 26") << 0.53125 << 26;
        QTest::newRow("2,35") << 2.35 << 113;
        QTest::newRow("7 from a file") << 7.0 << 240;
        QTest::newRow("5,31 (byte 255 read back)") << 255 / 48.0 << 240;
        QTest::newRow("negative") << -0.4 << 0;
        QTest::newRow("not a number") << std::nan("") << 0;
    }
    void voltageBytes() {
        QFETCH(double, volts);
        QFETCH(int, byte);
        QCOMPARE(curvecodec::voltageByte(volts), byte);
    }

    // The reading most readings agree with, the earliest on a tie.
    void vote_data() {
        QTest::addColumn<QList<double>>("readings");
        QTest::addColumn<int>("index");
        QTest::newRow("one stray") << QList<double>{2.1, 2.1, 2.3, 2.1, 2.1, 2.1} << 0;
        QTest::newRow("six different") << QList<double>{1, 2, 3, 4, 5, 0.5} << 0;
        QTest::newRow("a b b c c c") << QList<double>{1, 2, 2, 3, 3, 3} << 3;
        // Comparing each count only with its neighbour's would pick c here.
        QTest::newRow("a a a b c c") << QList<double>{1, 1, 1, 2, 3, 3} << 0;
        QTest::newRow("majority late") << QList<double>{4, 2, 3, 3, 2, 3} << 2;
        QTest::newRow("tie: the earlier") << QList<double>{4, 4, 4, 2, 2, 2} << 0;
        QTest::newRow("one reading") << QList<double>{2.5} << 0;
        QTest::newRow("none") << QList<double>{} << 0;
    }
    void vote() {
        QFETCH(QList<double>, readings);
        QFETCH(int, index);
        QCOMPARE(curvecodec::voteIndex(readings), index);
    }

    // "74&AA&": characters 1..4 the fuel word, 6..9 the MAF voltage word, low digit first.
    void liveAnswer_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("hasX");
        QTest::addColumn<double>("x");
        QTest::addColumn<bool>("hasV");
        QTest::addColumn<double>("v");
        QTest::newRow("x 8, v 2") << "0020 E710 " << true << 8.0 << true << 2.0;
        QTest::newRow("fuel beyond the axis") << "FFFF E710 " << true << 64.0 << true << 2.0;
        QTest::newRow("voltage beyond 5") << "0010 FFF0 " << true << 4.0 << true << 5.0;
        QTest::newRow("first piece only") << "0020 E" << true << 8.0 << false << 0.0;
        QTest::newRow("three digits") << "002" << false << 0.0 << false << 0.0;
        QTest::newRow("lower case") << "00a0 e710 " << false << 0.0 << false << 0.0;
        QTest::newRow("nothing") << "" << false << 0.0 << false << 0.0;
    }
    void liveAnswer() {
        QFETCH(QString, answer);
        QFETCH(bool, hasX);
        QFETCH(double, x);
        QFETCH(bool, hasV);
        QFETCH(double, v);
        const curvecodec::LiveSample s = curvecodec::decodeLiveAnswer(answer);
        QCOMPARE(s.hasX, hasX);
        QCOMPARE(s.hasV, hasV);
        if (hasX) QCOMPARE(s.x, x);
        if (hasV) QCOMPARE(s.v, v);
    }

    void hints() {
        QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
        msgs().setRussian();
        QCOMPARE(curvecodec::markerHint(5, 2.359), QStringLiteral("Точка 5\nНапряжение: 2,35 В "));
        QCOMPARE(curvecodec::markerHint(64, 0.29), QStringLiteral("Точка 64\nНапряжение: 0,29 В "));
        QCOMPARE(curvecodec::livePointHint(1.999, 31.257),
                 QStringLiteral("Напряжение: 1,99 В \nРасход топлива 31,25 л "));
        QLocale::setDefault(QLocale::c());
        msgs().setEnglish();
        QCOMPARE(curvecodec::markerHint(5, 2.35), QStringLiteral("Point 5\nVoltage: 2.35 V "));
        QCOMPARE(curvecodec::livePointHint(5, 64),
                 QStringLiteral("Voltage: 5 V \nExpense of fuel: 64 L "));
    }

    void keyValues_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("volts");
        QTest::addColumn<QString>("text");
        QTest::newRow("ru point typed") << "ru_RU"
                                        << "2.5" << true << 2.5 << "2,5";
        QTest::newRow("ru comma") << "ru_RU"
                                  << "2,35" << true << 2.35 << "2,35";
        QTest::newRow("C comma typed") << "C"
                                       << "2,5" << true << 2.5 << "2.5";
        QTest::newRow("7 becomes 5") << "ru_RU"
                                     << "7" << true << 5.0 << "5";
        QTest::newRow("below 0 becomes 0") << "C"
                                           << "-0.5" << true << 0.0 << "0";
        QTest::newRow("5 stays") << "C"
                                 << "5" << true << 5.0 << "5";
        QTest::newRow("empty") << "C"
                               << "" << false << 0.0 << "";
        QTest::newRow("two separators") << "ru_RU"
                                        << "1.2.3" << false << 0.0 << "";
        QTest::newRow("letters") << "ru_RU"
                                 << "abc" << false << 0.0 << "";
    }
    void keyValues() {
        QFETCH(QString, locale);
        QFETCH(QString, cell);
        QFETCH(bool, ok);
        QFETCH(double, volts);
        QFETCH(QString, text);
        QLocale::setDefault(QLocale(locale));
        curvecodec::KeyValue kv;
        QCOMPARE(curvecodec::keyValue(cell, &kv), ok);
        if (!ok) return;
        QCOMPARE(kv.volts, volts);
        QCOMPARE(kv.text, text);
    }
};

QTEST_GUILESS_MAIN(TestCurveCodec)
#include "test_curvecodec.moc"
