// Table files (MAF, Lambda and voltage tables) opened through the file buttons.
#include "fuzzwindow.h"
#include "readers/reader.h"

#include "app/mainwindow.h"
#include "tables/table3dpanel.h"
#include "tables/tablefileactions.h"
#include "tables/tablefiles.h"

#include <QDir>

void fuzzReader(const QByteArray& file) {
    const QStringList cells = tablefiles::tableCells(file);
    FUZZ_CHECK(cells.size() == tablefiles::LineCount, QString::number(cells.size()));

    TForm1& w = fuzzwin::window();
    const QString path = QDir(fuzzwin::workDir()).filePath(QStringLiteral("fuzzMAF.txt"));
    fuzzwin::writeAll(path, file);
    fuzzwin::fileAnswer() = path;
    const int pick = file.isEmpty() ? 0 : quint8(file.back()) % 3;
    if (pick == 0) w.Files->atb_MAF_OpenClick();
    if (pick == 1) w.Files->atb_Lambda_OpenClick();
    if (pick == 2) w.Files->atb_MAF_TR_90_OpenClick();
    const QStringList errors = fuzzwin::takeErrors();
    // An accepted file is in the model grid as written.
    if (errors.isEmpty()) {
        const ModelGrid& g = pick == 1 ? w.Panel_3D->sgrid_3D_Lambda : w.Panel_3D->sgrid_3D_MAF;
        for (int i = 0; i < tablefiles::LineCount; ++i)
            FUZZ_CHECK(g.cell(i % 8 + 1, i / 8 + 1) == cells.at(i), QString::number(i));
    }
}
