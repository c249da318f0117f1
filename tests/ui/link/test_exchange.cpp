// The exchange over a real pseudo-terminal against the simulated module: ticks, repeats,
// split answers, gate order, the manual-send gate and a device that disappears.
#include "common/hex.h"
#include "common/messages.h"
#include "link/exchange.h"
#include "link/tbcomport.h"
#include "sim/simmodule.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QThread>
#include <QTimer>
#include <QtTest>

namespace {
struct RecordingView : ExchangeView {
    QString edit5, edit6;
    int progress = 0;
    QStringList log;
    void showSent(const QString& cmd) override { edit5 = cmd; }
    void showReceived(const QString& buffer, bool) override { edit6 = buffer; }
    void setProgress(int p) override { progress = p; }
    void appendLog(const QString& line) override { log << line; }
    QStringList exchangeLines() const {
        QStringList l;
        for (const QString& s : log)
            if (s.startsWith(msgs().Msg_Query)) l << s;
        return l;
    }
};
} // namespace

class TestExchange : public QObject {
    Q_OBJECT

    std::unique_ptr<sim::SimModule> module;
    std::unique_ptr<TBComPort> port;
    std::unique_ptr<RecordingView> view;
    std::unique_ptr<Exchange> ex;

    void openSim(sim::Model model = sim::Model::TR70) {
        module = std::make_unique<sim::SimModule>(model);
        QVERIFY(module->start());
        port = std::make_unique<TBComPort>();
        port->setPort(module->slavePath());
        QVERIFY(port->Open_Port());
        view = std::make_unique<RecordingView>();
        ex = std::make_unique<Exchange>(port.get(), view.get());
    }

    // Waits, running no events, until the port holds n characters: they have arrived, and
    // no receive event has taken them.
    bool arrivedUnseen(int n) {
        QElapsedTimer t;
        t.start();
        while (port->Waiting_Count() < n && t.elapsed() < 3000) QThread::usleep(200);
        return port->Waiting_Count() >= n;
    }

    static sim::Faults adapter(int delayMs, int gapMs) {
        sim::Faults f;
        f.adapterDelayMs = delayMs;
        f.adapterPieces = 2;
        f.adapterGapMs = gapMs;
        return f;
    }

private slots:
    void init() { openSim(); }
    void cleanup() {
        ex.reset();
        port.reset();
        view.reset();
        module.reset();
    }

    void timersAtStart() {
        QCOMPARE(ex->transferTimers().size(), 25);
        for (QTimer* t : ex->transferTimers()) {
            QVERIFY2(!t->isActive(), qPrintable(t->objectName()));
            QCOMPARE(t->timerType(), Qt::PreciseTimer);
        }
        QCOMPARE(ex->Timer_Read->interval(), 50);
        QCOMPARE(ex->Timer_MAF_In->interval(), 30);
        QCOMPARE(ex->Timer_Write->interval(), 75);
        QCOMPARE(ex->Timer_YellowPoints->interval(), 250);
        QCOMPARE(ex->Timer_NeprOpros->interval(), 25);
        QCOMPARE(ex->Timer_Stop_Read->interval(), 5000);
        QVERIFY(ex->Timer_Stop_Read->isSingleShot());
        QVERIFY(ex->countsProgress(ex->Timer_Read));
        QVERIFY(ex->countsProgress(ex->Timer_Lambda_Out_1));
        QVERIFY(!ex->countsProgress(ex->Timer_SeansOne));
        QVERIFY(!ex->countsProgress(ex->Timer_RegRab));
        QCOMPARE(ex->transferTimers().first()->objectName(), QStringLiteral("Timer_NeprOpros"));
        QCOMPARE(ex->transferTimers().last()->objectName(), QStringLiteral("Timer_SeansOne"));
    }

    // A command goes out on every tick until a handler moves on.
    void repeatsUntilAnswered() {
        sim::Faults f;
        f.silent = true;
        module->setFaults(f);
        ex->start(ex->Timer_Read, QStringLiteral("47%"));
        QTRY_VERIFY_WITH_TIMEOUT(module->receivedItems().size() >= 4, 2000);
        for (const QString& item : module->receivedItems()) QCOMPARE(item, QStringLiteral("47%"));
        QVERIFY(view->progress >= 4);
        // The module answers again: the gate moves the chain on.
        QStringList answers;
        ex->setGate(ex->Timer_Read, [&](const QString& chunk) {
            answers << ex->answerText(chunk);
            if (ex->Cmd_Sent == QLatin1String("47%")) ex->Cmd_Pending = QStringLiteral("57%");
        });
        module->setFaults(sim::Faults());
        QTRY_VERIFY_WITH_TIMEOUT(module->receivedItems().contains(QStringLiteral("57%")), 2000);
        ex->Timer_Read->stop();
        QVERIFY(!answers.isEmpty());
    }

