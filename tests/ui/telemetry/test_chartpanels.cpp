// The parameter chart panel and the parameter list beside it, each built alone: their
// control lists, the charts' initial set-up, the exclusive groups, and the layouts at the
// window's largest and smallest sizes.

#include <QtTest>

#include "controlcheck.h"
#include "telemetry/chartpanel.h"
#include "telemetry/chartseries.h"
#include "telemetry/parampanel.h"

#include <qcustomplot.h>

class TestChartPanels : public QObject {
    Q_OBJECT

private slots:
    void controlList_data();
    void controlList();
    void chartAxes();
    void seriesColours_data();
    void seriesColours();
    void navigatorStrip();
    void presetGroupsAreSeparate();
    void outputModeKeepsOneDown();
    void recordButtonsShareOnePlace();
    void chartControlsFit_data();
    void chartControlsFit();
    void parameterNamesFit();
    void widthPopUp();
};

void TestChartPanels::controlList_data() {
    QTest::addColumn<QString>("list");
    QTest::newRow("chart") << QStringLiteral("chart.tsv");
    QTest::newRow("params") << QStringLiteral("params.tsv");
}

void TestChartPanels::controlList() {
    QFETCH(QString, list);
    ChartPanel chart;
    ParamPanel params;
    QWidget* panel = list == QLatin1String("chart.tsv") ? static_cast<QWidget*>(&chart) : &params;
    const QStringList faults =
        controlcheck::check(panel, QStringLiteral(TOOL_TEST_CONTROLS_DIR "/") + list);
    for (const QString& f : faults) qWarning().noquote() << f;
    QVERIFY(faults.isEmpty());
}

void TestChartPanels::chartAxes() {
    ChartPanel panel;
    QCustomPlot* c = panel.ui.Chart1;
    QCOMPARE(c->xAxis->label(), QStringLiteral("Время"));
    QCOMPARE(c->yAxis->label(), QStringLiteral("Парметр"));
    QCOMPARE(c->yAxis2->label(), QStringLiteral("Параметр"));
    QVERIFY(c->yAxis2->visible());
    QVERIFY(!c->legend->visible());
    QCOMPARE(c->yAxis->range(), QCPRange(0, 10));
    QCOMPARE(c->yAxis2->range(), QCPRange(0, 5000));
    QCOMPARE(c->graphCount(), chartseries::Count);
    // Dragging must move both value axes, or the right-axis series drift off their scale.
    QCOMPARE(c->axisRect()->rangeDragAxes(Qt::Vertical).size(), 2);
    QCOMPARE(c->axisRect()->rangeZoomAxes(Qt::Vertical).size(), 2);
}

void TestChartPanels::seriesColours_data() {
    QTest::addColumn<int>("series");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("right");
    QTest::newRow("SP") << 0 << "atb_TVT_Color" << "SP" << QColor("#ffff00") << false;
    QTest::newRow("STR") << 1 << "atb_RT_Color" << "STR" << QColor("#0000a0") << false;
    QTest::newRow("AI") << 2 << "atb_U_analog_Color" << "AI" << QColor("#ff8000") << false;
    QTest::newRow("L1") << 3 << "atb_D1_Color" << "L1" << QColor("#000080") << false;
    QTest::newRow("L2") << 4 << "atb_D2_Color" << "L2" << QColor("#ff00ff") << false;
    QTest::newRow("U1do") << 5 << "atb_D1_do_Color" << "U1do" << QColor("#008080") << false;
    QTest::newRow("U1posle") << 6 << "atb_D1_posle_Color" << "U1posle" << QColor("#b46525") << false;
    QTest::newRow("U2do") << 7 << "atb_D2_do_Color" << "U2do" << QColor("#0000ff") << false;
    QTest::newRow("U2posle") << 8 << "atb_D2_posle_Color" << "U2posle" << QColor("#ff0000") << false;
    QTest::newRow("TP") << 9 << "atb_PVK_Color" << "TP" << QColor("#00d900") << true;
    QTest::newRow("SD") << 10 << "atb_Per4_imp_Color" << "SD" << QColor("#0000a0") << true;
}

void TestChartPanels::seriesColours() {
    QFETCH(int, series);
    QFETCH(QString, button);
    QFETCH(QString, code);
    QFETCH(QColor, colour);
    QFETCH(bool, right);

    ParamPanel params;
    const ParamPanel::SeriesRow row = params.seriesRow(series);
    QVERIFY(row.color);
    QCOMPARE(row.color->objectName(), button);
    QCOMPARE(row.color->barColor(), colour);

    ChartPanel chart;
    QCustomPlot* c = chart.ui.Chart1;
    QCPGraph* g = c->graph(series);
    QCOMPARE(g->name(), code);
    QCOMPARE(g->pen().color(), colour);
    QCOMPARE(g->valueAxis(), right ? c->yAxis2 : c->yAxis);
    // The check boxes start unticked, so no series is shown yet.
    QVERIFY(!row.check->isChecked());
    QVERIFY(!g->visible());
}

