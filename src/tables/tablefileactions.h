#pragma once
// The file buttons of the correction tables and the emulation curves: save and open the
// MAF, Lambda and voltage tables and either curve (a curve file opens into either curve).
// Before every dialog the live points of both curves stop and the parameter chart pauses.
// A file is read whole and checked before anything changes; a save never leaves half a
// file in place of an older one.

#include <QObject>
#include <QString>

#include <functional>

#include "tables/tablecodec.h"
#include "tables/tablefiles.h"

class CurvePanel;
class Table3DPanel;
class TableTransfer;
struct OperationContext;

class TableFiles : public QObject {
    Q_OBJECT

  public:
    // Connects the file buttons of the table panel and of both curve panels.
    TableFiles(OperationContext* ctx, Table3DPanel* panel, CurvePanel* curve1, CurvePanel* curve2,
               TableTransfer* transfers, QObject* parent = nullptr);

    // Bound by the window: pauses the parameter chart's recording (when one runs).
    std::function<void()> pauseChart;
    // Asked when the name with its suffix appended names a file that exists already (the
    // dialog asked only about the name as chosen); true replaces it. Tests replace it.
    std::function<bool(const QString& fileName)> confirmOverwrite;

    void atb_MAF_SaveClick() { saveTable(TableKind::Maf); }
    void atb_MAF_OpenClick() { openTable(TableKind::Maf); }
    void atb_Lambda_SaveClick() { saveTable(TableKind::Lambda); }
    void atb_Lambda_OpenClick() { openTable(TableKind::Lambda); }
    void atb_MAF_TR_90_SaveClick() { saveTable(TableKind::Voltage); }
    void atb_MAF_TR_90_OpenClick() { openTable(TableKind::Voltage); }
    // Curve 1 (atb_Emu_Save, atb_Emu_Open) or 2 (atb_Emu_Save_2, atb_Emu_Open_2).
    void atb_Emu_SaveClick(int curve);
    void atb_Emu_OpenClick(int curve);

  private:
    // The comparison dialogs, status and errors of the grids' editing tools.
    void wireEditors();
    void beforeDialog();
    // The file name a save writes: the chosen one with its suffix, once the user agreed to
    // replace an existing file; empty when cancelled.
    QString saveName(TableKind kind);
    void saveTable(TableKind table);
    void openTable(TableKind table);
    // The 64 texts a table file of `table` holds, row by row.
    QStringList tableTexts(TableKind table) const;
    bool tableShown(TableKind table) const;
    CurvePanel* curvePanel(int curve) const { return curve == 2 ? m_curve2 : m_curve1; }

    OperationContext* m_ctx;
    Table3DPanel* m_panel;
    CurvePanel* m_curve1;
    CurvePanel* m_curve2;
    TableTransfer* m_transfers;
};
