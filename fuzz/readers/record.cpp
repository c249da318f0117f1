// Record files: the line reader, and the load into the archive, the navigator and the chart.
#include "fuzzwindow.h"
#include "readers/reader.h"

#include "app/mainwindow.h"
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

    // The load keeps the lines before a bad one, in both tables and the chart.
    fuzzwin::showRecordAfresh(rows, [&](TForm1& w) { w.RecordFileButtons->load(QStringLiteral("fuzz_data.txt"), file); });
}
