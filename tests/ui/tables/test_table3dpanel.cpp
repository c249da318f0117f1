// The 3D table panel on its own: its controls, the axis labels, the exclusive load axis
// buttons, the stacked table buttons, the layout at the window's extremes and the
// background of the surface view as actually rendered.

#include <QButtonGroup>
#include <QHeaderView>
#include <QtTest>

#include "controlcheck.h"
#include "tables/table3dpanel.h"

class TestTable3DPanel : public QObject {
    Q_OBJECT

private slots:
    void controls();
    void axisLabels_data();
    void axisLabels();
    void loadAxisButtonsStayExclusive();
    void tableButtonsShareTheirPlaces_data();
    void tableButtonsShareTheirPlaces();
    void cellsByColumnAndRow();
    void layoutFits_data();
    void layoutFits();
    void surfaceBackground();
};

void TestTable3DPanel::controls() {
    Table3DPanel panel;
    const QStringList faults = controlcheck::check(&panel, TOOL_TEST_CONTROLS_DIR "/table3d.tsv");
    for (const QString& f : faults) qWarning("%s", qPrintable(f));
    QVERIFY(faults.isEmpty());
}

void TestTable3DPanel::axisLabels_data() {
    QTest::addColumn<bool>("injectionTime");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("caption");
    QTest::newRow("MAF voltage") << false
                                 << QStringList{"0,0", "0,6", "1,3", "1,9", "2,5", "3,2", "3,8", "4,4"}
                                 << "V";
    QTest::newRow("injection time") << true
                                    << QStringList{"1,6", "2,4", "3,2", "4,0", "4,8", "5,6", "6,4", "7,2"}
                                    << "t, мс";
}

void TestTable3DPanel::axisLabels() {
    QFETCH(bool, injectionTime);
    QFETCH(QStringList, rows);
    QFETCH(QString, caption);
    Table3DPanel panel;
    // Start from the other axis so that a label left over from construction cannot pass.
    (injectionTime ? panel.ui.atb_KorrTab_VV : panel.ui.atb_KorrTab_MAF)->setChecked(true);
    panel.writeAxisLabels();
    QTableWidget* g = panel.ui.sgrid_Table_3D;
    QCOMPARE(g->rowCount(), 8);
    QCOMPARE(g->columnCount(), 8);
    const QStringList speeds{"670", "780", "940", "1200", "1600", "2400", "4800", "10000"};
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(g->horizontalHeaderItem(i)->text(), speeds[i]);
        QCOMPARE(g->verticalHeaderItem(i)->text(), rows[i]);
    }
    QCOMPARE(panel.ui.Panel_3D_Left->text(), caption);
}

void TestTable3DPanel::loadAxisButtonsStayExclusive() {
    Table3DPanel panel;
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QToolButton* maf = panel.ui.atb_KorrTab_MAF;
    QToolButton* vv = panel.ui.atb_KorrTab_VV;
    QVERIFY(maf->group() == vv->group() && maf->group() && maf->group()->exclusive());
    auto downCount = [&] { return int(maf->isChecked()) + int(vv->isChecked()); };
    QTest::mouseClick(vv, Qt::LeftButton);
    QVERIFY(vv->isChecked());
    QCOMPARE(downCount(), 1);
    // Clicking the button that is already down keeps it down.
    QTest::mouseClick(vv, Qt::LeftButton);
    QVERIFY(vv->isChecked());
    QTest::mouseClick(maf, Qt::LeftButton);
    QVERIFY(maf->isChecked());
    QCOMPARE(downCount(), 1);
}

void TestTable3DPanel::tableButtonsShareTheirPlaces_data() {
    QTest::addColumn<int>("table");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("Lambda") << int(Table3DPanel::Table::Lambda) << "atb_Lambda_";
    QTest::newRow("MAF") << int(Table3DPanel::Table::Maf) << "atb_MAF_";
    QTest::newRow("voltage") << int(Table3DPanel::Table::Voltage) << "atb_MAF_TR_90_";
}

void TestTable3DPanel::tableButtonsShareTheirPlaces() {
    QFETCH(int, table);
    QFETCH(QString, prefix);
    Table3DPanel panel;
    panel.resize(1000, 420);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    // Raise the other two sets first, so that only the call under test can put this one on top.
    for (int other = 0; other < 3; ++other)
        if (other != table) panel.raiseTableButtons(Table3DPanel::Table(other));
    panel.raiseTableButtons(Table3DPanel::Table(table));
    const QStringList kinds{"In", "Out", "Open", "Save"};
    for (int i = 0; i < 4; ++i) {
        auto* b = panel.findChild<QToolButton*>(prefix + kinds[i]);
        QVERIFY(b);
        QCOMPARE(b->parentWidget(), panel.ui.Panel_btn_3D);
        QCOMPARE(b->geometry(), QRect(36 * i, 0, 36, 36));
        QVERIFY(b->isVisible());
        QCOMPARE(panel.ui.Panel_btn_3D->childAt(36 * i + 18, 18), b);
    }
}

