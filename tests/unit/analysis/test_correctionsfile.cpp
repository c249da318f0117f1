// The file of the corrections' settings and locked cells: what it holds comes back as it
// was written, a key left out keeps its default, and a bad file is named by its line and
// changes nothing.
#include "analysis/correctionsfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace analysis;
using correctionsfile::Contents;

namespace {

bool same(const Contents& a, const Contents& b) {
    for (const SettingField& f : settingFields())
        if (f.get(a.settings) != f.get(b.settings)) return false;
    return a.settings.targets == b.settings.targets && a.locks == b.locks;
}

Contents sample() {
    Contents c;
    CorrectionSettings& s = c.settings;
    s.delayMs = 450;
    s.minSamples = 25;
    s.minWeight = 12.5;
    s.limit = 7;
    s.deadband = 2;
    s.gain = 0.85;
    s.warmUpS = 40;
    s.transientRpmPerS = 1200;
    s.transientLoadPercentPerS = 15.5;
    s.transientHoldS = 1.5;
    s.fuelCutMs = 0.4;
    s.fuelCutHoldS = 2.5;
    s.afrMin = 11;
    s.afrMax = 19.5;
    s.stuckSamples = 45;
    for (int i = 0; i < CellCount; ++i) s.targets[std::size_t(i)] = 12.5 + 0.03125 * i;
    CellMask corners;
    corners.set(std::size_t(cellIndex(1, 1)));
    corners.set(std::size_t(cellIndex(8, 8)));
    c.locks.insert(QStringLiteral("TR-70A03"), corners);
    c.locks.insert(QStringLiteral("A=B c%"), CellMask(0x00FF00FF00FF00FFull));
    c.locks.insert(QStringLiteral("Жигули"), CellMask(1));
    c.locks.insert(QString(QChar(1)) + QStringLiteral("\r\n"), CellMask(2));
    return c;
}

} // namespace

class TestCorrectionsFile : public QObject {
    Q_OBJECT

private slots:
    void roundTrip() {
        const Contents c = sample();
        const QByteArray bytes = correctionsfile::encode(c);
        const correctionsfile::Parsed p = correctionsfile::parse(bytes, true);
        QVERIFY2(p.ok(), qPrintable(p.problem));
        QVERIFY(same(p.contents, c));
        QVERIFY(bytes.startsWith("delay_ms=450\r\nmin_samples=25\r\nmin_weight=12.5\r\n"));
        QVERIFY(bytes.contains("\r\nlock.TR-70A03=8000000000000001\r\n"));
        QVERIFY(bytes.contains("\r\ntargets_1=12.5 12.53125 "));
        QVERIFY(bytes.endsWith("\r\n"));
        // Modules without locked cells are left out.
        Contents empty;
        empty.locks.insert(QStringLiteral("TR-90B01"), CellMask());
        QVERIFY(!correctionsfile::encode(empty).contains("lock."));
        QVERIFY(same(correctionsfile::parse(correctionsfile::encode(Contents{}), false).contents, Contents{}));
    }

    void keysLeftOut() {
        const correctionsfile::Parsed p = correctionsfile::parse("\r\ngain=0,8\n\nlimit=5", true);
        QVERIFY2(p.ok(), qPrintable(p.problem));
        Contents expected;
        expected.settings.gain = 0.8;
        expected.settings.limit = 5;
        QVERIFY(same(p.contents, expected));
        QVERIFY(correctionsfile::parse("lock.TR=0000000000000000", true).contents.locks.isEmpty());
    }

