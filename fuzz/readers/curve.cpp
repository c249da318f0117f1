// Curve files opened through the file buttons of both emulation curves.
#include "fuzzwindow.h"
#include "readers/reader.h"

#include "app/mainwindow.h"
#include "tables/curvepanel.h"
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
    const QStringList before = points(panel);
    const QString path = QDir(fuzzwin::workDir()).filePath(QStringLiteral("fuzzEmu.txt"));
    fuzzwin::writeAll(path, file);
    fuzzwin::fileAnswer() = path;
    w.TableFileButtons->atb_Emu_OpenClick(curve);
    const QStringList errors = fuzzwin::takeErrors();
    FUZZ_CHECK(errors.isEmpty() == parsed.ok(), errors.join(QLatin1Char('\n')));
    // A rejected file changes no point.
    if (!parsed.ok()) FUZZ_CHECK(points(panel) == before, QString());
}
