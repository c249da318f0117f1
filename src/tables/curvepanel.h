#pragma once
// One Lambda emulation curve: its chart (with the draggable point markers and the live
// points of curvemarkers.h over it), and the side panel with the point grid, the transfer
// and file buttons, the live point controls and the read filter. The window holds two of them; the second one's
// object names carry the suffix "_2" (a few keep older names, see CurvePanel::objectNameFor).

#include <QPointF>
#include <QRect>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "common/configfiles.h"
#include "tables/curvemarkers.h"
#include "tables/undostack.h"
#include "ui_curvepanel.h"

class GridAdapter;
class GridCellDelegate;
class GridEditor;

class CurvePanel : public QWidget {
    Q_OBJECT
  public:
    static constexpr int PointCount = 64; // points of a curve, numbered 1..64
    static constexpr int RowCount = 65;   // grid rows: point i in row i - 1, row 64 spare

    // Curve index is 1 or 2; anything else is treated as 1. The panel is owned by parent.
    explicit CurvePanel(int index, QWidget* parent = nullptr);
    ~CurvePanel() override;

    Ui::CurvePanel ui;
    // Outline of the chart's plot area; shown only while the interface is locked.
    CurveShape* Shape_0 = nullptr;

    int index() const { return m_index; }

    // Object name of a control of this curve, given its name on the first curve.
    static QString objectNameFor(const QString& curve1Name, int index);

    // The markers, the live points and the frame over the chart.
    CurveMarkers* markers() const { return m_markers; }
    // Marker and live point i (1..64); nullptr outside that range.
    CurveShape* marker(int i) const { return m_markers->marker(i); }
    CurveShape* livePoint(int i) const { return m_markers->livePoint(i); }

    // Writes the grid's 65 rows: row labels (24 blanks and the row number) in column 0 and
    // "0" in column 1.
    void fillEmptyRows();

    // Grid text of point i (1..64), column 1 of row i - 1; ignored outside 1..64.
    void setPointText(int i, const QString& text);
    QString pointText(int i) const;
    // Empties both series of the chart (the curve as read and as edited).
    void clearCurveSeries();

    // Where the shapes over the chart stand (CurveMarkers says how they keep their places).
    QRect frameRect() const { return m_markers->frameRect(); }
    void placeMarker(int i, double x, double y) { m_markers->placeMarker(i, x, y); }
    QPointF markerPosition(int i) const { return m_markers->markerPosition(i); }
    void placeLivePoint(int i, double x, double y) { m_markers->placeLivePoint(i, x, y); }

    // --- the curve as read, opened and edited ----------------------------------------

    // Start of a read: both series emptied and given their first point (0 at position 0,
    // outside the axis), the markers hidden.
    void beginCurve();
    // Point i as read: appended to both series at position i, its marker shown in the read
    // colour over it, its grid cell the voltage cut to two decimals, its hint renewed.
    void showReadPoint(int i, double volts);
    // A curve opened from a file: the 64 grid texts as given, both series the values (not
    // limited), every marker shown over its point (kept inside the frame).
    void loadCurve(const QStringList& texts, const QList<double>& volts);
    // The curve as edited (series 1) at point i; NaN when the series has no such point.
    double editedValue(int i) const;
    double readValue(int i) const;

    // Btn_Refresh_2D_Graf (curve 2: Button1): every marker over the value of its grid cell
    // (empty counts as 0; a cell that is not a number leaves its marker where it is), hints
    // renewed, live points kept at their place in the frame. Series and visibility stay.
    // (On a resize the frame follows the plot area and every marker and live point keeps
    // its place on the axes without it.)
    void refreshCurve();
    // Hints of the shown markers and live points in the current message language.
    void renewHints();

    // Dragging marker i to chart pixel height y: the edited value follows, limited to 0..5 V;
    // the grid cell and the hint take it cut to two decimals. The mouse uses it too.
    void dragMarkerTo(int i, int y);
    // The grid keys Enter, cursor up and cursor down with the cursor in `row`: the row
    // above (point `row`) is applied to the edited curve and its marker, then the cursor
    // moves. False when the cell does not hold a number (reported, cursor kept).
    bool gridKey(int key, int row);

    // Point i's grid text applied to the edited curve and its marker, as a grid key
    // applies it; false (reported) when the text is not a number.
    bool applyPoint(int i);

    // --- editing tools ---------------------------------------------------------------

    // The grid's editing tools (undo, block operations, clipboard, comparison; the curve is
    // its table 0).
    GridEditor* editor() const { return m_editor; }
    GridCellDelegate* cellDelegate() const { return m_cellDelegate; }
    // The change since the last undo step becomes one step: an opened file or a read.
    void recordChange();
    // What an undo step keeps of the curve: the point texts, both series (keys 0..64, NaN
    // where a series has no point) and which markers are shown; and putting it back, with
    // every marker over its point.
    UndoState editState() const;
    void restoreEditState(const UndoState& state);

    // The marker the arrow keys move (0: none). A click on a marker selects it.
    int selectedMarker() const { return m_markers->selected(); }
    void selectMarker(int i);
    // Up/Down: the selected point one step of its byte (1/48 V) up or down, ten with
    // Shift; Left/Right: the neighbouring marker is selected. False for other keys.
    bool markerKey(int key, Qt::KeyboardModifiers modifiers);

    // --- live points -----------------------------------------------------------------

    void hideLivePoints() { m_markers->hideLivePoints(); }
    // Live point p (1..64) shown at fuel x (0..64) and voltage v with its hint.
    void showLivePoint(int p, double x, double v) { m_markers->showLivePoint(p, x, v); }
    // N of Ed_Num_Yellow_Points, kept within 1..64 (12 when it is not a number).
    int livePointCount() const;

    // The settings file's part of the panel: the live-point count as its edit shows it
    // (Enum_YellowPoints). A saved text that is not a whole number leaves the edit as it is.
    void collectConfiguration(cfg::Info& info) const;
    void applyConfiguration(const cfg::Info& info);

    // Where a grid cell that is not a number is reported (the window's error box).
    std::function<void(const QString&)> onConversionError;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void renameForCurve();
    void setUpChart();
    void setUpGrid();
    void setEditedValue(int i, double volts);
    void moveGridCursor(int key, int row);
    void replotSoon();

    int m_index;
    CurveMarkers* m_markers = nullptr;
    // The marker the left button went down on, and whether it has moved far enough to drag.
    int m_pressed = 0;
    QPoint m_pressPos;
    bool m_dragging = false;
    GridCellDelegate* m_cellDelegate = nullptr;
    std::unique_ptr<GridAdapter> m_gridAdapter;
    GridEditor* m_editor = nullptr;
};
