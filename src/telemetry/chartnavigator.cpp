#include "telemetry/chartnavigator.h"

#include "common/messages.h"
#include "link/exchange.h"
#include "link/operationcontext.h"
#include "telemetry/chartpanel.h"
#include "telemetry/liverecorder.h"
#include "telemetry/parampanel.h"
#include "telemetry/recordfile.h"

#include <QMouseEvent>
#include <QTimer>
#include <qcustomplot.h>

using namespace live;

namespace {

struct NavSeries {
    int column;  // navigator table column of its percents
    Param param; // whose name button must be shown; SP for the series always drawn
    bool always;
};

// Navigator series 0..10: the strip orders its series its own way.
constexpr NavSeries kNav[ChartNavigator::Series] = {
    {7, L1, false},  {5, TP, true},      {9, U1do, false}, {8, L2, false},
    {10, U1posle, false}, {11, U2do, false}, {2, SP, true},    {3, STR, true},
    {6, SD, false},  {4, AI, false},     {12, U2posle, false},
};

} // namespace

ChartNavigator::ChartNavigator(OperationContext* ctx, ChartPanel* panel, ParamPanel* params,
                               LiveRecorder* recorder, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_panel(panel), m_params(params), m_rec(recorder),
      m_window(panel->ui.Blue_Line) {
    for (QTimer** t : {&Timer_Step_Left, &Timer_Step_Right}) {
        *t = new QTimer(this);
        (*t)->setInterval(100);
    }
    Timer_Step_Left->setObjectName(QStringLiteral("Timer_Step_Left"));
    Timer_Step_Right->setObjectName(QStringLiteral("Timer_Step_Right"));
    connect(Timer_Step_Left, &QTimer::timeout, this, &ChartNavigator::Btn_Step_toLeftClick);
    connect(Timer_Step_Right, &QTimer::timeout, this, &ChartNavigator::Btn_Step_toRightClick);

    const auto& u = panel->ui;
    connect(u.atb_Show_Navigator, &QToolButton::clicked, this, &ChartNavigator::atb_Show_NavigatorClick);
    connect(u.Btn_toBegin, &QToolButton::clicked, this, &ChartNavigator::Btn_toBeginClick);
    connect(u.Btn_Page_toLeft, &QToolButton::clicked, this, &ChartNavigator::Btn_Page_toLeftClick);
    connect(u.Btn_Step_toLeft, &QToolButton::clicked, this, &ChartNavigator::Btn_Step_toLeftClick);
    connect(u.Btn_Step_toRight, &QToolButton::clicked, this, &ChartNavigator::Btn_Step_toRightClick);
    connect(u.Btn_Page_toRight, &QToolButton::clicked, this, &ChartNavigator::Btn_Page_toRightClick);
    connect(u.Btn_toEnd, &QToolButton::clicked, this, &ChartNavigator::Btn_toEndClick);
    // Held, a step button glides: its timer clicks it every 100 ms until it is released
    // (the click of the release itself adds one more step).
    connect(u.Btn_Step_toLeft, &QToolButton::pressed, Timer_Step_Left, qOverload<>(&QTimer::start));
    connect(u.Btn_Step_toLeft, &QToolButton::released, Timer_Step_Left, &QTimer::stop);
    connect(u.Btn_Step_toRight, &QToolButton::pressed, Timer_Step_Right, qOverload<>(&QTimer::start));
    connect(u.Btn_Step_toRight, &QToolButton::released, Timer_Step_Right, &QTimer::stop);

    u.DBChart_Navigator_Bottom->installEventFilter(this);
    m_window->installEventFilter(this);

    // The summary follows the navigator table: appended rows are added as they come; rows
    // taken away or rewritten in place make it be built again when it is next drawn.
    SampleTable* table = &recorder->Navigator;
    connect(table, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { rowsAdded(first, last); });
    connect(table, &QAbstractItemModel::rowsRemoved, this, [this] { m_summaryStale = true; });
    connect(table, &QAbstractItemModel::modelReset, this, [this] { m_summaryStale = true; });
    connect(table, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& from) {
        if (from.row() > 0) m_summaryStale = true;
    });
}

int ChartNavigator::tableColumn(int navSeries) {
    return navSeries >= 0 && navSeries < Series ? kNav[navSeries].column : -1;
}

