// What a work report takes from the module's history: each copy checked before it is used
// (a damaged one is named and skipped, never trusted), the state before and after the work
// chosen per kind, the differences cell by cell and register by register, and the days a
// report of earlier work may start on.
#include "report/reportcontent.h"

#include <QTemporaryDir>
#include <QtTest>

using history::Direction;
using Kind = TableKind;
using report::Fault;

namespace {

QByteArray lines(const QStringList& texts) {
    QByteArray out;
    for (const QString& t : texts) out += t.toUtf8() + "\r\n";
    return out;
}

// 64 lines: the pattern, with line `at` (1-based) replaced by `text` when at > 0.
QByteArray cells(const std::function<QString(int)>& text, int at = 0, const QString& replaced = {}) {
    QStringList l;
    for (int i = 1; i <= 64; ++i) l << (i == at ? replaced : text(i));
    return lines(l);
}

QString whole(int i) { return QString::number(i * 4 - 128); }        // -124 .. 128 (64 -> 128)
QString safeWhole(int i) { return QString::number(i * 3 - 100); }    // -97 .. 92
QString volts(int i) { return QString::number(i * 3 / 52.0, 'g', 17); }
QString curve(int i) { return QString::number(std::min(500, i * 100 / 14) / 100.0); }

const QDateTime kSince(QDate(2026, 5, 14), QTime(9, 0, 0));

// One copy of a scenario: kind, direction, seconds from the start of the work, the bytes it
// holds (a single value repeated, with cell 0 set to `first`) or damaged.
struct Planned {
    Kind kind;
    Direction dir;
    int at;
    int first = 0;
    bool damaged = false;
};

QString pathOf(int i) { return QStringLiteral("/h/copy%1.txt").arg(i); }

// The copies in time order and a reader that answers from the planned.
struct Scenario {
    QList<history::Entry> entries;
    QList<Planned> planned;
    report::CopyReader reader() const {
        return [planned = planned](const history::Entry& e, report::Copy* copy, report::Damaged* d) {
            const int i = e.path.mid(7).chopped(4).toInt();
            const Planned& s = planned.at(i);
            if (s.damaged) {
                d->path = e.path;
                d->fault = Fault::NotNumber;
                d->line = 3;
                return false;
            }
            copy->entry = e;
            if (s.kind == Kind::Settings) {
                copy->registers = {{0x04, s.first}, {0x0F, 45}};
            } else {
                copy->bytes = QList<int>(64, 100);
                copy->bytes[0] = s.first;
            }
            return true;
        };
    }
};

Scenario scenario(const QList<Planned>& planned) {
    Scenario s;
    s.planned = planned;
    for (int i = 0; i < planned.size(); ++i)
        s.entries << history::Entry{pathOf(i), kSince.addSecs(planned.at(i).at), planned.at(i).kind, planned.at(i).dir};
    return s;
}

int indexOf(const report::Side& side) {
    if (!side.present) return -1;
    return side.copy.entry.path.mid(7).chopped(4).toInt();
}

} // namespace

Q_DECLARE_METATYPE(Kind)
Q_DECLARE_METATYPE(Fault)
Q_DECLARE_METATYPE(QList<Planned>)
Q_DECLARE_METATYPE(QList<report::Change>)

