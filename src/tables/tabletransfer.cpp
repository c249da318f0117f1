#include "tables/tabletransfer.h"

#include "common/hex.h"
#include "common/messages.h"
#include "dialogs/confirmations.h"
#include "link/exchange.h"
#include "link/operationcontext.h"
#include "tables/curvepanel.h"
#include "tables/table3dpanel.h"

#include <QTimer>

namespace {
// Incomplete answers in a row after which a read gives up.
constexpr int MaxReadFailures = 12;
} // namespace

TableTransfer::TableTransfer(OperationContext* ctx, Table3DPanel* panel, CurvePanel* curve1, CurvePanel* curve2,
                             Stepper* steppers, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_panel(panel), m_curve1(curve1), m_curve2(curve2) {
    Exchange* ex = m_ctx->ex;
    for (TableKind t : {TableKind::Lambda, TableKind::Maf, TableKind::Voltage}) {
        ex->setGate(readTimer(t), [this, t](const QString& chunk) { readGate(t, chunk); });
        ex->setGate(writeTimer(t), [this, t](const QString& chunk) { writeGate(t, chunk); });
    }

    const auto& ui = m_panel->ui;
    connect(ui.atb_Lambda_Out, &QToolButton::clicked, this, &TableTransfer::atb_Lambda_OutClick);
    connect(ui.atb_MAF_Out, &QToolButton::clicked, this, &TableTransfer::atb_MAF_OutClick);
    connect(ui.atb_MAF_TR_90_Out, &QToolButton::clicked, this, &TableTransfer::atb_MAF_TR_90_OutClick);
    connect(ui.atb_Lambda_In, &QToolButton::clicked, this, &TableTransfer::atb_Lambda_InClick);
    connect(ui.atb_MAF_In, &QToolButton::clicked, this, &TableTransfer::atb_MAF_InClick);
    connect(ui.atb_MAF_TR_90_In, &QToolButton::clicked, this, &TableTransfer::atb_MAF_TR_90_InClick);
    connect(m_panel, &Table3DPanel::loadAxisClicked, this, &TableTransfer::loadAxisClicked);

    setUpCurves(steppers);
    setUpWatch();
}

QTimer* TableTransfer::readTimer(TableKind table) const {
    Exchange* ex = m_ctx->ex;
    switch (table) {
    case TableKind::Lambda:
        return ex->Timer_Lambda_Out_1;
    case TableKind::Voltage:
        return ex->Timer_MAF_TR_90_Out_1;
    default:
        break;
    }
    return ex->Timer_MAF_Out_1;
}

QTimer* TableTransfer::writeTimer(TableKind table) const {
    Exchange* ex = m_ctx->ex;
    switch (table) {
    case TableKind::Lambda:
        return ex->Timer_Lambda_In;
    case TableKind::Voltage:
        return ex->Timer_MAF_TR_90_In;
    default:
        break;
    }
    return ex->Timer_MAF_In;
}

bool TableTransfer::isRunning() const {
    for (TableKind t : {TableKind::Lambda, TableKind::Maf, TableKind::Voltage})
        if (readTimer(t)->isActive() || writeTimer(t)->isActive()) return true;
    return curveRunning();
}

bool TableTransfer::canStart() const {
    // Without an open port the transfer timer would repeat its first item into nothing for
    // ever, with the interface locked; the cursor belongs to one transfer at a time.
    return m_ctx->portOpen && m_ctx->portOpen() && !isRunning();
}

// --- reads --------------------------------------------------------------------------

void TableTransfer::atb_Lambda_OutClick() { startRead(TableKind::Lambda); }
void TableTransfer::atb_MAF_OutClick() { startRead(TableKind::Maf); }
void TableTransfer::atb_MAF_TR_90_OutClick() { startRead(TableKind::Voltage); }

void TableTransfer::startRead(TableKind table) {
    if (!canStart()) return;
    Exchange* ex = m_ctx->ex;
    Cursor.start();
    Read_Fail_Count = 0;
    lock();
    if (setProgressRange) setProgressRange(tablecodec::CellCount);
    ex->resetProgress();
    // The Lambda cells are the first emulation curve's points: its chart loses the curve
    // it showed, and the grid receives the points as they arrive.
    if (table == TableKind::Lambda) m_curve1->clearCurveSeries();
    ex->start(readTimer(table), tablecodec::readItem(table, 1, 1));
}

void TableTransfer::readGate(TableKind table, const QString& chunk) {
    Exchange* ex = m_ctx->ex;
    QTimer* timer = readTimer(table);
    const int c = Cursor.column();
    const int r = Cursor.row();
    if (ex->Cmd_Sent == tablecodec::readItem(table, c, r)) {
        ex->showSentCommand();
        const int byte = lowFirstByte(ex->answerText(chunk));
        if (byte < 0) {
            // Incomplete, or not digits at all (the tail of an earlier answer, noise): the
            // cell keeps its text and is asked again on the next tick.
            ++Read_Fail_Count;
        } else {
            ex->movedOn();
            storeCell(table, c, r, byte);
            Read_Fail_Count = 0;
            if (!Cursor.advance()) {
                finish(timer, true);
                keepTableCopy(table, false);
                m_panel->recordChange(table);
                if (table == TableKind::Lambda) m_curve1->recordChange(); // its points came too
                return;
            }
            ex->Cmd_Pending = tablecodec::readItem(table, Cursor.column(), Cursor.row());
        }
    }
    if (Read_Fail_Count > MaxReadFailures) {
        timer->stop();
        const QString text = table == TableKind::Lambda ? msgs().Msg_Lambda_Read_End : msgs().Msg_MAF_Read_End;
        // The receive handler's tail writes the sent command into the same status panel
        // after this gate; the message goes there once the tail has run, so it stays.
        QTimer::singleShot(0, this, [this, text] {
            if (showStatus) showStatus(text);
        });
        unlock();
    }
}

void TableTransfer::storeCell(TableKind table, int c, int r, int byte) {
    // The table grid shows the read only while its table is shown; another table in the
    // grid (the user switched views during the read) is left as it is.
    const bool shown = !m_panel->shownTable() || *m_panel->shownTable() == table;
    ModelGrid& model = m_panel->modelGrid(table);
    if (table == TableKind::Voltage) {
        model.setCell(c, r, tablecodec::voltageModelText(byte));
        if (shown) m_panel->setCellText(c, r, tablecodec::voltageCellText(byte));
        return;
    }
    const QString text = tablecodec::wholeCellText(byte);
    model.setCell(c, r, text);
    if (shown) m_panel->setCellText(c, r, text);
    if (table == TableKind::Lambda) {
        // The same byte is the point of the first emulation curve stored at this address.
        const int point = curvecodec::pointAt(1, tablecodec::cellModuleAddress(table, c, r));
        m_curve1->setPointText(point, curvecodec::voltageText(byte));
    }
}

void TableTransfer::lock() {
    m_ctx->block();
    // The load axis click starts a register write, which takes over Cmd_Pending: during a
    // transfer it would leave the transfer waiting for an answer that never comes.
    m_panel->ui.gb_KorrTab->setEnabled(false);
}

void TableTransfer::unlock() {
    m_panel->ui.gb_KorrTab->setEnabled(true);
    m_ctx->unblock();
}

void TableTransfer::finish(QTimer* timer, bool redraw) {
    timer->stop();
    unlock();
    m_ctx->ex->resetProgress();
    if (redraw) m_panel->requestRedraw();
}

// --- writes -------------------------------------------------------------------------

void TableTransfer::atb_Lambda_InClick() {
    if (!canStart()) return;
    fmPredupr0B->setLanguage(msgs().english());
    if (!m_ctx->confirm(fmPredupr0B)) {
        m_panel->requestRedraw();
        return;
    }
    startWrite(TableKind::Lambda);
}

void TableTransfer::atb_MAF_InClick() {
    if (!canStart()) return;
    fmPredupr0A->setLanguage(msgs().english());
    if (!m_ctx->confirm(fmPredupr0A)) {
        m_panel->requestRedraw();
        return;
    }
    startWrite(TableKind::Maf);
}

void TableTransfer::atb_MAF_TR_90_InClick() {
    if (!canStart()) return;
    startWrite(TableKind::Voltage);
}

void TableTransfer::startWrite(TableKind table) {
    // The cells are brought into the table's domain and every item is built before the
    // first one leaves, so no item carries more than one byte and a cell that is not a
    // number stops the write before anything was sent.
    if (!m_panel->normaliseForWrite(table)) return;
    m_writeItems.clear();
    m_writeBytes.clear();
    TransferCursor walk;
    walk.start();
    do {
        const int c = walk.column();
        const int r = walk.row();
        // The MAF write sends the model grid, the others the table grid as shown.
        const QString text = table == TableKind::Maf ? m_panel->sgrid_3D_MAF.cell(c, r) : m_panel->cellText(c, r);
        const int byte = tablecodec::cellByte(table, text);
        if (byte < 0) {
            m_ctx->error(tablecodec::notANumberMessage(table, text, msgs().english()));
            return;
        }
        m_writeBytes << byte;
        m_writeItems << tablecodec::writeItem(table, c, r, byte);
    } while (walk.advance());

    Cursor.start();
    startItemWrite(writeTimer(table), tablecodec::CellCount);
}

void TableTransfer::startItemWrite(QTimer* timer, int count) {
    lock();
    if (setProgressRange) setProgressRange(count);
    m_ctx->ex->resetProgress();
    m_ctx->ex->start(timer, m_writeItems.first());
}

TableTransfer::WriteStep TableTransfer::writeStep(const QString& chunk) {
    Exchange* ex = m_ctx->ex;
    const int pos = Cursor.position();
    if (pos >= m_writeItems.size() || ex->Cmd_Sent != m_writeItems.at(pos)) return WriteStep::NotOurs;
    ex->showSentCommand();
    if (ex->answerText(chunk) != QLatin1String("!")) {
        ex->refused();
        ex->Cmd_Pending = m_writeItems.at(pos);
        return WriteStep::Again;
    }
    ex->movedOn();
    if (!Cursor.advance()) return WriteStep::Done;
    ex->Cmd_Pending = m_writeItems.at(Cursor.position());
    return WriteStep::Next;
}

void TableTransfer::writeGate(TableKind table, const QString& chunk) {
    const WriteStep step = writeStep(chunk);
    if (step == WriteStep::Done) {
        finish(writeTimer(table), true);
        keepTableCopy(table, true);
    }
    if (step != WriteStep::Next) return;
    const int next = Cursor.position();
    if (table == TableKind::Lambda) {
        // The byte of the cell now being written, as read and as sent.
        const int byte = m_writeBytes.at(next);
        m_ctx->log(Tab_Byte_Hex().at(byte));
        m_ctx->log(lowFirstHex(byte));
    }
}

// --- load axis ----------------------------------------------------------------------

void TableTransfer::loadAxisClicked(bool mafVoltage) {
    m_ctx->logAction(mafVoltage ? QStringLiteral(" Производить коррекцию таблиц по напряжению от MAF")
                                : QStringLiteral(" Производить коррекцию таблиц по напряжению от времени впрыска"));
    if (writeOperatingRegister)
        writeOperatingRegister(mafVoltage ? QStringLiteral("KorrTab_MAF") : QStringLiteral("KorrTab_VV"));
    m_panel->requestRedraw();
}
