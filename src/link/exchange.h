#pragma once
// The command exchange: one command text outstanding at a time. A transfer timer's tick
// copies Cmd_Pending to Cmd_Sent and writes it; every arrival of characters runs the gates
// of the enabled transfer timers in one fixed order, then the common tail that shows the
// exchange and records it in the protocol log. Each subsystem registers the gate of its
// transfer timer; a gate compares Cmd_Sent with its command texts and names the next
// command (or ends its operation by stopping its timer). Nothing here blocks or waits.

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QTimer;
class TBComPort;

// Why the answer watch ended an operation: no valid answer for Exchange::SilenceMs, or the
// same item refused (answered, but not with the acknowledgement) Exchange::MaxRefusals
// times in a row, or answers that stopped after refusals.
enum class StallKind { Silent, Refused };

// What the owner of an operation the watch ended tells the user: the operation's key in
// the language table (uitexts::operationTexts) with its arguments, and how many of its
// items went through (done < 0: an operation that does not count them).
struct StallReport {
    QString key;
    QStringList args;
    int done = -1;
    int total = 0;
    bool reading = false; // "прочитано" rather than "записано"
};

// The status text of an ended operation in the language (English when english is true),
// and the protocol log's line (Russian, as every log line) with the last command.
QString stallStatus(StallKind kind, const StallReport& report, bool english);
QString stallLogLine(StallKind kind, const StallReport& report, const QString& lastCommand);

// What the exchange shows and records; the main window provides it.
class ExchangeView {
public:
    virtual ~ExchangeView() = default;
    // Edit5 := text; panel 2 of StatusBar_Top := Msg_Query + " " + text.
    virtual void showSent(const QString& cmd) = 0;
    // Edit6 := buffer; panel 3 of StatusBar_Top := Msg_Answer + " " + buffer, or empty
    // when cleared by a tick.
    virtual void showReceived(const QString& buffer, bool cleared) = 0;
    virtual void setProgress(int position) = 0;
    virtual void appendLog(const QString& line) = 0;
    // An operation the module stopped answering (or kept refusing) ended, or, still
    // running, waits: the status bar shows text in the alarm colour until clearStall.
    virtual void showStall(const QString& text) { Q_UNUSED(text) }
    // A new operation started, or answers came back to the one that waited.
    virtual void clearStall() {}
};

class Exchange : public QObject {
    Q_OBJECT
public:
    using Gate = std::function<void(const QString& chunk)>;

    Exchange(TBComPort* port, ExchangeView* view, QObject* parent = nullptr);

    // Exchange state, touched only on the user-interface thread.
    QString Cmd_Pending;
    QString Cmd_Sent;
    int Progress_Count = 0;
    bool Connect_Done = false;

    // Transfer timers, all disabled at start (intervals in ms).
    QTimer* Timer_Read;             // 50, progress: identification and register reads
    QTimer* Timer_RegRab;           // 50: operating-register writes
    QTimer* Timer_Get_0;            // 100: action commands
    QTimer* Timer_Emulator;         // 100: mode changes
    QTimer* Timer_Optimizator;      // 100
    QTimer* Timer_MAF_MAP;          // 100
    QTimer* Timer_Write;            // 75: register writes
    QTimer* Timer_Lambda_Ticher;    // 75, progress: Lambda learning
    QTimer* Timer_Lambda_Ticher_02; // 75, progress
    QTimer* Timer_MAF_In;           // 30, progress: table writes
    QTimer* Timer_MAF_TR_90_In;     // 30, progress
    QTimer* Timer_Lambda_In;        // 30, progress
    QTimer* Timer_MAF_Out_1;        // 30, progress: table reads
    QTimer* Timer_MAF_TR_90_Out_1;  // 30, progress
    QTimer* Timer_Lambda_Out_1;     // 30, progress
    QTimer* Timer_Chart_2D;         // 30, progress: curve transfers
    QTimer* Timer_Chart_2D_Filter;  // 30, progress
    QTimer* Timer_Chart_2D_Filter_2;// 30, progress
    QTimer* Timer_Chart_2D_2;       // 30, progress
    QTimer* Timer_2D_Table_In;      // 30, progress
    QTimer* Timer_2D_Table_In_2;    // 30, progress
    QTimer* Timer_YellowPoints;     // 250: live point on curve 1
    QTimer* Timer_YellowPoints_2;   // 250: live point on curve 2
    QTimer* Timer_NeprOpros;        // 25: one live-data cycle
    QTimer* Timer_SeansOne;         // 50: manual command send

