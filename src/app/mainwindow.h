#pragma once
// The main window: tool bar, work panels, panel buttons, status bars and the protocol log.
// It owns the port and the exchange, and wires each subsystem's controls to it.

#include "link/connection.h"
#include "link/exchange.h"
#include "link/operationcontext.h"
#include "settings/chartselectors.h"
#include "settings/modehooks.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QButtonGroup;
class QFileDialog;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QStackedWidget;
class QToolButton;
class ChartPanel;
class Configuration;
class JournalRestore;
class LambdaLearning;
class ModelProfiles;
class ModeSwitches;
class OptionSwitches;
class ParameterSteppers;
class PortWatcher;
class RegisterWriter;
class LiveRecorder;
class RecordFiles;
class RecordingViews;
class CorrectionsController;
class ReplayViews;
class CurvePanel;
class FrameLimiter;
class ParamPanel;
class ProtocolPanel;
class SettingsPanel;
class SettingsReader;
class InterfaceLanguage;
class StatusBar;
class SurfaceNavigator;
class Stepper;
class TBComPort;
class Table3DPanel;
class TableTransfer;
class TableFiles;
class QTimer;
class Tfm_3D_Open;
class TfmAbout;
class TfmPredupr0A;
class TfmPredupr0B;
class TfmPredupr0C;
class TfmPredupr0D;
class TfmPredupr0E;
class TfmPredupr_Lambda_A;
class TfmPredupr_Lambda_A_02;
class WorkReports;

class TForm1 : public QMainWindow, public ExchangeView, public ConnectionHost {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Port, exchange, connection and the settings registers.
    TBComPort* BComPort1 = nullptr;
    Exchange* Ex = nullptr;
    Connection* Conn = nullptr;
    std::unique_ptr<SettingsReader> Settings;

    // At most one frame of the window per 100 ms, except right after the user's input:
    // the exchange changes something on the screen dozens of times a second.
    FrameLimiter* Frames;

    // What the command families' controllers share (exchange, log, lock, dialogs).
    OperationContext Ctx;
    // The one active stepper and its repeat timers, shared by every up/down pair.
    Stepper* Steppers = nullptr;
    // The orientation buttons of the 3D surface and their repeat timer.
    SurfaceNavigator* Navigator3D = nullptr;
    // Table and curve transfers, live points and the load axis of the correction tables.
    TableTransfer* TableTransfers = nullptr;
    // The table and curve file buttons.
    TableFiles* TableFileButtons = nullptr;

    // Changing the module's settings: the register writes, the eight parameter steppers,
    // the option switches, and the chart selectors the options show and hide.
    RegisterWriter* RegWriter = nullptr;
    ParameterSteppers* Params = nullptr;
    OptionSwitches* Options = nullptr;
    ChartSelectors Selectors;
    // The operating modes and the Lambda learning, and what they change on other panels.
    ModeSwitches* Modes = nullptr;
    LambdaLearning* Learning = nullptr;
    ModeHooks ModeViews;

    // The settings files of the window, and the model profiles applied at recognition.
    std::unique_ptr<Configuration> Config;
    std::unique_ptr<ModelProfiles> Profiles;
    // Live data recording and the parameter chart.
    LiveRecorder* Recorder = nullptr;
    // The record file buttons of the chart.
    RecordFiles* RecordFileButtons = nullptr;
    // Keeps the port list in step with adapters plugged in and pulled out while no port is open.
    PortWatcher* PortListWatcher = nullptr;

    // The start-up question about a recording the program lost.
    JournalRestore* RecordingRestore = nullptr;
    // The recording on the table panel: the operating point and the cell statistics.
    RecordingViews* RecordingOnTables = nullptr;
    // The corrections of the MAF table from the recording (the grid's actSuggest).
    CorrectionsController* Corrections = nullptr;
    // Pictures of the chart and the surface, and the work report.
    WorkReports* Reports = nullptr;
    // Replay of a recording over the chart and the tables (Chart1's context menu).
    ReplayViews* Replays = nullptr;

    // Tool bar.
    QFrame* ToolBar_Top;
    QToolButton* atb_ModuleOn;
    QToolButton* atb_ModuleOff;
    QToolButton* atb_Menu_File;
    QToolButton* atb_Menu_Module;
    QToolButton* AdvToolButton3;
    QComboBox* cbPort;
    QToolButton* atb_Port;
    QComboBox* cb_Int_Graf_In;
    QToolButton* atb_Int_Graf_In;
    QLineEdit* Ed_Timer_NeprOpros_Interval;
    QLabel* Lbl_Timer_NeprOpros_Interval;
    QToolButton* atb_Flag_Rus;
    QToolButton* atb_Flag_Eng;
    QWidget* Panel_GL_Text;

    // Work area: one panel in front, and the parameter list at the right edge beside
    // the settings and chart views.
    QStackedWidget* Panel_Work;
    SettingsPanel* Panel_Sett_Max;
    ChartPanel* Panel_Parr_Max;
    ParamPanel* Panel_Parr_Parr_Max;
    Table3DPanel* Panel_3D;
    CurvePanel* Panel_Emu;
    CurvePanel* Panel_Emu_2;
    ProtocolPanel* Panel_Protocol;

