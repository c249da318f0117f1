#include "telemetry/chartpanel.h"

#include "icons/icons.h"
#include "telemetry/chartseries.h"

#include <QResizeEvent>
#include <QTableView>
#include <qcustomplot.h>

ChartPanel::ChartPanel(QWidget* parent) : QWidget(parent) {
    ui.setupUi(this);
    setUpIcons();
    setUpChart();
    setUpNavigator();
    for (QTableView** grid : {&StringGrid_Arhiv, &StringGrid_Navigator}) {
        *grid = new QTableView(this);
        (*grid)->hide();
    }
    StringGrid_Arhiv->setObjectName(QStringLiteral("StringGrid_Arhiv"));
    StringGrid_Navigator->setObjectName(QStringLiteral("StringGrid_Navigator"));
}

void ChartPanel::setUpIcons() {
    ui.atb_Chart1_Start->setIcon(icons::record());
    ui.atb_Chart1_Pause->setIcon(icons::pause());
    ui.atb_Chart1_Continue->setIcon(icons::resume());
    ui.atb_Chart1_Stop->setIcon(icons::stop());
    ui.atb_Chart1_Clear->setIcon(icons::clearChart());
    ui.atb_Param_Open->setIcon(icons::openFile());
    ui.atb_Param_Save->setIcon(icons::saveFile());

    ui.atb_Show_Navigator->setIcon(icons::showNavigator());
    ui.Btn_toBegin->setIcon(icons::toBegin());
    ui.Btn_Page_toLeft->setIcon(icons::pageLeft());
    ui.Btn_Step_toLeft->setIcon(icons::stepLeft());
    ui.Btn_Step_toRight->setIcon(icons::stepRight());
    ui.Btn_Page_toRight->setIcon(icons::pageRight());
    ui.Btn_toEnd->setIcon(icons::toEnd());
    ui.atb_ShowAxis_Chart1->setIcon(icons::showAxes());

    for (QToolButton* b : {ui.atb_PageUp, ui.atb_Limit_Up})
        b->setIcon(icons::stepUp());
    for (QToolButton* b : {ui.atb_PageDown, ui.atb_Limit_Down})
        b->setIcon(icons::stepDown());

    for (QToolButton* b : {ui.atb_AxLeft_TopUp, ui.atb_AxLeft_BottomUp, ui.atb_AxRight_TopUp,
                           ui.atb_AxRight_BottomUp})
        b->setIcon(icons::stepUp());
    for (QToolButton* b : {ui.atb_AxLeft_TopUp10, ui.atb_AxLeft_BottomUp10, ui.atb_AxRight_TopUp10,
                           ui.atb_AxRight_BottomUp10})
        b->setIcon(icons::stepUp10());
    for (QToolButton* b : {ui.atb_AxLeft_TopDown, ui.atb_AxLeft_BottomDown,
                           ui.atb_AxRight_TopDown, ui.atb_AxRight_BottomDown})
        b->setIcon(icons::stepDown());
    for (QToolButton* b : {ui.atb_AxLeft_TopDown10, ui.atb_AxLeft_BottomDown10,
                           ui.atb_AxRight_TopDown10, ui.atb_AxRight_BottomDown10})
        b->setIcon(icons::stepDown10());
}

void ChartPanel::setUpChart() {
    QCustomPlot* c = ui.Chart1;
    c->legend->setVisible(false);
    c->xAxis->setLabel(QStringLiteral("Время"));
    c->yAxis->setLabel(QStringLiteral("Парметр"));
    c->yAxis2->setVisible(true);
    c->yAxis2->setLabel(QStringLiteral("Параметр"));
    c->yAxis->setRange(0, 10);
    c->yAxis2->setRange(0, 5000);

    // Mouse zoom and scroll move the time axis and both value axes together, so the two
    // value scales keep their relation while browsing.
    c->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    c->axisRect()->setRangeDragAxes({c->xAxis}, {c->yAxis, c->yAxis2});
    c->axisRect()->setRangeZoomAxes({c->xAxis}, {c->yAxis, c->yAxis2});

    for (int i = 0; i < chartseries::Count; ++i) {
        QCPGraph* g = c->addGraph(c->xAxis, chartseries::onRightAxis(i) ? c->yAxis2 : c->yAxis);
        g->setName(chartseries::code(i));
        g->setPen(QPen(chartseries::initialColor(i), 1));
        g->setAdaptiveSampling(true);
        // The series' check boxes start unticked, so their series start inactive.
        g->setVisible(false);
    }
}

