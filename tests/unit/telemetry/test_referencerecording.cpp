// The comparison recording read from a record file: a whole file is taken, any line that
// cannot be read (or a file without a sample) refuses the file and keeps what was there;
// times count from its first sample; the nearest sample to a time and the samples within
// a span; its place on the chart's sample axis; and its min/max summary against the
// samples themselves.
#include "telemetry/referencerecording.h"

#include <QRandomGenerator>
#include <QtTest>

#include <cmath>

using namespace reference;

namespace {

// Line k of a file: time t0 + k * step seconds, field f of the rest k * 10 + f hundredths.
QByteArray lines(int n, int t0 = 500, int step = 10) {
    QByteArray out;
    for (int k = 0; k < n; ++k) {
        std::array<double, recordfile::Fields> v{};
        v[0] = (t0 + k * step) / 100.0;
        for (int f = 1; f < recordfile::Fields; ++f) v[std::size_t(f)] = (k * 10 + f) / 100.0;
        out += recordfile::encodeLine(v);
    }
    return out;
}

Recording make(int n, int t0 = 500, int step = 10) {
    Recording r;
    QString error;
    if (!Recording::read(lines(n, t0, step), QStringLiteral("x_data.txt"), false, &r, &error)) qFatal("unread");
    return r;
}

} // namespace

class TestReferenceRecording : public QObject {
    Q_OBJECT
private slots:
    void readsAWholeFile() {
        const Recording r = make(5);
        QCOMPARE(r.samples(), 5);
        QCOMPARE(r.time(0), 0.0);
        QVERIFY(std::abs(r.time(4) - 0.4) < 1e-12);
        QVERIFY(std::abs(r.interval() - 0.1) < 1e-12);
        // Column c of the archive is field c of the line.
        for (int c = 1; c < recordfile::Fields; ++c) QCOMPARE(r.value(3, c), (30 + c) / 100.0);
        // The series' columns in the chart's order: SP, STR, AI, L1, L2, U1do ... TP, SD.
        const int expected[Series] = {1, 2, 3, 6, 7, 8, 9, 10, 11, 4, 5};
        for (int s = 0; s < Series; ++s) QCOMPARE(archiveColumn(s), expected[s]);
        QCOMPARE(archiveColumn(11), -1);
        QCOMPARE(archiveColumn(-1), -1);
    }

