#pragma once
// The main window: tool bar, work panels, panel buttons, status bars and the protocol log.
// It owns the port and the exchange, and wires each subsystem's controls to it.

#include "link/exchange.h"

#include <QMainWindow>

class QButtonGroup;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QStackedWidget;
class QToolButton;
class ProtocolPanel;
class StatusBar;
class TBComPort;

class TForm1 : public QMainWindow, public ExchangeView {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Port and exchange.
    TBComPort* BComPort1;
    Exchange* Ex;

    // Tool bar.
    QFrame* ToolBar_Top;
    QToolButton* atb_ModuleOn;
    QToolButton* atb_ModuleOff;
    QToolButton* atb_Menu_File;
    QToolButton* atb_Menu_Module;
    QToolButton* AdvToolButton3;
    QComboBox* cbPort;
    QToolButton* atb_Port;
    QLineEdit* Ed_Timer_NeprOpros_Interval;
    QLabel* Lbl_Timer_NeprOpros_Interval;
    QToolButton* atb_Flag_Rus;
    QToolButton* atb_Flag_Eng;
    QWidget* Panel_GL_Text;

    // Work area.
    QStackedWidget* Panel_Work;
    ProtocolPanel* Panel_Protocol;

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
    void atbMemoClick();
    void Btn_BlockClick();
    void Btn_UnBlockClick();

    // The protocol log: the one way to add a line.
    void logLine(const QString& line);

    // ExchangeView
    void showSent(const QString& cmd) override;
    void showReceived(const QString& buffer, bool cleared) override;
    void setProgress(int position) override;
    void appendLog(const QString& line) override;

    // Shows an error without stopping the event loop (timers and receive events go on).
    void showError(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildToolBar();
    void buildPanelButtons();
    void buildStatus();
    void FormCreate();
    bool FormClose(); // false keeps the window open
    void FormDestroy();
    void onPortFailed(const QString& text);
    void showPanel(QWidget* panel);

    bool m_destroyed = false;
};
