#pragma once
// The proposed corrections over the table grid, drawn without touching its cells: each cell
// with a proposal shows its change as a signed whole number on a diverging heat map (red
// adds, blue takes away, the strongest change of the grid the deepest colour), a locked cell
// is hatched, a cell with samples but no proposal is grey. An item delegate swapped in while
// the preview is shown.

#include <QStyledItemDelegate>

#include "analysis/corrections.h"

class CorrectionsDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit CorrectionsDelegate(QObject* parent = nullptr);
    void setResult(const analysis::CorrectionResult& result, const analysis::CellMask& locked);
    const analysis::CorrectionResult& result() const { return m_result; }
    // The background of a cell: invalid for a cell without samples.
    QColor cellColour(int c, int r) const;
    // The tool tip of a cell in the language in force (empty without samples).
    QString toolTip(int c, int r) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    // Diagonal hatching over a locked cell, shared with the grid's own delegate.
    static void hatch(QPainter* painter, const QRect& rect);

private:
    analysis::CorrectionResult m_result;
    analysis::CellMask m_locked;
    int m_strongest = 0;
};
