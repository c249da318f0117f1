#pragma once
// A drawing laid over the table grid in place of its editing (the cell statistics, the
// corrections' preview): the cell being typed into keeps what was typed and closes, the
// grid's own delegate and edit triggers are kept, and they come back when the drawing ends.

#include <QPointer>

class QAbstractItemDelegate;
class QAbstractItemView;
class QHelpEvent;
class QModelIndex;
class QString;
class QTableWidget;

namespace gridoverlay {

struct Kept {
    QPointer<QAbstractItemDelegate> delegate;
    int triggers = 0;
};

// Lays `overlay` over the grid and returns what it replaced.
Kept take(QTableWidget* grid, QAbstractItemDelegate* overlay);
// Gives the grid back what `take` kept (a plain delegate, should the kept one have gone).
void giveBack(QTableWidget* grid, Kept& kept);

// Shows `text` as the cell's tool tip, or hides the tool tip when it is empty; the answer a
// delegate's helpEvent gives.
bool showCellToolTip(QHelpEvent* event, QAbstractItemView* view, const QModelIndex& index, const QString& text);

} // namespace gridoverlay