bool ChartNavigator::seriesShown(int navSeries) const {
    const NavSeries& n = kNav[navSeries];
    return n.always || !m_params->seriesRow(n.param).name->isHidden();
}

int ChartNavigator::stripWidth() const { return std::max(1, m_panel->ui.DBChart_Navigator_Bottom->width()); }

void ChartNavigator::rowsAdded(int first, int last) {
    const SampleTable& t = m_rec->Navigator;
    if (m_summaryStale || first != int(m_summary[0].count()) + 1) {
        m_summaryStale = true;
        return;
    }
    for (int c = 0; c < Series; ++c) {
        MinMaxSummary& s = m_summary[std::size_t(c)];
        const SampleColumn& col = t.column(c + 2);
        for (int row = first; row <= last; ++row) s.append(col.at(row - 1));
    }
}

void ChartNavigator::rebuildSummary() {
    const SampleTable& t = m_rec->Navigator;
    for (int c = 0; c < Series; ++c) {
        MinMaxSummary& s = m_summary[std::size_t(c)];
        s.clear();
        const SampleColumn& col = t.column(c + 2);
        for (int i = 0; i < t.samples(); ++i) s.append(col.at(i));
    }
    m_summaryStale = false;
}

void ChartNavigator::setWindow(int left, int width) {
    m_left = left;
    m_width = width;
    const int drawn = std::max(width, MinDrawnWidth);
    m_window->setGeometry(left - (drawn - width) / 2, m_window->y(), drawn, m_window->height());
}

// --- showing the strip --------------------------------------------------------------

void ChartNavigator::atb_Show_NavigatorClick() {
    LiveRecorder& r = *m_rec;
    const bool english = msgs().english();
    if (r.Row_Arhiv <= 1 || r.Navigator.samples() == 0) {
        m_ctx->error(recordfile::nothingRecordedMessage(english));
        return;
    }
    const auto& u = m_panel->ui;
    for (QWidget* w : std::initializer_list<QWidget*>{u.atb_Show_Navigator, u.Btn_toBegin, u.Btn_Page_toLeft,
                                                      u.Btn_Step_toLeft, u.Btn_Step_toRight, u.Btn_Page_toRight,
                                                      u.Btn_toEnd})
        w->setEnabled(true);
    m_window->show();
    m_window->raise();

    // The page is measured in samples of the interval in force; a record opened in a fresh
    // window has no page yet, and the first page must not be empty.
    r.Page_Samples = r.pageSamples();
    // The strip's axis and the window are measured on the samples as they were counted
    // while recording; from here on the total is the table's row count plus one.
    const double total = r.Samples_Total > 0 ? r.Samples_Total : r.Row_Arhiv;
    QCustomPlot* strip = u.DBChart_Navigator_Bottom;
    strip->xAxis->setRange(0, total);
    setWindow(0, int(stripWidth() * r.Page_Samples / total));
    r.chart().setTimeRange(0, r.Page_Samples);
    r.Page_Begin = 0;
    r.Page_End = r.Page_Samples;
    r.Live.Time_Step = m_ctx->ex->Timer_Module_Graf->interval() / 1000.0;
    r.Samples_Total = r.Row_Arhiv;

    // Each show draws the whole recording afresh from the summaries (a series whose
    // parameter is hidden stays empty).
    if (m_summaryStale) rebuildSummary();
    QVector<double> keys, values;
    for (int s = 0; s < Series; ++s) {
        QCPGraph* g = strip->graph(s);
        if (!seriesShown(s)) {
            g->data()->clear();
            continue;
        }
        summary(kNav[s].column).points(&keys, &values);
        g->setData(keys, values, true);
    }
    strip->replot(QCustomPlot::rpQueuedReplot);
    r.chart().queueReplot();
}

void ChartNavigator::clear() {
    QCustomPlot* strip = m_panel->ui.DBChart_Navigator_Bottom;
    for (int i = 0; i < strip->graphCount(); ++i) strip->graph(i)->data()->clear();
    m_window->hide();
    m_dragging = false;
    Timer_Step_Left->stop();
    Timer_Step_Right->stop();
    strip->replot(QCustomPlot::rpQueuedReplot);
}

// --- moving the page ----------------------------------------------------------------

bool ChartNavigator::beginMove() {
    if (m_rec->Samples_Total <= 0) return false;
    m_rec->Page_Samples = m_rec->pageSamples();
    return true;
}

