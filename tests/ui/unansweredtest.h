#pragma once
// Helpers for the tests of a module that stops answering, or keeps refusing, in the middle
// of an operation: the fault is switched on once the module has received enough of the
// operation, then the test waits (bounded) for the operation's end and checks what the
// user is told. The expected texts are written out here word for word, not taken from the
// program's language table.
#include "app/statusbar.h"
#include "history/history.h"
#include "windowtest.h"

#include <QRegularExpression>

namespace ut {

enum class Fault { Silent, Refusing };

// A silent module answers after SilenceMs at the latest; the waits allow for a loaded
// machine on top of it, and still end a test that would otherwise wait for ever.
constexpr int EndBoundMs = 7000;

// Waits until the module has received `items` items in all, then switches the fault on.
// since starts at the switch.
inline bool faultAfter(sim::SimModule* m, int items, Fault fault, QElapsedTimer* since) {
    if (!QTest::qWaitFor([&] { return m->receivedItems().size() >= items; }, 10000)) return false;
    sim::Faults f;
    if (fault == Fault::Silent)
        f.silent = true;
    else
        f.refuseWrites = true;
    m->setFaults(f);
    since->start();
    return true;
}

inline QString stallText(Fault fault, const QString& operation) {
    return (fault == Fault::Silent ? QStringLiteral("Модуль не отвечает: ") : QStringLiteral("Модуль отклоняет запись: ")) +
           operation;
}

// The last command of the log line that reports text ("<date> <time> <text>; последняя
// команда <command>"), or "(no line)".
inline QString loggedCommand(TForm1& w, const QString& text) {
    const QRegularExpression line(QStringLiteral("^\\d\\S* \\d\\S* ") + QRegularExpression::escape(text) +
                                  QStringLiteral("; последняя команда (.*)$"));
    for (const QString& l : wt::logLines(w)) {
        const QRegularExpressionMatch m = line.match(l);
        if (m.hasMatch()) return m.captured(1);
    }
    return QStringLiteral("(no line)");
}

// What the window shows of an ended operation: empty when the bottom bar's free panel
// holds text in the alarm colour and the log has its line with the module's last item;
// otherwise what differs.
inline QString checkReported(TForm1& w, sim::SimModule* m, const QString& text) {
    if (w.StatusBar_Bottom->panelText(3) != text)
        return QStringLiteral("status: '%1', expected '%2'").arg(w.StatusBar_Bottom->panelText(3), text);
    if (!w.StatusBar_Bottom->alarm()) return QStringLiteral("the status bar is not in the alarm colour");
    const QString logged = loggedCommand(w, text);
    const QStringList items = m->receivedItems();
    // The last command text sent is the one the module received last (a command text may
    // hold several items: it ends with the last of them).
    if (items.isEmpty() || !logged.endsWith(items.last()))
        return QStringLiteral("logged command '%1', the module's last item '%2'")
            .arg(logged, items.isEmpty() ? QString() : items.last());
    return QString();
}

// The copies of the history folder of a module (the folder "unknown" before an identifier
// is known) of one kind and direction.
inline QStringList copies(const QString& identifier, TableKind kind, history::Direction direction) {
    QStringList out;
    for (const history::Entry& e : history::list(QDir::currentPath(), identifier))
        if (e.kind == kind && e.direction == direction) out << e.path;
    return out;
}

} // namespace ut
