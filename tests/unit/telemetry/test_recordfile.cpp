// Record files both ways (hundredths, markers, line ends, lines that cannot be read) and
// the min/max summary the overview strip is drawn from.
#include "common/userfiles.h"
#include "telemetry/minmaxsummary.h"
#include "telemetry/recordfile.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace recordfile;

namespace {

const QByteArray kExample =
    "1225#Step#345#SP#1050#STR#212#AI#85000#TP#310000#SD#-180#L1#0#L2#0#U1do#0#U1posle#0#U2do#0#U2posle#";
const std::array<double, Fields> kExampleValues = {12.25, 3.45, 10.5, 2.12, 850, 3100, -1.8, 0, 0, 0, 0, 0};

// A line whose time field is `time` and whose other fields are 1..11 hundredths.
QByteArray line(const QByteArray& time) {
    return time + "#Step#1#SP#2#STR#3#AI#4#TP#5#SD#6#L1#7#L2#8#U1do#9#U1posle#10#U2do#11#U2posle#";
}

} // namespace

class TestRecordFile : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void hundredthsCutTowardZero_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<qlonglong>("expected");
        QTest::newRow("0,25 s") << 0.25 << 25LL;
        QTest::newRow("-0,2 V") << -0.2 << -20LL;
        QTest::newRow("15000 rpm") << 15000.0 << 1500000LL;
        // Whole hundredths that sit a hair below themselves in binary.
        QTest::newRow("3,45") << 3.45 << 345LL;
        QTest::newRow("0,07") << 0.07 << 7LL;
        QTest::newRow("-1,15") << -1.15 << -115LL;
        QTest::newRow("4,35") << 4.35 << 435LL;
        QTest::newRow("sum") << (-0.2 + 0.01) << -19LL;
        // Finer values are cut, never rounded.
        QTest::newRow("10,505 l/h") << 10.505 << 1050LL;
        QTest::newRow("-1,239") << -1.239 << -123LL;
        QTest::newRow("0,009") << 0.009 << 0LL;
        QTest::newRow("-0,009") << -0.009 << 0LL;
    }
    void hundredthsCutTowardZero() {
        QFETCH(double, value);
        QFETCH(qlonglong, expected);
        QCOMPARE(hundredths(value), expected);
    }

    void exampleLineBothWays() {
        QCOMPARE(encodeLine(kExampleValues), kExample + "\r\n");
        std::array<double, Fields> v{};
        QVERIFY(parseLine(kExample, &v));
        for (int i = 0; i < Fields; ++i) QCOMPARE(v[std::size_t(i)], kExampleValues[std::size_t(i)]);
        QCOMPARE(archive::code(0), QStringLiteral("Step"));
        QCOMPARE(archive::code(11), QStringLiteral("U2posle"));
    }

    // What is read and written again gives the same bytes, however large or negative.
    void readAndWrittenAgainIsTheSame() {
        QByteArray file;
        QRandomGenerator rng(5);
        for (int r = 0; r < 500; ++r) {
            for (int f = 0; f < Fields; ++f)
                file += QByteArray::number(qint64(rng.bounded(4000001)) - 2000000) + '#' + archive::code(f).toLatin1() + '#';
            file += "\r\n";
        }
        const Record rec = parse(file);
        QVERIFY(rec.ok());
        QCOMPARE(rec.rows(), 500);
        QCOMPARE(encode(rec.rows(), [&](int row, int f) { return rec.values[std::size_t(f)][std::size_t(row)]; }),
                 file);
    }

    void linesAndBlanks_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("rows");
        QTest::addColumn<double>("lastTime");
        const QByteArray a = line("25"), b = line("50");
        QTest::newRow("CR LF") << (a + "\r\n" + b + "\r\n") << 2 << 0.5;
        QTest::newRow("trailing blank line") << (a + "\r\n" + b + "\r\n\r\n") << 2 << 0.5;
        QTest::newRow("no end on the last line") << (a + "\r\n" + b) << 2 << 0.5;
        QTest::newRow("LF only, blank lines and blanks") << (a + "\n\n   " + b + "\n  \n") << 2 << 0.5;
        QTest::newRow("CR only") << (a + "\r" + b + "\r") << 2 << 0.5;
        QTest::newRow("text after the last marker") << (a + "\r\n" + b + "tail 7\r\n") << 2 << 0.5;
        QTest::newRow("blanks around a field") << (line(" 50 ") + "\r\n") << 1 << 0.5;
        QTest::newRow("empty file") << QByteArray() << 0 << 0.0;
        QTest::newRow("only blanks") << QByteArray("  \r\n\r\n ") << 0 << 0.0;
    }
    void linesAndBlanks() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, rows);
        QFETCH(double, lastTime);
        const Record rec = parse(bytes);
        QVERIFY(rec.ok());
        QCOMPARE(rec.rows(), rows);
        if (rows) {
            QCOMPARE(rec.values[0].back(), lastTime);
            QCOMPARE(rec.values[11].back(), 0.11);
        }
    }

    // A field may carry the locale's decimal separator (the hundredths are then fractional).
    void fieldWithDecimalSeparator() {
        QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
        const Record rec = parse(line("12,5"));
        QVERIFY(rec.ok());
        QCOMPARE(rec.values[0].front(), 0.125);
    }

    // Loading stops at the first line that cannot be read, naming it by its number in the
    // file; the lines before it are kept.
    void badLines_data() {
        QTest::addColumn<QByteArray>("bad");
        QTest::newRow("short line") << QByteArray("25#Step#1#SP#2#STR#");
        QTest::newRow("marker missing") << line("25").replace("#L2#", "#L3#");
        QTest::newRow("not a number") << line("2x5");
        QTest::newRow("empty field") << line("25").replace("#4#TP#", "##TP#");
        QTest::newRow("markers out of order") << QByteArray(
            "1#SP#1#Step#2#STR#3#AI#4#TP#5#SD#6#L1#7#L2#8#U1do#9#U1posle#10#U2do#11#U2posle#");
        QTest::newRow("blank inside a number") << line("2 5");
        QTest::newRow("a word") << QByteArray("hello");
        QByteArray binary;
        for (int i = 1; i < 256; ++i)
            if (i != '\r' && i != '\n') binary += char(i);
        QTest::newRow("binary bytes") << binary;
        QByteArray utf16;
        for (char c : line("25")) utf16 += QByteArray(1, c) + '\0';
        QTest::newRow("UTF-16") << utf16;
        // A line longer than any record line is refused unparsed, whatever it starts with.
        QTest::newRow("3 MB line") << line("25") + QByteArray(3 << 20, '5');
    }
    void badLines() {
        QFETCH(QByteArray, bad);
        const QByteArray file = line("25") + "\r\n\r\n" + line("50") + "\r\n" + bad + "\r\n" + line("75") + "\r\n";
        const Record rec = parse(file);
        QVERIFY(!rec.ok());
        QCOMPARE(rec.badLine, 4);
        QVERIFY(!rec.badText.isEmpty() && rec.badText.size() <= qMax<qsizetype>(bad.size(), 120));
        QVERIFY(badLineMessage(QStringLiteral("a_data.txt"), rec, false).size() < 400);
        QCOMPARE(rec.rows(), 2);
        QVERIFY(badLineMessage(QStringLiteral("a_data.txt"), rec, false).contains(QStringLiteral("строка 4")));
        QVERIFY(badLineMessage(QStringLiteral("a_data.txt"), rec, true).contains(QStringLiteral("line 4")));
    }

    void suffixOnlyWhenMissing_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << "/tmp/abc" << "/tmp/abc_data.txt";
        QTest::newRow("has it") << "/tmp/abc_data.txt" << "/tmp/abc_data.txt";
        QTest::newRow("other extension") << "/tmp/abc.txt" << "/tmp/abc.txt_data.txt";
    }
    void suffixOnlyWhenMissing() {
        QFETCH(QString, chosen);
        QFETCH(QString, expected);
        QCOMPARE(withSuffix(chosen), expected);
    }

    void fileWrittenWholeOrNotAtAll() {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("a_data.txt"));
        QString error;
        QVERIFY(userfiles::write(name, kExample, &error, false));
        QByteArray back;
        QVERIFY(userfiles::read(name, -1, &back, &error, false));
        QCOMPARE(back, kExample);
        QVERIFY(!userfiles::write(dir.filePath(QStringLiteral("missing/b_data.txt")), kExample, &error, true));
        QVERIFY(error.contains(QStringLiteral("b_data.txt")));
        QVERIFY(!userfiles::read(dir.filePath(QStringLiteral("none_data.txt")), -1, &back, &error, false));
        QVERIFY(error.contains(QStringLiteral("none_data.txt")));
    }

    // --- the min/max summary ----------------------------------------------------------

    // While every sample has a bucket of its own, the summary is the series itself.
    void summaryOfAFewSamplesIsTheSamples() {
        MinMaxSummary s(8);
        const QVector<double> v = {3, 1, 4, 1, 5, 9, 2, 6};
        for (double x : v) s.append(x);
        QVector<double> keys, values;
        s.points(&keys, &values);
        QCOMPARE(values, v);
        QCOMPARE(keys, (QVector<double>{0, 1, 2, 3, 4, 5, 6, 7}));
    }

    // However long the series, the buckets stay within the limit and each one draws the
    // lowest and highest sample of its stretch, in the order they came.
    void summaryMatchesBruteForce_data() {
        QTest::addColumn<int>("maxBuckets");
        QTest::addColumn<int>("count");
        QTest::newRow("9 into 8") << 8 << 9;
        QTest::newRow("1000 into 8") << 8 << 1000;
        QTest::newRow("3 h at 100 ms into 2048") << 2048 << 108000;
    }
    void summaryMatchesBruteForce() {
        QFETCH(int, maxBuckets);
        QFETCH(int, count);
        MinMaxSummary s(maxBuckets);
        std::vector<double> raw;
        QRandomGenerator rng(11);
        for (int i = 0; i < count; ++i) {
            raw.push_back(double(rng.bounded(1000)) / 10);
            s.append(raw.back());
        }
        QCOMPARE(s.count(), qint64(count));
        QVERIFY(s.buckets() <= maxBuckets && s.buckets() > maxBuckets / 2);
        const long long size = s.bucketSize();
        QVector<double> expectKeys, expectValues;
        for (long long b0 = 0; b0 < count; b0 += size) {
            const long long b1 = std::min<long long>(count, b0 + size);
            long long lo = b0, hi = b0;
            for (long long i = b0; i < b1; ++i) {
                if (raw[std::size_t(i)] < raw[std::size_t(lo)]) lo = i;
                if (raw[std::size_t(i)] > raw[std::size_t(hi)]) hi = i;
            }
            expectKeys << double(std::min(lo, hi));
            expectValues << raw[std::size_t(std::min(lo, hi))];
            if (lo != hi) {
                expectKeys << double(std::max(lo, hi));
                expectValues << raw[std::size_t(std::max(lo, hi))];
            }
        }
        QVector<double> keys, values;
        s.points(&keys, &values);
        QCOMPARE(keys, expectKeys);
        QCOMPARE(values, expectValues);
        s.clear();
        s.points(&keys, &values);
        QVERIFY(keys.isEmpty());
        QCOMPARE(s.bucketSize(), 1LL);
    }

    // One bucket's extremes, whether taken sample by sample or as two halves merged: the
    // lowest and highest sample in the order they came, the earlier one winning a tie
    // (the chart's summaries and the overview strip both draw them).
    void bucketExtremes_data() {
        QTest::addColumn<QVector<double>>("samples");
        QTest::addColumn<QVector<double>>("keys");
        QTest::addColumn<QVector<double>>("values");
        QTest::newRow("one sample") << QVector<double>{4} << QVector<double>{0} << QVector<double>{4};
        QTest::newRow("all equal: the first") << QVector<double>{2, 2, 2} << QVector<double>{0} << QVector<double>{2};
        QTest::newRow("rising") << QVector<double>{1, 2, 3} << QVector<double>{0, 2} << QVector<double>{1, 3};
        QTest::newRow("falling: highest first") << QVector<double>{3, 2, 1} << QVector<double>{0, 2}
                                                << QVector<double>{3, 1};
        QTest::newRow("tied extremes: the earlier")
            << QVector<double>{5, 9, 1, 9, 1} << QVector<double>{1, 2} << QVector<double>{9, 1};
        QTest::newRow("inside the bucket") << QVector<double>{5, 7, 0, 6} << QVector<double>{1, 2}
                                           << QVector<double>{7, 0};
        QTest::newRow("negative") << QVector<double>{-1, -3, -2} << QVector<double>{0, 1}
                                  << QVector<double>{-1, -3};
    }
    void bucketExtremes() {
        QFETCH(QVector<double>, samples);
        QFETCH(QVector<double>, keys);
        QFETCH(QVector<double>, values);
        auto extremes = [&](int from, int to) {
            minmax::Extremes e = minmax::Extremes::of(from, samples[from]);
            for (int i = from + 1; i < to; ++i) e.take(i, samples[i]);
            return e;
        };
        const int n = int(samples.size());
        QVector<double> k, v;
        extremes(0, n).appendPoints(k, v);
        QCOMPARE(k, keys);
        QCOMPARE(v, values);
        for (int split = 1; split < n; ++split) {
            minmax::Extremes merged = extremes(0, split);
            merged.take(extremes(split, n));
            k.clear();
            v.clear();
            merged.appendPoints(k, v);
            QVERIFY2(k == keys && v == values, qPrintable(QStringLiteral("split at %1").arg(split)));
        }
    }
};

QTEST_GUILESS_MAIN(TestRecordFile)
#include "test_recordfile.moc"
