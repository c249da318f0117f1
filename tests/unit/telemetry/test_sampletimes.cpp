// The time of every sample of a recording is a whole multiple of the recording interval, at
// every interval the window offers, as held, as shown and as a record file stores it: the
// sum of many binary steps lands a hair off the multiple, and must be rounded to it.
#include "common/numtext.h"
#include "telemetry/livedecoder.h"
#include "telemetry/recordfile.h"

#include <QtTest>

#include <cmath>

class TestSampleTimes : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void multiplesOfTheInterval_data() {
        QTest::addColumn<int>("interval");
        for (int ms : {100, 200, 250, 500, 1000, 1500, 2000})
            QTest::newRow(qPrintable(QStringLiteral("%1 ms").arg(ms))) << ms;
    }
    void multiplesOfTheInterval() {
        QFETCH(int, interval);
        QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
        live::LiveState s;
        int wrong = 0;
        QString first;
        for (int i = 0; i < 600; ++i) {
            live::advanceTime(s, interval);
            const long long expected = (long long)i * interval / 10; // hundredths of a second
            const double exact = double(expected) / 100;
            const std::array<double, recordfile::Fields> line{s.sampleTime};
            const QByteArray stored = recordfile::encodeLine(line);
            const bool ok = s.sampleTime == exact && s.Time_Text == formatGeneral(exact) &&
                            stored.startsWith(QByteArray::number(expected) + "#Step#");
            if (!ok && wrong++ == 0)
                first = QStringLiteral("sample %1: %2 shown as %3, stored as %4, expected %5")
                            .arg(i)
                            .arg(s.sampleTime, 0, 'g', 17)
                            .arg(s.Time_Text, QString::fromLatin1(stored.left(stored.indexOf('#'))))
                            .arg(expected);
        }
        QVERIFY2(wrong == 0, qPrintable(QStringLiteral("%1 of 600 samples off; first: %2").arg(wrong).arg(first)));
    }
};

QTEST_MAIN(TestSampleTimes)
#include "test_sampletimes.moc"
