#pragma once
// Whole tables and curves between the module and the window, one cell or point per command
// item: the read and the write of the Lambda, MAF and voltage tables over their six
// transfer timers, the load axis choice that the module keeps in register 00, and the
// emulation curves' reads (plain or through the read filter), writes and live points over
// their eight timers (tabletransfer_curves.cpp). All transfers walk with the one cursor of
// this class, so that a table and a curve transfer can never both own it.
//
// A transfer locks the interface while it runs; its gate compares Cmd_Sent with the item
// of the cursor's cell, stores or acknowledges, and names the next item. Reads retry an
// incomplete answer and give up after thirteen in a row; writes repeat an item until the
// module acknowledges it with "!".

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

#include "history/history.h"
#include "link/exchange.h"
#include "tables/tablecodec.h"
#include "tables/transfercursor.h"

class CurvePanel;
class QTimer;
class Stepper;
class Table3DPanel;
class TfmPredupr0A;
class TfmPredupr0B;
struct OperationContext;

class TableTransfer : public QObject {
    Q_OBJECT

public:
    // Installs the gates of the fourteen table and curve timers and connects the panels'
    // transfer, live point and load axis buttons. curve1 is the first emulation curve, whose
    // grid shares the Lambda table's cells; steppers serves the live point counts (6..36).
    TableTransfer(OperationContext* ctx, Table3DPanel* panel, CurvePanel* curve1, CurvePanel* curve2,
                  Stepper* steppers, QObject* parent = nullptr);

    // The confirmations before the MAF and the Lambda write; the window creates them.
    TfmPredupr0A* fmPredupr0A = nullptr;
    TfmPredupr0B* fmPredupr0B = nullptr;

    // Bound by the window. The operating-register write for an option key: sets RegRab_Key
    // and runs Btn_RegRab_Write, which writes register 00 for "KorrTab_MAF"/"KorrTab_VV".
    std::function<void(const QString& key)> writeOperatingRegister;
    // Panel 2 of StatusBar_Top (the end of a read that gave up).
    std::function<void(const QString& text)> showStatus;
    // Range of ProgressBar1 (0..maximum).
    std::function<void(int maximum)> setProgressRange;

    // The shared transfer cursor and the incomplete answers in a row of the running read.
    TransferCursor Cursor;
    int Read_Fail_Count = 0;

    // Reads: start at once (the interface is locked until the last cell or the thirteenth
    // incomplete answer). Nothing starts while the port is closed or a transfer runs.
    void atb_Lambda_OutClick();
    void atb_MAF_OutClick();
    void atb_MAF_TR_90_OutClick();
    // Writes: the Lambda and MAF writes ask first (TfmPredupr0B / TfmPredupr0A; Cancel
    // sends nothing and redraws); the voltage write starts at once.
    void atb_Lambda_InClick();
    void atb_MAF_InClick();
    void atb_MAF_TR_90_InClick();
    // The load axis buttons, after the panel wrote the axis labels: log line, register
    // write, redraw.
    void loadAxisClicked(bool mafVoltage);

    // --- emulation curves (curve 1 or 2) ---

    // Read (atb_Emu_In / atb_Emu_In_2): plain, or with the read filter when its On button
    // is down: each point is read seven times and the first six readings vote.
    void atb_Emu_InClick(int curve);
    // Write (atb_Emu_Out / atb_Emu_Out_2), without confirmation.
    void atb_Emu_OutClick(int curve);
    // Live points (Btn_YellowPoints / _2) start and stop (Btn_YellowPoints_Stop / _2).
    void Btn_YellowPointsClick(int curve);
    void Btn_YellowPoints_StopClick(int curve);
    // Stops the live points of both curves where they run (before every file dialog).
    void stopLivePoints();
    // btnStop_2D_Table: stops the four curve read timers and empties the progress bar.
    void btnStop_2D_Table();

    // The read filter's readings of the current point (sg_Emu_multi column 0, as texts)
    // and the live point ring position of each curve (0..N).
    QStringList sg_Emu_multi;
    int Ring_Position[2] = {0, 0};

    // Whether one of this class's transfers (table, curve or live points) is running.
    bool isRunning() const;

private:
    bool canStart() const;
    // The interface lock of a transfer, and the load axis buttons with it.
    void lock();
    void unlock();
    void startRead(TableKind table);
    void startWrite(TableKind table);
    void readGate(TableKind table, const QString& chunk);
    void writeGate(TableKind table, const QString& chunk);
    void storeCell(TableKind table, int c, int r, int byte);
    // Stops the timer, unlocks, empties the progress bar and (after a complete transfer)
    // redraws the surface.
    void finish(QTimer* timer, bool redraw);
    QTimer* readTimer(TableKind table) const;
    QTimer* writeTimer(TableKind table) const;
    // A write of m_writeItems, the cursor already started: locks and sends the first item.
    void startItemWrite(QTimer* timer, int count);
    // The answer to the item at the cursor: "!" moves on to the next item (sent at the
    // next tick), anything else sends the same item again.
    enum class WriteStep { NotOurs, Again, Next, Done };
    WriteStep writeStep(const QString& chunk);

    // Curves.
    void setUpCurves(Stepper* steppers);
    CurvePanel* curvePanel(int curve) const { return curve == 2 ? m_curve2 : m_curve1; }
    QTimer* curveReadTimer(int curve, bool filtered) const;
    QTimer* curveWriteTimer(int curve) const;
    QTimer* liveTimer(int curve) const;
    bool curveRunning() const;
    void curveReadGate(int curve, bool filtered, const QString& chunk);
    void curveWriteGate(int curve, const QString& chunk);
    void liveGate(int curve, const QString& chunk);
    void showCurvePoint(int curve, double volts);
    void retimeLivePoints();

    // The ends of the transfers the module leaves without an answer or keeps refusing
    // (tabletransfer_watch.cpp): a read keeps what it stored, a write says how many items
    // the module took and leaves a partial copy in the history.
    void setUpWatch();
    StallReport endStalledTable(TableKind table, bool write);
    StallReport endStalledCurve(int curve, bool filtered, bool write);
    StallReport endStalledLivePoints(int curve);
    // A write that ended part way: the items the module took, the rest empty lines
    // (tabletransfer_history.cpp).
    void keepPartialTableCopy(TableKind table, int taken);
    void keepPartialCurveCopy(int curve, int taken);

    // The copy of a finished transfer in the module's history (tabletransfer_history.cpp).
    void keepTableCopy(TableKind table, bool written);
    void keepCurveCopy(int curve, bool written);
    void keepCopy(TableKind kind, bool written, const QStringList& lines);
    void keepCopyAs(TableKind kind, history::Direction direction, const QStringList& lines);

    OperationContext* m_ctx;
    Table3DPanel* m_panel;
    CurvePanel* m_curve1;
    CurvePanel* m_curve2;
    // The running write's items and bytes, taken from the table when it started.
    QStringList m_writeItems;
    QList<int> m_writeBytes;
    // The last decoded live sample of each curve (fuel 0..64, voltage 0..5 V).
    double m_liveX[2] = {0, 0};
    double m_liveV[2] = {0, 0};
};