    // Pop-up menus and their hide timer.
    QFrame* pnlMenu_File;
    QFrame* pnlMenu_Module;
    QFrame* pnl_Language;
    QToolButton* AdvToolButton1; // "Открыть  "
    QToolButton* AdvToolButton2; // "Сохранить"
    QToolButton* AdvToolButton4; // "Закрыть   "
    QToolButton* AdvToolButton5; // "Подключить"
    QToolButton* AdvToolButton8; // "Отключить  "
    QToolButton* atbRus;
    QToolButton* atbEng;
    QTimer* Timer_Hide_Panels;

    // The interface language: flags, every text of the interface table, message texts.
    InterfaceLanguage* Language = nullptr;

    // Modal windows, created in this order after the window.
    Tfm_3D_Open* fm_3D_Open = nullptr;
    TfmPredupr0D* fmPredupr0D = nullptr;
    TfmPredupr_Lambda_A_02* fmPredupr_Lambda_A_02 = nullptr;
    TfmPredupr0A* fmPredupr0A = nullptr;
    TfmPredupr0B* fmPredupr0B = nullptr;
    TfmPredupr0C* fmPredupr0C = nullptr;
    TfmPredupr_Lambda_A* fmPredupr_Lambda_A = nullptr;
    TfmPredupr0E* fmPredupr0E = nullptr;
    TfmAbout* fmAbout = nullptr;

    // Panel buttons and manual send.
    QFrame* Panel4;
    QToolButton* atb_Sett_min;
    QToolButton* atb_Parr_min;
    QToolButton* atb_Lambda;
    QToolButton* atb_MAF;
    QToolButton* atb_MAF_TR_90;
    QToolButton* atb_Emu;
    QToolButton* atb_TR_90_Lambda_1;
    QToolButton* atb_TR_90_Lambda_2;
    QToolButton* atbMemo;
    QButtonGroup* Group_Panels;
    QToolButton* atb_Seans;
    QLineEdit* Ed_Peredat;
    QLineEdit* Edit5;
    QLineEdit* Edit6;

    // Status.
    StatusBar* StatusBar_Bottom;
    StatusBar* StatusBar_Top;
    QProgressBar* ProgressBar1;
    QFrame* Panel_Sic;

    // Handlers.
    void atb_ModuleOnClick();
    void atb_ModuleOffClick();
    void atb_SeansClick();
    void atb_PortClick();
    void atb_Int_Graf_InClick();
    void atb_Sett_minClick();
    void atb_Parr_minClick();
    void atbMemoClick();
    void atb_LambdaClick();
    void atb_MAFClick();
    void atb_MAF_TR_90Click();
    void atb_EmuClick();
    void atb_TR_90_Lambda_1Click();
    void atb_TR_90_Lambda_2Click();
    void atb_Menu_ModuleClick();
    void atb_Menu_FileClick();
    void atb_Flag_RusMouseMove();
    void Timer_Hide_PanelsTimer();
    void AdvToolButton3Click();
    void atbRusClick();
    void atbEngClick();
    void btnRefresh3D();
    void Btn_Raschet_TR_70Click();
    void Btn_Raschet_TR_90Click();

    // ConnectionHost
    void Btn_BlockClick() override;
    void Btn_UnBlockClick() override;
    void setConnectionState(const QString& text) override;
    void setConnectionAlarm(bool alarm) override;
    void setProgressRange(int maximum) override;
    void enableModuleOff() override;
    QString registerStep(const QString& sent, const QString& answer) override;
    void btn_WhoIsModuleClick() override;

    // The controls the interface lock disables, in one fixed list.
    QList<QWidget*> blockedControls() const;

    // The protocol log: the one way to add a line.
    void logLine(const QString& line);

    // ExchangeView
    void showSent(const QString& cmd) override;
    void showReceived(const QString& buffer, bool cleared) override;
    void setProgress(int position) override;
    void appendLog(const QString& line) override;
    // Panel 3 of StatusBar_Bottom, the bar in the alarm colour.
    void showStall(const QString& text) override;
    void clearStall() override;

    // Shows an error without stopping the event loop (timers and receive events go on).
    void showError(const QString& text);

    // The save dialog offered on close, and how the name is asked for (tests replace it).
    QFileDialog* SaveDialog_CloseProg;
    std::function<QString()> askProtocolFileName;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildToolBar();
    void buildWorkArea(QWidget* parent);
    void buildPanelButtons();
    void buildStatus();
    void buildPopups(QWidget* parent);
    void createModalWindows();
    void wireSettings();
    void createRecorder();
    void showPopupBelow(QFrame* popup, QWidget* anchor);
    void FormCreate();
    void readConfiguration();
    void watchPorts();
    void wireModes();
    void wireConfiguration();
    // The corrections of the table grid, given what the window knows (mainwindow_corrections.cpp).
    CorrectionsController* feedCorrections();
    bool FormClose(); // false keeps the window open
    void FormDestroy();
    void onPortFailed(const QString& text);
    void showPanel(QWidget* panel, bool withParams);

    bool m_destroyed = false;
};
