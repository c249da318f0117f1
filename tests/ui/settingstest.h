#pragma once
// Helpers for the tests that change the module's settings through the window.
#include "settings/settingspanel.h"
#include "windowtest.h"

#include <QLineEdit>
#include <QRegularExpression>

namespace st {

// The window has identified the module and the read chain is over.
inline bool connected(const TForm1& w) {
    return !w.Ex->Timer_Read->isActive() && w.windowTitle().contains(QStringLiteral("Модель"));
}

// A fresh window, large enough to show the whole settings panel, connected to a demo
// module; prepare() runs on the module before its first command.
inline std::unique_ptr<TForm1>
connectedWindow(const QString& port = QStringLiteral("DEMO TR-70"),
                const std::function<void(sim::SimModule*)>& prepare = {}) {
    wt::freshConfiguration();
    auto w = std::make_unique<TForm1>();
    w->resize(1800, 1000);
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get())) return nullptr;
    wt::connectDemo(*w, port, prepare);
    // A busy machine stretches the chain's 50 ms ticks; the wait is for the condition only.
    if (!QTest::qWaitFor([&] { return connected(*w); }, 20000)) return nullptr;
    return w;
}

// A user-action line of the log: the date and time, then exactly this text (which starts
// with a blank).
inline bool hasAction(TForm1& w, const QString& text) {
    const QRegularExpression line(QStringLiteral("^\\d\\S* \\d\\S*") +
                                  QRegularExpression::escape(text) + QStringLiteral("$"));
    for (const QString& l : wt::logLines(w))
        if (line.match(l).hasMatch()) return true;
    return false;
}

// A number text written with a comma, as the current locale writes it.
inline QString num(const char* commaText) {
    return QString::fromUtf8(commaText).replace(QLatin1Char(','), QLocale().decimalPoint());
}

template <class T> T* find(TForm1& w, const QString& name) {
    T* c = w.findChild<T*>(name);
    if (!c) qWarning("no control %s", qPrintable(name));
    return c;
}

// The write items (")") the module received, in order.
inline QStringList writes(sim::SimModule* m) {
    QStringList out;
    for (const QString& item : m->receivedItems())
        if (item.endsWith(QLatin1Char(')'))) out << item;
    return out;
}

} // namespace st
