#include "telemetry/replaycontroller.h"

#include "telemetry/paramchart.h"
#include "telemetry/parampanel.h"
#include "telemetry/referencerecording.h"
#include "telemetry/sampletable.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QMouseEvent>
#include <QTimer>
#include <qcustomplot.h>

#include <cmath>

namespace {
const QString kLayer = QStringLiteral("replay");
// A press that moves no further than this (pixels) before its release is a click.
constexpr double kClickSlack = 4;

qint64 steadyNs() {
    static QElapsedTimer clock;
    if (!clock.isValid()) clock.start();
    return clock.nsecsElapsed();
}
} // namespace

const std::array<int, 6>& ReplayController::speeds() {
    static const std::array<int, 6> s{1, 2, 4, 8, 16, 64};
    return s;
}

ReplayController::ReplayController(const SampleTable* archive, ParamChart* chart, ParamPanel* params, QObject* parent)
    : QObject(parent), m_archive(archive), m_chart(chart), m_params(params) {
    m_frames = new QTimer(this);
    m_frames->setObjectName(QStringLiteral("Timer_Replay"));
    m_frames->setTimerType(Qt::PreciseTimer);
    m_frames->setInterval(FrameMs);
    connect(m_frames, &QTimer::timeout, this, &ReplayController::frame);

    QCustomPlot* plot = chart->plot();
    // Under the hover readout, whose texts stay readable over the cursor.
    if (!plot->layer(kLayer)) {
        QCPLayer* readout = plot->layer(QStringLiteral("readout"));
        if (readout)
            plot->addLayer(kLayer, readout, QCustomPlot::limBelow);
        else
            plot->addLayer(kLayer, plot->layer(plot->layerCount() - 1), QCustomPlot::limAbove);
    }
    m_layer = plot->layer(kLayer);
    m_layer->setMode(QCPLayer::lmBuffered);
    m_cursor = new QCPItemStraightLine(plot);
    m_cursor->setLayer(m_layer);
    m_cursor->setPen(QPen(QColor(200, 0, 0), 2));
    m_cursor->setSelectable(false);
    m_cursor->setVisible(false);
    plot->installEventFilter(this);

    // A recording that starts or continues, a record opened and Clear change what the rows
    // are: the replay ends where it stands.
    auto changed = [this] {
        if (m_active) stop(false);
    };
    connect(archive, &QAbstractItemModel::rowsInserted, this, changed);
    connect(archive, &QAbstractItemModel::rowsRemoved, this, changed);
    connect(archive, &QAbstractItemModel::modelReset, this, changed);
    connect(archive, &QAbstractItemModel::dataChanged, this, [changed](const QModelIndex& from) {
        if (from.row() > 0) changed();
    });
}

ReplayController::~ReplayController() = default;

qint64 ReplayController::nowNs() const { return now ? now() : steadyNs(); }

int ReplayController::base() const { return m_chart->sampleCount() - m_archive->samples(); }

int ReplayController::rows() const { return base() >= 0 ? m_archive->samples() : 0; }

double ReplayController::gapAfter(int row) const {
    const double gap = m_archive->value(row + 1, 0) - m_archive->value(row, 0);
    return std::isfinite(gap) ? std::clamp(gap, 0.0, MaxGap) : 0.0;
}

double ReplayController::clockTime() const {
    if (!m_playing) return m_clockAt;
    return m_clockAt + double(nowNs() - m_wallAt) * 1e-9 * m_speed;
}

double ReplayController::dueTime(int row) const {
    // Rows are due one gap after another from the shown row on.
    double due = m_rowDue;
    for (int r = m_row; r < row && r < rows(); ++r) due += gapAfter(r);
    for (int r = m_row; r > row && r > 1; --r) due -= gapAfter(r - 1);
    return due;
}

void ReplayController::restartClock() {
    m_clockAt = m_rowDue;
    m_wallAt = nowNs();
}

