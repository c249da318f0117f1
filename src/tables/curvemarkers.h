#pragma once
// Small shapes laid over a curve chart: the point markers the user drags, the live
// points of the module's operating point, and the outline of the plot area. They are
// child widgets of the chart so that they get their own hint, cursor and mouse events.

#include <QColor>
#include <QWidget>

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
