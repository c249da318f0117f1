#include "telemetry/chartaxes.h"

#include "common/numtext.h"
#include "telemetry/chartpanel.h"
#include "telemetry/chartseries.h"
#include "telemetry/livedecoder.h"
#include "telemetry/parampanel.h"

#include <QButtonGroup>
#include <QMouseEvent>
#include <QTimer>
#include <qcustomplot.h>

#include <cmath>

namespace {

// Unchecks every button of an exclusive group (which would otherwise keep one down).
void uncheckAll(QButtonGroup* group) {
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons()) b->setChecked(false);
    group->setExclusive(true);
}

double editValue(const QLineEdit* e, double fallback) {
    double v = fallback;
    return parseNumber(e->text(), &v) ? v : fallback;
}

} // namespace

ChartAxes::ChartAxes(ChartPanel* chart, ParamPanel* params, const live::LiveState* live, QObject* parent)
    : QObject(parent), m_chart(chart), m_params(params), m_live(live) {
    Timer_UpAx = new QTimer(this);
    Timer_UpAx->setObjectName(QStringLiteral("Timer_UpAx"));
    Timer_UpAx->setInterval(200);
    Timer_DownAx = new QTimer(this);
    Timer_DownAx->setObjectName(QStringLiteral("Timer_DownAx"));
    Timer_DownAx->setInterval(200);
    connect(Timer_UpAx, &QTimer::timeout, this, [this] { repeat(true); });
    connect(Timer_DownAx, &QTimer::timeout, this, [this] { repeat(false); });

    const auto& u = chart->ui;
    m_buttons = {{
        {u.atb_AxLeft_TopUp, u.Ed_AxLeft_Top, true, true, true, 1, 1000},
        {u.atb_AxLeft_TopUp10, u.Ed_AxLeft_Top, true, true, true, 10, 1000},
        {u.atb_AxLeft_TopDown, u.Ed_AxLeft_Top, true, true, false, 1, 0},
        {u.atb_AxLeft_TopDown10, u.Ed_AxLeft_Top, true, true, false, 10, 0},
        {u.atb_AxLeft_BottomUp, u.Ed_AxLeft_Bottom, true, false, true, 1, 1000},
        {u.atb_AxLeft_BottomUp10, u.Ed_AxLeft_Bottom, true, false, true, 10, 1000},
        {u.atb_AxLeft_BottomDown, u.Ed_AxLeft_Bottom, true, false, false, 1, 0},
        {u.atb_AxLeft_BottomDown10, u.Ed_AxLeft_Bottom, true, false, false, 10, 0},
        {u.atb_AxRight_TopUp, u.Ed_AxRight_Top, false, true, true, 1, 15000},
        {u.atb_AxRight_TopUp10, u.Ed_AxRight_Top, false, true, true, 10, 15000},
        {u.atb_AxRight_TopDown, u.Ed_AxRight_Top, false, true, false, 1, 0},
        {u.atb_AxRight_TopDown10, u.Ed_AxRight_Top, false, true, false, 10, 0},
        {u.atb_AxRight_BottomUp, u.Ed_AxRight_Bottom, false, false, true, 1, 15000},
        {u.atb_AxRight_BottomUp10, u.Ed_AxRight_Bottom, false, false, true, 10, 15000},
        {u.atb_AxRight_BottomDown, u.Ed_AxRight_Bottom, false, false, false, 1, 0},
        {u.atb_AxRight_BottomDown10, u.Ed_AxRight_Bottom, false, false, false, 10, 0},
    }};
    for (const StepButton& b : m_buttons) b.button->installEventFilter(this);

    for (int s = 0; s < live::PlottedCount; ++s)
        connect(params->seriesRow(s).preset, &QRadioButton::clicked, this, [this, s] { presetClick(s); });
    connect(u.atb_AxLeft_Auto, &QToolButton::clicked, this, &ChartAxes::atb_AxLeft_AutoClick);
    connect(u.atb_AxRight_Auto, &QToolButton::clicked, this, &ChartAxes::atb_AxRight_AutoClick);
    connect(u.atb_ShowAxis_Chart1, &QToolButton::clicked, this, &ChartAxes::atb_ShowAxis_Chart1Click);
    m_showAxis = u.atb_ShowAxis_Chart1;
    m_showAxis->installEventFilter(this);
    connect(u.Chart1, &QCustomPlot::mouseRelease, this, [this] { showAxesInEdits(); });
    // The wheel and a drag change the value axes before any mouse-up; the edits follow each
    // change, so that a stepper released later sets its end against the range in view. The
    // chart announces the event before it changes the range, hence queued.
    const auto follow = [this] { QMetaObject::invokeMethod(this, &ChartAxes::showAxesInEdits, Qt::QueuedConnection); };
    connect(u.Chart1, &QCustomPlot::mouseWheel, this, follow);
    connect(u.Chart1, &QCustomPlot::mouseMove, this, [follow](QMouseEvent* e) {
        if (e->buttons() != Qt::NoButton) follow();
    });
}

QCPAxis* ChartAxes::axis(bool left) const { return left ? m_chart->ui.Chart1->yAxis : m_chart->ui.Chart1->yAxis2; }

QAbstractButton* ChartAxes::axisButton(int index) const { return m_buttons.at(std::size_t(index)).button; }