void ChartNavigator::showPage(double begin, double end) {
    LiveRecorder& r = *m_rec;
    r.Page_Begin = begin;
    r.Page_End = end;
    // The chart widens its axis first, so the new limits never pass through an inverted range.
    r.chart().setTimeRange(begin, end);
    r.chart().queueReplot();
    m_window->show();
    const int wn = stripWidth();
    setWindow(int(wn * begin / r.Samples_Total), int(wn * r.Page_Samples / r.Samples_Total));
}

void ChartNavigator::Btn_toBeginClick() {
    if (!beginMove()) return;
    showPage(0, m_rec->Page_Samples);
}

void ChartNavigator::Btn_Page_toLeftClick() {
    if (!beginMove()) return;
    const double lower = m_rec->chart().plot()->xAxis->range().lower;
    showPage(lower - m_rec->Page_Samples, lower);
}

void ChartNavigator::Btn_Step_toLeftClick() {
    if (!beginMove()) return;
    // A step is the recording interval in seconds, taken on the sample axis (a quarter of
    // a sample at 250 ms).
    const double s = m_ctx->ex->Timer_Module_Graf->interval() / 1000.0;
    m_rec->Live.Time_Step = s;
    showPage(m_rec->Page_Begin - s, m_rec->Page_End - s);
}

void ChartNavigator::Btn_Step_toRightClick() {
    if (!beginMove()) return;
    const double s = m_ctx->ex->Timer_Module_Graf->interval() / 1000.0;
    m_rec->Live.Time_Step = s;
    showPage(m_rec->Page_Begin + s, m_rec->Page_End + s);
}

void ChartNavigator::Btn_Page_toRightClick() {
    if (!beginMove()) return;
    const double upper = m_rec->chart().plot()->xAxis->range().upper;
    showPage(upper, upper + m_rec->Page_Samples);
}

void ChartNavigator::Btn_toEndClick() {
    if (!beginMove()) return;
    showPage(m_rec->Samples_Total - m_rec->Page_Samples, m_rec->Samples_Total);
}

void ChartNavigator::pageWidthChanged() {
    if (m_rec->Samples_Total <= 0) return;
    const int centre = m_left + m_width / 2;
    const int width = int((stripWidth() + 20) * m_rec->Page_Samples / m_rec->Samples_Total);
    setWindow(centre - width / 2, width);
}

// --- the strip and the window under the mouse ---------------------------------------

void ChartNavigator::pageFromWindow() {
    LiveRecorder& r = *m_rec;
    const double lower = double(m_left) * r.Samples_Total / stripWidth();
    r.chart().setTimeRange(lower, lower + r.Page_Samples);
    const QCPRange range = r.chart().plot()->xAxis->range();
    r.Page_Begin = range.lower;
    r.Page_End = range.upper;
    r.chart().queueReplot();
}

void ChartNavigator::stripPressed(int x) {
    setWindow(x - m_width / 2, m_width);
    pageFromWindow();
}

void ChartNavigator::windowPressed(QMouseEvent* e) {
    const int x = int(e->position().x());
    if (e->button() == Qt::LeftButton) {
        // x is measured on the window as drawn, which may be wider than the rule's window.
        const int ruleX = x + m_window->x() - m_left;
        setWindow(m_left + ruleX - m_width / 2, m_width);
        pageFromWindow();
    } else if (e->button() == Qt::RightButton) {
        m_dragging = true;
        m_dragX = x;
        m_window->raise();
    }
}

void ChartNavigator::windowMoved(QMouseEvent* e) {
    if (!m_dragging) return;
    setWindow(m_left + int(e->position().x()) - m_dragX, m_width);
}

void ChartNavigator::windowReleased() {
    m_dragging = false;
    pageFromWindow();
}

bool ChartNavigator::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease)
        return QObject::eventFilter(watched, event);
    // Nothing to browse until the strip has been shown (Clear hides the window again).
    const bool browsing = m_window && !m_window->isHidden() && m_rec->Samples_Total > 0;
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (browsing) windowPressed(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseMove:
            if (browsing) windowMoved(static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseButtonRelease:
            if (browsing) windowReleased();
            return true;
        default:
            return false;
        }
    }
    if (watched == m_panel->ui.DBChart_Navigator_Bottom &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)) {
        if (browsing) stripPressed(int(static_cast<QMouseEvent*>(event)->position().x()));
        return true;
    }
    return QObject::eventFilter(watched, event);
}
