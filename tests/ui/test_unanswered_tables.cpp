// Table, curve and live point transfers against a demo module that falls silent or starts
// refusing writes in the middle: each ends within the answer watch's bound with its message
// in the alarm colour, the log line with the last command and a free interface; a read
// keeps the cells it stored and says how many, a write says how many the module took and
// leaves a partial copy in the history, never a complete one; and the transfer can be run
// again.
#include "curvetest.h"
#include "tabletest.h"
#include "unansweredtest.h"

#include "tables/tablecodec.h"
#include "tables/tablefiles.h"

#include <QProgressBar>

Q_DECLARE_METATYPE(TableKind)
Q_DECLARE_METATYPE(ut::Fault)

namespace {

// The module's old cells: bytes 1..127, so that no old cell reads as 0 (byte 128) and none
// equals the new values the writes send.
int oldCell(int c, int r) { return 1 + (c * 37 + r * 101) % 127; }
int oldPoint(int curve, int i) { return 1 + (i * 29 + curve * 7) % 200; }

// The count in a status text ("..., записано 23 из 64"), or -1.
int countIn(const QString& status, const QString& word) {
    const QRegularExpression re(word + QStringLiteral(" (\\d+) из 64$"));
    const QRegularExpressionMatch m = re.match(status);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QStringList fileLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {QStringLiteral("(missing)")};
    return QString::fromLocal8Bit(f.readAll()).split(QStringLiteral("\r\n"));
}

} // namespace

class TestUnansweredTables : public QObject {
    Q_OBJECT
    std::unique_ptr<TForm1> w;
    QStringList errors;

