// The answer watch of the exchange: one idea for every operation but the connection (which
// has its own watchdog). A gate says when its operation moves on (a valid answer, a new
// command) and when the module refuses its item; the tick of a watched timer ends the
// operation through its owner once the module has not moved it on for SilenceMs on the
// real clock, or has refused the same item MaxRefusals times in a row.
#include "link/exchange.h"

#include "common/datetime.h"
#include "common/uitexts.h"

#include <QTimer>

namespace {

QString operationWithCount(const StallReport& report, uitexts::Lang lang) {
    QString text = uitexts::operationText(report.key, lang, report.args);
    if (report.done >= 0)
        text += QStringLiteral(", ") + uitexts::operationText(report.reading ? QStringLiteral("done.read")
                                                                             : QStringLiteral("done.written"),
                                                              lang,
                                                              {QString::number(report.done),
                                                               QString::number(report.total)});
    return text;
}

QString stallKey(StallKind kind) {
    return kind == StallKind::Refused ? QStringLiteral("stall.refused") : QStringLiteral("stall.silent");
}

} // namespace

QString stallStatus(StallKind kind, const StallReport& report, bool english) {
    const uitexts::Lang lang = english ? uitexts::Lang::English : uitexts::Lang::Russian;
    return uitexts::operationText(stallKey(kind), lang, {operationWithCount(report, lang)});
}

QString stallLogLine(StallKind kind, const StallReport& report, const QString& lastCommand) {
    const uitexts::Lang ru = uitexts::Lang::Russian;
    return nowText() + QLatin1Char(' ') +
           uitexts::operationText(stallKey(kind), ru, {operationWithCount(report, ru)}) + QStringLiteral("; ") +
           uitexts::operationText(QStringLiteral("stall.lastCommand"), ru, {lastCommand});
}

void Exchange::setStallEnd(QTimer* t, StallEnd end) { m_stallEnds.insert(t, std::move(end)); }

void Exchange::watchFromNow(QTimer* t) {
    Watch& w = m_watch[t];
    const bool wasReported = w.reported;
    w = Watch();
    w.since.start();
    // An operation started anew is no longer the one that waited for its answers.
    if (wasReported) m_view->clearStall();
}

void Exchange::movedOn() {
    if (!m_gateTimer || !m_stallEnds.contains(m_gateTimer)) return;
    Watch& w = m_watch[m_gateTimer];
    w.since.start();
    w.refusals = 0;
    w.refusedItem.clear();
    if (!w.reported) return;
    // The operation kept running without answers (the recording); they are back.
    w.reported = false;
    const StallReport r = w.report;
    const uitexts::Lang ru = uitexts::Lang::Russian;
    m_view->appendLog(nowText() + QLatin1Char(' ') +
                      uitexts::operationText(QStringLiteral("stall.back"), ru, {operationWithCount(r, ru)}));
    m_view->clearStall();
}

void Exchange::refused() {
    if (!m_gateTimer || !m_stallEnds.contains(m_gateTimer)) return;
    Watch& w = m_watch[m_gateTimer];
    if (w.refusalCounted) return; // a later piece of the same answer
    w.refusalCounted = true;
    if (w.refusedItem != Cmd_Sent) {
        w.refusedItem = Cmd_Sent;
        w.refusals = 0;
    }
    ++w.refusals;
}

void Exchange::sentByWatched(QTimer* t) {
    const auto it = m_watch.find(t);
    if (it != m_watch.end()) it->refusalCounted = false;
}

bool Exchange::endIfStalled(QTimer* t) {
    const auto end = m_stallEnds.constFind(t);
    if (end == m_stallEnds.constEnd() || !*end) return false;
    Watch& w = m_watch[t];
    if (!w.since.isValid()) w.since.start(); // started without start(): watched from its first tick
    if (w.reported) return false;
    const bool refusedOut = w.refusals >= MaxRefusals;
    if (!refusedOut && w.since.elapsed() < SilenceMs) return false;
    // A module that answered with refusals and then fell silent still refused the item.
    const StallKind kind = refusedOut || w.refusals > 0 ? StallKind::Refused : StallKind::Silent;
    const QString lastCommand = Cmd_Sent;
    const StallReport report = (*end)(kind);
    m_view->showStall(stallStatus(kind, report, uitexts::currentLang() == uitexts::Lang::English));
    m_view->appendLog(stallLogLine(kind, report, lastCommand));
    if (t->isActive()) {
        // The owner keeps its operation going; it is reported once, until answers return.
        Watch& kept = m_watch[t];
        kept.reported = true;
        kept.report = report;
        return false;
    }
    m_watch.remove(t);
    return true;
}
