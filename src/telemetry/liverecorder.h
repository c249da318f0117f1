#pragma once
// Recording live engine data. Two timers do the work: the recording timer
// (Timer_Module_Graf) converts the digits of the last live cycle into one sample, shows and
// plots it, writes a row into the archive and navigator tables and starts the next cycle;
// the cycle timer (Timer_NeprOpros, a transfer timer) sends the cycle's four commands,
// whose answers the live-cycle gate stores as digits. This controller also owns the
// recording buttons (Start, Pause, Continue, Stop, Clear), the paging of the chart's time
// axis, the page-width and deviation steppers, the fuel-counter reset (Timer_Get_0) and
// the choice of the fuel-consumption calculation.

#include "telemetry/livedecoder.h"
#include "telemetry/paramchart.h"
#include "telemetry/sampletable.h"

#include <QObject>

#include <functional>
#include <memory>

class ChartAxes;
class ChartReadout;
class ChartNavigator;
class ChartPanel;
class Connection;
class ParamPanel;
class QComboBox;
class QDialog;
class QLineEdit;
class QTimer;
class JournalKeeper;
class SeriesControls;
class Stepper;
struct OperationContext;

// The controls of other panels and of the window that a recording reads or switches; the
// window binds them.
struct LiveInputs {
    QComboBox* intervalBox = nullptr;      // cb_Int_Graf_In: recording interval by item index
    QLineEdit* cycleInterval = nullptr;    // Ed_Timer_NeprOpros_Interval: cycle period, ms
    QWidget* moduleOff = nullptr;          // atb_ModuleOff, unavailable while recording
    QDialog* coefficientWarning = nullptr; // fmPredupr0D
    QTimer* hidePanels = nullptr;          // Timer_Hide_Panels, hides the line-width pop-up
    Connection* connection = nullptr;      // keeps the four K_RashTopl digits (bytes 74, 75)
    std::function<int()> crankIndex;       // item index of cb_K (-1: none)
    std::function<bool()> emulatorOn;      // AdvTBtn_Emu down
    std::function<bool()> optimizerOn;     // AdvTBtn_Opt down
    std::function<bool()> mafPOn;          // AdvTBtn_MAF_P down
    std::function<bool()> displacementOn;  // atb_LAMBDA_Way_Displacement down
    std::function<bool()> mafAbove1kHz;    // atb_DMRV_Diapazone_More down
    std::function<void(const QString&)> telemetryStatus; // panel 1 of StatusBar_Top
};

class LiveRecorder : public QObject {
    Q_OBJECT
public:
    LiveRecorder(OperationContext* ctx, ChartPanel* chart, ParamPanel* params, Stepper* steppers,
                 LiveInputs inputs, QObject* parent = nullptr);
    ~LiveRecorder() override;

    // Recording state shared with browsing and the record file.
    live::DigitStore Digits;
    live::LiveState Live;
    int Graf_Start_Flag = 0;
    int Row_Arhiv = 0; // next row of both tables
    double Samples_Total = 0;
    double Page_Samples = 0, Page_Begin = 0, Page_End = 0, Page_Count = 0;

    // The hidden tables (views StringGrid_Arhiv and StringGrid_Navigator show them).
    SampleTable Arhiv;     // columns 0..11: time, SP, STR, AI, TP, SD, L1, L2, U1do..U2posle
    SampleTable Navigator; // columns 1..12: time, then the percents (single precision: the
                           // overview strip they are drawn in is 71 pixels high)
    ParamChart& chart() { return *m_chart; }
    ChartAxes& axes() { return *m_axes; }
    SeriesControls& series() { return *m_series; }
    ChartNavigator& navigator() { return *m_nav; }
    // The journal that keeps the recording through a crash.
    JournalKeeper& journal() { return *m_journal; }
    // The hover readout of the chart.
    ChartReadout* readout() const { return m_readout; }
    // Row 0 of the navigator table, as Start writes it.
    static const QStringList& navigatorHeads();

    // Handlers.
    void Timer_Module_GrafTimer();
    void atb_Chart1_StartClick();
    void atb_Chart1_PauseClick();
    void atb_Chart1_ContinueClick();
    void atb_Chart1_StopClick();
    void atb_Chart1_ClearClick();
    void atb_Get_0Click();
    void atb_RT_TypeCalcMouseDown();

    // For the file operations of other panels: pauses a running recording (and only a
    // running one), so that no live exchange runs while a file is handled.
    void pauseIfRecording();
    // Recording interval in ms as Start takes it from cb_Int_Graf_In (the timer's own
    // interval when nothing is selected).
    int chosenInterval() const;
    // Samples per page for the page width and the recording interval in force.
    double pageSamples() const;

signals:
    // One sample is in the archive: row is its row of Arhiv (time and the eleven values in
    // units). Emitted at the end of the recording tick, after the chart and both tables.
    void sampleRecorded(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void liveGate(const QString& chunk);
    void fuelResetGate(const QString& chunk);
    void pagingStep();
    void showReadouts();
    void writeRows();
    void plotSample();
    void pageWidthReleased();
    live::TickSettings tickSettings() const;

    OperationContext* m_ctx;
    ChartPanel* m_panel;
    ParamPanel* m_params;
    LiveInputs m_in;
    std::unique_ptr<ParamChart> m_chart;
    ChartReadout* m_readout = nullptr;
    ChartAxes* m_axes;           // child objects, so that the window's tree reaches their timers
    SeriesControls* m_series;
    ChartNavigator* m_nav;
    JournalKeeper* m_journal;
    QObject* m_typeCalc; // atb_RT_TypeCalc, watched for its mouse-down
};