class TestReportContent : public QObject {
    Q_OBJECT
private slots:
    void parsing_data() {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("firstByte");
        QTest::addColumn<int>("lastByte");

        const QByteArray lambda = cells(safeWhole);
        QTest::newRow("Lambda table") << Kind::Lambda << lambda << true << Fault::NotNumber << 0 << 31 << 220;
        QTest::newRow("MAF table, -128 and 127 at the ends")
            << Kind::Maf << cells(safeWhole, 64, QStringLiteral("127")).replace("-97\r\n", "-128\r\n") << true
            << Fault::NotNumber << 0 << 0 << 255;
        QTest::newRow("MAF 128 is beyond a byte") << Kind::Maf << cells(whole) << false << Fault::OutOfRange << 64 << 0 << 0;
        QTest::newRow("MAF 12.5 is no whole number")
            << Kind::Maf << cells(safeWhole, 7, QStringLiteral("12.5")) << false << Fault::NotNumber << 7 << 0 << 0;
        QTest::newRow("an empty cell") << Kind::Lambda << cells(safeWhole, 9, QString()) << false << Fault::NotNumber
                                       << 9 << 0 << 0;
        QTest::newRow("a word") << Kind::Lambda << cells(safeWhole, 2, QStringLiteral("abc")) << false
                                << Fault::NotNumber << 2 << 0 << 0;
        QTest::newRow("voltage table at full precision")
            << Kind::Voltage << cells(volts) << true << Fault::NotNumber << 0 << 3 << 192;
        QTest::newRow("voltage with a comma") << Kind::Voltage << cells(volts, 1, QStringLiteral("2,5")) << true
                                              << Fault::NotNumber << 0 << 130 << 192;
        QTest::newRow("negative voltage") << Kind::Voltage << cells(volts, 5, QStringLiteral("-1")) << false
                                          << Fault::OutOfRange << 5 << 0 << 0;
        QTest::newRow("voltage beyond a byte") << Kind::Voltage << cells(volts, 6, QStringLiteral("5")) << false
                                               << Fault::OutOfRange << 6 << 0 << 0;
        QTest::newRow("curve points") << Kind::Curve1 << cells(curve) << true << Fault::NotNumber << 0 << 3 << 219;
        QTest::newRow("curve point of 2,35 V is byte 113")
            << Kind::Curve2 << cells(curve, 1, QStringLiteral("2,35")) << true << Fault::NotNumber << 0 << 113 << 219;
        QTest::newRow("curve point beyond 5 V") << Kind::Curve1 << cells(curve, 10, QStringLiteral("5.01")) << false
                                                << Fault::OutOfRange << 10 << 0 << 0;
        QTest::newRow("curve point empty") << Kind::Curve1 << cells(curve, 3, QStringLiteral(" ")) << false
                                           << Fault::NotNumber << 3 << 0 << 0;
        QTest::newRow("63 lines") << Kind::Maf << lambda.left(lambda.lastIndexOf("\r\n", lambda.size() - 3) + 2)
                                  << false << Fault::Missing << 64 << 0 << 0;
        QTest::newRow("a NUL byte") << Kind::Maf << QByteArray("12\r\n1\0003\r\n", 9) << false << Fault::NotText << 2
                                    << 0 << 0;
        QTest::newRow("a line far too long") << Kind::Curve1 << (QByteArray(600, '1') + "\r\n") << false
                                             << Fault::TooLong << 1 << 0 << 0;
        QTest::newRow("far too large") << Kind::Maf << (lambda + QByteArray(report::MaxCopyBytes, '\n')) << false
                                       << Fault::TooLarge << 0 << 0 << 0;

        const QByteArray settings = lines({QStringLiteral("EEPROM-00 =  0001 0000"),
                                           QStringLiteral("EEPROM-0F =  1011 0100")});
        QTest::newRow("settings") << Kind::Settings << settings << true << Fault::NotNumber << 0 << 8 << 45;
        QTest::newRow("settings: lower-case register")
            << Kind::Settings << lines({QStringLiteral("EEPROM-0f =  1011 0100")}) << false << Fault::BadLine << 1
            << 0 << 0;
        QTest::newRow("settings: a register twice")
            << Kind::Settings << (settings + lines({QStringLiteral("EEPROM-00 =  0000 0000")})) << false
            << Fault::BadLine << 3 << 0 << 0;
        QTest::newRow("settings: a bit that is no bit")
            << Kind::Settings << lines({QStringLiteral("EEPROM-04 =  0012 0000")}) << false << Fault::BadLine << 1
            << 0 << 0;
        QTest::newRow("settings: one blank too few")
            << Kind::Settings << lines({QStringLiteral("EEPROM-04 = 0010 0000")}) << false << Fault::BadLine << 1 << 0
            << 0;
        QTest::newRow("settings: nothing") << Kind::Settings << QByteArray() << false << Fault::Empty << 0 << 0 << 0;
        QTest::newRow("settings: binary") << Kind::Settings << QByteArray("EEPROM\0", 7) << false << Fault::NotText
                                          << 1 << 0 << 0;
    }
    void parsing() {
        QFETCH(Kind, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, ok);
        report::Copy copy;
        report::Damaged d;
        QCOMPARE(report::parseCopy(kind, bytes, &copy, &d), ok);
        if (!ok) {
            QFETCH(Fault, fault);
            QFETCH(int, line);
            QCOMPARE(d.fault, fault);
            QCOMPARE(d.line, line);
            return;
        }
        QFETCH(int, firstByte);
        QFETCH(int, lastByte);
        if (kind == Kind::Settings) {
            QCOMPARE(copy.registers.value(0x00), firstByte);
            QCOMPARE(copy.registers.value(0x0F), lastByte);
            QCOMPARE(copy.registers.size(), 2);
        } else {
            QCOMPARE(copy.bytes.size(), 64);
            QCOMPARE(copy.bytes.first(), firstByte);
            QCOMPARE(copy.bytes.last(), lastByte);
        }
    }