void TestChartPanels::navigatorStrip() {
    ChartPanel panel;
    QCustomPlot* n = panel.ui.DBChart_Navigator_Bottom;
    QCOMPARE(n->minimumHeight(), 71);
    QCOMPARE(n->maximumHeight(), 71);
    QVERIFY(!n->xAxis->visible());
    QVERIFY(!n->yAxis->visible());
    QCOMPARE(n->yAxis->range(), QCPRange(0, 100));
    QCOMPARE(n->axisRect()->margins(), QMargins(0, 0, 0, 0));
    QCOMPARE(n->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(panel.ui.Blue_Line->parentWidget(), n);

    const QStringList expected = {"#ff0000", "#008000", "#808000", "#800000",
                                  "#00ff00", "#8000ff", "#000080", "#008080",
                                  "#ff0000", "#ff00ff", "#00ffff"};
    QCOMPARE(n->graphCount(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(n->graph(i)->pen().color(), QColor(expected[i]));
}

void TestChartPanels::presetGroupsAreSeparate() {
    ParamPanel p;
    p.ui.rb01->click();
    p.ui.rb10->click();
    QVERIFY(p.ui.rb01->isChecked());
    QVERIFY(p.ui.rb10->isChecked());
    p.ui.rb04->click();
    QVERIFY(!p.ui.rb01->isChecked());
    QVERIFY(p.ui.rb10->isChecked());
    p.ui.rb11->click();
    QVERIFY(!p.ui.rb10->isChecked());
    QVERIFY(p.ui.rb04->isChecked());
    QCOMPARE(p.ui.presetLeftGroup->buttons().size(), 9);
    QCOMPARE(p.ui.presetRightGroup->buttons().size(), 2);
}

void TestChartPanels::outputModeKeepsOneDown() {
    ChartPanel c;
    QToolButton* nepr = c.ui.atb_Type_Graf_Nepr;
    QToolButton* page = c.ui.atb_Type_Graf_Page;
    for (QToolButton* b : {page, page, nepr, nepr}) {
        b->click();
        QVERIFY(b->isChecked());
        QCOMPARE(int(nepr->isChecked()) + int(page->isChecked()), 1);
    }
}

void TestChartPanels::recordButtonsShareOnePlace() {
    ChartPanel c;
    c.resize(1200, 700);
    c.show();
    QVERIFY(QTest::qWaitForWindowExposed(&c));
    const QRect place = c.ui.atb_Chart1_Start->geometry();
    QVERIFY(place.isValid());
    for (QToolButton* shown : {c.ui.atb_Chart1_Pause, c.ui.atb_Chart1_Continue}) {
        for (QToolButton* b :
             {c.ui.atb_Chart1_Start, c.ui.atb_Chart1_Pause, c.ui.atb_Chart1_Continue})
            b->setVisible(b == shown);
        QTRY_COMPARE(shown->geometry(), place);
        // Stop does not jump when the button beside it changes.
        QVERIFY(c.ui.atb_Chart1_Stop->geometry().left() > place.right());
    }
}

void TestChartPanels::chartControlsFit_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("oneRow");
    // The work area at the window's full-HD and minimum sizes, less the parameter list.
    QTest::newRow("full") << 1525 << 900 << true;
    QTest::newRow("minimum") << 605 << 420 << false;
}

void TestChartPanels::chartControlsFit() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, oneRow);
    ChartPanel c;
    c.resize(width, height);
    c.show();
    QVERIFY(QTest::qWaitForWindowExposed(&c));
    QTRY_COMPARE(c.controlsInOneRow(), oneRow);
    QTRY_VERIFY(c.ui.gb_Type_Graf->geometry().isValid());

    QList<QRect> boxes;
    for (QGroupBox* g : {c.ui.GroupBox4, c.ui.GroupBox5, c.ui.gb_Type_Graf}) {
        const QRect r(g->mapTo(&c, QPoint(0, 0)), g->size());
        QVERIFY2(c.rect().contains(r), qPrintable(g->objectName()));
        QVERIFY2(g->width() >= g->minimumSizeHint().width(), qPrintable(g->objectName()));
        for (const QRect& other : boxes) QVERIFY(!other.intersects(r));
        boxes << r;
    }
    // The chart keeps a usable height above the strip.
    QVERIFY(c.ui.Chart1->height() >= 150);
    QCOMPARE(c.ui.DBChart_Navigator_Bottom->height(), 71);
}

void TestChartPanels::parameterNamesFit() {
    ParamPanel p;
    p.resize(395, 420);
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    for (int i = 0; i < chartseries::Count + 2; ++i) {
        QPushButton* name = i < chartseries::Count ? p.seriesRow(i).name
                            : i == chartseries::Count ? p.ui.atb_digDMRV_Output
                                                      : p.ui.atb_KRT;
        const int needed = QFontMetrics(name->font()).horizontalAdvance(name->text());
        QVERIFY2(name->width() >= needed,
                 qPrintable(QStringLiteral("%1: %2 < %3")
                                .arg(name->objectName()).arg(name->width()).arg(needed)));
    }
    // Every radio button lies fully inside the visible part of the list.
    const QRect view = p.ui.paramScroll->viewport()->rect();
    for (int i = 0; i < chartseries::Count; ++i) {
        QRadioButton* rb = p.seriesRow(i).preset;
        QVERIFY(view.right() >= rb->mapTo(p.ui.paramScroll->viewport(), rb->rect().bottomRight()).x());
    }
}

void TestChartPanels::widthPopUp() {
    ParamPanel p;
    p.resize(395, 600);
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    const int heights[] = {1, 3, 4, 5, 7, 8};
    const auto samples = p.widthSamples();
    for (int i = 0; i < 6; ++i) QCOMPARE(samples[i]->barThickness(), heights[i]);

    // Copying a sample's font to a colour button changes the bar it draws.
    ColorBarButton* button = p.ui.atb_D1_Color;
    button->setFont(samples[5]->font());
    QCOMPARE(button->barThickness(), 8);

    // The pop-up opens over the list, not hidden behind it.
    p.ui.Panel_WLine->move(200, 100);
    p.ui.Panel_WLine->show();
    QWidget* hit = p.childAt(p.ui.Panel_WLine->geometry().center());
    QVERIFY(hit);
    QVERIFY(hit == p.ui.Panel_WLine || p.ui.Panel_WLine->isAncestorOf(hit));
}

QTEST_MAIN(TestChartPanels)
#include "test_chartpanels.moc"
