#pragma once
// The statistics of a recording over the table grid, drawn without touching its cells: a
// heat map of the mean with the count written small (an item delegate swapped in while the
// statistics are shown).

#include <QStyledItemDelegate>

#include <optional>

#include "analysis/cellstats.h"

// Paints a cell as its statistics: the background coloured by the mean (blue for the lowest
// mean of the grid, red for the highest), the mean in the middle and the count small in the
// corner; a cell without samples stays blank. Its tool tip is the cell's four lines.
class CellStatsDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit CellStatsDelegate(QObject* parent = nullptr);
    // With a reference grid each cell shows the difference of the means (the grid's minus
    // the reference's) on a scale from blue (below) over white to red (above), and both
    // counts; its tool tip is the comparison's.
    void setGrid(const analysis::CellGrid& grid, const analysis::CellGrid* reference = nullptr);
    const analysis::CellGrid& grid() const { return m_grid; }
    bool showsDifference() const { return m_reference.has_value(); }
    // The colour of a cell, invalid for a cell without samples.
    QColor cellColour(int c, int r) const;
    // The tool tip of a cell in the language in force (empty without samples).
    QString toolTip(int c, int r) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

private:
    void paintDifference(QPainter* painter, const QStyleOptionViewItem& option, int c, int r) const;

    analysis::CellGrid m_grid;
    std::optional<analysis::CellGrid> m_reference;
    double m_low = 0, m_high = 0;
    double m_largest = 0; // the largest difference, either way
};
