// Time from pressing connect to a recognised module with every setting read, against the
// demo ports (simulated module on a pseudo-terminal). Prints figures.
//   xvfb-run -a build/bench_connect
#include "app/mainwindow.h"
#include "link/tbcomport.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The window keeps its settings files in the current directory; a measurement leaves
    // none behind and starts from the window's own settings.
    QTemporaryDir settingsDir;
    QDir::setCurrent(settingsDir.path());
    TForm1 w;
    w.show();
    std::printf("%-12s %8s %8s %8s\n", "port", "min ms", "median", "max ms");
    for (const QString& port : TBComPort::demoPortNames()) {
        QList<qint64> times;
        for (int i = 0; i < 5; ++i) {
            w.cbPort->setCurrentIndex(w.cbPort->findText(port));
            w.setWindowTitle(QString());
            QElapsedTimer t;
            t.start();
            w.atb_ModuleOnClick();
            while (w.Ex->Timer_Read->isActive() && t.elapsed() < 10000) app.processEvents(QEventLoop::WaitForMoreEvents, 5);
            times << t.elapsed();
            w.atb_ModuleOffClick();
        }
        std::sort(times.begin(), times.end());
        std::printf("%-12s %8lld %8lld %8lld\n", qPrintable(port), times.first(), times.at(2), times.last());
    }
    return 0;
}
