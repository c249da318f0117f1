#pragma once
// Helpers for tests that drive the whole window against the simulated module.
#include "app/mainwindow.h"
#include "app/protocolpanel.h"
#include "link/tbcomport.h"
#include "sim/simmodule.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QThread>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>

namespace wt {

// The window keeps its settings files (Info_A.ini, Config_A.ini) in the current directory
// and rewrites them at every exit. A test program works in a temporary directory of its own
// (never the build or source tree, never shared with a program running beside it), and
// every window starts from the window's own values: call this before creating one.
// A window test never waits for a person. A modal window running its own event loop (a
// confirmation, a file dialog, a message box that waits) for more than a few seconds ends
// the test program at once, naming the window and its text, instead of hanging until the
// suite's time-out. Installed once per test program; freshConfiguration() does it.
inline void guardModalWindows(int seconds = 5) {
    static QTimer* guard = nullptr;
    if (guard || !qApp) return;
    guard = new QTimer(qApp);
    guard->setInterval(250);
    QObject::connect(guard, &QTimer::timeout, [seconds] {
        static QPointer<QWidget> seen;
        static QElapsedTimer since;
        QWidget* m = QApplication::activeModalWidget();
        // Window-modal boxes opened without a loop of their own do not hold anything up.
        if (!qobject_cast<QDialog*>(m) || QThread::currentThread()->loopLevel() == 0) m = nullptr;
        if (m != seen || !since.isValid()) {
            seen = m;
            since.start();
            return;
        }
        if (!m || since.elapsed() < seconds * 1000) return;
        QString text = m->windowTitle();
        if (auto* box = qobject_cast<QMessageBox*>(m)) text += QStringLiteral(": ") + box->text();
        qFatal("a modal window waited %d s for an answer nobody gives: %s \"%s\" %s", seconds,
               m->metaObject()->className(), qPrintable(m->objectName()), qPrintable(text));
    });
    guard->start();
}

inline void freshConfiguration() {
    guardModalWindows();
    static QTemporaryDir dir;
    static const bool entered = dir.isValid() && QDir::setCurrent(dir.path());
    if (!entered) qFatal("no temporary directory for the settings files");
    QFile::remove(QStringLiteral("Info_A.ini"));
    QFile::remove(QStringLiteral("Config_A.ini"));
    // A recording journal left by an earlier window would be offered back at start-up.
    QFile::remove(QStringLiteral("recording.journal"));
    QFile::remove(QStringLiteral("recording.journal.1"));
}

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

// A register as the log and the history's settings copies write it ("EEPROM-0B =  0000 1101",
// bit 0 first), worked out here bit by bit.
inline QString registerLine(int reg, int byte) {
    QString bits;
    for (int b = 0; b < 8; ++b) {
        if (b == 4) bits += QLatin1Char(' ');
        bits += (byte >> b) & 1 ? QLatin1Char('1') : QLatin1Char('0');
    }
    return QStringLiteral("EEPROM-%1 =  %2").arg(reg, 2, 16, QLatin1Char('0')).toUpper().arg(bits);
}

inline QStringList logLines(TForm1& w) {
    return w.Panel_Protocol->logText().split(QLatin1Char('\n'));
}

} // namespace wt
