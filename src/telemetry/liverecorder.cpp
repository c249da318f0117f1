#include "telemetry/liverecorder.h"

#include "common/archivecolumns.h"
#include "common/messages.h"
#include "common/numtext.h"
#include "dialogs/confirmations.h"
#include "link/connection.h"
#include "link/exchange.h"
#include "link/operationcontext.h"
#include "telemetry/chartaxes.h"
#include "telemetry/chartreadout.h"
#include "telemetry/chartnavigator.h"
#include "telemetry/chartpanel.h"
#include "telemetry/parampanel.h"
#include "telemetry/journalkeeper.h"
#include "telemetry/seriescontrols.h"
#include "widgets/stepper.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>
#include <qcustomplot.h>

using namespace live;

namespace {

// Recording intervals by item index of the interval list, ms.
constexpr int kIntervals[7] = {100, 200, 250, 500, 1000, 1500, 2000};

const QStringList kNavigatorHeads = {"Step",     "SP",       "STR",    "AI",        "TP",     "SD",
                                     "Lambda_1", "Lambda_2", "U_1_do", "U_1_posle", "U_2_do", "U_2_posle"};

const QStringList kFuelReset = {"0004$", "0014$", "0024$"};

bool ask(const std::function<bool()>& f) { return f && f(); }

double editNumber(const QLineEdit* e, double fallback) {
    double v = fallback;
    return parseNumber(e->text(), &v) ? v : fallback;
}

} // namespace

LiveRecorder::LiveRecorder(OperationContext* ctx, ChartPanel* chart, ParamPanel* params, Stepper* steppers,
                           LiveInputs inputs, QObject* parent)
    : QObject(parent), Arhiv(12, 0), Navigator(13, 1, 2), m_ctx(ctx), m_panel(chart), m_params(params),
      m_in(std::move(inputs)) {
    m_chart = std::make_unique<ParamChart>(chart->ui.Chart1);
    m_readout = new ChartReadout(m_chart.get(), this);
    m_axes = new ChartAxes(chart, params, &Live, this);
    m_series = new SeriesControls(ctx, params, m_chart.get(), m_in.hidePanels, this);
    m_nav = new ChartNavigator(ctx, chart, params, this, this);
    m_journal = new JournalKeeper(ctx, &Arhiv, this);
    connect(this, &LiveRecorder::sampleRecorded, m_journal, &JournalKeeper::sampleRecorded);
    Arhiv.setHeads(archive::codes());
    chart->StringGrid_Arhiv->setModel(&Arhiv);
    chart->StringGrid_Navigator->setModel(&Navigator);

    Exchange* ex = ctx->ex;
    ex->setGate(ex->Timer_NeprOpros, [this](const QString& chunk) { liveGate(chunk); });
    ex->setGate(ex->Timer_Get_0, [this](const QString& chunk) { fuelResetGate(chunk); });
    // A module that stops answering during a recording: the recording goes on (the values
    // hold their last ones) and the exchange says so, and again when the answers return.
    ex->setStallEnd(ex->Timer_NeprOpros, [](StallKind) { return StallReport{QStringLiteral("recording"), {}}; });
    ex->setStallEnd(ex->Timer_Get_0, [ex](StallKind) {
        ex->Timer_Get_0->stop();
        return StallReport{QStringLiteral("fuelReset"), {}};
    });
    connect(ex->Timer_Module_Graf, &QTimer::timeout, this, &LiveRecorder::Timer_Module_GrafTimer);

    const auto& u = chart->ui;
    connect(u.atb_Chart1_Start, &QToolButton::clicked, this, &LiveRecorder::atb_Chart1_StartClick);
    connect(u.atb_Chart1_Pause, &QToolButton::clicked, this, &LiveRecorder::atb_Chart1_PauseClick);
    connect(u.atb_Chart1_Continue, &QToolButton::clicked, this, &LiveRecorder::atb_Chart1_ContinueClick);
    connect(u.atb_Chart1_Stop, &QToolButton::clicked, this, &LiveRecorder::atb_Chart1_StopClick);
    connect(u.atb_Chart1_Clear, &QToolButton::clicked, this, &LiveRecorder::atb_Chart1_ClearClick);
    connect(params->ui.atb_Get_0, &QToolButton::clicked, this, &LiveRecorder::atb_Get_0Click);
    m_typeCalc = params->ui.atb_RT_TypeCalc;
    m_typeCalc->installEventFilter(this);

    if (steppers) {
        steppers->attach(u.atb_PageDown, u.atb_PageUp, u.Edit_Width_Page_Graf, StepRange{3, 120, 1, 1},
                         [this] { pageWidthReleased(); });
        steppers->attach(u.atb_Limit_Down, u.atb_Limit_Up, u.Ed_Limit, StepRange{5, 100, 1, 1});
    }
}

