// The receive path under the fuzzer: the whole window with its real exchange, gates and
// controllers, on a port without a device, run one tick and one receive event at a time
// with no time passing. A simulated module's memory answers what the tool wrote; the input
// decides what reaches the tool instead: the answer whole, in pieces, with a character
// dropped or added, other bytes, nothing at all, or late (taken in by the next tick). It
// also says when the connection's watchdog fires and which chain runs after the
// connection. When the input is used up every answer is whole, so each chain can end
// within a bound of steps counted from there. An input may also connect again over what
// its first session left (a failed connection keeps the interface locked and the exchange
// as it stood), the way a user reconnects, without the fresh start every input begins with.
//
// Checked after every step: at most one transfer timer runs (one command outstanding),
// and the interface lock is on exactly while an operation that takes it runs.
#include "fuzzwindow.h"

#include "app/mainwindow.h"
#include "app/protocolpanel.h"
#include "link/exchange.h"
#include "link/tbcomport.h"
#include "settings/lambdalearning.h"
#include "settings/modeswitches.h"
#include "settings/registerwriter.h"
#include "settings/settingsreader.h"
#include "sim/simmemory.h"
#include "sim/simprotocol.h"
#include "tables/curvepanel.h"
#include "tables/tabletransfer.h"
#include "telemetry/liverecorder.h"

#include <QCoreApplication>
#include <QDir>
#include <QTimer>
#include <QToolButton>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>

namespace {

// Steps with every answer whole (the input used up) after which a chain that never ends
// counts as hung (a filtered curve read with every answer whole takes 448 steps). Counted
// from the end of the input: a long input may keep a chain going for as long as it lasts.
constexpr int MaxSteps = 1200;
// Steps between two passes of the window's own queued work.
constexpr int DrawEvery = 32;

enum class Chain {
    TableRead,
    CurveRead,
    LivePoints,
    Recording,
    FuelReset,
    SettingsWrite,
    ModeSwitch,
    Learning,
    Count
};

// The module's side: its memory answers every item the tool wrote.
struct Module {
    sim::SimMemory memory;
    sim::SimResponder responder{&memory};
    sim::ItemParser parser;
    explicit Module(sim::Model model) : memory(sim::initialMemory(model, sim::Equipment{})) {}
    QByteArray answer(const QByteArray& written) {
        QByteArray out;
        for (const sim::CommandItem& item : parser.feed(written)) out += responder.respond(item);
        return out;
    }
};

struct Run {
    TForm1& w;
    FuzzedDataProvider& in;
    Module module;
    QString chain = QStringLiteral("connection");
    bool watchdogFired = false;
    int steps = 0;
    int wholeSteps = 0; // steps taken with the input used up

    int activeTransfers() const {
        int n = 0;
        for (QTimer* t : w.Ex->transferTimers()) n += t->isActive();
        return n;
    }
    QString activeNames() const {
        QStringList names;
        for (QTimer* t : w.Ex->transferTimers())
            if (t->isActive()) names << t->objectName();
        return names.join(QLatin1Char(' '));
    }
    bool locked() const { return !w.atb_Seans->isEnabled(); }
    // The operations that hold the interface lock while they run.
    bool lockingRuns() const {
        const Exchange& ex = *w.Ex;
        if (ex.Timer_Module_Graf->isActive()) return true;
        if (chain == QLatin1String("connection")) return ex.Timer_Stop_Read->isActive() || watchdogFired;
        for (QTimer* t : {ex.Timer_MAF_In, ex.Timer_MAF_TR_90_In, ex.Timer_Lambda_In, ex.Timer_MAF_Out_1,
                          ex.Timer_MAF_TR_90_Out_1, ex.Timer_Lambda_Out_1, ex.Timer_Chart_2D,
                          ex.Timer_Chart_2D_Filter, ex.Timer_Chart_2D_Filter_2, ex.Timer_Chart_2D_2,
                          ex.Timer_2D_Table_In, ex.Timer_2D_Table_In_2, ex.Timer_YellowPoints,
                          ex.Timer_YellowPoints_2, ex.Timer_Lambda_Ticher, ex.Timer_Lambda_Ticher_02})
            if (t->isActive()) return true;
        return false;
    }
    void check() {
        const QString where = QStringLiteral("%1, step %2, running: %3, sent %4")
                                  .arg(chain)
                                  .arg(steps)
                                  .arg(activeNames(), w.Ex->Cmd_Sent);
        FUZZ_CHECK(activeTransfers() <= 1, where);
        FUZZ_CHECK(locked() == lockingRuns(), where);
    }

    // Hands one piece of received characters to the tool as a receive event.
    void deliver(const QByteArray& piece) {
        if (piece.isEmpty()) return;
        w.BComPort1->feed(piece);
        w.Ex->BComPort1RxChar(w.BComPort1->Waiting_Count());
    }

