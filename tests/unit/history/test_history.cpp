// The module's history store: the folder an identifier gets, the names of the copies,
// that no copy is ever replaced, that a copy that cannot be written is told, and the
// listing that finds the copies again (and nothing else).
#include "history/history.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace history;

Q_DECLARE_METATYPE(TableKind)
Q_DECLARE_METATYPE(history::Direction)

namespace {
QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}
const QDateTime kWhen(QDate(2026, 5, 14), QTime(9, 12, 3));
} // namespace

class TestHistory : public QObject {
    Q_OBJECT
private slots:
    void folderNames_data() {
        QTest::addColumn<QString>("identifier");
        QTest::addColumn<QString>("folder");
        QTest::newRow("plain") << "TR-70A03" << "TR-70A03";
        QTest::newRow("blanks at the ends") << "  TR-90B1 " << "TR-90B1";
        QTest::newRow("separators") << "TR/70\\A:0*" << "TR_70_A_0_";
        QTest::newRow("blank inside") << "TR 70" << "TR_70";
        QTest::newRow("not ASCII") << QString::fromUtf8("TR-7ÿ\x01") << "TR-7__";
        QTest::newRow("empty") << "" << "unknown";
        QTest::newRow("only blanks") << "        " << "unknown";
        QTest::newRow("dot") << "." << "unknown";
        QTest::newRow("dot dot") << ".." << "unknown";
        QTest::newRow("dots in a name") << "..TR" << "..TR";
        QTest::newRow("too long for a folder") << QString(300, QLatin1Char('A')) << QString(64, QLatin1Char('A'));
        QTest::newRow("long, blanks first") << QStringLiteral("  ") + QString(70, QLatin1Char('/')) << QString(64, QLatin1Char('_'));
    }
    void folderNames() {
        QFETCH(QString, identifier);
        QFETCH(QString, folder);
        QCOMPARE(folderName(identifier), folder);
        QVERIFY(!history::folder("/r", identifier).contains(QStringLiteral("/../")));
    }

    void fileNames_data() {
        QTest::addColumn<TableKind>("kind");
        QTest::addColumn<Direction>("direction");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("Lambda read") << TableKind::Lambda << Direction::Read << "2026-05-14_09-12-03_Lambda_read.txt"
                                     << "*_Lambda_*.txt";
        QTest::newRow("MAF written") << TableKind::Maf << Direction::Written << "2026-05-14_09-12-03_MAF_written.txt"
                                     << "*_MAF_*.txt";
        QTest::newRow("MAF written in part") << TableKind::Maf << Direction::WrittenPartial
                                             << "2026-05-14_09-12-03_MAF_written-partial.txt" << "*_MAF_*.txt";
        QTest::newRow("Volt read") << TableKind::Voltage << Direction::Read << "2026-05-14_09-12-03_Volt_read.txt"
                                   << "*_Volt_*.txt";
        QTest::newRow("Emu1 written") << TableKind::Curve1 << Direction::Written << "2026-05-14_09-12-03_Emu1_written.txt"
                                      << "*_Emu1_*.txt";
        QTest::newRow("Emu2 read") << TableKind::Curve2 << Direction::Read << "2026-05-14_09-12-03_Emu2_read.txt"
                                   << "*_Emu2_*.txt";
        QTest::newRow("settings") << TableKind::Settings << Direction::Written << "2026-05-14_09-12-03_settings_written.txt"
                                  << "*_settings_*.txt";
    }
    void fileNames() {
        QFETCH(TableKind, kind);
        QFETCH(Direction, direction);
        QFETCH(QString, name);
        QFETCH(QString, pattern);
        QCOMPARE(fileName(kWhen, kind, direction), name);
        QCOMPARE(copyPattern(kind), pattern);
        QVERIFY(QDir::match(pattern, name));
    }

