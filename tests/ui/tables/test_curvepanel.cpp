#include <QAction>
#include <QSet>
#include <QTableWidget>
#include <QTest>
#include <qcustomplot.h>

#include "controlcheck.h"
#include "tables/curvepanel.h"

namespace {

// The grid's editing actions carry the same names on both curves (they are found on their
// grid) and are left out.
QSet<QString> namedObjects(QObject* root) {
    QSet<QString> names{root->objectName()};
    for (QObject* o : root->findChildren<QObject*>()) {
        if (qobject_cast<QAction*>(o)) continue;
        const QString n = o->objectName();
        if (!n.isEmpty() && !n.startsWith(QLatin1String("qt_"))) names.insert(n);
    }
    return names;
}

QPoint centreOf(const QWidget* w) {
    return w->geometry().topLeft() + QPoint(4, 4);
}

} // namespace

class TestCurvePanel : public QObject {
    Q_OBJECT
  private slots:
    void controlList_data();
    void controlList();
    void secondCurveNames();
    void gridRows_data();
    void gridRows();
    void filterButtonsExclusive();
    void shapesCreatedHidden_data();
    void shapesCreatedHidden();
    void markerFollowsAxisCoordinates_data();
    void markerFollowsAxisCoordinates();
    void livePointSpansWholeFrame();
    void sidePanelWidth();
};

void TestCurvePanel::controlList_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("list");
    QTest::newRow("curve 1") << 1 << QStringLiteral(TOOL_TEST_CONTROLS_DIR "/curve1.tsv");
    QTest::newRow("curve 2") << 2 << QStringLiteral(TOOL_TEST_CONTROLS_DIR "/curve2.tsv");
}

void TestCurvePanel::controlList() {
    QFETCH(int, index);
    QFETCH(QString, list);
    CurvePanel panel(index);
    const QStringList faults = controlcheck::check(&panel, list);
    for (const QString& f : faults)
        qWarning().noquote() << f;
    QVERIFY(faults.isEmpty());
    QCOMPARE(panel.objectName(),
             index == 2 ? QStringLiteral("Panel_Emu_2") : QStringLiteral("Panel_Emu"));
}

// Both curves live in one window: no name may be shared, and every control of the first
// curve must have its counterpart under the second curve's naming rule.
void TestCurvePanel::secondCurveNames() {
    CurvePanel one(1), two(2);
    const QSet<QString> names1 = namedObjects(&one);
    const QSet<QString> names2 = namedObjects(&two);
    QVERIFY(!names1.intersects(names2));

    QSet<QString> expected;
    for (const QString& n : names1) {
        if (n.startsWith(QLatin1String("Shape_Green")) ||
            n.startsWith(QLatin1String("Shape_Yellow")))
            continue;
        expected.insert(CurvePanel::objectNameFor(n, 2));
    }
    for (int i = 1; i <= CurvePanel::PointCount; ++i) {
        expected.insert(QStringLiteral("Shape_Green_2%1").arg(i));
        expected.insert(QStringLiteral("Shape_Yellow_2%1").arg(i));
    }
    QCOMPARE(names2, expected);
    QVERIFY(names2.contains(QStringLiteral("GroupBox6")));
    QVERIFY(names2.contains(QStringLiteral("GroupBox1")));
    QVERIFY(!names2.contains(QStringLiteral("GroupBox2_2")));
}

void TestCurvePanel::gridRows_data() {
    QTest::addColumn<int>("index");
    QTest::newRow("curve 1") << 1;
    QTest::newRow("curve 2") << 2;
}

void TestCurvePanel::gridRows() {
    QFETCH(int, index);
    CurvePanel panel(index);
    QTableWidget* grid = panel.ui.sgrid_Emu;
    QCOMPARE(grid->rowCount(), 65);
    QCOMPARE(grid->columnCount(), 2);
    QCOMPARE(grid->columnWidth(0), 180);
    QCOMPARE(grid->columnWidth(1), 180);

    // An edited grid is reset completely by a second fill.
    grid->item(7, 1)->setText(QStringLiteral("2,5"));
    grid->item(64, 1)->setText(QStringLiteral("x"));
    panel.fillEmptyRows();
    for (int r = 0; r < 65; ++r) {
        QTableWidgetItem* label = grid->item(r, 0);
        QTableWidgetItem* value = grid->item(r, 1);
        QVERIFY(label && value);
        QCOMPARE(label->text(), QString(24, QLatin1Char(' ')) + QString::number(r));
        QVERIFY(!(label->flags() & Qt::ItemIsEditable));
        QCOMPARE(value->text(), QStringLiteral("0"));
        QVERIFY(value->flags() & Qt::ItemIsEditable);
    }
}

void TestCurvePanel::filterButtonsExclusive() {
    CurvePanel panel(2);
    QToolButton* on = panel.ui.atb_Lambda_Filter_On;
    QToolButton* off = panel.ui.atb_Lambda_Filter_Off;
    QCOMPARE(panel.ui.lambdaFilterGroup->objectName(), QStringLiteral("lambdaFilterGroup_2"));
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QTest::mouseClick(on, Qt::LeftButton);
    QVERIFY(on->isChecked() && !off->isChecked());
    QTest::mouseClick(on, Qt::LeftButton); // pressing the down button keeps it down
    QVERIFY(on->isChecked() && !off->isChecked());
    QTest::mouseClick(off, Qt::LeftButton);
    QVERIFY(!on->isChecked() && off->isChecked());
}