    // An answer in two pieces is evaluated twice, the second time complete, and the log
    // shows two exchange lines.
    void splitAnswerEvaluatedTwice() {
        module->setWork(0x74, 0x3C);
        sim::Faults f;
        f.splitAfter = 1;
        f.splitPauseMs = 150; // long enough that the two pieces never arrive as one
        module->setFaults(f);
        QList<int> bytes;
        QStringList seen;
        ex->setGate(ex->Timer_Read, [&](const QString& chunk) {
            const QString a = ex->answerText(chunk);
            seen << a;
            if (ex->Cmd_Sent == QLatin1String("47%")) {
                bytes << int(16 * Hex_Digit_Value(a.mid(1, 1)) + Hex_Digit_Value(a.mid(0, 1)));
                ex->Timer_Read->stop(); // one command only
            }
        });
        ex->Timer_Read->setInterval(100); // the gate stops the timer at the first piece
        ex->start(ex->Timer_Read, QStringLiteral("47%"));
        QTRY_VERIFY_WITH_TIMEOUT(view->exchangeLines().size() >= 1, 2000);
        // The timer stopped after the first piece, so only the tail evaluates the rest.
        QTRY_COMPARE_WITH_TIMEOUT(view->edit6, QStringLiteral("C3 "), 2000);
        QCOMPARE(seen.first(), QStringLiteral("C"));
        QCOMPARE(bytes.first(), 16 * -1 + 12); // the missing digit reads -1
        const QStringList lines = view->exchangeLines();
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines.at(0), msgs().Msg_Query + QStringLiteral(" 47%   ") + msgs().Msg_Answer + QStringLiteral(" C"));
        QCOMPARE(lines.at(1), msgs().Msg_Query + QStringLiteral(" 47%   ") + msgs().Msg_Answer + QStringLiteral(" C3 "));
        // Timer_Read is not running: each receive event adds an empty line after its line.
        QCOMPARE(view->log.count(QString()), 2);
    }

    // What came before a tick is the answer to the command sent before it: the tick hands
    // it to that command's handler first, and then sends the command the handler named
    // instead of repeating the old one. This holds for a whole late answer and for the
    // late rest of an answer whose start a receive event has already taken.
    void tickTakesInEarlierArrivals_data() {
        QTest::addColumn<bool>("split");
        QTest::newRow("whole answer waiting") << false;
        QTest::newRow("rest of a split answer waiting") << true;
    }
    void tickTakesInEarlierArrivals() {
        QFETCH(bool, split);
        // The rest comes 400 ms after the start, long enough for a receive event to take
        // the start alone even on a busy machine.
        if (split) module->setFaults(adapter(1, 400));
        QStringList seen;
        ex->setGate(ex->Timer_Read, [&](const QString& chunk) {
            seen << ex->Cmd_Sent + QLatin1Char(':') + ex->answerText(chunk);
            if (ex->Cmd_Sent == QLatin1String("87*")) ex->Cmd_Pending = QStringLiteral("97*");
        });
        ex->Timer_Read->setInterval(100000); // the test runs the ticks itself
        ex->start(ex->Timer_Read, QStringLiteral("87*"));
        ex->transferTick(ex->Timer_Read);
        if (split) {
            QTRY_COMPARE_WITH_TIMEOUT(seen, QStringList({"87*:4"}), 3000);
            QVERIFY(arrivedUnseen(2));
        } else {
            QVERIFY(arrivedUnseen(3));
        }
        ex->transferTick(ex->Timer_Read);
        QCOMPARE(seen.value(seen.size() - 1), QStringLiteral("87*:45 "));
        QCOMPARE(ex->Cmd_Sent, QStringLiteral("97*"));
        QCOMPARE(view->edit6, QString()); // cleared for the new command
        QTRY_COMPARE_WITH_TIMEOUT(seen.last(), QStringLiteral("97*:25 "), 3000);
        QCOMPARE(module->receivedItems(), QStringList({"87*", "97*"}));
        ex->Timer_Read->stop();
    }

    // A late answer that ends its operation: the tick that took it in sends nothing.
    void tickOfEndedOperationSendsNothing() {
        ex->setGate(ex->Timer_Read, [&](const QString&) {
            if (ex->Cmd_Sent == QLatin1String("87*")) ex->Timer_Read->stop();
        });
        ex->Timer_Read->setInterval(100000);
        ex->start(ex->Timer_Read, QStringLiteral("87*"));
        ex->transferTick(ex->Timer_Read);
        QVERIFY(arrivedUnseen(3));
        ex->transferTick(ex->Timer_Read);
        QVERIFY(!ex->Timer_Read->isActive());
        QCOMPARE(view->edit6, QStringLiteral("45 "));
        QTest::qWait(50);
        QCOMPARE(module->receivedItems(), QStringList({"87*"}));
    }

    // No receive event runs inside a tick, even if writing lets events run (as waiting for
    // a write to finish may): the module's instant answer to the new command is taken in
    // after the tick, into the emptied buffer, whole.
    void tickIsAtomic() {
        module->setEngineRunning(false);
        module->setWork(0x74, 0x3C);
        module->setFaults(adapter(1, 30));
        QStringList seen;
        ex->setGate(ex->Timer_Read, [&](const QString& chunk) { seen << ex->Cmd_Sent + ':' + ex->answerText(chunk); });
        QStringList duringTick;
        connect(port.get(), &TBComPort::textWritten, this, [&](int) {
            if (!arrivedUnseen(1)) return;
            QCoreApplication::processEvents();
            duringTick = seen;
        });
        ex->Timer_Read->setInterval(100000);
        ex->start(ex->Timer_Read, QStringLiteral("47%"));
        ex->transferTick(ex->Timer_Read);
        QVERIFY(duringTick.isEmpty());
        QCOMPARE(view->edit6, QString());
        QTRY_COMPARE_WITH_TIMEOUT(view->edit6, QStringLiteral("C3 "), 3000);
        QVERIFY(seen.first().startsWith(QStringLiteral("47%:C"))); // the start was not lost
        QCOMPARE(seen.last(), QStringLiteral("47%:C3 "));
        ex->Timer_Read->stop();
    }

    // Each tick comes one whole interval after the one before, however late that one ran:
    // the module always has the whole interval to answer.
    void lateTickDoesNotShortenTheNext() {
        sim::Faults f;
        f.silent = true;
        module->setFaults(f);
        QList<qint64> at;
        QElapsedTimer clock;
        clock.start();
        // Other work holds the window's thread from 40 to 70 ms after the first command,
        // so the second tick (due at 50 ms) runs 20 ms late.
        QTimer blocker;
        blocker.setSingleShot(true);
        blocker.setTimerType(Qt::PreciseTimer);
        connect(&blocker, &QTimer::timeout, this, [] { QThread::msleep(30); });
        connect(port.get(), &TBComPort::textWritten, this, [&](int) {
            at << clock.elapsed();
            if (at.size() == 1) blocker.start(40);
        });
        ex->start(ex->Timer_Read, QStringLiteral("87*"));
        QTRY_VERIFY_WITH_TIMEOUT(at.size() >= 4, 3000);
        ex->Timer_Read->stop();
        // Only lower bounds: a busy machine may make any tick later, never earlier.
        for (int i = 1; i < at.size(); ++i)
            QVERIFY2(at[i] - at[i - 1] >= 49, qPrintable(QStringLiteral("tick %1 after %2 ms").arg(i).arg(at[i] - at[i - 1])));
    }

    void lowerCaseDigitsReadAsInvalid() {
        module->setWork(0x74, 0xAB);
        sim::Faults f;
        f.lowerCaseDigits = true;
        module->setFaults(f);
        QString answer;
        ex->setGate(ex->Timer_Read, [&](const QString& chunk) {
            answer = ex->answerText(chunk);
        });
        ex->start(ex->Timer_Read, QStringLiteral("47%"));
        QTRY_VERIFY_WITH_TIMEOUT(answer.size() >= 2, 2000);
        ex->Timer_Read->stop();
        QCOMPARE(answer.left(2), QStringLiteral("ba"));
        QCOMPARE(Hex_Digit_Value(answer.mid(0, 1)), -1.0);
        QCOMPARE(Hex_Digit_Value(answer.mid(1, 1)), -1.0);
    }

    // The gates run in the fixed order, and only those whose timer is running.
    void gateOrder() {
        // Written out here, not taken from the exchange, so that a swap there shows.
        const QStringList order = {
            "Timer_NeprOpros",   "Timer_RegRab",          "Timer_Get_0",           "Timer_Emulator",
            "Timer_Optimizator", "Timer_MAF_MAP",         "Timer_Write",           "Timer_Lambda_Ticher",
            "Timer_Lambda_Ticher_02", "Timer_MAF_In",     "Timer_MAF_TR_90_In",    "Timer_Lambda_In",
            "Timer_MAF_Out_1",   "Timer_MAF_TR_90_Out_1", "Timer_Lambda_Out_1",    "Timer_Chart_2D",
            "Timer_Chart_2D_Filter", "Timer_Chart_2D_Filter_2", "Timer_Chart_2D_2", "Timer_2D_Table_In",
            "Timer_2D_Table_In_2", "Timer_YellowPoints",  "Timer_YellowPoints_2",  "Timer_Read",
            "Timer_SeansOne",
        };
        QCOMPARE(order.size(), 25);
        QCOMPARE(Exchange::gateOrder(), order);
        QStringList all;
        for (QTimer* t : ex->transferTimers()) all << t->objectName();
        QCOMPARE(all, order);

        QStringList ran;
        for (QTimer* t : ex->transferTimers()) {
            const QString name = t->objectName();
            ex->setGate(t, [&ran, name](const QString&) { ran << name; });
            t->setInterval(10000); // the test drives the receive handler itself
        }
        const QStringList enabled = {QStringLiteral("Timer_SeansOne"), QStringLiteral("Timer_Read"),
                                     QStringLiteral("Timer_Lambda_Out_1"), QStringLiteral("Timer_NeprOpros"),
                                     QStringLiteral("Timer_Write")};
        for (const QString& n : enabled) ex->timer(n)->start();
        ex->BComPort1RxChar(0);
        QCOMPARE(ran, QStringList({"Timer_NeprOpros", "Timer_Write", "Timer_Lambda_Out_1", "Timer_Read",
                                   "Timer_SeansOne"}));

        // A gate that stops a later timer keeps that timer's gate from running.
        ran.clear();
        ex->setGate(ex->Timer_NeprOpros, [&](const QString&) {
            ran << QStringLiteral("Timer_NeprOpros");
            ex->Timer_Read->stop();
        });
        ex->BComPort1RxChar(0);
        QVERIFY(!ran.contains(QStringLiteral("Timer_Read")));
        QVERIFY(ran.contains(QStringLiteral("Timer_SeansOne")));
        for (QTimer* t : ex->transferTimers()) t->stop();
    }

    // During live polling no exchange line is logged, but every event adds an empty line.
    void pollingLogsEmptyLinesOnly() {
        ex->Timer_NeprOpros->setInterval(10000);
        ex->Timer_NeprOpros->start();
        ex->Cmd_Sent = QStringLiteral("47&");
        ex->BComPort1RxChar(0);
        ex->BComPort1RxChar(0);
        ex->Timer_NeprOpros->stop();
        QCOMPARE(view->log, QStringList({QString(), QString()}));
    }

    void successLineAfterConnect() {
        ex->Connect_Done = true;
        ex->Cmd_Sent = QStringLiteral("F7*");
        ex->BComPort1RxChar(0);
        QCOMPARE(view->log.size(), 4);
        QVERIFY(view->log.at(0).startsWith(msgs().Msg_Query + QStringLiteral(" F7*   ")));
        QCOMPARE(view->log.at(1), QString());
        QVERIFY(view->log.at(2).startsWith(QStringLiteral("Модуль подключен успешно ")));
        QCOMPARE(view->log.at(3), QString());
        QVERIFY(!ex->Connect_Done);
    }

    // An unplugged adapter is reported once; the timers go on writing nothing.
    void vanishingDeviceReportedOnce() {
        QSignalSpy failed(port.get(), &TBComPort::portFailed);
        ex->start(ex->Timer_SeansOne, QStringLiteral("87*"));
        ex->setGate(ex->Timer_SeansOne, [](const QString&) {}); // keep it running
        QTRY_VERIFY_WITH_TIMEOUT(!module->receivedItems().isEmpty(), 2000);
        module->vanish();
        QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, 3000);
        QVERIFY(!port->isOpen());
        // Several more ticks go by: still exactly one report.
        QSignalSpy ticks(ex->Timer_SeansOne, &QTimer::timeout);
        QTRY_VERIFY_WITH_TIMEOUT(ticks.size() >= 5, 3000);
        QCOMPARE(failed.size(), 1);
        QVERIFY(ex->Timer_SeansOne->isActive());
        ex->Timer_SeansOne->stop();
    }
};

QTEST_MAIN(TestExchange)
#include "test_exchange.moc"
