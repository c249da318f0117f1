// Curve files opened through the file buttons of both emulation curves.
#include "fuzzwindow.h"
#include "readers/reader.h"

#include "app/mainwindow.h"
#include "tables/curvepanel.h"
#include "tables/undostack.h"
#include "tables/tablefileactions.h"
#include "tables/tablefiles.h"

#include <QDir>

#include <cmath>

namespace {
QStringList points(const CurvePanel* p) {
    QStringList out;
    for (int i = 1; i <= tablefiles::LineCount; ++i) out << p->pointText(i);
    return out;
}
} // namespace

void fuzzReader(const QByteArray& file) {
    const tablefiles::CurveFile parsed = tablefiles::parseCurve(file);
    if (parsed.ok()) {
        FUZZ_CHECK(parsed.texts.size() == tablefiles::LineCount && parsed.volts.size() == tablefiles::LineCount,
                   QString());
        for (double v : parsed.volts) FUZZ_CHECK(std::isfinite(v), QString::number(v));
    } else {
        FUZZ_CHECK(parsed.badLine >= 1 && parsed.badLine <= tablefiles::LineCount, QString::number(parsed.badLine));
    }

    TForm1& w = fuzzwin::window();
    const int curve = file.isEmpty() ? 1 : 1 + quint8(file.back()) % 2;
    CurvePanel* panel = curve == 2 ? w.Panel_Emu_2 : w.Panel_Emu;
    CurvePanel* other = curve == 2 ? w.Panel_Emu : w.Panel_Emu_2;
    // Both curves whole: the grid's texts, both chart series and which markers are shown.
    const UndoState before = panel->editState();
    const UndoState otherBefore = other->editState();
    const QString path = QDir(fuzzwin::workDir()).filePath(QStringLiteral("fuzzEmu.txt"));
    fuzzwin::writeAll(path, file);
    fuzzwin::fileAnswer() = path;
    w.TableFileButtons->atb_Emu_OpenClick(curve);
    const QStringList errors = fuzzwin::takeErrors();
    FUZZ_CHECK(errors.isEmpty() == parsed.ok(), errors.join(QLatin1Char('\n')));
    // The other curve never changes.
    FUZZ_CHECK(other->editState() == otherBefore, QStringLiteral("the other curve"));
    if (!parsed.ok()) {
        // A rejected file changes no point, in the grid or on the chart.
        FUZZ_CHECK(panel->editState() == before, points(panel).join(QLatin1Char(' ')));
        return;
    }
    // An accepted file is the curve: its texts in the grid, its values on both series, every
    // marker shown.
    FUZZ_CHECK(points(panel) == parsed.texts, points(panel).join(QLatin1Char(' ')));
    const UndoState after = panel->editState();
    for (int i = 1; i <= tablefiles::LineCount; ++i) {
        const double v = parsed.volts.at(i - 1);
        FUZZ_CHECK(panel->editedValue(i) == v && panel->readValue(i) == v, QString::number(i));
        FUZZ_CHECK(after.shown.at(i - 1), QString::number(i));
    }
}