ReplayController::Refusal ReplayController::start(double chartKey) {
    if (recording && recording()) return Refusal::Recording;
    const int n = rows();
    if (n <= 0) return Refusal::NothingToReplay;
    const int first = base(), last = base() + n - 1;
    int index = std::isfinite(chartKey) ? int(std::lround(chartKey)) : -1;
    if (!std::isfinite(chartKey) || index < first || index > last) {
        // The page's first sample, or the recording's first when the page lies beyond it.
        const double lower = std::ceil(m_chart->plot()->xAxis->range().lower);
        index = std::isfinite(lower) && lower >= first && lower <= last ? int(lower) : first;
    }
    if (!m_active) {
        const QCPRange range = m_chart->plot()->xAxis->range();
        m_savedLower = range.lower;
        m_savedUpper = range.upper;
        if (m_params)
            for (int s = 0; s < reference::Series; ++s)
                m_savedReadouts[std::size_t(s)] = m_params->seriesRow(s).readout->text();
        m_active = true;
        setCursorVisible(true);
        emit started();
    }
    seekRow(index - first + 1);
    play();
    return Refusal::None;
}

QString ReplayController::refusalMessage(Refusal refusal, bool english) {
    switch (refusal) {
    case Refusal::Recording:
        return english ? QStringLiteral("A recording cannot be played while a recording runs.")
                       : QStringLiteral("Запись нельзя воспроизвести, пока идёт запись.");
    case Refusal::NothingToReplay:
        return english ? QStringLiteral("There is no recording on the chart to play.")
                       : QStringLiteral("На графике нет записи для воспроизведения.");
    case Refusal::None:
        break;
    }
    return {};
}

void ReplayController::stop(bool restore) {
    if (!m_active) return;
    m_frames->stop();
    m_active = false;
    m_playing = false;
    m_pressed = false;
    setCursorVisible(false);
    if (restore) {
        if (showPage)
            showPage(m_savedLower, m_savedUpper);
        else {
            m_chart->setTimeRange(m_savedLower, m_savedUpper);
            m_chart->queueReplot();
        }
        if (m_params)
            for (int s = 0; s < reference::Series; ++s) m_params->seriesRow(s).readout->setText(m_savedReadouts[std::size_t(s)]);
    }
    if (clearOperatingPoint) clearOperatingPoint();
    emit stopped(restore);
    emit stateChanged();
}

void ReplayController::pause() {
    if (!m_playing) return;
    m_clockAt = clockTime();
    m_playing = false;
    m_frames->stop();
    emit stateChanged();
}

void ReplayController::play() {
    if (!m_active || m_playing) return;
    if (m_row >= rows()) seekRow(1);
    m_playing = true;
    // The clock goes on from where the pause held it, part of a gap included.
    m_wallAt = nowNs();
    m_frames->start();
    emit stateChanged();
}

void ReplayController::togglePause() {
    if (m_playing)
        pause();
    else
        play();
}

void ReplayController::step(int n) {
    if (!m_active) return;
    pause();
    seekRow(m_row + n);
}

void ReplayController::seekRow(int row) {
    if (!m_active) return;
    const int n = rows();
    if (n <= 0) {
        stop(false);
        return;
    }
    m_row = std::clamp(row, 1, n);
    m_rowDue = 0;
    restartClock();
    show(0);
}

void ReplayController::seekKey(double chartKey) {
    if (!m_active || !std::isfinite(chartKey)) return;
    seekRow(int(std::lround(chartKey)) - base() + 1);
}

void ReplayController::setSpeed(int speed) {
    if (speed <= 0 || speed == m_speed) return;
    // The clock goes on from where it stands at the new pace.
    m_clockAt = clockTime();
    m_wallAt = nowNs();
    m_speed = speed;
    emit stateChanged();
}

