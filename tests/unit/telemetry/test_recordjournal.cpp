// The recording journal: what a reader takes from it (a torn last line dropped, anything
// else that is not a journal line refused whole), the writer's batching (nothing reaches
// the file before its second has passed, everything after a flush), and the CSV copy of
// a recording byte for byte.
#include "telemetry/csvexport.h"
#include "telemetry/journalformat.h"
#include "telemetry/journalwriter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace journal;

namespace {

// A journal line whose time is `t` hundredths and whose other fields are t+1 .. t+11.
QByteArray line(int t) {
    std::array<double, recordfile::Fields> v;
    for (int f = 0; f < recordfile::Fields; ++f) v[std::size_t(f)] = (t + f) / 100.0;
    return recordfile::encodeLine(v);
}

QByteArray lines(int n) {
    QByteArray out;
    for (int i = 0; i < n; ++i) out += line(i * 25);
    return out;
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

} // namespace

class TestRecordJournal : public QObject {
    Q_OBJECT
private slots:
    void reading_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("samples");
        QTest::addColumn<bool>("torn");
        QTest::addColumn<int>("badLine"); // 0: read
        const QByteArray three = lines(3);
        QTest::newRow("empty") << QByteArray() << 0 << false << 0;
        QTest::newRow("three lines") << three << 3 << false << 0;
        QTest::newRow("LF only") << QByteArray(three).replace("\r\n", "\n") << 3 << false << 0;
        QTest::newRow("torn in a number") << three + line(75).left(20) << 3 << true << 0;
        QTest::newRow("torn after the last marker") << three + line(75).chopped(2) << 3 << true << 0;
        QTest::newRow("torn: CR without LF") << three + line(75).chopped(1) << 3 << true << 0;
        // A power cut can leave the file longer than what was written, filled with zeros.
        QTest::newRow("zeros after the last line") << three + QByteArray(4096, '\0') << 3 << true << 0;
        QTest::newRow("torn only") << line(0).left(30) << 0 << true << 0;
        // Anything else is not a journal: nothing is taken from it.
        QTest::newRow("bad line in the middle") << line(0) + "garbage\r\n" + line(25) << 0 << false << 2;
        QTest::newRow("blank line") << line(0) + "\r\n" + line(25) << 0 << false << 2;
        QTest::newRow("zeros inside") << line(0) + QByteArray(10, '\0') + "\r\n" << 0 << false << 2;
        QTest::newRow("decimal comma") << QByteArray(line(0)).replace("0#Step#", "0,5#Step#") << 0 << false << 1;
        QTest::newRow("field missing") << QByteArray(line(0)).replace("#SP#", "#") << 0 << false << 1;
        QTest::newRow("fields swapped")
            << QByteArray("0#SP#0#Step#0#STR#0#AI#0#TP#0#SD#0#L1#0#L2#0#U1do#0#U1posle#0#U2do#0#U2posle#\r\n") << 0
            << false << 1;
        QTest::newRow("text after the last marker") << line(0).chopped(2) + "x\r\n" << 0 << false << 1;
        QTest::newRow("blank before a number") << " " + line(0) << 0 << false << 1;
        QTest::newRow("number too large")
            << QByteArray(line(0)).replace("0#Step#", "99999999999999999999#Step#") << 0 << false << 1;
        // A whole number, but one the units would not give back: restored and written again,
        // the journal would hold another number.
        QTest::newRow("number the units lose")
            << QByteArray(line(0)).replace("0#Step#", "3555555555555545#Step#") << 0 << false << 1;
        QTest::newRow("over-long line") << three + QByteArray(MaxLine + 1, '1') + "\r\n" << 0 << false << 4;
    }
    void reading() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, samples);
        QFETCH(bool, torn);
        QFETCH(int, badLine);
        const Journal j = parse(bytes);
        QCOMPARE(j.badLine, badLine);
        QCOMPARE(j.record.rows(), samples);
        if (badLine == 0) QCOMPARE(j.tornTail, torn);
        for (int f = 0; f < recordfile::Fields; ++f) QCOMPARE(int(j.record.values[std::size_t(f)].size()), samples);
        for (int i = 0; i < samples; ++i) {
            QCOMPARE(j.record.values[0][std::size_t(i)], i * 25 / 100.0);
            QCOMPARE(j.record.values[11][std::size_t(i)], (i * 25 + 11) / 100.0);
        }
    }

    // Negative values and large ones come back as written.
    void valuesRoundTrip() {
        const std::array<double, recordfile::Fields> v = {12.25, 3.45, -0.2, -1.15, 850, 3100, -1.8, 0, 4.35, 0.07, -99.99, 15000};
        const Journal j = parse(recordfile::encodeLine(v) + recordfile::encodeLine(v));
        QVERIFY(j.ok());
        QCOMPARE(j.record.rows(), 2);
        for (int f = 0; f < recordfile::Fields; ++f) QCOMPARE(j.record.values[std::size_t(f)][1], v[std::size_t(f)]);
    }

    void writerBatches() {
        QTemporaryDir dir;
        const QString path = dir.filePath(fileName());
        Writer w;
        QVERIFY(w.open(path, nullptr));
        w.flushIntervalMs = 60 * 60 * 1000;
        std::array<double, recordfile::Fields> v{};
        for (int i = 0; i < 50; ++i) {
            v[0] = i / 4.0;
            QVERIFY(w.append(v));
        }
        // Fifty samples within the second: none has reached the file yet.
        QCOMPARE(fileBytes(path), QByteArray());
        QVERIFY(w.flush());
        const QByteArray flushed = fileBytes(path);
        QCOMPARE(parse(flushed).record.rows(), 50);
        QVERIFY(!parse(flushed).tornTail);
        QTRY_VERIFY_WITH_TIMEOUT(w.syncs() >= 1, 5000);

        // Once the second has passed, the next sample takes everything with it.
        w.flushIntervalMs = 0;
        QVERIFY(w.append(v));
        QCOMPARE(parse(fileBytes(path)).record.rows(), 51);

        // Close keeps the file, remove deletes it.
        w.flushIntervalMs = 60 * 60 * 1000;
        QVERIFY(w.append(v));
        w.close();
        QVERIFY(!w.isOpen());
        QCOMPARE(parse(fileBytes(path)).record.rows(), 52);
        QVERIFY(!w.append(v));
        QVERIFY(w.open(path, nullptr));
        QCOMPARE(fileBytes(path), QByteArray()); // a new journal starts empty
        w.remove();
        QVERIFY(!QFile::exists(path));
    }

    void writerFailures() {
        QTemporaryDir dir;
        Writer w;
        QString error;
        QVERIFY(!w.open(dir.filePath("missing/") + fileName(), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!w.isOpen());
        // /dev/full takes the open and refuses every write: the failure is told, not kept.
        if (QFile::exists("/dev/full")) {
            QVERIFY(w.open("/dev/full", nullptr));
            w.flushIntervalMs = 0;
            QVERIFY(!w.append({}));
            QVERIFY(!w.isOpen());
            QVERIFY(!w.lastError().isEmpty());
        }
    }

    void questionTexts() {
        const QDateTime when(QDate(2026, 5, 14), QTime(9, 12, 3));
        QCOMPARE(restoreQuestion(when, 36000, false),
                 QStringLiteral("Найдена несохранённая запись от 14.05.2026 09:12:03 (36000 отсчётов). Восстановить её?"));
        QCOMPARE(restoreQuestion(when, 36000, true),
                 QStringLiteral("An unsaved recording from 14.05.2026 09:12:03 (36000 samples) was found. Restore it?"));
    }

    // The CSV's numbers have a point under any locale (a spreadsheet reads them so), and
    // are cut toward zero to whole hundredths.
    void csvNumbers_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("a half under a comma locale") << 1.5 << QByteArray("1.5");
        QTest::newRow("whole") << 3.0 << QByteArray("3");
        QTest::newRow("zero") << 0.0 << QByteArray("0");
        QTest::newRow("hundredths") << 12.25 << QByteArray("12.25");
        QTest::newRow("tenths") << 0.5 << QByteArray("0.5");
        QTest::newRow("a hair below in binary") << 3.45 << QByteArray("3.45");
        QTest::newRow("small negative") << -0.05 << QByteArray("-0.05");
        QTest::newRow("negative") << -1.8 << QByteArray("-1.8");
        QTest::newRow("cut toward zero") << -2.349 << QByteArray("-2.34");
        QTest::newRow("below a hundredth") << -0.004 << QByteArray("0");
        QTest::newRow("large") << 15000.07 << QByteArray("15000.07");
    }
    void csvNumbers() {
        QFETCH(double, value);
        QFETCH(QByteArray, text);
        for (const char* locale : {"C", "ru_RU", "de_DE"}) {
            QLocale::setDefault(QLocale(QString::fromLatin1(locale)));
            QCOMPARE(csvexport::number(value), text);
        }
        QLocale::setDefault(QLocale::c());
    }

    void csvOfARecording() {
        const double rows[3][recordfile::Fields] = {
            {0.25, 3.45, 10.5, 2.12, 850, 3100, -1.8, 0, 0.45, 0.9, 0, 0},
            {0.5, 3.5, 10, 2, 900.5, 3000, 1.01, 14.7, 0.1, 0.8, 0, 0},
            {0.75, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -0.05},
        };
        const QByteArray csv = csvexport::encode(3, [&](int r, int f) { return rows[r][f]; });
        QCOMPARE(csv, QByteArray("time_s,SP,STR,AI,TP,SD,L1,L2,U1do,U1posle,U2do,U2posle\n"
                                 "0.25,3.45,10.5,2.12,850,3100,-1.8,0,0.45,0.9,0,0\n"
                                 "0.5,3.5,10,2,900.5,3000,1.01,14.7,0.1,0.8,0,0\n"
                                 "0.75,0,0,0,0,0,0,0,0,0,0,-0.05\n"));
        QVERIFY(csvexport::isCsvName("/tmp/Car1.CSV"));
        QVERIFY(!csvexport::isCsvName("/tmp/car1_data.txt"));
    }
};

QTEST_GUILESS_MAIN(TestRecordJournal)
#include "test_recordjournal.moc"