LiveRecorder::~LiveRecorder() = default;

const QStringList& LiveRecorder::navigatorHeads() { return kNavigatorHeads; }

int LiveRecorder::chosenInterval() const {
    const int i = m_in.intervalBox ? m_in.intervalBox->currentIndex() : -1;
    return i >= 0 && i < 7 ? kIntervals[i] : m_ctx->ex->Timer_Module_Graf->interval();
}

double LiveRecorder::pageSamples() const {
    const double width = editNumber(m_panel->ui.Edit_Width_Page_Graf, 5);
    return width * 1000 / m_ctx->ex->Timer_Module_Graf->interval();
}

TickSettings LiveRecorder::tickSettings() const {
    TickSettings t;
    t.crankIndex = m_in.crankIndex ? m_in.crankIndex() : -1;
    t.averaged = m_params->ui.atb_RT_TypeCalc->isChecked();
    t.mafAbove1kHz = ask(m_in.mafAbove1kHz);
    t.sensorType1 = m_ctx->module.Ed_Type_Datchik_1_RU;
    t.sensorType2 = m_ctx->module.Ed_Type_Datchik_2_RU;
    t.current1 = m_params->ui.CheckBox_D1->isChecked();
    t.current2 = m_params->ui.CheckBox_D2->isChecked();
    t.emulator = ask(m_in.emulatorOn);
    t.optimizer = ask(m_in.optimizerOn);
    t.mafP = ask(m_in.mafPOn);
    t.displacement = ask(m_in.displacementOn);
    t.limitPercent = editNumber(m_panel->ui.Ed_Limit, 10);
    t.startTick = Graf_Start_Flag == 1;
    return t;
}

// --- the live cycle -----------------------------------------------------------------

void LiveRecorder::liveGate(const QString& chunk) {
    Exchange* ex = m_ctx->ex;
    ex->showSentCommand();
    const bool startAnswer = Graf_Start_Flag == 1;
    const GateStep step = live::liveGate(Digits, Graf_Start_Flag, ex->Cmd_Sent, ex->answerText(chunk));
    ex->Cmd_Pending = step.next;
    ex->movedOn();
    if (step.endCycle) ex->Timer_NeprOpros->stop();
    // The "47&" digits are the identification's bytes 74 and 75: one store for both.
    if (startAnswer && m_in.connection) {
        m_in.connection->Byte_74 = {Digits.rashTopl[0], Digits.rashTopl[1]};
        m_in.connection->Byte_75 = {Digits.rashTopl[2], Digits.rashTopl[3]};
    }
}

void LiveRecorder::Timer_Module_GrafTimer() {
    Exchange* ex = m_ctx->ex;
    pagingStep();

    // A cycle that still waits for data answers runs on: at 100 ms a tick comes before the
    // cycle's third command, and restarting would leave every parameter but the sensor
    // words unread for the whole recording. A cycle that ended, or has only its closing
    // command left unsent, starts anew. One whose closing command is out waits for its
    // answer: sent after a restart, that answer would be read as the sensor words.
    const bool restart = !ex->Timer_NeprOpros->isActive() ||
                         (ex->Cmd_Pending == kCmdClose && ex->Cmd_Sent != kCmdClose);
    if (restart) ex->Cmd_Pending = Graf_Start_Flag == 1 ? kCmdStart : kCmdSensors;

    if (m_in.connection) {
        const Connection* c = m_in.connection;
        Digits.rashTopl = {c->Byte_74.d1, c->Byte_74.d2, c->Byte_75.d1, c->Byte_75.d2};
    }
    Live.K_RashTopl = m_ctx->module.K_RashTopl;
    const MafIndicator indicator = convertSample(Live, Digits, tickSettings());
    m_ctx->module.K_RashTopl = Live.K_RashTopl;
    if (indicator != MafIndicator::Unchanged) {
        QPalette pal = m_params->ui.Shape100->palette();
        pal.setColor(QPalette::Window, indicator == MafIndicator::Red ? QColor(Qt::red) : QColor(Qt::white));
        m_params->ui.Shape100->setPalette(pal);
    }
    // The presets follow the ranges just converted (those of the sensors change with the
    // sensor type and the mode).
    m_axes->reapplyPresets();

    advanceTime(Live, ex->Timer_Module_Graf->interval());
    showReadouts();
    computePercents(Live);
    plotSample();
    writeRows();

    if (restart) {
        bool ok = false;
        const int period = m_in.cycleInterval ? m_in.cycleInterval->text().trimmed().toInt(&ok) : 0;
        ex->Timer_NeprOpros->setInterval(ok && period > 0 ? period : 50);
        ex->Timer_NeprOpros->start();
    }
    Page_Count += 1;
    Samples_Total += 1;

    if (m_panel->ui.atb_Type_Graf_Nepr->isChecked()) m_chart->fitTimeAxis();
    m_chart->queueReplot();
    emit sampleRecorded(Row_Arhiv - 1);
}

