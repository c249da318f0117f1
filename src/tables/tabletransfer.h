#pragma once
// Whole tables between the module and the window, one cell per command item: the read and
// the write of the Lambda, MAF and voltage tables over their six transfer timers, and the
// load axis choice that the module keeps in register 00. All transfers walk with the one
// cursor of this class; the emulation curves' transfers join it here, so that a table and
// a curve transfer can never both own the cursor.
//
// A transfer locks the interface while it runs; its gate compares Cmd_Sent with the item
// of the cursor's cell, stores or acknowledges, and names the next item. Reads retry an
// incomplete answer and give up after thirteen in a row; writes repeat an item until the
// module acknowledges it with "!".

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

#include "tables/tablecodec.h"
#include "tables/transfercursor.h"

class CurvePanel;
class QTimer;
class Table3DPanel;
class TfmPredupr0A;
class TfmPredupr0B;
struct OperationContext;

class TableTransfer : public QObject {
    Q_OBJECT

public:
    // Installs the gates of the six table timers and connects the panel's transfer and
    // load axis buttons. curve1 is the first emulation curve, whose grid shares the Lambda
    // table's cells.
    TableTransfer(OperationContext* ctx, Table3DPanel* panel, CurvePanel* curve1, QObject* parent = nullptr);

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

    // Whether one of this class's transfers is running.
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

    OperationContext* m_ctx;
    Table3DPanel* m_panel;
    CurvePanel* m_curve1;
    // The running write's items and bytes, taken from the table when it started.
    QStringList m_writeItems;
    QList<int> m_writeBytes;
};
