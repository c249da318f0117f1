// Record files: the line reader, and the load into the archive, the navigator and the chart.
#include "fuzzwindow.h"
#include "readers/reader.h"

#include "app/mainwindow.h"
#include "telemetry/recordfile.h"
#include "telemetry/liverecorder.h"
#include "telemetry/recordfiles.h"
#include "telemetry/sampletable.h"

#include <cmath>

void fuzzReader(const QByteArray& file) {
    const recordfile::Record rec = recordfile::parse(file);
    const int rows = rec.rows();
    for (const auto& column : rec.values) FUZZ_CHECK(int(column.size()) == rows, QString());
    // A refused file names the line that stopped it (blank lines are skipped, never bad).
    FUZZ_CHECK(rec.ok() ? rec.badText.isNull() : rec.badLine >= 1 && !rec.badText.isEmpty(), rec.badText);
    for (const auto& column : rec.values)
        for (double v : column) FUZZ_CHECK(std::isfinite(v), QString::number(v));

    // What was read is written back as it will be saved, and reads again as the same record.
    const QByteArray saved = recordfile::encode(rows, [&](int r, int f) { return rec.values[std::size_t(f)][std::size_t(r)]; });
    const recordfile::Record again = recordfile::parse(saved);
    FUZZ_CHECK(again.ok() && again.rows() == rows, QString::fromLatin1(saved.left(200)));
    const QByteArray savedAgain = recordfile::encode(rows, [&](int r, int f) { return again.values[std::size_t(f)][std::size_t(r)]; });
    FUZZ_CHECK(savedAgain == saved, QString::fromLatin1(saved.left(200)));

    // The load keeps the lines before a bad one, in both tables and the chart.
    fuzzwin::showRecordAfresh(rows, [&](TForm1& w) {
        FUZZ_CHECK(w.RecordFileButtons->load(QStringLiteral("fuzz_data.txt"), file) == rec.ok(), rec.badText);
    });
    // ... and the archive holds exactly the values of those lines, row by row.
    const SampleTable& archive = fuzzwin::window().Recorder->Arhiv;
    for (int r = 0; r < rows; ++r)
        for (int f = 0; f < recordfile::Fields; ++f)
            FUZZ_CHECK(archive.value(r + 1, f) == rec.values[std::size_t(f)][std::size_t(r)],
                       QStringLiteral("row %1, field %2").arg(r + 1).arg(f));
}
