#pragma once
// The work panel of the three correction tables: the surface view on the left and, at the
// right edge, the table grid with its axis captions, the transfer and file buttons of the
// three tables, the choice of the load axis and the orientation buttons of the surface.

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include "analysis/cellstats.h"
#include "surface/surfaceview.h"
#include "tables/gridoverlay.h"
#include "tables/tablecodec.h"
#include "ui_table3dpanel.h"

class GridAdapter;
class GridCellDelegate;
class GridEditor;
class CellStatsDelegate;
class OperatingPointFrame;
class QAbstractItemDelegate;
class QAction;
class QActionGroup;

class Table3DPanel : public QWidget {
    Q_OBJECT

public:
    // The tables edited in the one grid; their four transfer and file buttons share places.
    using Table = TableKind;

    explicit Table3DPanel(QWidget* parent = nullptr);
    ~Table3DPanel() override;

    // The hidden model grids: the Lambda table, and the MAF table or (TR-90) the voltage
    // table, which never coexist.
    ModelGrid sgrid_3D_Lambda;
    ModelGrid sgrid_3D_MAF;
    ModelGrid& modelGrid(Table table) { return table == Table::Lambda ? sgrid_3D_Lambda : sgrid_3D_MAF; }

    // Table refreshes: show the table in its family's look with its buttons in front, bring
    // the model grid into the table's domain and copy it into the table grid (the voltage
    // refresh works on the table grid itself), then redraw the surface. A cell that is not
    // a number of the table's kind stops the refresh there: the message goes to
    // onConversionError, that cell becomes current and nothing is redrawn; false is returned.
    bool btn_Lambda();
    bool btn_MAF();
    bool btn_MAF_TR_90();
    bool refresh(Table table);
    // The refresh of the table shown last; false when none was shown yet.
    bool refreshShownTable();
    std::optional<Table> shownTable() const { return m_shown; }

    // Enter in the table grid: the grid's cells go into the shown table's model grid and
    // the table is refreshed. False when no table is shown or the refresh stopped.
    bool commitEdits();

    // Brings the cells of `table` into its domain where a write reads them: the model grid
    // of the MAF table (through its refresh), the table grid of the Lambda and voltage
    // tables (in place, keeping what the user typed). False, with the message given to
    // onConversionError, when a cell is not a number.
    bool normaliseForWrite(Table table);

    // The 64 cells of the table grid, index (r - 1) * 8 + (c - 1).
    QStringList tableCells() const;
    // Hands the table grid to the surface view and asks for a repaint (btnRefresh3D).
    void requestRedraw();

    // Load axis as the module's register 00 says: the button set down and the labels
    // written, nothing logged or sent.
    void setLoadAxis(bool mafVoltage);
    bool loadAxisIsMafVoltage() const { return ui.atb_KorrTab_MAF->isChecked(); }

    // Where conversion errors of the refreshes are shown (an error box in the window).
    std::function<void(const QString&)> onConversionError;

    // Writes the grid's column headers (engine speed) and row headers (engine load) and
    // the load axis caption, following whichever load axis button is down.
    void writeAxisLabels();

    // The note on the MAF(P) scale (Panel_lbl_MAF) in the language in force, or an empty panel.
    void showMafPNote(bool shown);

    // Brings the four transfer and file buttons of `table` in front of the other tables'.
    void raiseTableButtons(Table table);

    // Colours the panels, the grid and the buttons in the family's look.
    void applyFamilyColours(SurfaceFamily family);

    // Cell text of the grid by engine-speed column c and load row r, both 1..8 (the header
    // row and column are 0). Out-of-range coordinates read as an empty text and are
    // ignored when written.
    QString cellText(int c, int r) const;
    void setCellText(int c, int r, const QString& text);

    Ui::Table3DPanel ui;