void LiveRecorder::pagingStep() {
    Page_Samples = pageSamples();
    if (Page_Count != 0 && Page_Count >= Page_Samples) {
        Page_Begin = Page_End;
        Page_End = Page_End + Page_Samples;
        Page_Count = 0;
    }
    // In continuous mode the axis is fitted once this tick's sample is in.
    if (m_panel->ui.atb_Type_Graf_Page->isChecked()) m_chart->setTimeRange(Page_Begin, Page_End);
}

void LiveRecorder::showReadouts() {
    for (int s = 0; s < PlottedCount; ++s) m_params->showReadout(s, Live.p[std::size_t(s)].Value);
    const auto& u = m_params->ui;
    u.Lbl_digDMRV_Output->setText(u.atb_digDMRV_Output->isHidden() ? QString() : formatGeneral(Live.p[DigOut].Value));
    u.Lbl_KRT->setText(formatGeneral(Live.p[KRT].Value));
}

void LiveRecorder::plotSample() {
    std::array<double, ParamChart::Series> values;
    for (int s = 0; s < PlottedCount; ++s) values[std::size_t(s)] = Live.p[std::size_t(s)].Value;
    m_chart->appendSample(Live.sampleTime, values, m_series->pointColors());
}

void LiveRecorder::writeRows() {
    double arhiv[1 + PlottedCount];
    double nav[1 + PlottedCount];
    arhiv[0] = nav[0] = Live.sampleTime;
    for (int i = 0; i < PlottedCount; ++i) {
        const Param p = columnParam(1 + i);
        const GrafParam& g = Live.p[p];
        arhiv[1 + i] = g.Value;
        // The sensor voltages count in the overview only while their rows are shown.
        const bool voltage = p >= U1do && p <= U2posle;
        nav[1 + i] = voltage && m_params->seriesRow(p).name->isHidden() ? 0 : g.Percent;
    }
    Arhiv.setRow(Row_Arhiv, arhiv);
    Navigator.setRow(Row_Arhiv, nav);
    ++Row_Arhiv;
}

// --- recording buttons --------------------------------------------------------------

namespace {
void setBrowsingEnabled(ChartPanel* p, bool on) {
    const auto& u = p->ui;
    for (QWidget* w : std::initializer_list<QWidget*>{u.atb_Show_Navigator, u.Btn_toBegin, u.Btn_Page_toLeft,
                                                      u.Btn_Step_toLeft, u.Btn_Step_toRight, u.Btn_Page_toRight,
                                                      u.Btn_toEnd})
        w->setEnabled(on);
}
} // namespace

void LiveRecorder::atb_Chart1_StartClick() {
    Exchange* ex = m_ctx->ex;
    const auto& u = m_panel->ui;
    Navigator.setHeads(kNavigatorHeads);
    Row_Arhiv = 1;
    // Start writes both tables from row 1 again and nothing reads beyond Row_Arhiv, so the
    // rows of an earlier recording are let go at once instead of lingering.
    Arhiv.truncate(0);
    Navigator.truncate(0);
    m_journal->begin();

    ex->Timer_Module_Graf->setInterval(chosenInterval());
    if (u.atb_Type_Graf_Nepr->isChecked()) {
        m_chart->fitTimeAxis();
    } else {
        Page_Samples = pageSamples();
        Page_Begin = Page_Count;
        Page_End = Page_Begin + Page_Samples;
    }

    setBrowsingEnabled(m_panel, false);
    u.atb_Chart1_Stop->setEnabled(true);
    m_ctx->block();
    if (m_in.moduleOff) m_in.moduleOff->setEnabled(false);

    Graf_Start_Flag = 1;
    ex->watchFromNow(ex->Timer_NeprOpros);
    ex->Timer_Module_Graf->start();
    u.atb_Chart1_Start->hide();
    u.atb_Chart1_Pause->show();

    if (!m_in.crankIndex || m_in.crankIndex() < 0) {
        if (auto* d = qobject_cast<ConfirmationDialog*>(m_in.coefficientWarning)) {
            d->setLanguage(msgs().english());
            m_ctx->confirm(d); // information only; the recording keeps running
        }
    } else {
        m_series->activateForStart();
    }
}

