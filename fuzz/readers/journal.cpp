// The recording journal: the reader that a start after a crash trusts, and the restore
// into the archive, the navigator and the chart.
#include "fuzzwindow.h"
#include "readers/reader.h"

#include "app/mainwindow.h"
#include "telemetry/recordfile.h"
#include "telemetry/recordfiles.h"
#include "telemetry/journalformat.h"

#include <cmath>

void fuzzReader(const QByteArray& file) {
    const journal::Journal j = journal::parse(file);
    const int rows = j.record.rows();
    for (const auto& column : j.record.values) FUZZ_CHECK(int(column.size()) == rows, QString());
    // A refused journal gives no sample at all.
    if (!j.ok()) FUZZ_CHECK(rows == 0 && j.badLine >= 1, QString::number(j.badLine));
    for (const auto& column : j.record.values)
        for (double v : column) FUZZ_CHECK(std::isfinite(v), QString::number(v));

    // The samples written again as journal lines read back as the same journal.
    QByteArray again;
    for (int r = 0; r < rows; ++r) {
        std::array<double, recordfile::Fields> values;
        for (int f = 0; f < recordfile::Fields; ++f) values[std::size_t(f)] = j.record.values[std::size_t(f)][std::size_t(r)];
        again += recordfile::encodeLine(values); // with its line end
    }
    const journal::Journal back = journal::parse(again);
    FUZZ_CHECK(back.ok() && !back.tornTail && back.record.rows() == rows, back.reason);
    for (int f = 0; f < recordfile::Fields; ++f)
        FUZZ_CHECK(back.record.values[std::size_t(f)] == j.record.values[std::size_t(f)], QString::number(f));

    if (!j.ok() || rows == 0) return;
    // A start after a crash restores into an empty chart.
    fuzzwin::showRecordAfresh(rows, [&](TForm1& w) { w.RecordFileButtons->restore(j.record); });
}
