// A copy of the module's history as the work report reads it. The input's first byte picks
// the kind (settings, Lambda, MAF, voltage table, curve 1, curve 2); the rest is the file.
//
// Checked: a copy is refused or taken whole, never in part; a table or curve taken holds 64
// bytes, each shown as a text that reads back to the same byte (what the report shows is
// what the copy held; the voltage table's shown hundredths are coarser than a copy's full
// precision, so there only the bytes' range is checked); settings taken hold registers and bytes of 0..255 that write back as
// a copy reading the same; the choice over a folder holding the copy between two good ones
// takes it exactly when it reads, and otherwise names it once.
#include "fuzzwindow.h"
#include "readers/reader.h"

#include "history/history.h"
#include "report/reportcontent.h"
#include "report/reporttexts.h"
#include "settings/settingshistory.h"
#include "tables/tablefiles.h"

#include <QDir>
#include <QFile>

namespace {

constexpr TableKind kKinds[] = {TableKind::Settings, TableKind::Lambda, TableKind::Maf,
                                    TableKind::Voltage,     TableKind::Curve1,   TableKind::Curve2};

QByteArray goodCopy(TableKind kind) {
    if (kind == TableKind::Settings) return settingshistory::encode({{0x04, 100}, {0x0F, 45}});
    return tablefiles::encode(QStringList(64, QStringLiteral("1")));
}

} // namespace

void fuzzReader(const QByteArray& file) {
    if (file.isEmpty()) return;
    const TableKind kind = kKinds[quint8(file.at(0)) % 6];
    const QByteArray bytes = file.mid(1);

    report::Copy copy;
    report::Damaged damaged;
    const bool ok = report::parseCopy(kind, bytes, &copy, &damaged);
    if (ok && kind == TableKind::Settings) {
        FUZZ_CHECK(!copy.registers.isEmpty(), QStringLiteral("settings without a register"));
        for (auto it = copy.registers.cbegin(); it != copy.registers.cend(); ++it)
            FUZZ_CHECK(it.key() >= 0 && it.key() <= 255 && it.value() >= 0 && it.value() <= 255,
                       QStringLiteral("register %1 = %2").arg(it.key()).arg(it.value()));
        report::Copy again;
        FUZZ_CHECK(report::parseCopy(kind, settingshistory::encode(copy.registers), &again, nullptr) &&
                       again.registers == copy.registers,
                   QStringLiteral("settings do not write back"));
    } else if (ok) {
        FUZZ_CHECK(copy.bytes.size() == report::Cells, QStringLiteral("%1 cells").arg(copy.bytes.size()));
        QStringList shown;
        for (int b : copy.bytes) {
            FUZZ_CHECK(b >= 0 && b <= 255, QStringLiteral("byte %1").arg(b));
            shown << report::valueText(kind, b);
        }
        report::Copy again;
        if (kind != TableKind::Voltage)
            FUZZ_CHECK(report::parseCopy(kind, tablefiles::encode(shown), &again, nullptr) && again.bytes == copy.bytes,
                       QStringLiteral("the shown values do not read back: %1").arg(shown.join(' ')));
    } else {
        FUZZ_CHECK(copy.bytes.isEmpty() && copy.registers.isEmpty(), QStringLiteral("a refused copy in part"));
    }

    // The copy in a folder, between a good read and a good write of its kind.
    const QString root = QDir(fuzzwin::workDir()).filePath(QStringLiteral("report"));
    QDir(root).removeRecursively();
    const QDateTime t(QDate(2026, 5, 14), QTime(9, 0, 0));
    const QString id = QStringLiteral("TR-70A03");
    FUZZ_CHECK(history::keep(root, id, kind, history::Direction::Read, goodCopy(kind), t, nullptr, nullptr, false),
               QStringLiteral("keep"));
    QString path;
    FUZZ_CHECK(history::keep(root, id, kind, history::Direction::Read, bytes, t.addSecs(1), &path, nullptr, false),
               QStringLiteral("keep"));
    FUZZ_CHECK(history::keep(root, id, kind, history::Direction::Written, goodCopy(kind), t.addSecs(2), nullptr,
                             nullptr, false),
               QStringLiteral("keep"));
    const report::Content c = report::choose(history::list(root, id), t);
    FUZZ_CHECK(c.damaged.size() == (ok ? 0 : 1), QStringLiteral("%1 named").arg(c.damaged.size()));
    if (!ok) FUZZ_CHECK(c.damaged.first().path == path, c.damaged.first().path);
    const report::Part* p = c.part(kind);
    FUZZ_CHECK(p && p->before.present && p->after.present && p->copies == (ok ? 3 : 2),
               QStringLiteral("the copies around it"));
}