    void badFiles_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("problem");
        const QByteArray eight = "14.5 14.5 14.5 14.5 14.5 14.5 14.5";
        QTest::newRow("no equals") << QByteArray("gain=1\r\nlimit\r\n") << 2 << "no '='";
        QTest::newRow("unknown key") << QByteArray("colour=red") << 1 << "unknown key 'colour'";
        QTest::newRow("repeated key") << QByteArray("gain=1\ndelay_ms=0\ngain=2") << 3 << "key 'gain' is repeated";
        QTest::newRow("not a number") << QByteArray("gain=abc") << 1 << "'abc' is not a number";
        QTest::newRow("infinite") << QByteArray("gain=inf") << 1 << "'inf' is not a number";
        QTest::newRow("empty value") << QByteArray("gain=") << 1 << "'' is not a number";
        QTest::newRow("not whole") << QByteArray("limit=2.5") << 1 << "'2.5' is not a whole number";
        QTest::newRow("out of range") << QByteArray("limit=100") << 1 << "100 is outside 1..99";
        QTest::newRow("negative delay") << QByteArray("delay_ms=-1") << 1 << "-1 is outside 0..5000";
        QTest::newRow("two targets") << QByteArray("targets_3=14.5 14.5") << 1 << "eight targets needed, not 2";
        QTest::newRow("nine targets") << "targets_3=" + eight + " 14.5 14.5" << 1 << "eight targets needed, not 9";
        QTest::newRow("target not a number") << "targets_3=" + eight + " x" << 1 << "'x' is not a number";
        QTest::newRow("target out of range") << "targets_8=" + eight + " 25" << 1 << "25 is outside 9..20";
        QTest::newRow("no row 9") << "targets_9=" + eight + " 14.5" << 1 << "unknown key 'targets_9'";
        QTest::newRow("short mask") << QByteArray("lock.TR=12") << 1 << "sixteen hex digits";
        QTest::newRow("mask not hex") << QByteArray("lock.TR=GGGGGGGGGGGGGGGG") << 1 << "sixteen hex digits";
        QTest::newRow("mask signed") << QByteArray("lock.TR=+000000000000001") << 1 << "sixteen hex digits";
        QTest::newRow("identifier not UTF-8") << QByteArray("lock.%FF=0000000000000001") << 1 << "not text";
        QTest::newRow("broken escape") << QByteArray("lock.TR%4=0000000000000001") << 1 << "not text";
        QTest::newRow("no identifier") << QByteArray("lock.=0000000000000001") << 1 << "not text";
        QTest::newRow("one module twice") << QByteArray("lock.A=0000000000000001\r\nlock.%41=0000000000000002") << 2
                                          << "key 'lock.%41' is repeated";
        QTest::newRow("afr limits crossed") << QByteArray("afr_max=12\r\ngain=1\r\nafr_min=12") << 3
                                            << "afr_min must be below afr_max";
        QTest::newRow("line too long") << "gain=1\n" + QByteArray(600, 'x') << 2 << "longer than 512 characters";
        QTest::newRow("binary") << QByteArray("gain=1\nlimit=5\0\n", 16) << 2 << "binary data";
        QTest::newRow("too large") << QByteArray(correctionsfile::MaxBytes + 1, '\n') << 0 << "larger than 256 KB";
    }
    void badFiles() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        QFETCH(QString, problem);
        const correctionsfile::Parsed p = correctionsfile::parse(bytes, true);
        QVERIFY(!p.ok());
        QCOMPARE(p.badLine, line);
        QVERIFY2(p.problem.contains(problem), qPrintable(p.problem));
        QVERIFY(same(p.contents, Contents{}));
    }

    // Reading through the file system: a missing file is no fault, a bad one is reported
    // with its name and line and changes nothing.
    void files() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(correctionsfile::FileName);
        Contents c = sample();
        QString error;
        QCOMPARE(correctionsfile::read(path, &c, &error, false), correctionsfile::ReadStatus::Missing);
        QVERIFY(same(c, sample()));
        QVERIFY(correctionsfile::write(path, c, &error, false));
        Contents back;
        QCOMPARE(correctionsfile::read(path, &back, &error, false), correctionsfile::ReadStatus::Read);
        QVERIFY(same(back, c));

        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("gain=1\r\nlimit=0\r\n");
        f.close();
        QCOMPARE(correctionsfile::read(path, &back, &error, false), correctionsfile::ReadStatus::Bad);
        QVERIFY(same(back, c));
        QCOMPARE(error, QStringLiteral("Файл «%1» не принят, строка 2: 0 вне пределов 1..99. "
                                       "Настройки поправок остались прежними.")
                            .arg(QDir::toNativeSeparators(path)));

        // A folder in the file's place cannot be written or read.
        const QString folder = dir.filePath(QStringLiteral("folder"));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(!correctionsfile::write(folder, c, &error, true));
        QVERIFY(error.startsWith(QStringLiteral("Cannot write the file")));
        QCOMPARE(correctionsfile::read(folder, &back, &error, true), correctionsfile::ReadStatus::Bad);
        QVERIFY(same(back, c));
    }
};

QTEST_GUILESS_MAIN(TestCorrectionsFile)
#include "test_correctionsfile.moc"
