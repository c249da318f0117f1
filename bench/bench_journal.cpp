// The recording journal and the CSV copy with a three-hour recording (108 000 samples at
// 100 ms): the cost of one journal append on the recording tick (the pure writer, and the
// window's handler that reads the archive row), restoring the journal against opening
// the same record file (both up to the repainted chart), and the CSV export through the
// save button. Prints figures; not part of the test suite.
//   build/bench_journal [minutes]     (needs a display)
#include "benchutil.h"
#include "app/mainwindow.h"
#include "telemetry/chartpanel.h"
#include "telemetry/journalformat.h"
#include "telemetry/journalkeeper.h"
#include "telemetry/journalrestore.h"
#include "telemetry/journalwriter.h"
#include "telemetry/liverecorder.h"
#include "telemetry/parampanel.h"
#include "telemetry/recordfile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <qcustomplot.h>

#include <cmath>
#include <cstdio>

namespace {

using bench::stats;
using bench::Stats;

void print(const char* what, const std::vector<double>& us) {
    const Stats s = stats(us);
    std::printf("%-44s p50 %6.2f  p95 %6.2f  p99 %7.2f  max %8.2f us\n", what, s.p50, s.p95, s.p99, s.max);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int minutes = argc > 1 ? std::max(1, atoi(argv[1])) : 180;
    const int lines = minutes * 600;
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    QElapsedTimer t;

    // 1. The pure writer, one append per sample, paced like 100 ms ticks would flush it:
    // the flush interval is cut so that every tenth append writes (once a "second").
    {
        journal::Writer writer;
        writer.open(dir.filePath(QStringLiteral("bench.journal")), nullptr);
        QRandomGenerator rng(5);
        std::vector<double> us;
        us.reserve(std::size_t(lines));
        for (int i = 0; i < lines; ++i) {
            const auto v = bench::driveLine(i, rng);
            writer.flushIntervalMs = i % 10 == 9 ? 0 : 1 << 30;
            t.start();
            writer.append(v);
            us.push_back(double(t.nsecsElapsed()) / 1e3);
        }
        writer.close();
        print("writer append (every 10th writes)", us);
        std::printf("  %d syncs in the background\n", writer.syncs());
    }

    TForm1 w;
    bench::browseAt100ms(w, app);
    auto& chart = w.Panel_Parr_Max->ui;
    LiveRecorder& rec = *w.Recorder;
    auto paint = [&] { bench::paintChart(w, app); };

    // 2. Opening the record file, then restoring the journal with the same lines.
    const QByteArray record = bench::record(lines, bench::driveLine, 3);
    const QString name = dir.filePath(QStringLiteral("drive_data.txt"));
    if (!bench::writeFile(name, record)) return 1;
    std::printf("record: %d lines, %.1f MB\n", lines, double(QFileInfo(name).size()) / (1024.0 * 1024.0));
    bench::answerOpen(w, name);
    t.start();
    chart.atb_Param_Open->click();
    paint();
    const double opened = double(t.nsecsElapsed()) / 1e6;
    chart.atb_Chart1_Stop->click();
    chart.atb_Chart1_Clear->click();
    paint();
    {
        QFile f(journal::path());
        if (!f.open(QIODevice::WriteOnly)) return 1;
        f.write(record);
    }
    // The question first (reading the journal once), then the timed answer.
    std::function<void(bool)> reply;
    w.RecordingRestore->ask = [&](const QString&, std::function<void(bool)> r) { reply = std::move(r); };
    w.RecordingRestore->check();
    if (!reply) return 1;
    t.start();
    reply(true);
    paint();
    const double restored = double(t.nsecsElapsed()) / 1e6;
    std::printf("open the record file %.0f ms; restore the journal %.0f ms (%d samples; both up to the repainted chart)\n",
                opened, restored, rec.Arhiv.samples());

    // 3. The window's append: the archive row read and handed to the journal, per tick.
    {
        JournalKeeper& journal = rec.journal();
        journal.begin();
        std::vector<double> us;
        us.reserve(std::size_t(lines));
        for (int row = 1; row <= rec.Arhiv.samples(); ++row) {
            journal.writer().flushIntervalMs = row % 10 == 0 ? 0 : 1 << 30;
            t.start();
            journal.sampleRecorded(row);
            us.push_back(double(t.nsecsElapsed()) / 1e3);
        }
        journal.flush();
        print("recording tick's journal append", us);
        journal.clear();
    }

    // 4. CSV through the save button.
    const QString csv = dir.filePath(QStringLiteral("drive.csv"));
    w.Ctx.saveFileName = [&](const QString&, const QString&) { return csv; };
    t.start();
    chart.atb_Param_Save->click();
    std::printf("CSV export of %d samples: %.0f ms, %.1f MB\n", rec.Arhiv.samples(), double(t.nsecsElapsed()) / 1e6,
                double(QFileInfo(csv).size()) / (1024.0 * 1024.0));
    return 0;
}
