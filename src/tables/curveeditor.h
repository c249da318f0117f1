#pragma once
// The editing tools of one curve's point grid: its undo history (grid edits, dragged and
// nudged markers, opened files, reads), the block operations and the clipboard on the
// selected points, and the comparison with a curve file. The curve panel owns it.

#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

#include "tables/blockops.h"
#include "tables/gridcelldelegate.h"
#include "tables/undostack.h"
#include "tables/valuedialog.h"

class CurvePanel;
class EditActions;

class CurveEditor : public QObject {
    Q_OBJECT
  public:
    explicit CurveEditor(CurvePanel* panel);

    UndoStack* history() const { return m_history; }
    // The change since the last step becomes one step.
    void record();

    // The selected points of the grid as rows 0..63 (the cursor's row when nothing is
    // selected).
    blockops::Block selectedBlock() const;
    // Set, add, scale, interpolate (Op::InterpolateV, between the ends of the range) and
    // smooth on the selected points, one step; false when a point it reads is not a number.
    bool apply(blockops::Op op, double argument = 0);
    bool askAndApply(blockops::Op op);

    void copy();
    bool paste();
    bool pasteText(const QString& text);
    void undo() { m_history->undo(); }
    void redo() { m_history->redo(); }

    bool compare();
    bool compareWith(const QString& fileName);
    bool takeFileValues();
    void endCompare();
    int differingPoints() const;

    CellLook look(int row, int column) const;
    EditActions* actions() const { return m_actions; }

    AskValue askValue;
    std::function<QString(const QString& filter)> chooseFile;
    std::function<void(const QString&)> showStatus;
    std::function<void(const QString&)> showError;

  private:
    QStringList texts() const;
    // Applies the texts of the block's points (rows) as the grid keys apply a typed one.
    void put(const QStringList& texts, const blockops::Block& rows);
    void updateStatus();
    void error(const QString& text);

    CurvePanel* m_panel;
    UndoStack* m_history = nullptr;
    EditActions* m_actions = nullptr;
    std::optional<QStringList> m_compare;
    QList<double> m_compareVolts;
    QString m_compareName;
};
