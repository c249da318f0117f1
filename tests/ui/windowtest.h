#pragma once
// Helpers for tests that drive the whole window against the simulated module.
#include "app/mainwindow.h"
#include "app/protocolpanel.h"
#include "link/tbcomport.h"
#include "sim/simmodule.h"

#include <QComboBox>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>

namespace wt {

// Selects a demo port and presses the connect button; prepare() runs on the fresh
// simulated module before its first command arrives (the first tick is 50 ms away).
inline sim::SimModule* connectDemo(TForm1& w, const QString& port,
                                   const std::function<void(sim::SimModule*)>& prepare = {}) {
    w.cbPort->setCurrentIndex(w.cbPort->findText(port));
    QTest::mouseClick(w.atb_ModuleOn, Qt::LeftButton);
    sim::SimModule* m = w.BComPort1->demoModule();
    if (m && prepare) prepare(m);
    return m;
}

// The command texts as they went out, with the repeats of a command that was sent again
// before its answer arrived folded into one.
inline QStringList distinctRuns(const QStringList& items) {
    QStringList out;
    for (const QString& s : items)
        if (out.isEmpty() || out.last() != s) out << s;
    return out;
}

inline QStringList logLines(TForm1& w) {
    return w.Panel_Protocol->logText().split(QLatin1Char('\n'));
}

} // namespace wt
