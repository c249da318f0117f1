#pragma once
// The frame around the cell of the table grid the engine is in while a recording runs: a
// widget on the grid's viewport, drawn over the grid without touching its cells.

#include <QWidget>

#include <optional>

class QTableWidget;

// A frame around one cell of the grid; transparent for the mouse. It follows the cell when
// the grid's sections change size.
class OperatingPointFrame : public QWidget {
    Q_OBJECT
public:
    explicit OperatingPointFrame(QTableWidget* grid);
    // Column c and row r, 1..8; nothing when empty.
    void setCell(std::optional<QPoint> cell);
    std::optional<QPoint> cell() const { return m_cell; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place();
    QTableWidget* m_grid;
    std::optional<QPoint> m_cell;
};