    void step() {
        ++steps;
        if (in.remaining_bytes() == 0) ++wholeSteps;
        // The recording timer comes every few transfer ticks.
        if (w.Ex->Timer_Module_Graf->isActive() && (in.remaining_bytes() == 0 || in.ConsumeBool()))
            w.Recorder->Timer_Module_GrafTimer();
        for (QTimer* t : w.Ex->transferTimers())
            if (t->isActive()) w.Ex->transferTick(t);
        QByteArray answer = module.answer(w.BComPort1->takeWritten());
        const int how = in.remaining_bytes() == 0 ? 0 : in.ConsumeIntegralInRange(0, 15);
        auto at = [&](int size) { return in.ConsumeIntegralInRange(0, size); };
        switch (how) {
        case 4: { // in pieces
            int pieces = in.ConsumeIntegralInRange(2, 6);
            while (pieces-- > 1 && !answer.isEmpty()) {
                const int n = at(int(answer.size()));
                deliver(answer.left(n));
                answer.remove(0, n);
            }
            deliver(answer);
            break;
        }
        case 5: // a character lost
            if (!answer.isEmpty()) answer.remove(at(int(answer.size()) - 1), 1);
            deliver(answer);
            break;
        case 6: // a character added
            answer.insert(at(int(answer.size())), char(in.ConsumeIntegral<std::uint8_t>()));
            deliver(answer);
            break;
        case 7: // line noise instead of the answer
            deliver(QByteArray::fromStdString(in.ConsumeRandomLengthString(24)));
            break;
        case 8: // silence
            break;
        case 9: // arrives before the next tick but after its receive event would have run
            w.BComPort1->feed(answer);
            break;
        case 10: // the answer and then noise
            deliver(answer + QByteArray::fromStdString(in.ConsumeRandomLengthString(8)));
            break;
        case 11: // lower-case digits
            deliver(answer.toLower());
            break;
        case 12: // time passes: the connection's watchdog fires if it is on
            if (w.Ex->Timer_Stop_Read->isActive()) {
                watchdogFired = true;
                w.Conn->Timer_Stop_ReadTimer();
            }
            deliver(answer);
            break;
        default:
            deliver(answer);
            break;
        }
        // The exchange's queued calls (a deferred receive, a closing port, a read's end
        // message) run after every step; the window's own (replots, readouts) every few
        // steps, as in a window too busy to draw after every answer. No timer fires.
        for (QObject* o : {static_cast<QObject*>(w.Ex), static_cast<QObject*>(w.BComPort1),
                           static_cast<QObject*>(w.TableTransfers)})
            QCoreApplication::sendPostedEvents(o);
        if (steps % DrawEvery == 0) QCoreApplication::sendPostedEvents();
        check();
    }

