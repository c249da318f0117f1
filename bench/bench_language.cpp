// Time of one language switch of the whole window (every text of the table, the message
// texts, the modal windows), shown at full HD. Prints figures.
//   xvfb-run -a build/bench_language
#include "app/interfacelanguage.h"
#include "app/mainwindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The window keeps its settings files in the current directory; a measurement leaves
    // none behind and starts from the window's own settings.
    QTemporaryDir settingsDir;
    QDir::setCurrent(settingsDir.path());
    TForm1 w;
    w.resize(1920, 1080);
    w.show();
    app.processEvents();
    QList<double> writes, total;
    for (int i = 0; i < 40; ++i) {
        QElapsedTimer t;
        t.start();
        w.Language->apply(i % 2 ? uitexts::Lang::Russian : uitexts::Lang::English);
        writes << t.nsecsElapsed() / 1e6;
        app.processEvents(); // the relayout and repaint the new texts cause
        total << t.nsecsElapsed() / 1e6;
    }
    std::sort(writes.begin(), writes.end());
    std::sort(total.begin(), total.end());
    std::printf("%lld texts\n", qint64(uitexts::entries().size()));
    std::printf("writing the texts:       min %7.2f ms, median %7.2f ms, max %7.2f ms\n",
                writes.first(), writes.at(writes.size() / 2), writes.last());
    std::printf("with relayout and paint: min %7.2f ms, median %7.2f ms, max %7.2f ms\n",
                total.first(), total.at(total.size() / 2), total.last());
    return 0;
}
