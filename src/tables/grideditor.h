#pragma once
// The editing tools of a grid: an undo history per table the grid shows (the three
// correction tables share the table grid; a curve grid shows its one curve), the block
// operations and the clipboard on the selected cells, the heat map and the comparison with
// a file of the shown table's kind. Reached through the grid's context menu and shortcuts.
// The panel of the grid owns the editor and lends it a GridAdapter: the editor knows the
// rules of each kind of table and the panel where its cells live.

#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

#include "common/tablekind.h"
#include "common/uitexts.h"
#include "tables/blockops.h"
#include "tables/editactions.h"
#include "tables/gridcelldelegate.h"
#include "tables/undostack.h"
#include "tables/valuedialog.h"

class QTableWidget;

// What a panel lends the editor of its grid. The tables it shows are numbered from 0; the
// cells of one are counted row by row from 0, `width` to a row.
class GridAdapter {
  public:
    virtual ~GridAdapter() = default;

    virtual QTableWidget* grid() const = 0;
    // The grid column of a table's first cell column (a curve grid keeps its row labels in
    // column 0).
    virtual int firstColumn() const { return 0; }
    virtual int width() const = 0;
    virtual int height() const = 0;
    // How many tables the grid shows in turn, which of them it shows now (none before the
    // first was shown), and the kind of each.
    virtual int tableCount() const = 0;
    virtual std::optional<int> shown() const = 0;
    virtual TableKind kind(int table) const = 0;

    // The text of a cell of the shown table as the grid shows it.
    virtual QString cellText(int index) const = 0;
    // What an undo step keeps of a table, and putting it back.
    virtual UndoState capture(int table) const = 0;
    virtual void restore(int table, const UndoState& state) = 0;
    // The texts of `cells` into a table (and the grid while the table is shown), then
    // whatever shows the table is drawn again.
    virtual void put(int table, const QStringList& texts, const blockops::Block& cells) = 0;
    // A checked file's lines into a table whole, as an opened file goes in (values: the
    // numbers of a curve file's lines).
    virtual void takeFile(int table, const QStringList& texts, const QList<double>& values) = 0;
};

class GridEditor : public QObject {
    Q_OBJECT
  public:
    // menu: the grid's editing actions in menu order, their texts the language table's
    // rows of textsOf. The editor is a child of panel; dialogs stand on its window.
    GridEditor(QWidget* panel, GridAdapter* adapter, uitexts::Panel textsOf, const QList<EditActions::Item>& menu);

    UndoStack* undoStack(int table) const { return m_undo.at(std::size_t(table)); }
    // The change of a table since its last step becomes one step (a commit, a file opened,
    // a read from the module, a dragged marker).
    void record(int table);
    // The table as it is now is the start of its next step (a refresh that showed it).
    void rebase(int table);

    // The selected cells (the current cell when nothing is selected), 0-based.
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

    // The heat map (where the grid's menu offers it).
    bool heatMap() const { return m_heatMap; }
    void setHeatMap(bool on);

    // Compares the shown table with a file of its kind (chosen with chooseFile); the
    // differing cells are outlined and the status tells how many differ.
    bool compare();
    bool compareWith(const QString& fileName);
    // The file's values into the shown table, one step.
    bool takeFileValues();
    void endCompare();
    // Cells of the shown table that differ from its comparison file; -1 without one.
    int differingCells() const;

    // How cell (row, column) of the grid is drawn.
    CellLook look(int row, int column) const;
    EditActions* actions() const { return m_actions; }

    // Hooks: the value dialog, the open dialog of a file of a kind, the status bar and the
    // error box. Tests replace the first two.
    AskValue askValue;
    std::function<QString(TableKind kind)> chooseFile;
    std::function<void(const QString&)> showStatus;
    std::function<void(const QString&)> showError;

  private:
    struct Comparison {
        QStringList texts;
        QList<double> values;
        QString fileName;
    };
    QStringList texts() const;
    // Writes through the adapter, then renews the comparison's status.
    void put(int table, const QStringList& texts, const blockops::Block& cells);
    blockops::Block whole() const;
    void updateStatus();
    void error(const QString& text);
    void repaintGrid();

    QWidget* m_panel;
    GridAdapter* m_grid;
    std::vector<UndoStack*> m_undo;
    std::vector<std::optional<Comparison>> m_compare;
    bool m_heatMap = false;
    EditActions* m_actions = nullptr;
};
