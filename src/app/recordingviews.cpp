#include "app/recordingviews.h"

#include "analysis/cellstats.h"
#include "tables/table3dpanel.h"
#include "telemetry/chartpanel.h"
#include "telemetry/liverecorder.h"

#include <QEvent>
#include <QTimer>
#include <qcustomplot.h>

#include <cmath>

using namespace analysis;

RecordingViews::RecordingViews(LiveRecorder* recorder, ChartPanel* chart, QTimer* recordingTimer,
                               Table3DPanel* tables, QObject* parent)
    : QObject(parent), m_rec(recorder), m_recording(recordingTimer), m_tables(tables) {
    connect(recorder, &LiveRecorder::sampleRecorded, this, &RecordingViews::sampleRecorded);
    tables->installEventFilter(this);
    // A new recording starts without a trail; a stopped or cleared one leaves none.
    const auto& u = chart->ui;
    for (QToolButton* b : {u.atb_Chart1_Start, u.atb_Chart1_Stop, u.atb_Chart1_Clear})
        connect(b, &QToolButton::clicked, tables, &Table3DPanel::clearOperatingPoint);

    m_statsTimer = new QTimer(this);
    m_statsTimer->setSingleShot(true);
    m_statsTimer->setInterval(250);
    connect(m_statsTimer, &QTimer::timeout, this, [this] {
        if (m_tables->cellStatisticsShown() && m_tables->isVisible()) showStatistics();
    });
    connect(tables, &Table3DPanel::cellStatisticsWanted, this, &RecordingViews::showStatistics);
    SampleTable* archive = &recorder->Arhiv;
    connect(archive, &QAbstractItemModel::rowsInserted, this, &RecordingViews::statisticsSoon);
    connect(archive, &QAbstractItemModel::rowsRemoved, this, &RecordingViews::statisticsSoon);
    connect(archive, &QAbstractItemModel::modelReset, this, &RecordingViews::statisticsSoon);
    connect(recorder->chart().plot()->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this, [this] {
        if (m_tables->statisticsOfPageOnly()) statisticsSoon();
    });
}

// --- the operating point ------------------------------------------------------------

void RecordingViews::sampleRecorded(int row) {
    // A hidden panel takes nothing: showing it takes the trail from the archive.
    if (!m_tables->isVisible()) return;
    const SampleTable& a = m_rec->Arhiv;
    m_tables->addOperatingPoint(a.value(row, column::TP), a.value(row, column::AI), a.value(row, column::SP));
}

void RecordingViews::trailFromArchive() {
    m_tables->clearOperatingPoint();
    if (!m_recording->isActive()) return;
    const SampleTable& a = m_rec->Arhiv;
    const int last = std::min(m_rec->Row_Arhiv - 1, a.samples());
    for (int row = std::max(1, last - Table3DPanel::TrailLength + 1); row <= last; ++row)
        m_tables->addOperatingPoint(a.value(row, column::TP), a.value(row, column::AI), a.value(row, column::SP));
}

bool RecordingViews::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_tables && event->type() == QEvent::Show) {
        trailFromArchive();
        if (m_tables->cellStatisticsShown()) statisticsSoon();
    }
    return QObject::eventFilter(watched, event);
}

// --- cell statistics ----------------------------------------------------------------

void RecordingViews::statisticsSoon() {
    if (m_tables->cellStatisticsShown() && !m_statsTimer->isActive()) m_statsTimer->start();
}

std::pair<int, int> RecordingViews::statisticsRows() const {
    return recordingRows(m_tables->statisticsOfPageOnly());
}

int RecordingViews::recordedSamples() const { return std::min(m_rec->Row_Arhiv - 1, m_rec->Arhiv.samples()); }

std::pair<int, int> RecordingViews::recordingRows(bool pageOnly) const {
    const int samples = recordedSamples();
    if (!pageOnly) return {1, samples};
    // The chart may hold samples of an earlier recording before those of the archive (a
    // Start or an opened record without Clear): the archive's rows are its last samples.
    const ParamChart& chart = m_rec->chart();
    const int offset = chart.sampleCount() - samples;
    const QCPRange range = chart.plot()->xAxis->range();
    const double lo = std::ceil(range.lower), hi = std::floor(range.upper);
    if (!std::isfinite(lo) || !std::isfinite(hi)) return {1, 0};
    const int first = int(std::clamp(lo - offset + 1, 1.0, double(samples) + 1));
    const int last = int(std::clamp(hi - offset + 1, 0.0, double(samples)));
    return {first, last};
}

void RecordingViews::showStatistics() {
    m_statsTimer->stop();
    const auto [first, last] = statisticsRows();
    const SampleTable& a = m_rec->Arhiv;
    const bool maf = m_tables->loadAxisIsMafVoltage();
    const CellGrid grid = binRows(m_tables->speedBreakpoints(), m_tables->loadBreakpoints(), loadColumn(maf),
                                  m_tables->statisticsColumn(), first, last,
                                  [&a](int row, int col) { return a.column(col).at(row - 1); });
    std::optional<CellGrid> reference;
    if (m_tables->statisticsAsDifference() && referenceStatistics)
        reference = referenceStatistics(m_tables->speedBreakpoints(), m_tables->loadBreakpoints(), loadColumn(maf),
                                        m_tables->statisticsColumn(), m_tables->statisticsOfPageOnly());
    m_tables->showCellStatistics(grid, reference ? &*reference : nullptr);
}