    // Steps until nothing runs any more (or until `until` says so); false when the limit
    // was reached first.
    bool runOut(const std::function<bool()>& until = {}) {
        // Every step with input left consumes some of it, so this ends.
        const int wholeStart = wholeSteps;
        while (wholeSteps - wholeStart < MaxSteps) {
            if (until && until()) return true;
            if (!until && activeTransfers() == 0 && !w.Ex->Timer_Module_Graf->isActive()) return true;
            step();
        }
        return false;
    }
};

void reset(TForm1& w) {
    Exchange& ex = *w.Ex;
    if (ex.Timer_Module_Graf->isActive()) w.Recorder->atb_Chart1_StopClick();
    // Every input starts a fresh session: no log, recording or module history of earlier
    // inputs, which over a million inputs would fill the memory and the disk.
    w.Recorder->atb_Chart1_ClearClick();
    w.Panel_Protocol->clear();
    QDir(QDir(fuzzwin::workDir()).filePath(QStringLiteral("history"))).removeRecursively();
    for (QTimer* t : ex.transferTimers()) t->stop();
    ex.Timer_Stop_Read->stop();
    w.BComPort1->openDetached();
    ex.Cmd_Pending.clear();
    ex.Cmd_Sent.clear();
    w.Btn_UnBlockClick();
    // As the connect button does on an open port.
    w.Settings->resetForConnection();
    w.Modes->abortForConnection();
    w.Learning->abortForConnection();
    w.RegWriter->forgetHeldWrite();
    w.Conn->start();
}

// The connect button's steps on a port that is open already: nothing of what the last
// session left (timers, the lock, the receive buffer, the pending command) is cleared.
void reconnect(Run& r) {
    TForm1& w = r.w;
    w.Settings->resetForConnection();
    w.Modes->abortForConnection();
    w.Learning->abortForConnection();
    w.RegWriter->forgetHeldWrite();
    w.Conn->start();
    r.chain = QStringLiteral("connection");
    r.watchdogFired = false;
}

void startChain(Run& r, Chain chain) {
    TForm1& w = r.w;
    FuzzedDataProvider& in = r.in;
    const int curve = in.ConsumeBool() ? 2 : 1;
    CurvePanel* panel = curve == 2 ? w.Panel_Emu_2 : w.Panel_Emu;
    switch (chain) {
    case Chain::TableRead: {
        const int which = in.ConsumeIntegralInRange(0, 2);
        r.chain = QStringLiteral("table read %1").arg(which);
        if (which == 0) w.TableTransfers->atb_Lambda_OutClick();
        if (which == 1) w.TableTransfers->atb_MAF_OutClick();
        if (which == 2) w.TableTransfers->atb_MAF_TR_90_OutClick();
        break;
    }
    case Chain::CurveRead: {
        const bool filtered = in.ConsumeBool();
        r.chain = QStringLiteral("curve %1 read%2").arg(curve).arg(filtered ? " filtered" : "");
        panel->ui.atb_Lambda_Filter_On->setChecked(filtered);
        w.TableTransfers->atb_Emu_InClick(curve);
        break;
    }
    case Chain::LivePoints:
        r.chain = QStringLiteral("live points %1").arg(curve);
        w.TableTransfers->Btn_YellowPointsClick(curve);
        break;
    case Chain::Recording:
        r.chain = QStringLiteral("recording");
        w.Recorder->atb_Chart1_StartClick();
        break;
    case Chain::FuelReset:
        r.chain = QStringLiteral("fuel counter reset");
        w.Recorder->atb_Get_0Click();
        break;
    case Chain::SettingsWrite: {
        static const int regs[] = {0x04, 0x05, 0x09, 0x0B, 0x0F, 0x10, 0x12, 0x14, 0x15, 0x17, 0x18};
        const int reg = regs[in.ConsumeIntegralInRange<int>(0, std::size(regs) - 1)];
        r.chain = QStringLiteral("settings write %1").arg(reg, 2, 16, QLatin1Char('0'));
        w.RegWriter->writeParameter(reg, in.ConsumeIntegral<std::uint8_t>());
        break;
    }
    case Chain::ModeSwitch: {
        const int mode = in.ConsumeIntegralInRange(0, 2);
        r.chain = QStringLiteral("mode switch %1").arg(mode);
        if (mode == 0) w.Modes->AdvTBtn_EmuClick();
        if (mode == 1) w.Modes->AdvTBtn_OptClick();
        if (mode == 2) w.Modes->AdvTBtn_MAF_PClick();
        break;
    }
    case Chain::Learning:
        r.chain = QStringLiteral("learning");
        w.Learning->atb_Other_TicherEmuClick();
        break;
    case Chain::Count:
        break;
    }
    QCoreApplication::sendPostedEvents();
    r.check();
}

// Runs one chain after a connection, to its end.
void runChain(Run& r, Chain chain, int endlessSteps) {
    TForm1& w = r.w;
    r.chain = QString();
    startChain(r, chain);
    // The live points and the recording run until the user stops them.
    if (chain == Chain::LivePoints || chain == Chain::Recording) {
        const int stopAt = r.steps + endlessSteps;
        r.runOut([&] { return r.steps >= stopAt; });
        const int curve = w.Ex->Timer_YellowPoints_2->isActive() ? 2 : 1;
        if (chain == Chain::LivePoints) w.TableTransfers->Btn_YellowPoints_StopClick(curve);
        if (chain == Chain::Recording) w.Recorder->atb_Chart1_StopClick();
        QCoreApplication::sendPostedEvents();
        r.check();
    }
    FUZZ_CHECK(r.runOut(), r.chain + QStringLiteral(" never ended: ") + r.activeNames());
    QCoreApplication::sendPostedEvents();
    r.check();
    FUZZ_CHECK(!r.locked(), r.chain);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzwin::startApplication();
    fuzzwin::window();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TForm1& w = fuzzwin::window();
    FuzzedDataProvider in(data, size);
    const sim::Model model = in.ConsumeBool() ? sim::Model::TR90 : sim::Model::TR70;
    const Chain chain = Chain(in.ConsumeIntegralInRange(0, int(Chain::Count) - 1));
    const int endlessSteps = in.ConsumeIntegralInRange(1, 40);
    Run r{w, in, Module(model)};

    reset(w);
    r.check();
    // Up to two sessions: the second connects again over what the first left.
    for (int session = 1;; ++session) {
        FUZZ_CHECK(r.runOut(), QStringLiteral("the connection never ended: ") + r.activeNames());
        QCoreApplication::sendPostedEvents();
        r.check();
        const bool failed = r.watchdogFired || w.Ctx.module.model.isEmpty() || w.Ex->Timer_Stop_Read->isActive();
        // A connection that failed or named no model of ours ends the session here.
        if (!failed) runChain(r, chain, endlessSteps);
        if (session == 2 || in.remaining_bytes() == 0 || !in.ConsumeBool()) break;
        reconnect(r);
        r.check();
    }
    fuzzwin::takeErrors();
    return 0;
}