void LiveRecorder::atb_Chart1_PauseClick() {
    m_ctx->ex->Timer_Module_Graf->stop();
    m_ctx->ex->Timer_NeprOpros->stop();
    m_ctx->ex->watchFromNow(m_ctx->ex->Timer_NeprOpros);
    m_panel->ui.atb_Chart1_Pause->hide();
    m_panel->ui.atb_Chart1_Continue->show();
    m_ctx->unblock();
    m_journal->flush();
}

void LiveRecorder::pauseIfRecording() {
    if (m_ctx->ex->Timer_Module_Graf->isActive()) atb_Chart1_PauseClick();
}

void LiveRecorder::atb_Chart1_ContinueClick() {
    m_ctx->ex->watchFromNow(m_ctx->ex->Timer_NeprOpros);
    m_ctx->ex->Timer_Module_Graf->start();
    m_panel->ui.atb_Chart1_Pause->show();
    m_panel->ui.atb_Chart1_Continue->hide();
    m_ctx->block();
}

void LiveRecorder::atb_Chart1_StopClick() {
    const auto& u = m_panel->ui;
    setBrowsingEnabled(m_panel, true);
    if (m_in.moduleOff) m_in.moduleOff->setEnabled(true);
    u.atb_Limit_Down->setEnabled(true);
    u.atb_Limit_Up->setEnabled(true);
    u.atb_Chart1_Clear->setEnabled(true);
    m_ctx->unblock();
    m_ctx->ex->Timer_Module_Graf->stop();
    m_ctx->ex->Timer_NeprOpros->stop();
    m_ctx->ex->watchFromNow(m_ctx->ex->Timer_NeprOpros);
    if (m_in.telemetryStatus) m_in.telemetryStatus(QString());
    // A stopped recording is browsed, not grown: give back what the growing reserved.
    m_chart->squeeze();
    m_journal->flush();
}

void LiveRecorder::atb_Chart1_ClearClick() {
    const auto& u = m_panel->ui;
    m_chart->clear();
    m_nav->clear();
    m_journal->clear();
    Page_Samples = Page_Begin = Page_End = Page_Count = 0;
    Samples_Total = 0;
    Live.Time_Graf = 0;
    Live.Time_Step = 0;
    setBrowsingEnabled(m_panel, false);
    u.atb_Chart1_Stop->setEnabled(false);
    u.atb_Chart1_Clear->setEnabled(false);
    u.atb_Chart1_Pause->hide();
    u.atb_Chart1_Continue->hide();
    u.atb_Chart1_Start->show();
    m_chart->queueReplot();
}

void LiveRecorder::pageWidthReleased() {
    if (Samples_Total <= 0) return;
    QCPAxis* x = m_chart->plot()->xAxis;
    const double centre = Page_Samples / 2 + x->range().lower;
    Page_Samples = pageSamples();
    m_chart->setTimeRange(centre - Page_Samples / 2, centre + Page_Samples / 2);
    Page_Begin = x->range().lower;
    Page_End = x->range().upper;
    m_nav->pageWidthChanged();
    m_chart->queueReplot();
}

// --- fuel counter and fuel calculation ----------------------------------------------

void LiveRecorder::atb_Get_0Click() { m_ctx->ex->start(m_ctx->ex->Timer_Get_0, kFuelReset[0]); }

void LiveRecorder::fuelResetGate(const QString& chunk) {
    Exchange* ex = m_ctx->ex;
    const int step = int(kFuelReset.indexOf(ex->Cmd_Sent));
    if (step < 0) return;
    ex->showSentCommand();
    const bool done = ex->answerText(chunk) == QLatin1String("!");
    if (done)
        ex->movedOn();
    else
        ex->refused();
    if (step < 2) {
        ex->Cmd_Pending = kFuelReset[done ? step + 1 : step];
        return;
    }
    if (done)
        ex->Timer_Get_0->stop();
    else
        ex->Cmd_Pending = kFuelReset[2];
    m_params->ui.Lbl_KRT->setText(QStringLiteral("0"));
}

void LiveRecorder::atb_RT_TypeCalcMouseDown() {
    QToolButton* b = m_params->ui.atb_RT_TypeCalc;
    // Runs before the button toggles: the caption names the state it is about to take.
    b->setText(b->isChecked() ? QStringLiteral("норма") : QStringLiteral("среднее"));
}

bool LiveRecorder::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_typeCalc &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick))
        atb_RT_TypeCalcMouseDown();
    return QObject::eventFilter(watched, event);
}
