// Record files: the line reader, and the load into the archive, the navigator and the chart.
#include "fuzzwindow.h"
#include "readers/reader.h"

#include "app/mainwindow.h"
#include "telemetry/liverecorder.h"
#include "telemetry/recordfile.h"
#include "telemetry/recordfiles.h"

#include <cmath>

void fuzzReader(const QByteArray& file) {
    const recordfile::Record rec = recordfile::parse(file);
    const int rows = rec.rows();
    for (const auto& column : rec.values) FUZZ_CHECK(int(column.size()) == rows, QString());
    FUZZ_CHECK(rec.ok() == rec.badText.isNull() || rec.ok(), rec.badText);
    for (const auto& column : rec.values)
        for (double v : column) FUZZ_CHECK(std::isfinite(v), QString::number(v));

    // What was read is written back as it will be saved, and reads again as the same record.
    const QByteArray saved = recordfile::encode(rows, [&](int r, int f) { return rec.values[std::size_t(f)][std::size_t(r)]; });
    const recordfile::Record again = recordfile::parse(saved);
    FUZZ_CHECK(again.ok() && again.rows() == rows, QString::fromLatin1(saved.left(200)));
    const QByteArray savedAgain = recordfile::encode(rows, [&](int r, int f) { return again.values[std::size_t(f)][std::size_t(r)]; });
    FUZZ_CHECK(savedAgain == saved, QString::fromLatin1(saved.left(200)));

    // The load keeps the lines before a bad one, in both tables and the chart. A load adds
    // to what the chart shows, so each input starts from a cleared chart: a million inputs
    // would otherwise keep every earlier input's samples.
    TForm1& w = fuzzwin::window();
    w.Recorder->atb_Chart1_ClearClick();
    w.ParamFiles->load(QStringLiteral("fuzz_data.txt"), file);
    FUZZ_CHECK(w.Recorder->Arhiv.samples() == rows, QString::number(w.Recorder->Arhiv.samples()));
    FUZZ_CHECK(w.Recorder->Navigator.samples() == rows, QString());
    FUZZ_CHECK(w.Recorder->chart().sampleCount() == rows, QString::number(w.Recorder->chart().sampleCount()));
    fuzzwin::takeErrors();
}
