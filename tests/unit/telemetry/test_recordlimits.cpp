// Numbers a record line cannot hold: a field beyond what a saved record writes back as the
// same number is a line that cannot be read, and the lines before it are kept.
#include "telemetry/recordfile.h"

#include <QtTest>

class TestRecordLimits : public QObject {
    Q_OBJECT
  private slots:
    void hugeFields_data() {
        QTest::addColumn<QByteArray>("time");
        QTest::addColumn<bool>("readable");
        QTest::newRow("largest exact whole number") << QByteArray("9007199254740991") << true;
        QTest::newRow("its negative") << QByteArray("-9007199254740991") << true;
        QTest::newRow("2^53, no longer exact") << QByteArray("9007199254740993") << false;
        QTest::newRow("beyond a 64-bit number") << QByteArray("99999999999999999999") << false;
        QTest::newRow("exponent") << QByteArray("1e300") << false;
        QTest::newRow("negative exponent form") << QByteArray("-1,5e20") << false;
        QTest::newRow("ordinary") << QByteArray("1225") << true;
    }
    void hugeFields() {
        QFETCH(QByteArray, time);
        QFETCH(bool, readable);
        const QByteArray rest = "#Step#345#SP#1050#STR#212#AI#85000#TP#310000#SD#-180#L1#0#L2#0#U1do#0#"
                                "U1posle#0#U2do#0#U2posle#\r\n";
        const QByteArray file = "100" + rest + time + rest;
        const recordfile::Record rec = recordfile::parse(file);
        QCOMPARE(rec.ok(), readable);
        QCOMPARE(rec.rows(), readable ? 2 : 1);
        if (!readable) {
            QCOMPARE(rec.badLine, 2);
            return;
        }
        // What was read is saved as the same text.
        const QByteArray saved =
            recordfile::encode(rec.rows(), [&](int r, int f) { return rec.values[std::size_t(f)][std::size_t(r)]; });
        QCOMPARE(saved, file);
    }
};

QTEST_MAIN(TestRecordLimits)
#include "test_recordlimits.moc"