void ChartPanel::setUpNavigator() {
    QCustomPlot* n = ui.DBChart_Navigator_Bottom;
    n->legend->setVisible(false);
    n->axisRect()->setAutoMargins(QCP::msNone);
    n->axisRect()->setMargins(QMargins(0, 0, 0, 0));
    n->plotLayout()->setMargins(QMargins(0, 0, 0, 0));
    for (QCPAxis* a : {n->xAxis, n->yAxis}) {
        a->setVisible(false);
        a->grid()->setVisible(false);
    }
    n->yAxis->setRange(0, 100);
    n->setBackground(QColor(250, 250, 246));
    for (int i = 0; i < chartseries::Count; ++i) {
        QCPGraph* g = n->addGraph();
        g->setPen(QPen(chartseries::navigatorColor(i), 1));
        g->setAdaptiveSampling(true);
    }

    // The window marking the visible page: taller than the strip, so that only its shaded
    // body and its two thick sides show.
    ui.Blue_Line->setStyleSheet(QStringLiteral(
        "#Blue_Line { background-color: rgba(214, 214, 214, 110);"
        " border: 6px solid rgba(128, 128, 128, 170); }"));
    ui.Blue_Line->raise();
}

int ChartPanel::oneRowWidth() const {
    // Width of the three groups side by side, with the output group in its two-line form;
    // computed from the parts so that it does not depend on the current arrangement.
    const QGridLayout* tg = ui.typeGrafLayout;
    const int hs = tg->horizontalSpacing();
    const QMargins tm = tg->contentsMargins();
    const int left = qMax(ui.typeButtonsLayout->sizeHint().width(), ui.Label_Limit->sizeHint().width());
    const int right = qMax(ui.pageWidthLayout->sizeHint().width(), ui.limitLayout->sizeHint().width());
    const int frame = ui.gb_Type_Graf->sizeHint().width() - tg->sizeHint().width();
    const int typeGraf = left + hs + right + tm.left() + tm.right() + qMax(0, frame);
    return ui.GroupBox4->sizeHint().width() + ui.GroupBox5->sizeHint().width() + typeGraf +
           2 * ui.stripLayout->horizontalSpacing();
}

void ChartPanel::arrangeControls(bool oneRow) {
    m_oneRow = oneRow;
    QGridLayout* g = ui.stripLayout;
    QGridLayout* tg = ui.typeGrafLayout;
    g->removeWidget(ui.GroupBox4);
    g->removeWidget(ui.GroupBox5);
    g->removeWidget(ui.gb_Type_Graf);
    tg->removeWidget(ui.Label_Limit);
    tg->removeItem(ui.limitLayout);
    if (oneRow) {
        g->addWidget(ui.GroupBox4, 0, 0);
        g->addWidget(ui.GroupBox5, 0, 1);
        g->addWidget(ui.gb_Type_Graf, 0, 2);
        tg->addWidget(ui.Label_Limit, 1, 0);
        tg->addLayout(ui.limitLayout, 1, 1);
    } else {
        // Recording above browsing; the output group beside them over both rows, with the
        // deviation stepper under its caption so that the group stays narrow.
        g->addWidget(ui.GroupBox4, 0, 0, Qt::AlignLeft);
        g->addWidget(ui.GroupBox5, 1, 0, Qt::AlignLeft);
        g->addWidget(ui.gb_Type_Graf, 0, 1, 2, 1);
        tg->addWidget(ui.Label_Limit, 1, 0, 1, 2);
        tg->addLayout(ui.limitLayout, 2, 0, 1, 2, Qt::AlignLeft);
    }
}

void ChartPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const QMargins m = ui.chartPanelLayout->contentsMargins();
    const bool fits = event->size().width() - m.left() - m.right() >= oneRowWidth();
    if (fits != m_oneRow) arrangeControls(fits);
}
