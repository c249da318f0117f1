// The emulation curves' share of the transfers: reads (plain and through the read filter),
// writes and the live points of both curves. A curve walks its 64 points with the same
// cursor as the tables (8 x 8 for curve 1, 16 x 4 for curve 2).
#include "tables/tabletransfer.h"

#include "common/datetime.h"
#include "common/hex.h"
#include "common/messages.h"
#include "common/numtext.h"
#include "link/exchange.h"
#include "link/operationcontext.h"
#include "tables/curvecodec.h"
#include "tables/curvepanel.h"
#include "widgets/stepper.h"

#include <QTimer>

namespace {
// Ticks of a filtered read: every point is answered seven times.
constexpr int FilteredReadsPerPoint = curvecodec::FilterReadings + 1;
} // namespace

void TableTransfer::setUpCurves(Stepper* steppers) {
    Exchange* ex = m_ctx->ex;
    for (int curve : {1, 2}) {
        ex->setGate(curveReadTimer(curve, false),
                    [this, curve](const QString& chunk) { curveReadGate(curve, false, chunk); });
        ex->setGate(curveReadTimer(curve, true),
                    [this, curve](const QString& chunk) { curveReadGate(curve, true, chunk); });
        ex->setGate(curveWriteTimer(curve),
                    [this, curve](const QString& chunk) { curveWriteGate(curve, chunk); });
        ex->setGate(liveTimer(curve),
                    [this, curve](const QString& chunk) { liveGate(curve, chunk); });

        const auto& ui = curvePanel(curve)->ui;
        connect(ui.atb_Emu_In, &QToolButton::clicked, this,
                [this, curve] { atb_Emu_InClick(curve); });
        connect(ui.atb_Emu_Out, &QToolButton::clicked, this,
                [this, curve] { atb_Emu_OutClick(curve); });
        connect(ui.Btn_YellowPoints, &QPushButton::clicked, this,
                [this, curve] { Btn_YellowPointsClick(curve); });
        connect(ui.Btn_YellowPoints_Stop, &QPushButton::clicked, this,
                [this, curve] { Btn_YellowPoints_StopClick(curve); });
        if (steppers)
            steppers->attach(ui.atb_Num_Yellow_Points_Down, ui.atb_Num_Yellow_Points_Up,
                             ui.Ed_Num_Yellow_Points, StepRange{6, 36, 1, 1});
    }
    // Curve 1's live points come round(3000 / N) ms apart, so the ring of N points covers
    // about three seconds; curve 2 keeps its 250 ms.
    connect(ex->Timer_YellowPoints, &QTimer::timeout, this, &TableTransfer::retimeLivePoints);
}

QTimer* TableTransfer::curveReadTimer(int curve, bool filtered) const {
    Exchange* ex = m_ctx->ex;
    if (curve == 2) return filtered ? ex->Timer_Chart_2D_Filter_2 : ex->Timer_Chart_2D_2;
    return filtered ? ex->Timer_Chart_2D_Filter : ex->Timer_Chart_2D;
}

QTimer* TableTransfer::curveWriteTimer(int curve) const {
    return curve == 2 ? m_ctx->ex->Timer_2D_Table_In_2 : m_ctx->ex->Timer_2D_Table_In;
}

QTimer* TableTransfer::liveTimer(int curve) const {
    return curve == 2 ? m_ctx->ex->Timer_YellowPoints_2 : m_ctx->ex->Timer_YellowPoints;
}

bool TableTransfer::curveRunning() const {
    for (int curve : {1, 2})
        if (curveReadTimer(curve, false)->isActive() || curveReadTimer(curve, true)->isActive() ||
            curveWriteTimer(curve)->isActive() || liveTimer(curve)->isActive())
            return true;
    return false;
}

// --- read -----------------------------------------------------------------------------

void TableTransfer::atb_Emu_InClick(int curve) {
    if (!canStart()) return;
    CurvePanel* panel = curvePanel(curve);
    lock();
    panel->ui.atb_Interpolator_Lambda->setEnabled(true);
    if (curve == 1) m_ctx->log(QStringLiteral("ПОЛУЧИТЬ ТАБЛИЦУ 2D-ЛЯМБДА ") + nowText());
    panel->beginCurve();
    Cursor.start(curvecodec::firstCount(curve), curvecodec::secondCount(curve));
    sg_Emu_multi.clear();
    const bool filtered = panel->ui.atb_Lambda_Filter_On->isChecked();
    if (setProgressRange)
        setProgressRange(curvecodec::PointCount * (filtered ? FilteredReadsPerPoint : 1));
    m_ctx->ex->resetProgress();
    m_ctx->ex->start(curveReadTimer(curve, filtered), curvecodec::readItem(curve, 1));
}

