#pragma once
// What the table grid shows of a recording, drawn over the grid without touching its cells:
// the frame around the cell the engine is in (a widget on the grid's viewport) and the
// statistics of the cells as a heat map of the mean with the count written small (an item
// delegate swapped in while the statistics are shown).

#include <QPointer>
#include <QStyledItemDelegate>
#include <QWidget>

#include <functional>
#include <optional>

#include "analysis/cellstats.h"

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

// Paints a cell as its statistics: the background coloured by the mean (blue for the lowest
// mean of the grid, red for the highest), the mean in the middle and the count small in the
// corner; a cell without samples stays blank. Its tool tip is the cell's four lines.
class CellStatsDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit CellStatsDelegate(QObject* parent = nullptr);
    void setGrid(const analysis::CellGrid& grid);
    const analysis::CellGrid& grid() const { return m_grid; }
    // The colour of a cell, invalid for a cell without samples.
    QColor cellColour(int c, int r) const;
    // The tool tip of a cell in the language in force (empty without samples).
    QString toolTip(int c, int r) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

private:
    analysis::CellGrid m_grid;
    double m_low = 0, m_high = 0;
};