    // The editing tools of the grid (undo, block operations, clipboard, heat map,
    // comparison; its tables numbered as TableKind counts them) and the delegate they draw
    // through.
    GridEditor* editor() const { return m_editor; }
    GridCellDelegate* cellDelegate() const { return m_cellDelegate; }
    // The change of `table` since its last undo step becomes one step: an opened file or
    // a finished read from the module.
    void recordChange(Table table);
    // --- a recording over the table (table3dpanel_recording.cpp) ---------------------

    // The breakpoints of the grid's headings: engine speed over the columns, the load
    // axis in force over the rows (the fixed values of the axis where a heading is not
    // a number).
    analysis::Axis speedBreakpoints() const;
    analysis::Axis loadBreakpoints() const;

    // The live operating point: one recorded sample more (engine speed, MAF voltage and
    // injection time). The grid frames the cell of the newest sample and the surface
    // shows it with a trail of the last TrailLength samples, on the load axis in force.
    static constexpr int TrailLength = 20;
    void addOperatingPoint(double speed, double mafVoltage, double injectionTime);
    void clearOperatingPoint();
    // The framed cell (column, row), none without a sample.
    std::optional<QPoint> operatingCell() const;

    // Cell statistics: the grid shows the statistics instead of the cell values, and
    // editing is off, until they are hidden; hiding restores the grid's delegate and edit
    // triggers as they were.
    // With a reference (a comparison recording's cells), each cell shows the difference of
    // the means, the main recording minus the reference.
    void showCellStatistics(const analysis::CellGrid& grid, const analysis::CellGrid* reference = nullptr);
    void hideCellStatistics();
    bool cellStatisticsShown() const { return m_statsShown; }
    // The tool tip a cell shows while the statistics are shown (empty without samples).
    QString cellStatisticsToolTip(int c, int r) const;
    // The archive column of the parameter chosen for the statistics, and whether only the
    // page the chart shows counts.
    int statisticsColumn() const;
    bool statisticsOfPageOnly() const;
    // Whether the difference from a comparison recording is asked for (actCellStatsDiff),
    // and whether there is one: without it the choice is off and cannot be made.
    bool statisticsAsDifference() const;
    void setCellDifferenceAvailable(bool available);

    // The grid's context actions: the statistics on and off, the parameter (a submenu of
    // exclusive choices, L1 first) and the page-only choice.
    QAction* actCellStats = nullptr;
    QAction* actCellStatsParam = nullptr;
    QAction* actCellStatsPage = nullptr;
    QAction* actCellStatsDiff = nullptr;
    QActionGroup* cellStatsParams = nullptr;

signals:
    // The statistics were turned on, or their parameter or range changed while they are
    // shown: whoever holds the recording computes them and calls showCellStatistics.
    void cellStatisticsWanted();
    // The user chose the load axis with one of its buttons (the labels are already written).
    void loadAxisClicked(bool mafVoltage);
    // A redraw of the surface was requested (after the view was handed the new cells).
    void redrawRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setUpGrid();
    void setUpIcons();
    // A table button: the refresh, and the start of the table's next undo step.
    bool showTable(Table table);
    // Enter in the grid, in the editor or not: commit, then one row down.
    void onEnter();
    // Normalises the table grid in place; false after reporting the first cell that is
    // not a number.
    bool normaliseTableGrid(Table table);
    void reportNotANumber(Table table, int c, int r, const QString& text);

    void setUpRecordingViews();
    void placeOperatingPoint();

    std::optional<Table> m_shown;
    GridCellDelegate* m_cellDelegate = nullptr;
    std::unique_ptr<GridAdapter> m_gridAdapter;
    GridEditor* m_editor = nullptr;

    struct RecordedPoint {
        double speed, mafVoltage, injectionTime;
    };
    std::deque<RecordedPoint> m_trail;
    OperatingPointFrame* m_frame = nullptr;
    CellStatsDelegate* m_statsDelegate = nullptr;
    gridoverlay::Kept m_kept;
    bool m_statsShown = false;
};