    // A file that cannot be opened is named with the system's reason.
    void unreadableFile() {
        QTemporaryDir dir;
        const history::Entry e{dir.filePath(QStringLiteral("gone.txt")), kSince, Kind::Maf, Direction::Read};
        report::Damaged d;
        QVERIFY(!report::readCopy(e, nullptr, &d));
        QCOMPARE(d.fault, Fault::Unreadable);
        QCOMPARE(d.path, e.path);
        QVERIFY(!d.reason.isEmpty());
    }

    void choosing_data() {
        QTest::addColumn<QList<Planned>>("planned");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<int>("before");   // index of the copy, -1 none
        QTest::addColumn<bool>("earlier");
        QTest::addColumn<int>("after");
        QTest::addColumn<int>("changes");
        QTest::addColumn<QStringList>("damaged");

        using K = Kind;
        const auto R = Direction::Read, W = Direction::Written;
        QTest::newRow("read, then written") << QList<Planned>{{K::Maf, R, 10, 1}, {K::Maf, W, 20, 2}} << K::Maf << 0
                                            << false << 1 << 1 << QStringList{};
        QTest::newRow("written the same") << QList<Planned>{{K::Maf, R, 10, 1}, {K::Maf, W, 20, 1}} << K::Maf << 0
                                          << false << 1 << 0 << QStringList{};
        QTest::newRow("read only") << QList<Planned>{{K::Lambda, R, 5, 1}, {K::Lambda, R, 50, 9}} << K::Lambda << 0
                                   << false << -1 << 0 << QStringList{};
        QTest::newRow("the last write counts")
            << QList<Planned>{{K::Curve1, R, 1, 1}, {K::Curve1, W, 2, 2}, {K::Curve1, R, 3, 2}, {K::Curve1, W, 4, 1}} << K::Curve1
            << 0 << false << 3 << 0 << QStringList{};
        QTest::newRow("written without a read: the copy before the work")
            << QList<Planned>{{K::Voltage, R, -3600, 7}, {K::Voltage, W, 30, 8}} << K::Voltage << 0 << true << 1 << 1
            << QStringList{};
        QTest::newRow("written first, read later: still the copy before the work")
            << QList<Planned>{{K::Voltage, W, -7200, 5}, {K::Voltage, W, 30, 8}, {K::Voltage, R, 40, 8}} << K::Voltage << 0 << true
            << 1 << 1 << QStringList{};
        QTest::newRow("written, nothing before") << QList<Planned>{{K::Curve2, W, 0, 8}} << K::Curve2 << -1 << false << 0
                                                 << 0 << QStringList{};
        QTest::newRow("only earlier work: not in the report")
            << QList<Planned>{{K::Maf, R, -10, 1}, {K::Maf, W, -5, 2}} << K::Maf << -2 << false << -2 << 0
            << QStringList{};
        QTest::newRow("the start's own second belongs to the work")
            << QList<Planned>{{K::Maf, R, 0, 1}, {K::Maf, W, 1, 3}} << K::Maf << 0 << false << 1 << 1 << QStringList{};
        QTest::newRow("a damaged read is skipped and named")
            << QList<Planned>{{K::Maf, R, 5, 1, true}, {K::Maf, R, 6, 1}, {K::Maf, W, 7, 3}} << K::Maf << 1 << false << 2
            << 1 << QStringList{pathOf(0)};
        QTest::newRow("a damaged write: the write before it stands")
            << QList<Planned>{{K::Maf, R, 5, 1}, {K::Maf, W, 6, 4}, {K::Maf, W, 7, 9, true}} << K::Maf << 0 << false << 1
            << 1 << QStringList{pathOf(2)};
        QTest::newRow("the only read damaged: the copy before the work")
            << QList<Planned>{{K::Maf, R, -50, 6}, {K::Maf, W, -40, 2, true}, {K::Maf, R, 5, 1, true},
                           {K::Maf, W, 7, 3}}
            << K::Maf << 0 << true << 3 << 1 << QStringList{pathOf(2), pathOf(1)};
        QTest::newRow("every copy damaged: not in the report, all named")
            << QList<Planned>{{K::Lambda, R, 1, 1, true}, {K::Lambda, W, 2, 1, true}} << K::Lambda << -2 << false << -2
            << 0 << QStringList{pathOf(0), pathOf(1)};
        QTest::newRow("settings: now is the last copy, read or written")
            << QList<Planned>{{K::Settings, R, 1, 100}, {K::Settings, W, 2, 101}, {K::Settings, R, 3, 102}}
            << K::Settings << 0 << false << 2 << 1 << QStringList{};
        QTest::newRow("settings read once: nothing changed")
            << QList<Planned>{{K::Settings, R, 1, 100}} << K::Settings << 0 << false << 0 << 0 << QStringList{};
        QTest::newRow("other kinds do not mix in")
            << QList<Planned>{{K::Maf, R, 1, 1}, {K::Lambda, W, 2, 5}, {K::Maf, W, 3, 1}} << K::Maf << 0 << false << 2
            << 0 << QStringList{};
    }
    void choosing() {
        QFETCH(QList<Planned>, planned);
        QFETCH(Kind, kind);
        QFETCH(int, before);
        QFETCH(bool, earlier);
        QFETCH(int, after);
        QFETCH(int, changes);
        QFETCH(QStringList, damaged);
        const Scenario s = scenario(planned);
        // The start lies within its second, as the program's start does.
        const report::Content c = report::choose(s.entries, kSince.addMSecs(700), s.reader());
        QStringList named;
        for (const report::Damaged& d : c.damaged) named << d.path;
        QCOMPARE(named, damaged);
        const report::Part* p = c.part(kind);
        if (before == -2) {
            QVERIFY(!p);
            return;
        }
        QVERIFY(p);
        QCOMPARE(indexOf(p->before), before);
        QCOMPARE(p->before.earlier, earlier);
        QCOMPARE(indexOf(p->after), after);
        QCOMPARE(p->changes.size(), changes);
        QCOMPARE(c.changed(), changes > 0 && c.parts.size() == 1);
    }