void ReplayController::frame() {
    if (!m_playing) return;
    const int n = rows();
    if (n <= 0) {
        stop(false);
        return;
    }
    const double clock = clockTime();
    const int from = m_row;
    while (m_row < n) {
        const double next = m_rowDue + gapAfter(m_row);
        if (next > clock) break;
        m_rowDue = next;
        ++m_row;
    }
    if (m_row != from) show(from);
    if (m_row >= n) {
        // The end: the last row stays shown, paused.
        m_clockAt = m_rowDue;
        m_playing = false;
        m_frames->stop();
        emit stateChanged();
    }
}

void ReplayController::show(int from) {
    if (m_params)
        for (int s = 0; s < reference::Series; ++s)
            m_params->showReadout(s, m_archive->value(m_row, reference::archiveColumn(s)));
    m_cursor->point1->setCoords(chartIndex(), 0);
    m_cursor->point2->setCoords(chartIndex(), 1);
    followPage();
    redrawCursor();

    if (addOperatingPoint && (!operatingPointWanted || operatingPointWanted())) {
        // The rows passed since the last frame join the trail; a jump takes it anew.
        const bool jump = from <= 0 || from >= m_row || m_row - from >= trailLength;
        if (jump) {
            feedTrail();
        } else {
            for (int r = from + 1; r <= m_row; ++r) feedPoint(r);
        }
    }
    emit rowChanged(m_row);
}

void ReplayController::feedPoint(int row) {
    using namespace archive::column;
    addOperatingPoint(m_archive->value(row, TP), m_archive->value(row, AI), m_archive->value(row, SP));
}

void ReplayController::feedTrail() {
    if (!m_active || !addOperatingPoint) return;
    if (clearOperatingPoint) clearOperatingPoint();
    for (int r = std::max(1, m_row - trailLength + 1); r <= m_row; ++r) feedPoint(r);
}

void ReplayController::followPage() {
    const QCPRange range = m_chart->plot()->xAxis->range();
    const double x = chartIndex();
    if (x >= range.lower && x <= range.upper) return;
    // Whole pages to the right from the page's end, or to the left from its start, as the
    // navigator's page buttons would move it, as many as it takes to reach the sample.
    const double width = pageSamples ? pageSamples() : range.size();
    const double w = std::isfinite(width) && width > 0 ? width : std::max(1.0, range.size());
    double begin;
    if (x > range.upper) {
        const double k = std::ceil((x - range.upper) / w);
        begin = range.upper + (k - 1) * w;
    } else {
        const double k = std::ceil((range.lower - x) / w);
        begin = range.lower - k * w;
    }
    if (showPage) {
        showPage(begin, begin + w);
    } else {
        m_chart->setTimeRange(begin, begin + w);
        m_chart->queueReplot();
    }
}

void ReplayController::setCursorVisible(bool visible) {
    if (m_cursor->visible() == visible) return;
    m_cursor->setVisible(visible);
    redrawCursor();
}

bool ReplayController::cursorShown() const { return m_cursor->visible(); }

void ReplayController::redrawCursor() {
    if (m_redrawQueued) return;
    m_redrawQueued = true;
    // One redraw of the cursor's layer per pass of the event loop; a page change replots
    // the whole chart anyway, and the layer with it.
    QMetaObject::invokeMethod(this, [this] {
        m_redrawQueued = false;
        m_layer->replot();
    }, Qt::QueuedConnection);
}

bool ReplayController::eventFilter(QObject* watched, QEvent* event) {
    if (!m_active || watched != m_chart->plot()) return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        m_pressed = e->button() == Qt::LeftButton && !(e->modifiers() & Qt::ShiftModifier) &&
                    m_chart->plot()->axisRect()->rect().contains(e->position().toPoint());
        m_pressAt = e->position();
        break;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (m_pressed && (e->position() - m_pressAt).manhattanLength() > kClickSlack) m_pressed = false;
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (m_pressed && e->button() == Qt::LeftButton &&
            (e->position() - m_pressAt).manhattanLength() <= kClickSlack)
            seekKey(m_chart->plot()->xAxis->pixelToCoord(e->position().x()));
        m_pressed = false;
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
