#include "link/exchange.h"

#include "common/datetime.h"
#include "common/messages.h"
#include "link/tbcomport.h"

#include <QScopeGuard>
#include <QTimer>

const QStringList& Exchange::gateOrder() {
    static const QStringList order = {
        QStringLiteral("Timer_NeprOpros"),        QStringLiteral("Timer_RegRab"),
        QStringLiteral("Timer_Get_0"),            QStringLiteral("Timer_Emulator"),
        QStringLiteral("Timer_Optimizator"),      QStringLiteral("Timer_MAF_MAP"),
        QStringLiteral("Timer_Write"),            QStringLiteral("Timer_Lambda_Ticher"),
        QStringLiteral("Timer_Lambda_Ticher_02"), QStringLiteral("Timer_MAF_In"),
        QStringLiteral("Timer_MAF_TR_90_In"),     QStringLiteral("Timer_Lambda_In"),
        QStringLiteral("Timer_MAF_Out_1"),        QStringLiteral("Timer_MAF_TR_90_Out_1"),
        QStringLiteral("Timer_Lambda_Out_1"),     QStringLiteral("Timer_Chart_2D"),
        QStringLiteral("Timer_Chart_2D_Filter"),  QStringLiteral("Timer_Chart_2D_Filter_2"),
        QStringLiteral("Timer_Chart_2D_2"),       QStringLiteral("Timer_2D_Table_In"),
        QStringLiteral("Timer_2D_Table_In_2"),    QStringLiteral("Timer_YellowPoints"),
        QStringLiteral("Timer_YellowPoints_2"),   QStringLiteral("Timer_Read"),
        QStringLiteral("Timer_SeansOne"),
    };
    return order;
}

Exchange::Exchange(TBComPort* port, ExchangeView* view, QObject* parent)
    : QObject(parent), m_port(port), m_view(view) {
    Timer_Read = makeTimer("Timer_Read", 50, true, true);
    Timer_RegRab = makeTimer("Timer_RegRab", 50, false, true);
    Timer_Get_0 = makeTimer("Timer_Get_0", 100, false, true);
    Timer_Emulator = makeTimer("Timer_Emulator", 100, false, true);
    Timer_Optimizator = makeTimer("Timer_Optimizator", 100, false, true);
    Timer_MAF_MAP = makeTimer("Timer_MAF_MAP", 100, false, true);
    Timer_Write = makeTimer("Timer_Write", 75, false, true);
    Timer_Lambda_Ticher = makeTimer("Timer_Lambda_Ticher", 75, true, true);
    Timer_Lambda_Ticher_02 = makeTimer("Timer_Lambda_Ticher_02", 75, true, true);
    Timer_MAF_In = makeTimer("Timer_MAF_In", 30, true, true);
    Timer_MAF_TR_90_In = makeTimer("Timer_MAF_TR_90_In", 30, true, true);
    Timer_Lambda_In = makeTimer("Timer_Lambda_In", 30, true, true);
    Timer_MAF_Out_1 = makeTimer("Timer_MAF_Out_1", 30, true, true);
    Timer_MAF_TR_90_Out_1 = makeTimer("Timer_MAF_TR_90_Out_1", 30, true, true);
    Timer_Lambda_Out_1 = makeTimer("Timer_Lambda_Out_1", 30, true, true);
    Timer_Chart_2D = makeTimer("Timer_Chart_2D", 30, true, true);
    Timer_Chart_2D_Filter = makeTimer("Timer_Chart_2D_Filter", 30, true, true);
    Timer_Chart_2D_Filter_2 = makeTimer("Timer_Chart_2D_Filter_2", 30, true, true);
    Timer_Chart_2D_2 = makeTimer("Timer_Chart_2D_2", 30, true, true);
    Timer_2D_Table_In = makeTimer("Timer_2D_Table_In", 30, true, true);
    Timer_2D_Table_In_2 = makeTimer("Timer_2D_Table_In_2", 30, true, true);
    Timer_YellowPoints = makeTimer("Timer_YellowPoints", 250, false, true);
    Timer_YellowPoints_2 = makeTimer("Timer_YellowPoints_2", 250, false, true);
    Timer_NeprOpros = makeTimer("Timer_NeprOpros", 25, false, true);
    Timer_SeansOne = makeTimer("Timer_SeansOne", 50, false, true);

    Timer_Stop_Read = makeTimer("Timer_Stop_Read", 5000, false, false);
    Timer_Stop_Read->setSingleShot(true);
    Timer_Stop_Read->setTimerType(Qt::PreciseTimer); // a coarse timer may fire 5 % early
    Timer_Module_Graf = makeTimer("Timer_Module_Graf", 250, false, false);

    // Keep the transfer list in gate order so that "in gate order" holds for everyone.
    QList<QTimer*> ordered;
    for (const QString& name : gateOrder()) ordered << m_byName.value(name);
    m_transfer = ordered;

    if (m_port) connect(m_port, &TBComPort::OnRxChar, this, &Exchange::BComPort1RxChar);
}

