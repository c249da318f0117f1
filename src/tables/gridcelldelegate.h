#pragma once
// The cell delegate of the table grid and the curve grids. Keys the grid acts on (Enter,
// and on the curve grids the cursor keys) store the typed text in the cell, close the
// editor and then run the grid's own handling, so a value typed and confirmed with the key
// is part of what the key does. The delegate also paints what the editing tools ask for:
// a background colour per cell (the heat map), an outline around a cell and its hint (a
// comparison with a file).

#include <QColor>
#include <QStyledItemDelegate>

#include <functional>

// How one cell is drawn beyond its text.
struct CellLook {
    QColor background; // invalid: the grid's own
    bool outlined = false;
    QString hint;      // empty: the item's own
    bool hatched = false; // a cell locked against proposed corrections
};

class GridCellDelegate : public QStyledItemDelegate {
  public:
    // handlesKey tells which keys the editor hands to onKey.
    GridCellDelegate(std::function<bool(int key)> handlesKey, std::function<void(int key)> onKey,
                     QObject* parent);

    // Asked for every painted cell (row, column of the grid); unset: the plain look.
    std::function<CellLook(int row, int column)> look;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    // Black or white, whichever reads better on `background`.
    static QColor textColourOn(const QColor& background);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

  private:
    std::function<bool(int)> m_handlesKey;
    std::function<void(int)> m_onKey;
};
