// Pictures and the work report over a three-hour record (108 000 samples at 100 ms) opened
// through the real window, every series shown:
//   - the chart picture of the whole record as a PNG of 1920 x 1080 (goal: at most 1 s),
//     and, for comparison, as SVG and PDF;
//   - the work report with the settings, three tables, two curves (read and written, cells
//     changed) and the record (goal: at most 3 s and 5 MB), made as actWorkReport makes it
//     and written to a file.
// Prints figures; not part of the test suite. With BENCH_OUT set, the PNG and the report are
// kept in that folder for a person to look at.
//   build-rel/bench_report [minutes]     (needs a display)
#include "benchutil.h"
#include "app/mainwindow.h"
#include "app/workreports.h"
#include "history/history.h"
#include "settings/settingshistory.h"
#include "tables/tablefiles.h"
#include "telemetry/chartpanel.h"
#include "telemetry/chartpicture.h"
#include "telemetry/liverecorder.h"
#include "telemetry/parampanel.h"
#include "telemetry/recordfile.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QToolButton>

#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using bench::stats;

// A read and a written copy of a table or curve, `changed` cells apart.
void keepPair(const QString& id, TableKind kind, const QDateTime& when, int changed) {
    const bool curve = kind == TableKind::Curve1 || kind == TableKind::Curve2;
    QStringList before, after;
    for (int i = 0; i < 64; ++i) {
        const QString a = curve ? QString::number((20 + i * 3) / 48.0 * 100 / 100.0, 'f', 2)
                          : kind == TableKind::Voltage ? QString::number((40 + i * 2) / 52.0, 'g', 17)
                                                        : QString::number(i % 40 - 20);
        const QString b = i < changed ? (curve ? QString::number((23 + i * 3) / 48.0, 'f', 2)
                                               : kind == TableKind::Voltage ? QString::number((43 + i * 2) / 52.0, 'g', 17)
                                                                             : QString::number(i % 40 - 15))
                                      : a;
        before << a;
        after << b;
    }
    history::keep(QDir::currentPath(), id, kind, history::Direction::Read, tablefiles::encode(before), when, nullptr,
                  nullptr, false);
    history::keep(QDir::currentPath(), id, kind, history::Direction::Written, tablefiles::encode(after),
                  when.addSecs(60), nullptr, nullptr, false);
}

void print(const char* what, const std::vector<double>& ms, const char* extra = "") {
    const bench::Stats s = stats(ms);
    std::printf("%-46s p50 %8.1f  max %8.1f ms%s\n", what, s.p50, s.max, extra);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int minutes = argc > 1 ? std::max(1, atoi(argv[1])) : 180;
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());

    TForm1 w;
    bench::showChart(w, app);
    bench::showAllSeries(w);
    const QString record = dir.filePath(QStringLiteral("drive_data.txt"));
    if (!bench::writeFile(record, bench::record(minutes * 600, bench::sweepLine, 5))) return 1;
    bench::answerOpen(w, record);
    w.Panel_Parr_Max->ui.atb_Param_Open->click();
    app.processEvents();
    ParamChart& chart = w.Recorder->chart();
    chart.fitTimeAxis();
    chart.queueReplot();
    app.processEvents();
    std::printf("record: %d samples in the archive, chart %dx%d\n", w.Recorder->Arhiv.samples(),
                chart.plot()->width(), chart.plot()->height());

    const auto timed = bench::timedMs;

    // --- the chart picture --------------------------------------------------------------
    using chartpicture::Format;
    for (Format f : {Format::Png, Format::Svg, Format::Pdf}) {
        qsizetype bytes = 0;
        const std::vector<double> ms =
            timed([&] { bytes = chartpicture::encode(chart, f, chartpicture::FullHd).size(); }, 5);
        char extra[64];
        std::snprintf(extra, sizeof extra, "; %.0f KB", double(bytes) / 1024);
        const QString what = QStringLiteral("chart picture, whole record, 1920x1080 ") + chartpicture::extension(f);
        print(qPrintable(what), ms, extra);
        if (f == Format::Png && qEnvironmentVariableIsSet("BENCH_OUT")) {
            QFile png(QDir(qEnvironmentVariable("BENCH_OUT")).filePath(QStringLiteral("chart.png")));
            if (png.open(QIODevice::WriteOnly)) png.write(chartpicture::encode(chart, f, chartpicture::FullHd));
        }
    }

    // --- the report ---------------------------------------------------------------------
    const QString id = QStringLiteral("TR-70A03");
    w.Ctx.module.identifier = id;
    w.Ctx.module.model = QStringLiteral("TR-70");
    const QDateTime start = QDateTime::currentDateTime().addSecs(-3600);
    w.Reports->setRunStart(start);
    QMap<int, int> settings{{0x00, 0x22}, {0x01, 0x10}, {0x04, 100}, {0x05, 108}, {0x09, 4},  {0x0B, 178},
                            {0x0F, 45},   {0x10, 36},   {0x12, 162}, {0x13, 41},  {0x14, 1},  {0x15, 30},
                            {0x17, 96},   {0x18, 4},    {0x19, 0}};
    history::keep(QDir::currentPath(), id, TableKind::Settings, history::Direction::Read,
                  settingshistory::encode(settings), start.addSecs(10), nullptr, nullptr, false);
    settings[0x0F] = 46;
    history::keep(QDir::currentPath(), id, TableKind::Settings, history::Direction::Written,
                  settingshistory::encode(settings), start.addSecs(20), nullptr, nullptr, false);
    keepPair(id, TableKind::Lambda, start.addSecs(100), 5);
    keepPair(id, TableKind::Maf, start.addSecs(300), 64);
    keepPair(id, TableKind::Voltage, start.addSecs(500), 12);
    keepPair(id, TableKind::Curve1, start.addSecs(700), 20);
    keepPair(id, TableKind::Curve2, start.addSecs(900), 64);

    const QString out = dir.filePath(QStringLiteral("report.pdf"));
    w.Ctx.saveFileName = [&](const QString&, const QString&) { return out; };
    const std::vector<double> ms = timed([&] { w.Reports->actWorkReport->trigger(); }, 3);
    char extra[96];
    std::snprintf(extra, sizeof extra, "; %.2f MB", double(QFileInfo(out).size()) / (1024.0 * 1024.0));
    print("work report: settings, 3 tables, 2 curves, record", ms, extra);
    if (qEnvironmentVariableIsSet("BENCH_OUT"))
        QFile::copy(out, QDir(qEnvironmentVariable("BENCH_OUT")).filePath(QStringLiteral("report.pdf")));
    return 0;
}