    void keepAndList() {
        QTemporaryDir root;
        QString path, error;
        QVERIFY(keep(root.path(), "TR-70A03", TableKind::Lambda, Direction::Read, "first", kWhen, &path, &error, false));
        QCOMPARE(path, root.filePath("history/TR-70A03/2026-05-14_09-12-03_Lambda_read.txt"));
        QCOMPARE(fileBytes(path), QByteArray("first"));
        // The same kind in the same second: a second file, the first one stays.
        QVERIFY(keep(root.path(), "TR-70A03", TableKind::Lambda, Direction::Read, "second", kWhen, &path, &error, false));
        QCOMPARE(path, root.filePath("history/TR-70A03/2026-05-14_09-12-03_Lambda_read_2.txt"));
        QCOMPARE(fileBytes(root.filePath("history/TR-70A03/2026-05-14_09-12-03_Lambda_read.txt")), QByteArray("first"));
        QVERIFY(keep(root.path(), "TR-70A03", TableKind::Settings, Direction::Written, "s", kWhen.addSecs(-60), &path,
                     &error, false));
        QVERIFY(keep(root.path(), "TR-90B01", TableKind::Maf, Direction::Read, "other", kWhen, &path, &error, false));
        // A partial write is listed as one, never as a complete write; a second one in the
        // same second keeps its kind of name.
        for (const char* bytes : {"part", "part again"})
            QVERIFY(keep(root.path(), "TR-90B01", TableKind::Curve2, Direction::WrittenPartial, bytes, kWhen.addSecs(5), &path,
                         &error, false));
        QVERIFY(path.endsWith(QStringLiteral("_Emu2_written-partial_2.txt")));
        // Files of other programs, and names that only look like copies, are not listed.
        for (const char* stray : {"notes.txt", "2026-05-14_09-12-03_Foo_read.txt", "2026-13-40_09-12-03_MAF_read.txt",
                                  "2026-05-14_09-12-03_MAF_read.txt.bak"}) {
            QFile f(root.filePath(QStringLiteral("history/TR-70A03/") + stray));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        const QList<Entry> entries = list(root.path(), "TR-70A03");
        QCOMPARE(entries.size(), 3);
        QCOMPARE(entries[0].kind, TableKind::Settings);
        QCOMPARE(entries[0].direction, Direction::Written);
        QCOMPARE(entries[0].when, kWhen.addSecs(-60));
        QCOMPARE(fileBytes(entries[1].path), QByteArray("first"));
        QCOMPARE(fileBytes(entries[2].path), QByteArray("second"));
        QCOMPARE(entries[2].kind, TableKind::Lambda);
        const QList<Entry> other = list(root.path(), "TR-90B01");
        QCOMPARE(other.size(), 3);
        QCOMPARE(other[1].direction, Direction::WrittenPartial);
        QCOMPARE(fileBytes(other[2].path), QByteArray("part again"));
        QCOMPARE(other[2].direction, Direction::WrittenPartial);
        QVERIFY(list(root.path(), "nobody").isEmpty());
    }

    void keepFailure() {
        QTemporaryDir root;
        // A file where the history folder should be.
        QFile blocker(root.filePath("history"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QString path, error;
        QVERIFY(!keep(root.path(), "TR-70A03", TableKind::Maf, Direction::Written, "x", kWhen, &path, &error, true));
        QVERIFY(error.startsWith(QStringLiteral("The copy for the module's history cannot be written")));
        QVERIFY(path.isEmpty());
        QVERIFY(!keep(root.path(), "TR-70A03", TableKind::Maf, Direction::Written, "x", kWhen, &path, &error, false));
        QVERIFY(error.startsWith(QStringLiteral("Не удалось записать копию")));
    }

    // The copy at the current directory: a failure reaches the report with its reason, a
    // copy written reports nothing, and no report to hand it to is no crash.
    void keepHereReports_data() {
        QTest::addColumn<bool>("blocked");
        QTest::addColumn<bool>("withReport");
        QTest::newRow("written") << false << true;
        QTest::newRow("blocked") << true << true;
        QTest::newRow("blocked, nobody to tell") << true << false;
    }
    void keepHereReports() {
        QFETCH(bool, blocked);
        QFETCH(bool, withReport);
        QTemporaryDir root;
        if (blocked) {
            QFile blocker(root.filePath("history"));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        }
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(root.path()));
        QStringList reports;
        const bool kept = keepHere("TR-70A03", TableKind::Curve1, Direction::WrittenPartial, "x", true,
                                   withReport ? std::function<void(const QString&)>(
                                                    [&](const QString& e) { reports << e; })
                                              : nullptr);
        QVERIFY(QDir::setCurrent(before));
        QCOMPARE(kept, !blocked);
        QCOMPARE(reports.size(), blocked && withReport ? 1 : 0);
        if (!reports.isEmpty())
            QVERIFY(reports.first().startsWith(QStringLiteral("The copy for the module's history cannot be written")));
        QCOMPARE(list(root.path(), "TR-70A03").size(), blocked ? 0 : 1);
    }
};

QTEST_GUILESS_MAIN(TestHistory)
#include "test_history.moc"
