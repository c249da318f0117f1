// The copies of finished transfers in the module's history: the cells or points exactly as
// read from the module or as written to it, in the table file format.
#include "tables/tabletransfer.h"

#include "common/messages.h"
#include "history/history.h"
#include "link/operationcontext.h"
#include "tables/curvepanel.h"
#include "tables/table3dpanel.h"
#include "tables/tablefiles.h"

namespace {

// The text a cell of the model grid holds for a byte (the full-precision voltage for the
// voltage table, so that the copy writes back the very same byte).
QString cellText(TableKind table, int byte) {
    return table == TableKind::Voltage ? tablecodec::voltageModelText(byte) : tablecodec::wholeCellText(byte);
}

} // namespace

void TableTransfer::keepCopy(TableKind kind, bool written, const QStringList& lines) {
    keepCopyAs(kind, written ? history::Direction::Written : history::Direction::Read, lines);
}

void TableTransfer::keepTableCopy(TableKind table, bool written) {
    QStringList lines;
    if (written) {
        // The bytes of the write in the cursor's order, placed row by row as the file holds them.
        QVector<QString> cells(tablecodec::CellCount);
        TransferCursor walk;
        walk.start();
        int i = 0;
        do {
            if (i < m_writeBytes.size())
                cells[(walk.row() - 1) * tablecodec::Side + walk.column() - 1] = cellText(table, m_writeBytes.at(i));
            ++i;
        } while (walk.advance());
        lines = QStringList(cells.begin(), cells.end());
    } else {
        const ModelGrid& model = m_panel->modelGrid(table);
        for (int r = 1; r <= tablecodec::Side; ++r)
            for (int c = 1; c <= tablecodec::Side; ++c) lines << model.cell(c, r);
    }
    keepCopy(table, written, lines);
}

void TableTransfer::keepCurveCopy(int curve, bool written) {
    QStringList lines;
    for (int i = 1; i <= curvecodec::PointCount; ++i)
        lines << (written ? curvecodec::voltageText(m_writeBytes.value(i - 1)) : curvePanel(curve)->pointText(i));
    keepCopy(curveKind(curve), written, lines);
}

// A write the module stopped taking part way: the items it took, the rest empty lines.
void TableTransfer::keepPartialTableCopy(TableKind table, int taken) {
    // Nothing taken: the module holds what it held, and there is nothing to keep.
    if (taken <= 0) return;
    QVector<QString> cells(tablecodec::CellCount);
    TransferCursor walk;
    walk.start();
    int i = 0;
    do {
        if (i < taken && i < m_writeBytes.size()) {
            const int byte = m_writeBytes.at(i);
            cells[(walk.row() - 1) * tablecodec::Side + walk.column() - 1] = cellText(table, byte);
        }
        ++i;
    } while (walk.advance());
    keepCopyAs(table, history::Direction::WrittenPartial, QStringList(cells.begin(), cells.end()));
}

void TableTransfer::keepPartialCurveCopy(int curve, int taken) {
    if (taken <= 0) return;
    QStringList lines;
    for (int i = 1; i <= curvecodec::PointCount; ++i)
        lines << (i <= taken && i <= m_writeBytes.size() ? curvecodec::voltageText(m_writeBytes.at(i - 1)) : QString());
    keepCopyAs(curveKind(curve), history::Direction::WrittenPartial, lines);
}

void TableTransfer::keepCopyAs(TableKind kind, history::Direction direction, const QStringList& lines) {
    history::keepHere(m_ctx->module.identifier, kind, direction, tablefiles::encode(lines), msgs().english(),
                      m_ctx->error);
}