void TableTransfer::curveReadGate(int curve, bool filtered, const QString& chunk) {
    Exchange* ex = m_ctx->ex;
    const int i = Cursor.point();
    const QString item = curvecodec::readItem(curve, i);
    if (ex->Cmd_Sent != item) return;
    ex->showSentCommand();
    const int byte = lowFirstByte(ex->answerText(chunk));
    if (byte < 0) {
        ex->Cmd_Pending = item; // asked again on the next tick
        return;
    }
    ex->movedOn();
    double volts = curvecodec::voltageFromByte(byte);
    if (filtered) {
        // One answer is one reading, however many pieces it arrives in: a piece after the
        // two digits (the answer's closing character) must not count it a second time.
        if (lowFirstByte(ex->receiveBuffer()) >= 0) return;
        if (sg_Emu_multi.size() < curvecodec::FilterReadings) {
            sg_Emu_multi << formatGeneral(volts);
            ex->Cmd_Pending = item;
            return;
        }
        QList<double> readings;
        for (const QString& t : std::as_const(sg_Emu_multi)) {
            double v = 0;
            parseNumber(t, &v);
            readings << v;
        }
        volts = readings.at(curvecodec::voteIndex(readings));
        sg_Emu_multi.clear();
    }
    curvePanel(curve)->showReadPoint(i, volts);
    if (!Cursor.advance()) {
        curveReadTimer(curve, filtered)->stop();
        btnStop_2D_Table();
        unlock();
        keepCurveCopy(curve, false);
        curvePanel(curve)->recordChange();
        return;
    }
    ex->Cmd_Pending = curvecodec::readItem(curve, Cursor.point());
}

void TableTransfer::btnStop_2D_Table() {
    for (int curve : {1, 2}) {
        curveReadTimer(curve, false)->stop();
        curveReadTimer(curve, true)->stop();
    }
    m_ctx->ex->resetProgress();
}

// --- write ----------------------------------------------------------------------------

void TableTransfer::atb_Emu_OutClick(int curve) {
    if (!canStart()) return;
    CurvePanel* panel = curvePanel(curve);
    // Every item is built before the first one leaves: a point that is not a number stops
    // the write before anything was sent, and a point beyond 5 V (opened from a file) is
    // written as 5 V rather than as a three-digit item.
    m_writeItems.clear();
    m_writeBytes.clear();
    for (int i = 1; i <= curvecodec::PointCount; ++i) {
        const QString text = panel->pointText(i);
        double volts = 0;
        if (!parseNumber(text, &volts)) {
            m_ctx->error(curvecodec::notANumberMessage(i, text, msgs().english()));
            return;
        }
        const int byte = curvecodec::voltageByte(volts);
        m_writeBytes << byte;
        m_writeItems << curvecodec::writeItem(curve, i, byte);
    }
    if (curve == 1) m_ctx->log(QStringLiteral("ЗАПИСАТЬ ТАБЛИЦУ 2D-ЛЯМБДА ") + nowText());
    Cursor.start(curvecodec::firstCount(curve), curvecodec::secondCount(curve));
    startItemWrite(curveWriteTimer(curve), curvecodec::PointCount);
}

void TableTransfer::curveWriteGate(int curve, const QString& chunk) {
    if (writeStep(chunk) != WriteStep::Done) return;
    finish(curveWriteTimer(curve), false);
    keepCurveCopy(curve, true);
}

// --- live points ----------------------------------------------------------------------

void TableTransfer::Btn_YellowPointsClick(int curve) {
    if (!canStart()) return;
    curvePanel(curve)->hideLivePoints();
    Ring_Position[curve - 1] = 0;
    if (curve == 1) retimeLivePoints();
    lock();
    m_ctx->ex->start(liveTimer(curve), curvecodec::livePointCommand());
}

void TableTransfer::Btn_YellowPoints_StopClick(int curve) {
    // Only a running live display is stopped: the Stop button stays enabled while other
    // transfers hold the interface lock, and must not release it under them.
    QTimer* timer = liveTimer(curve);
    if (!timer->isActive()) return;
    timer->stop();
    unlock();
}

void TableTransfer::stopLivePoints() {
    Btn_YellowPoints_StopClick(1);
    Btn_YellowPoints_StopClick(2);
}

void TableTransfer::retimeLivePoints() {
    QTimer* timer = m_ctx->ex->Timer_YellowPoints;
    const int interval = int(roundHalfEven(3000.0 / m_curve1->livePointCount()));
    if (timer->interval() != interval) timer->setInterval(interval);
}

void TableTransfer::liveGate(int curve, const QString& chunk) {
    Exchange* ex = m_ctx->ex;
    if (ex->Cmd_Sent != curvecodec::livePointCommand()) return;
    ex->showSentCommand();
    ex->Cmd_Pending = curvecodec::livePointCommand();
    // Every receive event places a point; an answer still incomplete keeps the last values.
    const curvecodec::LiveSample s = curvecodec::decodeLiveAnswer(ex->answerText(chunk));
    if (s.hasX || s.hasV) ex->movedOn();
    const int k = curve - 1;
    if (s.hasX) m_liveX[k] = truncDecimals(s.x, 2);
    if (s.hasV) m_liveV[k] = truncDecimals(s.v, 2);
    CurvePanel* panel = curvePanel(curve);
    const int p = ++Ring_Position[k];
    panel->showLivePoint(p, m_liveX[k], m_liveV[k]);
    if (p >= panel->livePointCount()) Ring_Position[k] = 0;
}
