#include "app/replayviews.h"

#include "analysis/cellcompare.h"
#include "app/framelimiter.h"
#include "app/recordingviews.h"
#include "common/numtext.h"
#include "common/messages.h"
#include "link/operationcontext.h"
#include "tables/table3dpanel.h"
#include "telemetry/chartmenu.h"
#include "telemetry/chartnavigator.h"
#include "telemetry/chartpanel.h"
#include "telemetry/chartreadout.h"
#include "telemetry/comparison.h"
#include "telemetry/liverecorder.h"
#include "telemetry/referenceview.h"
#include "telemetry/replaybar.h"
#include "telemetry/replaycontroller.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QTimer>
#include <qcustomplot.h>

ReplayViews::ReplayViews(const Parts& parts, QObject* parent) : QObject(parent), m_p(parts) {
    setObjectName(QStringLiteral("Replays"));
    LiveRecorder* rec = parts.recorder;
    ChartPanel* chart = parts.chart;

    m_replay = new ReplayController(&rec->Arhiv, &rec->chart(), parts.params, this);
    m_replay->setObjectName(QStringLiteral("Replay"));
    QTimer* recording = parts.recordingTimer;
    m_replay->recording = [recording] { return recording->isActive(); };
    m_replay->pageSamples = [rec] { return rec->pageSamples(); };
    m_replay->showPage = [this](double begin, double end) { showPage(begin, end); };
    Table3DPanel* tables = parts.tables;
    m_replay->trailLength = Table3DPanel::TrailLength;
    m_replay->operatingPointWanted = [tables] { return tables->isVisible(); };
    m_replay->addOperatingPoint = [tables](double speed, double maf, double injection) {
        tables->addOperatingPoint(speed, maf, injection);
    };
    m_replay->clearOperatingPoint = [tables] { tables->clearOperatingPoint(); };
    tables->installEventFilter(this);
    m_bar = new ReplayBar(m_replay, chart, chart->ui.Chart1, parts.window);

    actReplay = parts.menu->addAction(QStringLiteral("actReplay"), QStringLiteral("Воспроизвести"), true);
    connect(actReplay, &QAction::triggered, this, &ReplayViews::actReplayClick);
    m_chartWidget = chart->ui.Chart1;
    chart->ui.Chart1->installEventFilter(this);

    // The page as it was before the replay comes back with Esc, the page variables with it.
    connect(m_replay, &ReplayController::started, this, [this, rec] {
        m_savedBegin = rec->Page_Begin;
        m_savedEnd = rec->Page_End;
    });
    connect(m_replay, &ReplayController::stopped, this, [this, rec](bool restored) {
        if (!restored) return;
        rec->Page_Begin = m_savedBegin;
        rec->Page_End = m_savedEnd;
    });
    // Every frame of a replay is painted; otherwise the window keeps its own pace.
    if (parts.frames) {
        m_normalFrames = parts.frames->interval();
        connect(m_replay, &ReplayController::stateChanged, this, [this] {
            m_p.frames->setInterval(m_replay->isPlaying() ? ReplayController::FrameMs : m_normalFrames);
        });
    }
    // What changes the recording on the chart ends the replay first.
    const auto& u = chart->ui;
    for (QToolButton* b : {u.atb_Chart1_Start, u.atb_Chart1_Continue, u.atb_Chart1_Clear, u.atb_Param_Open})
        connect(b, &QToolButton::clicked, m_replay, [this] { m_replay->stop(false); });

    // --- the comparison -------------------------------------------------------------------
    m_comparison = new Comparison(parts.ctx, parts.menu, &rec->chart(), &rec->Arhiv, chart, this);
    m_comparison->beforeDialog = [this] {
        if (beforeDialog) beforeDialog();
    };
    ReferenceView* view = m_comparison->view();
    // The hover readout: " / the comparison's value (main minus comparison)".
    rec->readout()->annotate = [view](int series, int index, double value) {
        double ref = 0;
        if (!view->isShown() || !view->valueAt(series, index, &ref)) return QString();
        return QStringLiteral(" / %1 (%2)").arg(formatGeneral(ref), analysis::differenceText(value - ref));
    };
    parts.recordingViews->referenceStatistics = [this](const analysis::Axis& speed, const analysis::Axis& load,
                                                       int loadCol, int paramCol, bool pageOnly) {
        return referenceStatistics(speed, load, loadCol, paramCol, pageOnly);
    };
    connect(m_comparison, &Comparison::changed, this, &ReplayViews::comparisonChanged);
}

void ReplayViews::comparisonChanged() {
    m_p.tables->setCellDifferenceAvailable(m_comparison->isShown());
    if (m_p.tables->cellStatisticsShown()) m_p.recordingViews->showStatistics();
}

std::optional<analysis::CellGrid> ReplayViews::referenceStatistics(const analysis::Axis& speed,
                                                                   const analysis::Axis& load, int loadCol,
                                                                   int paramCol, bool pageOnly) const {
    const auto recording = m_comparison->recording();
    if (!recording) return std::nullopt;
    int first = 0, last = recording->samples() - 1;
    if (pageOnly) {
        // The comparison's samples that lie on the chart's page as it is drawn there.
        const reference::Alignment a = m_comparison->view()->alignment();
        const QCPRange range = m_p.recorder->chart().plot()->xAxis->range();
        std::tie(first, last) = recording->within(a.referenceTime(range.lower), a.referenceTime(range.upper));
    }
    const reference::Recording& r = *recording;
    return analysis::binRows(speed, load, loadCol, paramCol, first, last,
                             [&r](int row, int col) { return r.value(row, col); });
}

void ReplayViews::menuOpening(double x) {
    m_menuKey = m_p.recorder->chart().plot()->xAxis->pixelToCoord(x);
    actReplay->setEnabled(!m_p.recordingTimer->isActive() && m_replay->rows() > 0);
}

void ReplayViews::actReplayClick() {
    const ReplayController::Refusal refusal = m_replay->start(m_menuKey);
    m_menuKey = std::nan("");
    if (refusal != ReplayController::Refusal::None)
        m_p.ctx->error(ReplayController::refusalMessage(refusal, msgs().english()));
}

void ReplayViews::showPage(double begin, double end) {
    LiveRecorder* rec = m_p.recorder;
    // With the navigator shown its window moves with the page; without it the chart alone.
    // (The chart panel need not be in front: the tables may be watched meanwhile.)
    if (!m_p.chart->ui.Blue_Line->isHidden()) {
        rec->navigator().showPage(begin, end);
        return;
    }
    rec->Page_Begin = begin;
    rec->Page_End = end;
    rec->chart().setTimeRange(begin, end);
    rec->chart().queueReplot();
}

bool ReplayViews::eventFilter(QObject* watched, QEvent* event) {
    // The table panel shown during a replay takes the trail up to the shown row, after the
    // recording's own reaction to the panel (which clears the point) has run.
    if (watched == m_p.tables && event->type() == QEvent::Show && m_replay->isActive())
        QMetaObject::invokeMethod(m_replay, &ReplayController::feedTrail, Qt::QueuedConnection);
    // Runs before the chart shows its actions' menu.
    if (watched == m_chartWidget && event->type() == QEvent::ContextMenu)
        menuOpening(static_cast<QContextMenuEvent*>(event)->pos().x());
    return QObject::eventFilter(watched, event);
}
