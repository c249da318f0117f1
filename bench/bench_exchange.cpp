// How long the receive handler and the protocol log take per event, on an empty log and
// on a log after hours of polling. Prints figures; not part of the test suite.
//   build/bench_exchange            (needs a display, or QT_QPA_PLATFORM=offscreen)
#include "app/mainwindow.h"
#include "app/protocolpanel.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {
double microsPer(int n, const std::function<void()>& fn) {
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < n; ++i) fn();
    return double(t.nsecsElapsed()) / 1000.0 / n;
}
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The window keeps its settings files in the current directory; a measurement leaves
    // none behind and starts from the window's own settings.
    QTemporaryDir settingsDir;
    QDir::setCurrent(settingsDir.path());
    TForm1 w;
    w.show();
    app.processEvents();

    std::printf("%-52s %12s\n", "measurement", "us per call");
    for (int round = 0; round < 3; ++round) {
        const int lines = w.Panel_Protocol->lineCount();
        // A receive event outside polling: exchange line + empty line in the log.
        w.Ex->Cmd_Sent = QStringLiteral("87*");
        const double plain = microsPer(2000, [&] { w.Ex->BComPort1RxChar(0); });
        // During live polling: one empty line per event, as the log gets it for hours.
        w.Ex->Timer_NeprOpros->setInterval(1000000);
        w.Ex->Timer_NeprOpros->start();
        const double polling = microsPer(2000, [&] { w.Ex->BComPort1RxChar(0); });
        w.Ex->Timer_NeprOpros->stop();
        std::printf("receive event, log at %7d lines                 %12.1f\n", lines, plain);
        std::printf("receive event while polling, log at %7d lines  %12.1f\n", lines, polling);
        // Grow the log by 100 000 lines (about 40 minutes of polling at 40 events/s).
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < 100000; ++i) w.logLine(QString());
        std::printf("appending 100000 lines took %.0f ms\n", double(t.elapsed()));
        app.processEvents();
    }
    return 0;
}