QTimer* Exchange::makeTimer(const char* name, int interval, bool progress, bool transfer) {
    auto* t = new QTimer(this);
    t->setObjectName(QString::fromLatin1(name));
    t->setInterval(interval);
    if (transfer) {
        t->setTimerType(Qt::PreciseTimer);
        m_transfer << t;
        connect(t, &QTimer::timeout, this, [this, t] { transferTick(t); });
    }
    if (progress) m_progress << t;
    m_byName.insert(t->objectName(), t);
    return t;
}

QTimer* Exchange::timer(const QString& name) const { return m_byName.value(name); }

void Exchange::setGate(QTimer* t, Gate gate) { m_gates.insert(t, std::move(gate)); }

void Exchange::start(QTimer* t, const QString& firstCommand) {
    Cmd_Pending = firstCommand;
    watchFromNow(t);
    // A new operation: the alarm of one the module left without an answer is history.
    m_view->clearStall();
    t->start();
}

void Exchange::resetProgress() {
    Progress_Count = 0;
    m_view->setProgress(0);
}

void Exchange::transferTick(QTimer* t) {
    emit tickStarting(t);
    // Characters that came before this tick belong to the command sent before it: take
    // them in now, before the receive buffer is cleared for the next command. A late
    // answer piece then completes its own answer instead of starting the next one.
    if (m_port && m_port->isOpen()) {
        const int waiting = m_port->Waiting_Count();
        if (waiting > 0) {
            BComPort1RxChar(waiting);
            // That answer may have ended the operation; a stopped timer sends nothing.
            if (!t->isActive()) return;
        }
    }
    // A module that has not answered for too long, or keeps refusing, is not asked again.
    if (endIfStalled(t)) return;

    // From here to the end of the tick no receive event may run: the new command is out,
    // and the buffer that will hold its answer is not cleared yet.
    m_inTick = true;
    const auto endTick = qScopeGuard([this] {
        m_inTick = false;
        if (m_rxDeferred) {
            m_rxDeferred = false;
            QMetaObject::invokeMethod(this, &Exchange::takeDeferred, Qt::QueuedConnection);
        }
    });
    Cmd_Sent = Cmd_Pending;
    if (m_port && m_port->isOpen()) {
        try {
            m_port->Write_Text(Cmd_Sent);
        } catch (const EComPort& e) {
            // The port reports the failure once and closes itself; the rest of this tick
            // is skipped, the timers keep running and write nothing from now on.
            emit exchangeError(e.message());
            return;
        }
    }
    sentByWatched(t);
    m_rxBuffer.clear();
    m_view->showReceived(m_rxBuffer, true);
    if (m_progress.contains(t)) {
        ++Progress_Count;
        m_view->setProgress(Progress_Count);
    }
    // The next tick comes one whole interval after this one, however late this one ran:
    // the module always gets the full interval to answer the command just sent.
    if (t->isActive()) t->start();
}

void Exchange::takeDeferred() {
    if (!m_port) return;
    const int waiting = m_port->Waiting_Count();
    if (waiting > 0) BComPort1RxChar(waiting);
}

void Exchange::BComPort1RxChar(int count) {
    if (m_inTick) {
        // Arrivals during a tick answer its new command; they are taken in right after it.
        m_rxDeferred = true;
        return;
    }
    QString chunk;
    try {
        chunk = m_port ? m_port->Read_Text(count) : QString();
    } catch (const EComPort& e) {
        emit exchangeError(e.message());
        return;
    }

    for (QTimer* t : std::as_const(m_transfer)) {
        if (!t->isActive()) continue;
        const auto it = m_gates.constFind(t);
        m_gateTimer = t;
        if (it != m_gates.constEnd() && *it) (*it)(chunk);
    }
    m_gateTimer = nullptr;

    // Common tail, whatever the gates did.
    m_view->showSent(Cmd_Sent);
    m_rxBuffer += chunk;
    m_view->showReceived(m_rxBuffer, false);
    if (!Timer_Module_Graf->isActive() && !Timer_NeprOpros->isActive() && !Timer_YellowPoints->isActive())
        m_view->appendLog(msgs().Msg_Query + QLatin1Char(' ') + Cmd_Sent + QStringLiteral("   ") +
                          msgs().Msg_Answer + QLatin1Char(' ') + m_rxBuffer);
    if (!Timer_Read->isActive()) m_view->appendLog(QString());
    if (Connect_Done) {
        m_view->appendLog(QStringLiteral("Модуль подключен успешно ") + nowText());
        m_view->appendLog(QString());
    }
    Connect_Done = false;
    emit received(int(chunk.size()));
}