    // The parts come in report order, and the work's first and last copies span them all.
    void orderAndSpan() {
        using K = Kind;
        const Scenario s = scenario({{K::Curve2, Direction::Read, 3}, {K::Maf, Direction::Read, 9},
                                     {K::Settings, Direction::Read, 1}, {K::Lambda, Direction::Written, 40},
                                     {K::Maf, Direction::Read, -100}});
        const report::Content c = report::choose(s.entries, kSince, s.reader());
        QList<K> kinds;
        for (const report::Part& p : c.parts) kinds << p.kind;
        QCOMPARE(kinds, (QList<K>{K::Settings, K::Lambda, K::Maf, K::Curve2}));
        QCOMPARE(c.first, kSince.addSecs(1));
        QCOMPARE(c.last, kSince.addSecs(40));
        QVERIFY(report::choose({}, kSince, s.reader()).parts.isEmpty());
    }

    void comparing_data() {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QList<int>>("before");
        QTest::addColumn<QList<int>>("after");
        QTest::addColumn<QList<report::Change>>("changes");
        QList<int> a(64, 128), b = a;
        b[0] = 129;
        b[63] = 0;
        QTest::newRow("cells at both ends") << Kind::Maf << a << b
                                            << QList<report::Change>{{0, 128, 129}, {63, 128, 0}};
        QTest::newRow("no difference") << Kind::Curve1 << a << a << QList<report::Change>{};
        // Registers: register number, value before (-1 missing) and after.
        QTest::newRow("registers") << Kind::Settings << QList<int>{0x04, 100, 0x0F, 45, 0x13, 41}
                                   << QList<int>{0x04, 100, 0x0F, 46, 0x18, 4}
                                   << QList<report::Change>{{0x0F, 45, 46}, {0x13, 41, -1}, {0x18, -1, 4}};
    }
    void comparing() {
        QFETCH(Kind, kind);
        QFETCH(QList<int>, before);
        QFETCH(QList<int>, after);
        QFETCH(QList<report::Change>, changes);
        report::Copy x, y;
        if (kind == Kind::Settings) {
            for (int i = 0; i < before.size(); i += 2) x.registers.insert(before.at(i), before.at(i + 1));
            for (int i = 0; i < after.size(); i += 2) y.registers.insert(after.at(i), after.at(i + 1));
        } else {
            x.bytes = before;
            y.bytes = after;
        }
        QCOMPARE(report::compare(kind, x, y), changes);
    }

    void workDays() {
        const QDateTime day1(QDate(2026, 5, 1), QTime(23, 59, 59));
        const QDateTime day2a(QDate(2026, 5, 2), QTime(0, 0, 0)), day2b(QDate(2026, 5, 2), QTime(8, 0, 0));
        const QList<history::Entry> copies{{pathOf(0), day1, Kind::Maf, Direction::Read},
                                           {pathOf(1), day2a, Kind::Settings, Direction::Read},
                                           {pathOf(2), day2b, Kind::Maf, Direction::Written}};
        QCOMPARE(report::workDays(copies), (QList<QDateTime>{day2a, day1}));
        QVERIFY(report::workDays({}).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestReportContent)
#include "test_reportcontent.moc"
