// The ends of table, curve and live point transfers that the module leaves without an
// answer or keeps refusing: the exchange's answer watch calls them instead of sending the
// item once more. A read keeps the cells it stored (one undo step, like a whole read); a
// write tells how many items the module took and keeps those in a partial copy in the
// module's history (tabletransfer_history.cpp), so that nobody takes it for a complete
// write.
#include "tables/tabletransfer.h"

#include "history/history.h"
#include "link/operationcontext.h"
#include "tables/curvecodec.h"
#include "tables/curvepanel.h"
#include "tables/table3dpanel.h"

#include <QTimer>

void TableTransfer::setUpWatch() {
    Exchange* ex = m_ctx->ex;
    for (TableKind t : {TableKind::Lambda, TableKind::Maf, TableKind::Voltage}) {
        ex->setStallEnd(readTimer(t), [this, t](StallKind) { return endStalledTable(t, false); });
        ex->setStallEnd(writeTimer(t), [this, t](StallKind) { return endStalledTable(t, true); });
    }
    for (int curve : {1, 2}) {
        for (bool filtered : {false, true})
            ex->setStallEnd(curveReadTimer(curve, filtered),
                            [this, curve, filtered](StallKind) { return endStalledCurve(curve, filtered, false); });
        ex->setStallEnd(curveWriteTimer(curve),
                        [this, curve](StallKind) { return endStalledCurve(curve, false, true); });
        ex->setStallEnd(liveTimer(curve), [this, curve](StallKind) { return endStalledLivePoints(curve); });
    }
}

StallReport TableTransfer::endStalledTable(TableKind table, bool write) {
    // The cursor stands on the item that got no answer: the items before it went through.
    const int done = Cursor.position();
    finish(write ? writeTimer(table) : readTimer(table), true);
    if (write) {
        keepPartialTableCopy(table, done);
    } else if (done > 0) {
        // The cells read so far stay, as one step the user can take back.
        m_panel->recordChange(table);
        if (table == TableKind::Lambda) m_curve1->recordChange();
    }
    StallReport r;
    r.key = (write ? QStringLiteral("tableWrite.") : QStringLiteral("tableRead.")) + history::kindName(table);
    r.done = done;
    r.total = tablecodec::CellCount;
    r.reading = !write;
    return r;
}

StallReport TableTransfer::endStalledCurve(int curve, bool filtered, bool write) {
    const int done = Cursor.position();
    if (write) {
        finish(curveWriteTimer(curve), false);
        keepPartialCurveCopy(curve, done);
    } else {
        btnStop_2D_Table();
        unlock();
        if (done > 0) curvePanel(curve)->recordChange();
        sg_Emu_multi.clear();
    }
    StallReport r;
    r.key = write ? QStringLiteral("curveWrite") : filtered ? QStringLiteral("curveFilteredRead") : QStringLiteral("curveRead");
    r.args = {QString::number(curve)};
    r.done = done;
    r.total = curvecodec::PointCount;
    r.reading = !write;
    return r;
}

StallReport TableTransfer::endStalledLivePoints(int curve) {
    Btn_YellowPoints_StopClick(curve);
    StallReport r;
    r.key = QStringLiteral("livePoints");
    r.args = {QString::number(curve)};
    return r;
}
