#include "tables/tablefileactions.h"

#include "common/messages.h"
#include "common/userfiles.h"
#include "link/operationcontext.h"
#include "tables/curvepanel.h"
#include "tables/grideditor.h"
#include "tables/table3dpanel.h"
#include "tables/tabletransfer.h"

#include <QFile>
#include <QMessageBox>

TableFiles::TableFiles(OperationContext* ctx, Table3DPanel* panel, CurvePanel* curve1,
                       CurvePanel* curve2, TableTransfer* transfers, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_panel(panel), m_curve1(curve1), m_curve2(curve2),
      m_transfers(transfers) {
    confirmOverwrite = [this](const QString& fileName) {
        return QMessageBox::question(m_ctx->window, QString(),
                                     userfiles::overwriteQuestion(fileName, msgs().english())) ==
               QMessageBox::Yes;
    };

    const auto& t = m_panel->ui;
    connect(t.atb_MAF_Save, &QToolButton::clicked, this, &TableFiles::atb_MAF_SaveClick);
    connect(t.atb_MAF_Open, &QToolButton::clicked, this, &TableFiles::atb_MAF_OpenClick);
    connect(t.atb_Lambda_Save, &QToolButton::clicked, this, &TableFiles::atb_Lambda_SaveClick);
    connect(t.atb_Lambda_Open, &QToolButton::clicked, this, &TableFiles::atb_Lambda_OpenClick);
    connect(t.atb_MAF_TR_90_Save, &QToolButton::clicked, this,
            &TableFiles::atb_MAF_TR_90_SaveClick);
    connect(t.atb_MAF_TR_90_Open, &QToolButton::clicked, this,
            &TableFiles::atb_MAF_TR_90_OpenClick);
    for (int curve : {1, 2}) {
        const auto& c = curvePanel(curve)->ui;
        connect(c.atb_Emu_Save, &QToolButton::clicked, this,
                [this, curve] { atb_Emu_SaveClick(curve); });
        connect(c.atb_Emu_Open, &QToolButton::clicked, this,
                [this, curve] { atb_Emu_OpenClick(curve); });
    }
    wireEditors();
}

void TableFiles::beforeDialog() {
    // A dialog stops the window for as long as it is open: the live points would go on
    // polling behind it, and the chart would record a gap as if it were data.
    m_transfers->stopLivePoints();
    if (pauseChart) pauseChart();
}

QString TableFiles::saveName(TableKind kind) {
    const QString chosen = m_ctx->saveFileName(QString(), tablefiles::dialogFilter(kind));
    if (chosen.isEmpty()) return {};
    const QString name = tablefiles::withSuffix(chosen, kind);
    if (name != chosen && QFile::exists(name) && !(confirmOverwrite && confirmOverwrite(name)))
        return {};
    return name;
}

bool TableFiles::tableShown(TableKind table) const {
    return !m_panel->shownTable() || *m_panel->shownTable() == table;
}

QStringList TableFiles::tableTexts(TableKind table) const {
    // The grid as the user sees it while the table is shown; otherwise its model grid.
    if (tableShown(table)) return m_panel->tableCells();
    const ModelGrid& model = m_panel->modelGrid(table);
    QStringList cells;
    for (int r = 1; r <= tablecodec::Side; ++r)
        for (int c = 1; c <= tablecodec::Side; ++c)
            cells << model.cell(c, r);
    return cells;
}

void TableFiles::saveTable(TableKind table) {
    beforeDialog();
    const QString name = saveName(table);
    if (name.isEmpty()) return;
    QString error;
    if (!userfiles::write(name, tablefiles::encode(tableTexts(table)), &error, msgs().english())) {
        m_ctx->error(error);
        return;
    }
    m_panel->requestRedraw();
}

void TableFiles::openTable(TableKind table) {
    beforeDialog();
    const QString name = m_ctx->openFileName(QString(), tablefiles::dialogFilter(table), table);
    if (name.isEmpty()) return;
    // The file is checked whole first: a damaged or foreign file changes no cell. The texts
    // go in as numbers of any size; the table's limits apply at its next refresh.
    const tablefiles::Loaded file = tablefiles::load(table, name, msgs().english());
    if (!file.ok()) {
        m_ctx->error(file.error);
        return;
    }
    const QStringList& cells = file.texts;
    const bool shown = tableShown(table);
    ModelGrid& model = m_panel->modelGrid(table);
    for (int r = 1; r <= tablecodec::Side; ++r) {
        for (int c = 1; c <= tablecodec::Side; ++c) {
            const QString& text = cells.at((r - 1) * tablecodec::Side + (c - 1));
            model.setCell(c, r, text);
            if (shown) m_panel->setCellText(c, r, text);
        }
    }
    m_panel->requestRedraw();
    m_panel->recordChange(table);
}

void TableFiles::atb_Emu_SaveClick(int curve) {
    beforeDialog();
    CurvePanel* panel = curvePanel(curve);
    const QString name = saveName(curveKind(curve));
    if (name.isEmpty()) return;
    QStringList lines;
    for (int i = 1; i <= tablefiles::LineCount; ++i)
        lines << panel->pointText(i);
    QString error;
    if (!userfiles::write(name, tablefiles::encode(lines), &error, msgs().english()))
        m_ctx->error(error);
}

void TableFiles::atb_Emu_OpenClick(int curve) {
    beforeDialog();
    const QString name =
        m_ctx->openFileName(QString(), tablefiles::dialogFilter(curveKind(curve)), curveKind(curve));
    if (!name.isEmpty()) {
        const tablefiles::Loaded file = tablefiles::load(curveKind(curve), name, msgs().english());
        if (!file.ok()) {
            m_ctx->error(file.error);
        } else {
            CurvePanel* panel = curvePanel(curve);
            panel->loadCurve(file.texts, file.values);
            panel->ui.atb_Interpolator_Lambda->setEnabled(true);
            panel->recordChange();
        }
    }
    // Curve 1's markers are laid out again after every open, whichever curve it was for.
    m_curve1->refreshCurve();
}

void TableFiles::wireEditors() {
    auto choose = [this](TableKind kind) {
        beforeDialog();
        return m_ctx->openFileName(QString(), tablefiles::dialogFilter(kind), kind);
    };
    auto status = [this](const QString& text) {
        if (m_transfers->showStatus) m_transfers->showStatus(text);
    };
    auto error = [this](const QString& text) { m_ctx->error(text); };
    GridEditor* t = m_panel->editor();
    t->chooseFile = choose;
    t->showStatus = status;
    t->showError = error;
    for (CurvePanel* c : {m_curve1, m_curve2}) {
        c->editor()->chooseFile = choose;
        c->editor()->showStatus = status;
        c->editor()->showError = error;
    }
}