    // Not transfer timers: the connection watchdog and the recording timer.
    QTimer* Timer_Stop_Read;   // 5000, single shot
    QTimer* Timer_Module_Graf; // 250

    // Order in which the receive handler runs the gates.
    static const QStringList& gateOrder();
    // Every transfer timer, in gate order.
    const QList<QTimer*>& transferTimers() const { return m_transfer; }
    QTimer* timer(const QString& name) const;
    bool countsProgress(QTimer* t) const { return m_progress.contains(t); }

    // Installs the gate of a transfer timer (replacing an earlier one).
    void setGate(QTimer* t, Gate gate);

    // Receive buffer (the text of Edit6) and the answer text a gate evaluates.
    const QString& receiveBuffer() const { return m_rxBuffer; }
    QString answerText(const QString& chunk) const { return m_rxBuffer + chunk; }
    // Common first step of an answer handler: Edit5 and panel 2 show Cmd_Sent.
    void showSentCommand() { m_view->showSent(Cmd_Sent); }
    void appendLog(const QString& line) { m_view->appendLog(line); }

    // Starts an operation: Cmd_Pending := first command, timer enabled.
    void start(QTimer* t, const QString& firstCommand);
    void resetProgress();

    // --- the answer watch ---
    // Every operation whose owner installed an end call is watched on the real clock: when
    // no valid answer came for SilenceMs, or the module refused its item MaxRefusals times
    // in a row, the tick calls the owner instead of sending. The owner ends its operation
    // (stops its timer, unlocks, keeps what went through) and reports it; the exchange
    // shows the report and logs it with the last command. An owner that keeps its timer
    // running (the recording) is reported once, and again when answers come back.
    static constexpr int SilenceMs = 5000;
    static constexpr int MaxRefusals = 20;
    using StallEnd = std::function<StallReport(StallKind kind)>;
    void setStallEnd(QTimer* t, StallEnd end);
    // Called by a gate: its operation took a valid answer or named a new command.
    void movedOn();
    // Called by a gate: the module answered its write or action item, but not with "!".
    // Counted once per item sent, however many pieces the answer arrives in.
    void refused();
    // The watch of t starts afresh (start() does this; for a timer its owner restarts
    // itself, such as the live cycle's).
    void watchFromNow(QTimer* t);
    // Whether the watch has reported t and waits for its answers to come back.
    bool waitsForAnswers(QTimer* t) const { return m_watch.value(t).reported; }

    // Handlers, public so that tests and the main window can drive them directly.
    // A tick first takes in what has already arrived (for the command sent before it),
    // then sends Cmd_Pending; no receive event runs inside it.
    void transferTick(QTimer* t);
    void BComPort1RxChar(int count);

signals:
    // A port error stopped a tick or a receive event; the port reports the failure itself
    // (TBComPort::portFailed), so this is for diagnostics only.
    void exchangeError(const QString& text);
    // For measurement: a tick of t begins (before it takes in what has arrived), and a
    // receive event has been handled (gates and tail; chars is the size of its chunk).
    void tickStarting(QTimer* t);
    void received(int chars);

private:
    QTimer* makeTimer(const char* name, int interval, bool progress, bool transfer);
    // Runs the receive handler for arrivals held back during a tick.
    void takeDeferred();
    // The watch's check at a tick of t (exchange_watch.cpp): true when it ended t's operation.
    bool endIfStalled(QTimer* t);
    // The item just sent by a tick of t: a refusal of it counts anew.
    void sentByWatched(QTimer* t);

    TBComPort* m_port;
    ExchangeView* m_view;
    QString m_rxBuffer;
    bool m_inTick = false;
    bool m_rxDeferred = false;
    QList<QTimer*> m_transfer;
    QList<QTimer*> m_progress;
    QHash<QString, QTimer*> m_byName;
    QHash<QTimer*, Gate> m_gates;

    struct Watch {
        QElapsedTimer since;       // the last valid answer or new command (or the start)
        int refusals = 0;          // refusals of the same item in a row
        QString refusedItem;
        bool refusalCounted = false; // the item now out was counted refused already
        bool reported = false;       // reported, still running: waits for answers
        StallReport report;          // ... and what it was reported as
    };
    QHash<QTimer*, StallEnd> m_stallEnds;
    QHash<QTimer*, Watch> m_watch;
    QTimer* m_gateTimer = nullptr; // the timer whose gate runs now
};
