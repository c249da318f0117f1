// Table files (MAF, Lambda and voltage tables) opened through the file buttons.
#include "fuzzwindow.h"
#include "readers/reader.h"

#include "app/mainwindow.h"
#include "tables/table3dpanel.h"
#include "tables/tablefileactions.h"
#include "tables/tablefiles.h"

#include <QDir>

#include <algorithm>

namespace {
QStringList cellsOf(const ModelGrid& g) {
    QStringList out;
    for (int i = 0; i < tablefiles::LineCount; ++i) out << g.cell(i % 8 + 1, i / 8 + 1);
    return out;
}
} // namespace

void fuzzReader(const QByteArray& file) {
    const tablefiles::TableFile parsed = tablefiles::parseTable(file);
    if (parsed.ok()) {
        FUZZ_CHECK(parsed.texts.size() == tablefiles::LineCount, QString::number(parsed.texts.size()));
        // An accepted table has a value: a file of line ends only would blank the grid.
        FUZZ_CHECK(std::any_of(parsed.texts.cbegin(), parsed.texts.cend(),
                               [](const QString& t) { return !t.trimmed().isEmpty(); }),
                   QString());
    } else {
        FUZZ_CHECK(((parsed.badLine >= 1 && parsed.badLine <= tablefiles::LineCount) || parsed.noValue) &&
                       parsed.texts.isEmpty(),
                   QString::number(parsed.badLine));
    }

    TForm1& w = fuzzwin::window();
    const QString path = QDir(fuzzwin::workDir()).filePath(QStringLiteral("fuzzMAF.txt"));
    fuzzwin::writeAll(path, file);
    fuzzwin::fileAnswer() = path;
    const int pick = file.isEmpty() ? 0 : quint8(file.back()) % 3;
    const ModelGrid& g = pick == 1 ? w.Panel_3D->sgrid_3D_Lambda : w.Panel_3D->sgrid_3D_MAF;
    const QStringList before = cellsOf(g);
    const QStringList shownBefore = w.Panel_3D->tableCells();
    if (pick == 0) w.TableFileButtons->atb_MAF_OpenClick();
    if (pick == 1) w.TableFileButtons->atb_Lambda_OpenClick();
    if (pick == 2) w.TableFileButtons->atb_MAF_TR_90_OpenClick();
    const QStringList errors = fuzzwin::takeErrors();
    FUZZ_CHECK(errors.isEmpty() == parsed.ok(), errors.join(QLatin1Char('\n')));
    if (parsed.ok()) {
        // An accepted file is in the model grid as written.
        FUZZ_CHECK(cellsOf(g) == parsed.texts, QString());
    } else {
        // A rejected file changes no cell, hidden or shown.
        FUZZ_CHECK(cellsOf(g) == before, QString());
        FUZZ_CHECK(w.Panel_3D->tableCells() == shownBefore, QString());
    }
}
