// Numbers a record line cannot hold: a field beyond what a saved record writes back as the
// same number is a line that cannot be read, and the lines before it are kept.
#include "telemetry/recordfile.h"

#include <QRandomGenerator>
#include <QtTest>

class TestRecordLimits : public QObject {
    Q_OBJECT
  private slots:
    void hugeFields_data() {
        QTest::addColumn<QByteArray>("time");
        QTest::addColumn<bool>("readable");
        QTest::newRow("largest held") << QByteArray("99999999999999") << true;
        QTest::newRow("its negative") << QByteArray("-99999999999999") << true;
        QTest::newRow("10^14") << QByteArray("100000000000000") << false;
        // Below 2^53, yet divided by 100 and multiplied back it comes out one less.
        QTest::newRow("a number the units lose") << QByteArray("3555555555555545") << false;
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

    // Every number of hundredths a line may hold comes back the same through the units, in
    // a record file and in the journal: a spread of them, large ones most of all.
    void everyHeldNumberComesBack() {
        QRandomGenerator random(1234);
        for (int i = 0; i < 20000; ++i) {
            const qint64 magnitude = i % 4 == 0 ? recordfile::MaxHundredths : qint64(1) << (i % 47);
            const qint64 n = random.bounded(-magnitude + 1, magnitude);
            std::array<double, recordfile::Fields> v{};
            v[0] = double(n) / 100;
            const QByteArray line = recordfile::encodeLine(v);
            QVERIFY2(line.startsWith(QByteArray::number(n) + "#Step#"), line.constData());
            const recordfile::Record rec = recordfile::parse(line);
            QVERIFY2(rec.ok() && rec.rows() == 1, line.constData());
            QCOMPARE(recordfile::hundredths(rec.values[0][0]), n);
        }
    }
};

QTEST_MAIN(TestRecordLimits)
#include "test_recordlimits.moc"
