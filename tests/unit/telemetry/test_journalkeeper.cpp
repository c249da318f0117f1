// The journal kept beside a recording, given only the archive's columns: every recorded row
// reaches the file as the record file line of that row, an unsaved journal is kept as the
// previous generation by a new Start, a recording continued after it was saved starts a
// journal holding it whole again, and Clear and a loaded record stop the keeping.
#include "common/archivecolumns.h"
#include "link/operationcontext.h"
#include "telemetry/journalformat.h"
#include "telemetry/journalkeeper.h"
#include "telemetry/recordfile.h"
#include "telemetry/sampletable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray fileBytes(const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

// The record file lines of archive rows first..last.
QByteArray lines(const SampleTable& a, int first, int last) {
    QByteArray out;
    std::array<double, recordfile::Fields> v{};
    for (int r = first; r <= last; ++r) {
        for (int f = 0; f < recordfile::Fields; ++f) v[std::size_t(f)] = a.value(r, f);
        out += recordfile::encodeLine(v);
    }
    return out;
}

} // namespace

class TestJournalKeeper : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString before;
    OperationContext ctx;
    QStringList errors;
    std::unique_ptr<SampleTable> archive;
    std::unique_ptr<JournalKeeper> keeper;

    // Records rows from..to as the recording tick does: written into the archive, then
    // announced.
    void record(int from, int to) {
        for (int r = from; r <= to; ++r) {
            double row[archive::ColumnCount];
            for (int f = 0; f < archive::ColumnCount; ++f) row[f] = r * 0.1 + f * 3.25 - 7;
            QVERIFY(this->archive->setRow(r, row));
            keeper->sampleRecorded(r);
        }
    }

  private slots:
    void initTestCase() {
        before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        ctx.error = [this](const QString& text) { errors << text; };
    }
    void cleanupTestCase() { QDir::setCurrent(before); }
    void init() {
        QFile::remove(journal::fileName());
        QFile::remove(journal::previousFileName());
        errors.clear();
        archive = std::make_unique<SampleTable>(archive::ColumnCount, 0);
        keeper = std::make_unique<JournalKeeper>(&ctx, archive.get());
        keeper->writer().flushIntervalMs = 1 << 30; // only the flushes below reach the file
    }
    void cleanup() {
        keeper.reset();
        archive.reset();
    }

    // What the file holds after each step of a recording's life.
    void life_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("firstLine");
        QTest::addColumn<int>("lastLine");   // 0: no journal
        QTest::addColumn<int>("previous");   // rows of recording.journal.1, -1: none
        QTest::newRow("recorded and paused") << "start rec1-5 flush" << 1 << 5 << -1;
        QTest::newRow("nothing flushed yet") << "start rec1-5" << 1 << 0 << -1;
        QTest::newRow("a new start keeps the last") << "start rec1-3 flush start rec1-2 flush" << 1 << 2 << 3;
        QTest::newRow("saved, then continued") << "start rec1-4 flush save rec5-6 flush" << 1 << 6 << -1;
        QTest::newRow("saved and stopped") << "start rec1-4 flush save" << 1 << -1 << -1;
        QTest::newRow("cleared") << "start rec1-4 clear rec5-6 flush" << 1 << -1 << -1;
        QTest::newRow("another record loaded") << "start rec1-4 detach rec5-6 flush" << 1 << 4 << -1;
    }
    void life() {
        QFETCH(QString, steps);
        QFETCH(int, firstLine);
        QFETCH(int, lastLine);
        QFETCH(int, previous);
        for (const QString& step : steps.split(QLatin1Char(' '))) {
            if (step == QLatin1String("start")) {
                archive->truncate(0);
                keeper->begin();
            } else if (step.startsWith(QLatin1String("rec"))) {
                const QStringList range = step.mid(3).split(QLatin1Char('-'));
                record(range.at(0).toInt(), range.at(1).toInt());
            } else if (step == QLatin1String("flush")) {
                keeper->flush();
            } else if (step == QLatin1String("save")) {
                keeper->discard();
            } else if (step == QLatin1String("clear")) {
                keeper->clear();
            } else if (step == QLatin1String("detach")) {
                keeper->detach();
            }
        }
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join(QLatin1Char('\n'))));
        if (lastLine < 0) {
            QVERIFY(!QFile::exists(journal::fileName()));
        } else {
            QCOMPARE(fileBytes(journal::fileName()), lines(*archive, firstLine, lastLine));
        }
        if (previous < 0)
            QVERIFY(!QFile::exists(journal::previousFileName()));
        else
            QCOMPARE(int(fileBytes(journal::previousFileName()).count('\n')), previous);
    }

    void writeFailureIsToldOnce() {
        // The journal's name leads into a folder that does not exist: it cannot be made.
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("no/such/folder")), journal::fileName()));
        keeper->begin();
        record(1, 3);
        keeper->flush();
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors.first().contains(journal::fileName()));
        QVERIFY(QFile::remove(journal::fileName()));
    }
};

QTEST_GUILESS_MAIN(TestJournalKeeper)
#include "test_journalkeeper.moc"