void ChartAxes::setFixedRange(QCPAxis* a, double lower, double upper) {
    // Widened first, so that neither end ever passes the other on the way.
    a->setRange(-100000, 100000);
    a->setRangeUpper(upper);
    a->setRangeLower(lower);
}

void ChartAxes::AxLeft() { uncheckAll(m_params->ui.presetLeftGroup); }
void ChartAxes::AxRight() { uncheckAll(m_params->ui.presetRightGroup); }

void ChartAxes::presetClick(int series) {
    const live::GrafParam& g = m_live->p[std::size_t(series)];
    setFixedRange(axis(!chartseries::onRightAxis(series)), g.Min, g.Max);
    showAxesInEdits();
    m_chart->ui.Chart1->replot(QCustomPlot::rpQueuedReplot);
}

void ChartAxes::reapplyPresets() {
    for (int s = 0; s < live::PlottedCount; ++s) {
        if (!m_params->seriesRow(s).preset->isChecked()) continue;
        const live::GrafParam& g = m_live->p[std::size_t(s)];
        setFixedRange(axis(!chartseries::onRightAxis(s)), g.Min, g.Max);
    }
}

void ChartAxes::showAxesInEdits() {
    const auto& u = m_chart->ui;
    u.Ed_AxLeft_Top->setText(formatGeneral(axis(true)->range().upper));
    u.Ed_AxLeft_Bottom->setText(formatGeneral(axis(true)->range().lower));
    u.Ed_AxRight_Top->setText(formatGeneral(axis(false)->range().upper));
    u.Ed_AxRight_Bottom->setText(formatGeneral(axis(false)->range().lower));
}

void ChartAxes::atb_AxLeft_AutoClick() {
    AxLeft();
    setFixedRange(axis(true), 0, 10);
    showAxesInEdits();
    m_chart->ui.Chart1->replot(QCustomPlot::rpQueuedReplot);
}

void ChartAxes::atb_AxRight_AutoClick() {
    AxRight();
    setFixedRange(axis(false), 0, 5000);
    showAxesInEdits();
    m_chart->ui.Chart1->replot(QCustomPlot::rpQueuedReplot);
}

void ChartAxes::atb_ShowAxis_Chart1Click() {
    atb_ShowAxis_Chart1MouseLeave();
    showAxesInEdits();
}

void ChartAxes::atb_ShowAxis_Chart1MouseLeave() {
    const bool down = m_chart->ui.atb_ShowAxis_Chart1->isChecked();
    m_chart->ui.Panel_AxLeft->setVisible(down);
    m_chart->ui.Panel_AxRight->setVisible(down);
}

bool ChartAxes::stepButton(int index) {
    const StepButton& b = m_buttons.at(std::size_t(index));
    QCPAxis* a = axis(b.left);
    const QCPRange r = a->range();
    const double v = (b.top ? r.upper : r.lower) + (b.up ? b.step : -b.step);
    const bool passed = b.up ? v > b.bound : v < b.bound;
    const double width = b.top ? std::abs(v - r.lower) : std::abs(r.upper - v);
    // A range narrower than one step is not taken, so the ends can never cross.
    if (width < b.step) return passed;
    b.edit->setText(formatGeneral(passed ? b.bound : v));
    if (b.top)
        a->setRangeUpper(v);
    else
        a->setRangeLower(v);
    m_chart->ui.Chart1->replot(QCustomPlot::rpQueuedReplot);
    return passed;
}

void ChartAxes::press(int index) {
    const StepButton& b = m_buttons.at(std::size_t(index));
    if (b.left)
        AxLeft();
    else
        AxRight();
    m_active = index;
    stepButton(index);
    (b.up ? Timer_UpAx : Timer_DownAx)->start();
}

void ChartAxes::repeat(bool up) {
    QTimer* t = up ? Timer_UpAx : Timer_DownAx;
    if (m_active < 0) {
        t->stop();
        return;
    }
    const StepButton& b = m_buttons.at(std::size_t(m_active));
    if (stepButton(m_active)) {
        b.edit->setText(formatGeneral(b.bound));
        t->stop();
    }
}

void ChartAxes::release(int index) {
    const StepButton& b = m_buttons.at(std::size_t(index));
    (b.up ? Timer_UpAx : Timer_DownAx)->stop();
    // The edits decide the range; an end that passed its bound comes back to it.
    const auto& u = m_chart->ui;
    QLineEdit* topEdit = b.left ? u.Ed_AxLeft_Top : u.Ed_AxRight_Top;
    QLineEdit* bottomEdit = b.left ? u.Ed_AxLeft_Bottom : u.Ed_AxRight_Bottom;
    QCPAxis* a = axis(b.left);
    const double top = editValue(topEdit, a->range().upper);
    const double bottom = editValue(bottomEdit, a->range().lower);
    if (b.top)
        a->setRangeUpper(bottom < top ? top : bottom);
    else
        a->setRangeLower(bottom < top ? bottom : top);
    m_chart->ui.Chart1->replot(QCustomPlot::rpQueuedReplot);
}

bool ChartAxes::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_showAxis) {
        if (event->type() == QEvent::Leave) atb_ShowAxis_Chart1MouseLeave();
        return QObject::eventFilter(watched, event);
    }
    for (int i = 0; i < int(m_buttons.size()); ++i) {
        if (m_buttons[std::size_t(i)].button != watched) continue;
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
            press(i);
        else if (event->type() == QEvent::MouseButtonRelease)
            release(i);
        break;
    }
    return QObject::eventFilter(watched, event);
}