void TestCurvePanel::shapesCreatedHidden_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QColor>("liveColor");
    QTest::newRow("curve 1") << 1 << QString() << QColor(0xFF, 0xFF, 0x00);
    QTest::newRow("curve 2") << 2 << QStringLiteral("_2") << QColor(0xC9, 0xE4, 0x8F);
}

void TestCurvePanel::shapesCreatedHidden() {
    QFETCH(int, index);
    QFETCH(QString, suffix);
    QFETCH(QColor, liveColor);
    CurvePanel panel(index);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QVERIFY(panel.Shape_0->isHidden());
    QCOMPARE(panel.Shape_0->parentWidget(), panel.ui.Chart2D);
    QVERIFY(panel.marker(0) == nullptr && panel.marker(65) == nullptr);
    for (int i = 1; i <= CurvePanel::PointCount; ++i) {
        CurveShape* m = panel.marker(i);
        CurveShape* p = panel.livePoint(i);
        QCOMPARE(m->objectName(), QStringLiteral("Shape_Green") + suffix + QString::number(i));
        QCOMPARE(p->objectName(), QStringLiteral("Shape_Yellow") + suffix + QString::number(i));
        QVERIFY(m->isHidden() && p->isHidden());
        QCOMPARE(m->size(), QSize(9, 9));
        QCOMPARE(p->size(), QSize(9, 9));
        QCOMPARE(m->parentWidget(), panel.ui.Chart2D);
        QCOMPARE(m->kind(), CurveShape::Kind::Circle);
        QCOMPARE(p->kind(), CurveShape::Kind::RoundedSquare);
        QCOMPARE(p->fillColor(), liveColor);
    }
}

void TestCurvePanel::markerFollowsAxisCoordinates_data() {
    QTest::addColumn<int>("point");
    QTest::addColumn<double>("volts");
    QTest::addColumn<double>("shownVolts"); // where the marker ends up, inside the frame
    QTest::newRow("first point, 0 V") << 1 << 0.0 << 0.0;
    QTest::newRow("middle") << 32 << 2.5 << 2.5;
    QTest::newRow("last point, 5 V") << 64 << 5.0 << 5.0;
    QTest::newRow("above the frame") << 10 << 7.0 << 5.0;
    QTest::newRow("below the frame") << 11 << -1.0 << 0.0;
}

void TestCurvePanel::markerFollowsAxisCoordinates() {
    QFETCH(int, point);
    QFETCH(double, volts);
    QFETCH(double, shownVolts);
    CurvePanel panel(1);
    panel.resize(1000, 420);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QCustomPlot* chart = panel.ui.Chart2D;
    chart->replot();

    panel.placeMarker(point, point, volts);
    QCOMPARE(panel.markerPosition(point), QPointF(point, volts));
    auto expectedCentre = [&] {
        return QPoint(qRound(chart->xAxis->coordToPixel(point)),
                      qRound(chart->yAxis->coordToPixel(shownVolts)));
    };
    QVERIFY((centreOf(panel.marker(point)) - expectedCentre()).manhattanLength() <= 1);
    QVERIFY(panel.frameRect().adjusted(0, 0, 1, 1).contains(centreOf(panel.marker(point))));

    // A resized window moves the plot area; the marker and the frame move with it.
    const QRect before = panel.frameRect();
    panel.resize(1600, 800);
    QTRY_VERIFY(panel.frameRect() != before);
    QVERIFY((centreOf(panel.marker(point)) - expectedCentre()).manhattanLength() <= 1);
    QCOMPARE(panel.Shape_0->geometry(), panel.frameRect().adjusted(0, 0, 1, 1));
}

void TestCurvePanel::livePointSpansWholeFrame() {
    CurvePanel panel(2);
    panel.resize(1000, 420);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    panel.ui.Chart2D->replot();
    const QRect f = panel.frameRect();
    panel.placeLivePoint(1, 0, 0);
    panel.placeLivePoint(2, 64, 5);
    panel.placeLivePoint(3, 32, 9);
    QVERIFY(
        (centreOf(panel.livePoint(1)) - QPoint(f.left(), f.top() + f.height())).manhattanLength() <=
        1);
    QVERIFY(
        (centreOf(panel.livePoint(2)) - QPoint(f.left() + f.width(), f.top())).manhattanLength() <=
        1);
    QCOMPARE(centreOf(panel.livePoint(3)).y(), f.top());
}

void TestCurvePanel::sidePanelWidth() {
    for (const QSize size : {QSize(1000, 420), QSize(1900, 1000)}) {
        CurvePanel panel(1);
        panel.resize(size);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QCOMPARE(panel.ui.Panel_Table2D_Emu->width(), 385);
        // Every point row must be reachable: the grid scrolls rather than cutting rows off.
        QVERIFY(panel.ui.sgrid_Emu->height() > 100);
    }
}

QTEST_MAIN(TestCurvePanel)
#include "test_curvepanel.moc"
