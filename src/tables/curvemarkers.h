#pragma once
// What lies over a curve chart: a marker per point (the user drags and nudges it), a live
// point per point of the module's operating point, and the outline of the plot area. They
// are child widgets of the chart so that they get their own hint, cursor and mouse events.

#include <QColor>
#include <QObject>
#include <QPointF>
#include <QRect>
#include <QWidget>

#include <array>

class QCustomPlot;

class CurveShape : public QWidget {
    Q_OBJECT
  public:
    enum class Kind { Circle, RoundedSquare, Frame };

    // A hidden shape of the given kind, owned by parent (the chart).
    CurveShape(Kind kind, QWidget* parent);

    Kind kind() const { return m_kind; }
    QColor fillColor() const { return m_fill; }
    // Repaints the shape with a new fill; frames are never filled.
    void setFillColor(const QColor& color);
    QColor outlineColor() const { return m_outline; }
    void setOutlineColor(const QColor& color);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Kind m_kind;
    QColor m_fill;
    QColor m_outline;
};

// The 64 markers, the 64 live points and the frame of one curve chart, placed by chart
// coordinates: each keeps its place on the axes (a live point its place in the frame) when
// the chart is laid out again. Points are numbered 1..64; a number outside gives nothing.
class CurveMarkers : public QObject {
    Q_OBJECT
  public:
    static constexpr int Count = 64;

    // Creates the shapes on the chart of curve 1 or 2, hidden; the markers wear
    // markerColour and report their mouse and key events to `events`.
    CurveMarkers(QCustomPlot* chart, int curve, const QColor& markerColour, QObject* events);

    // The outline of the plot area (Shape_0).
    CurveShape* frame() const { return m_frame; }
    CurveShape* marker(int i) const;
    CurveShape* livePoint(int i) const;
    // The number of a marker, 0 for any other object.
    int markerIndex(const QObject* o) const;

    // The plot area in chart pixels: the reference for every marker and live point.
    QRect frameRect() const;

    // Centres marker i on the chart point (x, y) in axis units, kept inside the plot area
    // vertically. Does not show it.
    void placeMarker(int i, double x, double y);
    // Axis coordinates the marker was last placed at, and whether it was placed at all.
    QPointF markerPosition(int i) const;
    bool markerPlaced(int i) const;

    // Centres live point i at relative fuel amount x (0..64 across the whole plot width)
    // and voltage y (0..5); it keeps that place relative to the plot area.
    void placeLivePoint(int i, double x, double y);
    // Live point i placed at fuel x and voltage v, its hint written, shown on top.
    void showLivePoint(int i, double x, double v);
    void hideLivePoints();
    // The hints of the live points placed, in the current message language.
    void renewLivePointHints();

    // Marker i drawn as the selected one (red outline, raised, focused), the one before
    // given back its outline; 0 selects none.
    void select(int i);
    int selected() const { return m_selected; }

    // Every shape back on its place after the chart's layout changed.
    void relayout();

    // Each live point's left edge in the frame as a fraction of the frame width.
    std::array<double, Count> Yellow_Rel_X{};

  private:
    QPoint markerCentre(int i) const;
    QPoint livePointCentre(int i) const;

    QCustomPlot* m_chart;
    CurveShape* m_frame;
    std::array<CurveShape*, Count> m_markers{};
    std::array<CurveShape*, Count> m_livePoints{};
    std::array<QPointF, Count> m_markerPos{};
    std::array<QPointF, Count> m_livePos{};
    std::array<bool, Count> m_markerPlaced{};
    std::array<bool, Count> m_livePlaced{};
    std::array<QPointF, Count> m_liveSample{}; // fuel, voltage as shown in the hint
    int m_selected = 0;
    QColor m_selectedOutline;
};