void TestTable3DPanel::cellsByColumnAndRow() {
    Table3DPanel panel;
    // Column c is engine speed, row r engine load: (3,5) is the grid's row 4, column 2.
    panel.setCellText(3, 5, "-12");
    QCOMPARE(panel.ui.sgrid_Table_3D->item(4, 2)->text(), QString("-12"));
    QCOMPARE(panel.cellText(3, 5), QString("-12"));
    QCOMPARE(panel.cellText(8, 8), QString(""));
    // Headers and anything beyond the grid are not cells.
    panel.setCellText(0, 1, "x");
    panel.setCellText(9, 1, "x");
    QCOMPARE(panel.cellText(0, 1), QString());
    QCOMPARE(panel.cellText(1, 9), QString());
    QCOMPARE(panel.ui.sgrid_Table_3D->horizontalHeaderItem(0)->text(), QString("670"));
}

void TestTable3DPanel::layoutFits_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("minimum window") << QSize(1000, 420);
    QTest::newRow("full HD") << QSize(1920, 1000);
}

void TestTable3DPanel::layoutFits() {
    QFETCH(QSize, size);
    Table3DPanel panel;
    panel.ui.Panel_lbl_MAF->show(); // the tallest state: the MAF note above the grid
    panel.resize(size);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QTRY_COMPARE(panel.size(), size);
    const QRect table = panel.ui.Panel_Table3D->geometry();
    QCOMPARE(table.width(), 372);
    QCOMPARE(table.right(), panel.rect().right());
    QCOMPARE(table.height(), size.height());
    QCOMPARE(panel.ui.sgrid_Table_3D->height(), 207);
    QCOMPARE(panel.ui.Panel_Space3D->geometry().right() + 1, table.left());
    QCOMPARE(panel.ui.Panel_Space3D->height(), size.height());
    // Every grid cell is visible without scrolling.
    QTableWidget* g = panel.ui.sgrid_Table_3D;
    const QRect lastCell = g->visualItemRect(g->item(7, 7));
    QVERIFY(g->viewport()->rect().contains(lastCell));
    // Nothing on the table side is cut off at the bottom or squeezed below its wish.
    const QWidget* lowest[] = {panel.ui.gb_KorrTab, panel.ui.pnl_Navigator};
    for (const QWidget* w : lowest) {
        QVERIFY2(w->mapTo(&panel, QPoint(0, w->height())).y() <= size.height(), qPrintable(w->objectName()));
        QVERIFY2(w->height() >= w->minimumSizeHint().height(), qPrintable(w->objectName()));
    }
    QVERIFY(panel.ui.Panel_lbl_MAF->width() >= panel.ui.Panel_lbl_MAF->sizeHint().width());
}

static bool nearColour(QColor a, QColor b) {
    return qAbs(a.red() - b.red()) <= 2 && qAbs(a.green() - b.green()) <= 2 && qAbs(a.blue() - b.blue()) <= 2;
}

void TestTable3DPanel::surfaceBackground() {
    Table3DPanel panel;
    panel.resize(1000, 420);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    SurfaceView* view = panel.ui.Panel_Space3D;
    // The first paint of the shown view renders the picture.
    QTRY_VERIFY(view->renderCount() > 0);
    QVERIFY(view->openGLUsable());

    const QColor maf(121, 189, 215), lambda(218, 192, 154);
    QImage frame = view->sceneImage();
    QVERIFY(!frame.isNull());
    QCOMPARE(frame.size(), view->size() * view->devicePixelRatio());
    const QPoint centre(frame.width() / 2, frame.height() / 2);
    QVERIFY2(nearColour(frame.pixelColor(centre), maf), qPrintable(frame.pixelColor(centre).name()));
    QVERIFY(nearColour(frame.pixelColor(1, 1), maf));

    view->setFamily(SurfaceFamily::Lambda);
    frame = view->sceneImage();
    QVERIFY2(nearColour(frame.pixelColor(centre), lambda), qPrintable(frame.pixelColor(centre).name()));

    view->setFamily(SurfaceFamily::Maf);
    frame = view->sceneImage();
    QVERIFY(nearColour(frame.pixelColor(centre), maf));
}

QTEST_MAIN(TestTable3DPanel)
#include "test_table3dpanel.moc"
