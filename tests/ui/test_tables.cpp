// Reading and writing each correction table through the real window against the simulated
// module: the items in the order the module receives them, the grids against the module's
// memory, the curve grid the Lambda read fills, the confirmations and the interface lock.
#include "app/protocolpanel.h"
#include "dialogs/confirmations.h"
#include "tables/curvepanel.h"
#include "tabletest.h"

#include <QProgressBar>
#include <qcustomplot.h>

Q_DECLARE_METATYPE(TableKind)

class TestTables : public QObject {
    Q_OBJECT
    std::unique_ptr<TForm1> w;

private slots:
    void cleanup() {
        w.reset();
        QLocale::setDefault(QLocale::c());
    }

    void readThenWrite_data() {
        QTest::addColumn<TableKind>("kind");
        QTest::addColumn<QString>("locale");
        QTest::newRow("Lambda") << TableKind::Lambda << "ru_RU";
        QTest::newRow("MAF") << TableKind::Maf << "ru_RU";
        QTest::newRow("voltage") << TableKind::Voltage << "ru_RU";
        QTest::newRow("voltage, point locale") << TableKind::Voltage << "C";
    }
    void readThenWrite() {
        QFETCH(TableKind, kind);
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        wt::freshConfiguration();
        w = std::make_unique<TForm1>();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        sim::SimModule* m = tt::connectWithCells(*w, kind, tt::patternByte);
        QVERIFY(m);
        QTRY_VERIFY_WITH_TIMEOUT(tt::connected(*w), 6000);
        Table3DPanel* p = w->Panel_3D;
        tt::viewButton(*w, kind)->click();
        QCOMPARE(p->shownTable(), std::optional<TableKind>(kind));
        // Curve 1 shows some curve before: a Lambda read takes it away.
        QCustomPlot* chart = w->Panel_Emu->ui.Chart2D;
        chart->graph(0)->addData(1, 1.0);
        chart->graph(1)->addData(1, 1.0);
        m->clearReceived();

        // --- read
        QTest::mouseClick(tt::readButton(*w, kind), Qt::LeftButton);
        QVERIFY(tt::readTimer(*w, kind)->isActive());
        QVERIFY(!w->atb_Seans->isEnabled());
        QVERIFY(!tt::writeButton(*w, kind)->isEnabled());
        QVERIFY(!p->ui.gb_KorrTab->isEnabled()); // a register write would take over the exchange
        QTRY_VERIFY_WITH_TIMEOUT(!tt::readTimer(*w, kind)->isActive(), 6000);
        QVERIFY(w->atb_Seans->isEnabled());
        QVERIFY(p->ui.gb_KorrTab->isEnabled());
        QVERIFY(tt::readButton(*w, kind)->isEnabled());
        QCOMPARE(w->ProgressBar1->maximum(), 64);
        QCOMPARE(w->ProgressBar1->value(), 0);
        QCOMPARE(wt::distinctRuns(m->receivedItems()), tt::readItems(kind));
        // Every cell, its model cell and (Lambda) the curve point at its address hold the
        // same byte; the surface was handed the grid.
        const QString fault = tt::checkRead(
            kind, m,
            [&](int c, int r) {
                const QString shown = p->cellText(c, r);
                const QString model = p->modelGrid(kind).cell(c, r);
                QString curve;
                // A curve read puts the byte at the address of point i into point i.
                if (kind == TableKind::Lambda)
                    curve = w->Panel_Emu->pointText(tt::curve1PointAt(tt::cellAddress(kind, c, r)));
                return shown + QLatin1Char('|') + model + QLatin1Char('|') + curve;
            },
            [&](int byte) {
                // The voltage model keeps the full byte / 52; the others hold what is shown.
                const QString model = kind == TableKind::Voltage ? tt::number(byte / 52.0) : tt::shownText(kind, byte);
                const QString curve = kind == TableKind::Lambda ? tt::curveText(byte) : QString();
                return tt::shownText(kind, byte) + QLatin1Char('|') + model + QLatin1Char('|') + curve;
            });
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        QCOMPARE(p->ui.Panel_Space3D->cells(), p->tableCells());
        if (kind == TableKind::Lambda) {
            QCOMPARE(chart->graph(0)->dataCount(), 0);
            QCOMPARE(chart->graph(1)->dataCount(), 0);
        } else {
            QCOMPARE(chart->graph(0)->dataCount(), 1);
        }

        // --- edit, then write
        // Values of the table's domain, one beyond it (taken into the domain), and the
        // cells the read left at -128 / 127 or 0 / 4,9 V.
        QStringList texts;
        tt::forEachCell([&](int c, int r) {
            if (c == 2 && r == 1)
                texts << (kind == TableKind::Voltage ? QStringLiteral("7") : QStringLiteral("150"));
            else if ((c == 1 && r == 1) || (c == 8 && r == 8))
                texts << p->cellText(c, r);
            else if (kind == TableKind::Voltage)
                texts << tt::number(((c * 61 + r * 17) % 500) / 100.0);
            else
                texts << QString::number((c * 23 + r * 41) % 199 - 99);
        });
        auto wanted = [&](int c, int r) { return texts.at((r - 1) * 8 + c - 1); };
        auto expectedByte = [&](int c, int r) -> int {
            bool ok = false;
            if (kind == TableKind::Voltage) {
                const double v = std::clamp(QLocale().toDouble(wanted(c, r), &ok), 0.0, 5.0);
                return ok ? std::min(255, int(std::nearbyint(v * 52))) : -1;
            }
            const int v = wanted(c, r).toInt(&ok);
            return ok ? std::clamp(v, -99, 99) + 128 : -1;
        };
        tt::forEachCell([&](int c, int r) { p->setCellText(c, r, wanted(c, r)); });
        // The MAF write sends its model grid: the edits go there with Enter.
        if (kind == TableKind::Maf) QVERIFY(p->commitEdits());

        QStringList asked;
        w->Ctx.confirm = [&](QDialog* d) {
            asked << d->objectName();
            return true;
        };
        m->clearReceived();
        QTest::mouseClick(tt::writeButton(*w, kind), Qt::LeftButton);
        const QStringList dialog = kind == TableKind::Lambda ? QStringList{"fmPredupr0B"}
                                   : kind == TableKind::Maf  ? QStringList{"fmPredupr0A"}
                                                             : QStringList{};
        QCOMPARE(asked, dialog);
        QVERIFY(tt::writeTimer(*w, kind)->isActive());
        QVERIFY(!w->atb_Seans->isEnabled()); // every write locks, the voltage write too
        QTRY_VERIFY_WITH_TIMEOUT(!tt::writeTimer(*w, kind)->isActive(), 6000);
        QVERIFY(w->atb_Seans->isEnabled());
        QCOMPARE(w->ProgressBar1->value(), 0);

        QStringList items;
        tt::forEachCell([&](int c, int r) {
            const int byte = expectedByte(c, r);
            QVERIFY(byte >= 0 && byte <= 255);
            QCOMPARE(int(m->reg(tt::cellAddress(kind, c, r))), byte);
            items << writeItem(byte, tt::cellAddress(kind, c, r));
        });
        QCOMPARE(wt::distinctRuns(m->receivedItems()), items);

        if (kind == TableKind::Lambda) {
            // Two log lines for each cell after the first: the byte high digit first, then
            // as sent. Cell (2,1) is the first logged, (8,8) the last.
            const QStringList log = wt::logLines(*w);
            for (QPoint cell : {QPoint(2, 1), QPoint(5, 4), QPoint(8, 8)}) {
                const int byte = expectedByte(cell.x(), cell.y());
                const QString high = QString::asprintf("%02X", byte);
                const QString sent = QString(high.at(1)) + high.at(0);
                bool found = false;
                for (int i = 0; i + 1 < log.size() && !found; ++i)
                    found = log.at(i) == high && log.at(i + 1) == sent;
                QVERIFY2(found, qPrintable(high));
            }
        }
    }
};

QTEST_MAIN(TestTables)
#include "test_tables.moc"
