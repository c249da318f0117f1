#pragma once
// The editing tools of the table grid: one undo history per table, the block operations
// and the clipboard on the selected cells, the heat map and the comparison with a table
// file. Reached through the grid's context menu and shortcuts; the table panel owns it.

#include <QObject>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

#include "tables/blockops.h"
#include "tables/gridcelldelegate.h"
#include "tables/undostack.h"
#include "tables/valuedialog.h"

class EditActions;
class Table3DPanel;

class TableEditor : public QObject {
    Q_OBJECT
  public:
    explicit TableEditor(Table3DPanel* panel);

    UndoStack* history(TableKind table) { return m_history[int(table)]; }
    // The change of `table` since its last step becomes one step (a commit, a file opened,
    // a read from the module).
    void record(TableKind table);
    // The table as it is now is the start of its next step (a refresh that showed it).
    void rebase(TableKind table);

    // The selected cells of the grid (the current cell when nothing is selected), 0-based.
    blockops::Block selectedBlock() const;
    // The operation on the selected cells of the shown table, one step; false when no
    // table is shown or a cell it reads is not a number (reported, nothing changed).
    bool apply(blockops::Op op, double argument = 0);
    // Asks the value with askValue first; false when cancelled.
    bool askAndApply(blockops::Op op);

    void copy();
    // Pastes the clipboard's text at the top left cell of the selection.
    bool paste();
    bool pasteText(const QString& text);
    void undo();
    void redo();

    bool heatMap() const { return m_heatMap; }
    void setHeatMap(bool on);

    // Compares the shown table with a table file of its kind (chosen with chooseFile);
    // the differing cells are outlined and the status tells how many differ.
    bool compare();
    bool compareWith(const QString& fileName);
    // The file's cells into the shown table, one step.
    bool takeFileValues();
    void endCompare();
    // Cells of the shown table that differ from its comparison file; -1 without one.
    int differingCells() const;

    // How cell (row, column) of the grid is drawn.
    CellLook look(int row, int column) const;
    EditActions* actions() const { return m_actions; }

    // Hooks: the value dialog, the file dialog (a table file filter in Qt's form), the
    // status bar and the error box. Tests replace the first two.
    AskValue askValue;
    std::function<QString(const QString& filter)> chooseFile;
    std::function<void(const QString&)> showStatus;
    std::function<void(const QString&)> showError;

  private:
    UndoState capture(TableKind table) const;
    void restore(TableKind table, const UndoState& state);
    bool isShown(TableKind table) const;
    // Writes the texts of `cells` (0-based, row-major) into the model grid and, when
    // shown, the table grid, then redraws.
    void put(TableKind table, const QStringList& texts, const blockops::Block& cells);
    QStringList shownTexts() const;
    void updateStatus();
    void error(const QString& text);
    void repaintGrid();

    Table3DPanel* m_panel;
    std::array<UndoStack*, 3> m_history{};
    std::array<std::optional<QStringList>, 3> m_compare;
    std::array<QString, 3> m_compareName;
    bool m_heatMap = false;
    EditActions* m_actions = nullptr;
};
