#pragma once
// One Lambda emulation curve: its chart with the draggable point markers and the live
// points, and the side panel with the point grid, the transfer and file buttons, the live
// point controls and the read filter. The window holds two of them; the second one's
// object names carry the suffix "_2" (a few keep older names, see CurvePanel::objectNameFor).

#include <QPointF>
#include <QRect>
#include <QWidget>
#include <array>

#include "tables/curve_shape.h"
#include "ui_curvepanel.h"

class CurvePanel : public QWidget {
    Q_OBJECT
  public:
    static constexpr int PointCount = 64; // points of a curve, numbered 1..64
    static constexpr int RowCount = 65;   // grid rows: point i in row i - 1, row 64 spare

    // Curve index is 1 or 2; anything else is treated as 1. The panel is owned by parent.
    explicit CurvePanel(int index, QWidget* parent = nullptr);

    Ui::CurvePanel ui;
    // Outline of the chart's plot area; shown only while the interface is locked.
    CurveShape* Shape_0 = nullptr;

    int index() const { return m_index; }

    // Object name of a control of this curve, given its name on the first curve.
    static QString objectNameFor(const QString& curve1Name, int index);

    // Marker and live point i (1..64); nullptr outside that range.
    CurveShape* marker(int i) const;
    CurveShape* livePoint(int i) const;

    // Writes the grid's 65 rows: row labels (24 blanks and the row number) in column 0 and
    // "0" in column 1.
    void fillEmptyRows();

    // Grid text of point i (1..64), column 1 of row i - 1; ignored outside 1..64.
    void setPointText(int i, const QString& text);
    QString pointText(int i) const;
    // Empties both series of the chart (the curve as read and as edited).
    void clearCurveSeries();

    // The plot area in chart pixels: the reference for every marker and live point.
    QRect frameRect() const;

    // Centres marker i on the chart point (x, y) in axis units, kept inside the plot area
    // vertically; it follows that point when the chart is resized. Does not show it.
    void placeMarker(int i, double x, double y);
    // Axis coordinates the marker was last placed at.
    QPointF markerPosition(int i) const;

    // Centres live point i at relative fuel amount x (0..64 across the whole plot width)
    // and voltage y (0..5); it keeps that place relative to the plot area on resize.
    void placeLivePoint(int i, double x, double y);

  private:
    void renameForCurve();
    void setUpChart();
    void setUpGrid();
    void createShapes();
    void relayoutShapes();
    QPoint markerCentre(int i) const;
    QPoint livePointCentre(int i) const;
    static void centreShape(CurveShape* shape, QPoint centre);

    int m_index;
    std::array<CurveShape*, PointCount> m_markers{};
    std::array<CurveShape*, PointCount> m_livePoints{};
    std::array<QPointF, PointCount> m_markerPos{};
    std::array<QPointF, PointCount> m_livePos{};
    std::array<bool, PointCount> m_markerPlaced{};
    std::array<bool, PointCount> m_livePlaced{};
};
