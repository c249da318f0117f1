// Number and date texts under a comma and a point locale.
#include "common/datetime.h"
#include "common/numtext.h"

#include <QtTest>

class TestNumText : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void general_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("ru -0,2") << "ru_RU" << -0.2 << "-0,2";
        QTest::newRow("ru 0,8") << "ru_RU" << 0.8 << "0,8";
        QTest::newRow("ru 2500") << "ru_RU" << 2500.0 << "2500";
        QTest::newRow("ru sum") << "ru_RU" << (-0.2 + 0.01) << "-0,19";
        QTest::newRow("ru 0,29") << "ru_RU" << 0.29 << "0,29";
        QTest::newRow("ru zero") << "ru_RU" << 0.0 << "0";
        QTest::newRow("ru minus zero") << "ru_RU" << -0.0 << "0";
        QTest::newRow("ru 4,5") << "ru_RU" << 4.5 << "4,5";
        QTest::newRow("ru large") << "ru_RU" << 75000.0 << "75000";
        QTest::newRow("ru 1/3") << "ru_RU" << 1.0 / 3.0 << "0,333333333333333";
        QTest::newRow("c -0.2") << "C" << -0.2 << "-0.2";
        QTest::newRow("c sum") << "C" << (-0.2 + 0.01) << "-0.19";
        QTest::newRow("c 10000") << "C" << 10000.0 << "10000";
        QTest::newRow("en 1234567") << "en_US" << 1234567.0 << "1234567";
    }
    void general() {
        QFETCH(QString, locale);
        QFETCH(double, value);
        QFETCH(QString, text);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(formatGeneral(value), text);
        double back = 0;
        QVERIFY(parseNumber(text, &back));
        QCOMPARE(formatGeneral(back), text);
    }

    // Either separator reads as the decimal one, under either kind of locale: the form's
    // initial texts carry a comma, a pasted value may carry a point.
    void otherSeparator_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        for (const char* loc : {"ru_RU", "C", "en_US"}) {
            QTest::newRow(qPrintable(QStringLiteral("%1 0,5").arg(loc))) << loc << "0,5" << 0.5;
            QTest::newRow(qPrintable(QStringLiteral("%1 0.5").arg(loc))) << loc << "0.5" << 0.5;
            QTest::newRow(qPrintable(QStringLiteral("%1 -0,2").arg(loc))) << loc << "-0,2" << -0.2;
            QTest::newRow(qPrintable(QStringLiteral("%1 2.2").arg(loc))) << loc << "2.2" << 2.2;
        }
    }
    void otherSeparator() {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(double, value);
        QLocale::setDefault(QLocale(locale));
        double v = 0;
        QVERIFY(parseNumber(text, &v));
        QCOMPARE(v, value);
    }

    void parsing() {
        QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
        double v = 0;
        QVERIFY(parseNumber(QStringLiteral(" -12 "), &v));
        QCOMPARE(v, -12.0);
        QVERIFY(!parseNumber(QString(), &v));
        QVERIFY(!parseNumber(QStringLiteral("abc"), &v));
        QVERIFY(!parseNumber(QStringLiteral("1,2,3"), &v));
        QVERIFY(!parseNumber(QStringLiteral("inf"), &v));
        QVERIFY(!parseNumber(QStringLiteral("nan"), &v));
    }

    void truncation() {
        QCOMPARE(truncDecimals(0.29, 2), 0.29);
        QCOMPARE(truncDecimals(1.999, 2), 1.99);
        QCOMPARE(truncDecimals(-1.239, 2), -1.23);
        QCOMPARE(truncDecimals(0.58, 2), 0.58);
        QCOMPARE(truncDecimals(4.35, 1), 4.3);
        QCOMPARE(truncDecimals(2.0 / 3.0, 0), 0.0);
        QCOMPARE(truncToward0(-95.35), -95.0);
        QCOMPARE(truncToward0(95.35), 95.0);
    }

    void bankersRounding() {
        QCOMPARE(roundHalfEven(0.5), 0.0);
        QCOMPARE(roundHalfEven(1.5), 2.0);
        QCOMPARE(roundHalfEven(2.5), 2.0);
        QCOMPARE(roundHalfEven(7.5), 8.0);
        QCOMPARE(roundHalfEven(-2.5), -2.0);
        QCOMPARE(roundHalfEven(2.51), 3.0);
        QCOMPARE(roundHalfEven(36.0 / 48.0 * 10.0), 8.0); // register 10, byte 36 shows 0,8
    }

    void dateTimeTexts() {
        const QDateTime when(QDate(2026, 3, 7), QTime(6, 5, 9));
        QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
        const QString ru = dateTimeText(when);
        QVERIFY2(ru.startsWith(QStringLiteral("07.03.2026 ")), qPrintable(ru));
        QVERIFY2(ru.endsWith(QStringLiteral("6:05:09")), qPrintable(ru));
        QLocale::setDefault(QLocale(QStringLiteral("en_US")));
        const QString en = dateTimeText(when);
        QVERIFY2(en.contains(QStringLiteral("05:09")), qPrintable(en));
        QVERIFY2(!en.contains(QStringLiteral("UTC")) && !en.contains(QLatin1Char('(')), qPrintable(en));
    }
};

QTEST_APPLESS_MAIN(TestNumText)
#include "test_numtext.moc"