  private slots:
    void init() {
        QLocale::setDefault(QLocale(QStringLiteral("ru_RU")));
        wt::freshConfiguration();
        QDir(QStringLiteral("history")).removeRecursively();
        w = std::make_unique<TForm1>();
        errors.clear();
        w->Ctx.error = [this](const QString& text) { errors << text; };
        w->Ctx.confirm = [](QDialog*) { return true; };
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    void cleanup() {
        w.reset();
        QLocale::setDefault(QLocale::c());
    }

    // A table read or write that the module leaves part way.
    void tableTransfers_data() {
        QTest::addColumn<TableKind>("kind");
        QTest::addColumn<bool>("write");
        QTest::addColumn<ut::Fault>("fault");
        QTest::addColumn<QString>("operation");
        QTest::newRow("MAF read, silent") << TableKind::Maf << false << ut::Fault::Silent
                                          << "чтение таблицы MAF (MAP), прочитано";
        QTest::newRow("Lambda write, refusing") << TableKind::Lambda << true << ut::Fault::Refusing
                                                << "запись таблицы Лямбда, записано";
        QTest::newRow("voltage write, silent") << TableKind::Voltage << true << ut::Fault::Silent
                                               << "запись таблицы напряжений, записано";
    }
    void tableTransfers() {
        QFETCH(TableKind, kind);
        QFETCH(bool, write);
        QFETCH(ut::Fault, fault);
        QFETCH(QString, operation);
        sim::SimModule* m = tt::openWithCells(*w, kind, oldCell);
        QVERIFY(m);
        tt::viewButton(*w, kind)->click();
        // What a write sends: Lambda +5 (byte 133), the voltage 2,5 V (byte 130).
        const QString newText = kind == TableKind::Voltage ? QStringLiteral("2,5") : QStringLiteral("5");
        const int newByte = kind == TableKind::Voltage ? 130 : 133;
        if (write) tt::forEachCell([&](int c, int r) { w->Panel_3D->setCellText(c, r, newText); });
        m->clearReceived();
        QTimer* timer = write ? tt::writeTimer(*w, kind) : tt::readTimer(*w, kind);
        QTest::mouseClick(write ? tt::writeButton(*w, kind) : tt::readButton(*w, kind), Qt::LeftButton);
        QVERIFY(timer->isActive());
        QElapsedTimer since;
        QVERIFY(ut::faultAfter(m, 20, fault, &since));
        QTRY_VERIFY_WITH_TIMEOUT(!timer->isActive(), ut::EndBoundMs);
        if (fault == ut::Fault::Silent)
            QVERIFY2(since.elapsed() >= Exchange::SilenceMs - 300, qPrintable(QString::number(since.elapsed())));

        const QString status = w->StatusBar_Bottom->panelText(3);
        const int done = countIn(status, write ? QStringLiteral("записано") : QStringLiteral("прочитано"));
        QVERIFY2(done >= 15 && done < 64, qPrintable(status));
        const QString fault1 = ut::checkReported(*w, m, ut::stallText(fault, operation) + QStringLiteral(" %1 из 64").arg(done));
        QVERIFY2(fault1.isEmpty(), qPrintable(fault1));
        QVERIFY(w->atb_Seans->isEnabled());
        QVERIFY(tt::readButton(*w, kind)->isEnabled());
        QCOMPARE(w->ProgressBar1->value(), 0);

        // The first `done` cells in the order of the walk went through, the others did not.
        const auto through = [done](int c, int r) { return (r - 1) * 8 + c - 1 < done; };
        if (write) {
            tt::forEachCell([&](int c, int r) {
                QCOMPARE(int(m->reg(tt::cellAddress(kind, c, r))), through(c, r) ? newByte : oldCell(c, r));
            });
        } else {
            const QString wrong = tt::checkRead(
                kind, m, [&](int c, int r) { return w->Panel_3D->cellText(c, r); },
                [&](int byte) { return tt::shownText(kind, byte); }, through);
            QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
            tt::forEachCell([&](int c, int r) {
                if (!through(c, r)) QCOMPARE(w->Panel_3D->cellText(c, r), QStringLiteral("0"));
            });
        }
        const TableKind hkind = kind == TableKind::Lambda ? TableKind::Lambda
                                    : kind == TableKind::Maf  ? TableKind::Maf
                                                              : TableKind::Voltage;
        QVERIFY(ut::copies(QString(), hkind, history::Direction::Written).isEmpty());
        const QStringList partial = ut::copies(QString(), hkind, history::Direction::WrittenPartial);
        if (!write) {
            QVERIFY(partial.isEmpty());
            return;
        }
        QCOMPARE(partial.size(), 1);
        QVERIFY(partial.first().endsWith(QStringLiteral("_written-partial.txt")));
        const QStringList lines = fileLines(partial.first());
        QCOMPARE(lines.size(), 65); // 64 lines, each ending in CR LF
        for (int i = 0; i < 64; ++i) QCOMPARE(lines.at(i), i < done ? newText : QString());

        // Once the module answers again, the same write goes through and the alarm goes.
        m->setFaults({});
        QTest::mouseClick(tt::writeButton(*w, kind), Qt::LeftButton);
        QVERIFY(!w->StatusBar_Bottom->alarm());
        QCOMPARE(w->StatusBar_Bottom->panelText(3), QString());
        QTRY_VERIFY_WITH_TIMEOUT(!timer->isActive(), 10000);
        QCOMPARE(ut::copies(QString(), hkind, history::Direction::Written).size(), 1);
        tt::forEachCell([&](int c, int r) { QCOMPARE(int(m->reg(tt::cellAddress(kind, c, r))), newByte); });
        QVERIFY(errors.isEmpty());
    }

    // A curve read (plain or filtered) or write that the module leaves part way.
    void curveTransfers_data() {
        QTest::addColumn<int>("curve");
        QTest::addColumn<bool>("filtered");
        QTest::addColumn<bool>("write");
        QTest::addColumn<ut::Fault>("fault");
        QTest::addColumn<QString>("operation");
        QTest::newRow("curve 1 read, silent") << 1 << false << false << ut::Fault::Silent
                                              << "чтение данных Лямбда 1, прочитано";
        QTest::newRow("curve 2 filtered read, silent") << 2 << true << false << ut::Fault::Silent
                                                       << "чтение данных Лямбда 2 через фильтр, прочитано";
        QTest::newRow("curve 2 write, refusing") << 2 << false << true << ut::Fault::Refusing
                                                 << "запись данных Лямбда 2, записано";
    }
    void curveTransfers() {
        QFETCH(int, curve);
        QFETCH(bool, filtered);
        QFETCH(bool, write);
        QFETCH(ut::Fault, fault);
        QFETCH(QString, operation);
        sim::SimModule* m = ct::openDemo(*w, oldPoint);
        QVERIFY(m);
        CurvePanel* p = ct::panel(*w, curve);
        if (filtered) QTest::mouseClick(p->ui.atb_Lambda_Filter_On, Qt::LeftButton);
        // Unread points keep a text no read gives; a write sends 2,5 V (byte 120).
        for (int i = 1; i <= 64; ++i) p->setPointText(i, write ? QStringLiteral("2,5") : QStringLiteral("9"));
        m->clearReceived();
        QTimer* timer = write ? ct::writeTimer(*w, curve) : ct::readTimer(*w, curve, filtered);
        QTest::mouseClick(write ? p->ui.atb_Emu_Out : p->ui.atb_Emu_In, Qt::LeftButton);
        QVERIFY(timer->isActive());
        QElapsedTimer since;
        QVERIFY(ut::faultAfter(m, filtered ? 60 : 20, fault, &since));
        QTRY_VERIFY_WITH_TIMEOUT(!timer->isActive(), ut::EndBoundMs);

        const QString status = w->StatusBar_Bottom->panelText(3);
        const int done = countIn(status, write ? QStringLiteral("записано") : QStringLiteral("прочитано"));
        QVERIFY2(done >= (filtered ? 6 : 15) && done < 64, qPrintable(status));
        const QString fault1 = ut::checkReported(*w, m, ut::stallText(fault, operation) + QStringLiteral(" %1 из 64").arg(done));
        QVERIFY2(fault1.isEmpty(), qPrintable(fault1));
        QVERIFY(p->ui.atb_Emu_In->isEnabled());
        QVERIFY(!p->Shape_0->isVisible());
        QCOMPARE(w->ProgressBar1->value(), 0);
        for (int i = 1; i <= 64; ++i) {
            const bool through = i <= done;
            if (write) {
                QCOMPARE(int(m->reg(ct::pointAddress(curve, i))), through ? 120 : oldPoint(curve, i));
            } else if (!through) {
                QCOMPARE(p->pointText(i), QStringLiteral("9"));
            } else {
                QStringList readable;
                for (int byte : ct::readableBytes(curve, m, i)) readable << ct::pointText(byte);
                QVERIFY2(readable.contains(p->pointText(i)), qPrintable(QString::number(i)));
            }
        }
        const TableKind hkind = curve == 2 ? TableKind::Curve2 : TableKind::Curve1;
        QCOMPARE(ut::copies(QString(), hkind, history::Direction::WrittenPartial).size(), write ? 1 : 0);
        QVERIFY(ut::copies(QString(), hkind, history::Direction::Written).isEmpty());
    }

    // Live points the module stops answering: stopped, reported, the buttons free.
    void livePoints() {
        sim::SimModule* m = ct::openDemo(*w);
        QVERIFY(m);
        m->clearReceived();
        QTest::mouseClick(w->Panel_Emu_2->ui.Btn_YellowPoints, Qt::LeftButton);
        QElapsedTimer since;
        QVERIFY(ut::faultAfter(m, 6, ut::Fault::Silent, &since));
        QTRY_VERIFY_WITH_TIMEOUT(!ct::liveTimer(*w, 2)->isActive(), ut::EndBoundMs);
        QVERIFY2(since.elapsed() >= Exchange::SilenceMs - 300, qPrintable(QString::number(since.elapsed())));
        const QString fault = ut::checkReported(*w, m, QStringLiteral("Модуль не отвечает: текущие точки Лямбда 2"));
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        QVERIFY(w->Panel_Emu_2->ui.Btn_YellowPoints->isEnabled());
        QVERIFY(w->atb_Seans->isEnabled());
    }
};

QTEST_MAIN(TestUnansweredTables)
#include "test_unanswered_tables.moc"
