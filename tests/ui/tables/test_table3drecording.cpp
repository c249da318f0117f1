// The table panel's views of a recording on their own: the frame of the operating point on
// both load axes and its trail on the surface, renders of the surface only for a changed
// point and never while hidden, and the statistics overlay with its actions, tool tips and
// the grid given back as it was.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QStyledItemDelegate>
#include <QtTest>

#include "tables/table3dpanel.h"

namespace {
analysis::CellGrid sampleGrid() {
    analysis::CellGrid g(analysis::speedAxis(), analysis::mafVoltageAxis());
    g.add(940, 1.9, 0.25);
    g.add(1000, 2.1, 0.75);
    g.add(10000, 4.4, -0.5);
    return g;
}
} // namespace

class TestTable3DRecording : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("ru_RU"))); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    // The framed cell follows the newest sample on the load axis in force, and moves when
    // the axis changes; the surface gets the trail as positions between the breakpoints.
    void operatingPoint_data() {
        QTest::addColumn<bool>("maf");
        QTest::addColumn<double>("speed");
        QTest::addColumn<double>("volts");
        QTest::addColumn<double>("ms");
        QTest::addColumn<QPoint>("cell");
        QTest::addColumn<QPointF>("position");
        QTest::newRow("MAF 1000 rpm 2 V") << true << 1000.0 << 2.0 << 6.0 << QPoint(3, 4) << QPointF(3 + 60.0 / 260, 4 + 0.1 / 0.6);
        QTest::newRow("MAF beyond the ends") << true << 20000.0 << -1.0 << 6.0 << QPoint(8, 1) << QPointF(8, 1);
        QTest::newRow("injection 1000 rpm 6 ms") << false << 1000.0 << 2.0 << 6.0 << QPoint(3, 6) << QPointF(3 + 60.0 / 260, 6.5);
        QTest::newRow("injection tie 2,0 ms") << false << 725.0 << 0.0 << 2.0 << QPoint(1, 1) << QPointF(1.5, 1.5);
    }
    void operatingPoint() {
        QFETCH(bool, maf);
        QFETCH(double, speed);
        QFETCH(double, volts);
        QFETCH(double, ms);
        QFETCH(QPoint, cell);
        QFETCH(QPointF, position);
        Table3DPanel panel;
        panel.setLoadAxis(maf);
        QVERIFY(!panel.operatingCell());
        panel.addOperatingPoint(670, 0, 1.6);
        panel.addOperatingPoint(speed, volts, ms);
        QCOMPARE(panel.operatingCell(), std::optional<QPoint>(cell));
        const QList<QPointF> trail = panel.ui.Panel_Space3D->operatingTrail();
        QCOMPARE(trail.size(), 2);
        QCOMPARE(trail.first(), QPointF(1, 1));
        QVERIFY2(qAbs(trail.last().x() - position.x()) < 1e-9 && qAbs(trail.last().y() - position.y()) < 1e-9,
                 qPrintable(QStringLiteral("%1 %2").arg(trail.last().x()).arg(trail.last().y())));

        // The other axis, as the load button sets it: the same sample in another row.
        panel.setLoadAxis(!maf);
        const int otherRow = analysis::nearestIndex(analysis::loadAxis(!maf), maf ? ms : volts) + 1;
        QTRY_COMPARE(panel.operatingCell().value_or(QPoint()).y(), otherRow);
        QCOMPARE(panel.operatingCell()->x(), cell.x());

        panel.clearOperatingPoint();
        QVERIFY(!panel.operatingCell());
        QVERIFY(panel.ui.Panel_Space3D->operatingTrail().isEmpty());
    }

    // The trail keeps the last 20 samples; the surface renders once per changed point while
    // shown and not at all while hidden.
    void trailAndRenders() {
        Table3DPanel panel;
        panel.resize(1000, 420);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        panel.btn_MAF();
        SurfaceView* view = panel.ui.Panel_Space3D;
        QTRY_VERIFY(view->renderCount() > 0);
        if (!view->openGLUsable()) QSKIP("no OpenGL here");
        for (int i = 0; i < 30; ++i) panel.addOperatingPoint(700 + 100 * i, 0.1 * i, 2);
        QCOMPARE(view->operatingTrail().size(), Table3DPanel::TrailLength);
        QCOMPARE(view->operatingTrail().last().x() - 1, analysis::fractionalIndex(analysis::speedAxis(), 3600));

        view->sceneImage();
        const int renders = view->renderCount();
        panel.addOperatingPoint(3600, 2.9, 2); // the same place: the trail moves on
        view->sceneImage();
        QCOMPARE(view->renderCount(), renders + 1);
        view->sceneImage();
        QCOMPARE(view->renderCount(), renders + 1);

        panel.hide();
        for (int i = 0; i < 10; ++i) panel.addOperatingPoint(900 + i, 1, 2);
        view->sceneImage();
        QCOMPARE(view->renderCount(), renders + 1);
    }

    // The statistics replace the grid's look and stop editing; hiding them gives back the
    // delegate that was installed (whatever it is) and the edit triggers.
    void statisticsOverlay() {
        Table3DPanel panel;
        QTableWidget* g = panel.ui.sgrid_Table_3D;
        auto* other = new QStyledItemDelegate(g); // another look installed before
        g->setItemDelegate(other);
        const auto triggers = g->editTriggers();
        QVERIFY(triggers != QAbstractItemView::NoEditTriggers);
        QCOMPARE(g->contextMenuPolicy(), Qt::ActionsContextMenu);
        QVERIFY(g->actions().contains(panel.actCellStats));
        QVERIFY(g->actions().contains(panel.actCellStatsParam));
        QVERIFY(panel.actCellStatsParam->menu());
        QCOMPARE(panel.statisticsColumn(), analysis::column::L1);

        QSignalSpy wanted(&panel, &Table3DPanel::cellStatisticsWanted);
        panel.actCellStats->trigger();
        QCOMPARE(wanted.count(), 1);
        panel.showCellStatistics(sampleGrid());
        QVERIFY(panel.cellStatisticsShown());
        QVERIFY(g->itemDelegate() != other);
        QCOMPARE(g->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(panel.cellStatisticsToolTip(3, 4), QStringLiteral("Отсчётов: 2\nСреднее: 0,5\nМин: 0,25\nМакс: 0,75"));
        QCOMPARE(panel.cellStatisticsToolTip(1, 1), QString());

        // Another parameter or the page asks again; Enter does not commit the grid.
        for (QAction* a : panel.cellStatsParams->actions()) {
            if (a->objectName() == QLatin1String("actCellStats_AI")) a->trigger();
        }
        QCOMPARE(panel.statisticsColumn(), analysis::column::AI);
        panel.actCellStatsPage->trigger();
        QVERIFY(panel.statisticsOfPageOnly());
        QCOMPARE(wanted.count(), 3);
        panel.btn_MAF();
        panel.setCellText(1, 1, QStringLiteral("12"));
        QTest::keyClick(g, Qt::Key_Return);
        QCOMPARE(panel.sgrid_3D_MAF.cell(1, 1), QStringLiteral("0"));

        panel.actCellStats->trigger();
        QVERIFY(!panel.cellStatisticsShown());
        QCOMPARE(g->itemDelegate(), other);
        QCOMPARE(g->editTriggers(), triggers);
        QCOMPARE(panel.cellStatisticsToolTip(3, 4), QString());
        QTest::keyClick(g, Qt::Key_Return);
        QCOMPARE(panel.sgrid_3D_MAF.cell(1, 1), QStringLiteral("12"));

        // Shown from outside, the action is checked with it; hidden, unchecked.
        panel.showCellStatistics(sampleGrid());
        QVERIFY(panel.actCellStats->isChecked());
        panel.hideCellStatistics();
        QVERIFY(!panel.actCellStats->isChecked());
        QCOMPARE(g->itemDelegate(), other);
    }

    // The grid keeps the cell texts under the overlay: turning it off shows them unchanged.
    void overlayKeepsTheCells() {
        Table3DPanel panel;
        panel.resize(1000, 420);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        panel.btn_Lambda();
        QTableWidget* g = panel.ui.sgrid_Table_3D;
        panel.setCellText(3, 4, QStringLiteral("42"));
        const QImage before = g->viewport()->grab().toImage();
        panel.showCellStatistics(sampleGrid());
        const QImage over = g->viewport()->grab().toImage();
        QVERIFY(over != before);
        panel.hideCellStatistics();
        QCOMPARE(g->viewport()->grab().toImage(), before);
        QCOMPARE(panel.cellText(3, 4), QStringLiteral("42"));
    }
};

QTEST_MAIN(TestTable3DRecording)
#include "test_table3drecording.moc"