    void refusedFilesChangeNothing_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("mentions");
        const QByteArray good = lines(4);
        const QList<QByteArray> l = good.split('\n');
        QTest::newRow("first line") << QByteArray("nonsense\r\n") + good << "строка 1 ";
        QTest::newRow("middle line") << l[0] + "\n" + l[1] + "\n12#Step#x#SP#\r\n" + l[2] + "\n" << "строка 3 ";
        QTest::newRow("last line without markers") << good + "1#Step#2#SP#" << "строка 5 ";
        QTest::newRow("a field not a number") << good + lines(1).replace("#SD#", "#SD#4x") << "строка 5 ";
        QTest::newRow("over-long line") << good + QByteArray(600, '7') + "\r\n" << "строка 5 ";
        QTest::newRow("binary") << QByteArray("\x00\x01\x02#Step#", 9) + good << "строка 1 ";
        QTest::newRow("empty") << QByteArray() << "нет записанных значений";
        QTest::newRow("blank lines only") << QByteArray("\r\n  \r\n\n") << "нет записанных значений";
    }
    void refusedFilesChangeNothing() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, mentions);
        Recording r = make(7);
        QString error;
        QVERIFY(!Recording::read(bytes, QStringLiteral("/tmp/bad_data.txt"), false, &r, &error));
        QVERIFY2(error.contains(mentions), qPrintable(error));
        QVERIFY2(error.contains(QStringLiteral("bad_data.txt")), qPrintable(error));
        // What was there stays.
        QCOMPARE(r.samples(), 7);
        QCOMPARE(r.value(6, 1), 0.61);
        QString english;
        QVERIFY(!Recording::read(bytes, QStringLiteral("bad_data.txt"), true, &r, &english));
        QVERIFY(english.contains(QStringLiteral("bad_data.txt")));
        QVERIFY(english != error);
    }

    void nearestSample_data() {
        QTest::addColumn<double>("time");
        QTest::addColumn<int>("sample");
        // Ten samples 0,1 s apart: 0 .. 0,9 (from time 0, so that each time is the double
        // its decimal text reads as, and the half-way marks are where they look).
        QTest::newRow("first") << 0.0 << 0;
        QTest::newRow("just before the first") << -0.049 << 0;
        QTest::newRow("more than half before") << -0.051 << -1;
        QTest::newRow("just past a sample") << 0.31 << 3;
        QTest::newRow("half-way goes earlier") << 0.35 << 3;
        QTest::newRow("past half-way") << 0.351 << 4;
        QTest::newRow("last") << 0.9 << 9;
        QTest::newRow("just after the last") << 0.949 << 9;
        QTest::newRow("more than half after") << 0.951 << -1;
        QTest::newRow("not a number") << std::nan("") << -1;
        QTest::newRow("infinite") << HUGE_VAL << -1;
    }
    void nearestSample() {
        QFETCH(double, time);
        QFETCH(int, sample);
        QCOMPARE(make(10, 0).nearest(time), sample);
    }

    void samplesWithin_data() {
        QTest::addColumn<double>("from");
        QTest::addColumn<double>("to");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::newRow("whole") << -1.0 << 5.0 << 0 << 9;
        QTest::newRow("on samples") << 0.2 << 0.5 << 2 << 5;
        QTest::newRow("between samples") << 0.25 << 0.55 << 3 << 5;
        QTest::newRow("one sample") << 0.3 << 0.3 << 3 << 3;
        QTest::newRow("between two") << 0.31 << 0.39 << 4 << 3;
        QTest::newRow("before all") << -2.0 << -1.0 << 0 << -1;
        QTest::newRow("after all") << 1.0 << 2.0 << 10 << 9;
        QTest::newRow("reversed") << 0.5 << 0.2 << 0 << -1;
    }
    void samplesWithin() {
        QFETCH(double, from);
        QFETCH(double, to);
        QFETCH(int, first);
        QFETCH(int, last);
        const auto [a, b] = make(10, 0).within(from, to);
        if (first > last) {
            QVERIFY(a > b);
        } else {
            QCOMPARE(a, first);
            QCOMPARE(b, last);
        }
    }

    // Key = base + (time + offset) / interval, both ways.
    void alignment_data() {
        QTest::addColumn<double>("base");
        QTest::addColumn<double>("interval");
        QTest::addColumn<double>("offset");
        QTest::addColumn<double>("time");
        QTest::addColumn<double>("key");
        QTest::newRow("together") << 0.0 << 0.1 << 0.0 << 2.5 << 25.0;
        QTest::newRow("after an earlier recording") << 40.0 << 0.1 << 0.0 << 0.0 << 40.0;
        QTest::newRow("moved later") << 40.0 << 0.1 << 1.5 << 0.0 << 55.0;
        QTest::newRow("moved earlier") << 0.0 << 0.25 << -2.0 << 3.0 << 4.0;
        QTest::newRow("slower main recording") << 10.0 << 0.5 << 0.0 << 2.0 << 14.0;
    }
    void alignment() {
        QFETCH(double, base);
        QFETCH(double, interval);
        QFETCH(double, offset);
        QFETCH(double, time);
        QFETCH(double, key);
        const Alignment a{base, interval, offset};
        QVERIFY(std::abs(a.key(time) - key) < 1e-9);
        QVERIFY(std::abs(a.referenceTime(key) - time) < 1e-9);
    }

    void meanInterval_data() {
        QTest::addColumn<double>("first");
        QTest::addColumn<double>("last");
        QTest::addColumn<int>("samples");
        QTest::addColumn<double>("interval");
        QTest::newRow("regular") << 5.0 << 14.9 << 100 << 0.1;
        QTest::newRow("one sample") << 5.0 << 5.0 << 1 << 0.25;
        QTest::newRow("standing time") << 5.0 << 5.0 << 10 << 0.25;
        QTest::newRow("time going back") << 5.0 << 1.0 << 10 << 0.25;
    }
    void meanInterval() {
        QFETCH(double, first);
        QFETCH(double, last);
        QFETCH(int, samples);
        QFETCH(double, interval);
        QVERIFY(std::abs(reference::meanInterval(first, last, samples, 0.25) - interval) < 1e-12);
    }

    // Every bucket of 16 samples gives its lowest and highest sample (the first of equal
    // ones), in the order they came, at their times.
    void summaryHoldsEachBucketsExtremes() {
        QRandomGenerator rng(17);
        const int n = 16 * 40 + 7;
        QByteArray bytes;
        std::vector<std::array<double, recordfile::Fields>> rows;
        for (int k = 0; k < n; ++k) {
            std::array<double, recordfile::Fields> v{};
            v[0] = k * 0.2;
            // Few distinct values, so that ties happen.
            for (int f = 1; f < recordfile::Fields; ++f) v[std::size_t(f)] = double(rng.bounded(9)) - 4;
            rows.push_back(v);
            bytes += recordfile::encodeLine(v);
        }
        Recording r;
        QString error;
        QVERIFY(Recording::read(bytes, QStringLiteral("x"), false, &r, &error));
        for (int s = 0; s < Series; ++s) {
            const int column = archiveColumn(s);
            QVector<double> times, values;
            for (int b = 0; b * Recording::SummaryBucket < n; ++b) {
                const int start = b * Recording::SummaryBucket;
                int lo = start, hi = start;
                for (int k = start; k < std::min(n, start + Recording::SummaryBucket); ++k) {
                    if (rows[k][column] < rows[lo][column]) lo = k;
                    if (rows[k][column] > rows[hi][column]) hi = k;
                }
                for (int k : lo == hi ? std::vector<int>{lo} : std::vector<int>{std::min(lo, hi), std::max(lo, hi)}) {
                    times << k * 0.2;
                    values << rows[k][column];
                }
            }
            QCOMPARE(r.summaryValues(s), values);
            QCOMPARE(r.summaryTimes(s).size(), times.size());
            for (qsizetype i = 0; i < times.size(); ++i) QVERIFY(std::abs(r.summaryTimes(s)[i] - times[i]) < 1e-9);
        }
    }
};

QTEST_MAIN(TestReferenceRecording)
#include "test_referencerecording.moc"
