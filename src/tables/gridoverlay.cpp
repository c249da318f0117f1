#include "tables/gridoverlay.h"

#include <QHelpEvent>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QToolTip>

namespace gridoverlay {

Kept take(QTableWidget* g, QAbstractItemDelegate* overlay) {
    if (QWidget* editor = g->indexWidget(g->currentIndex())) {
        QMetaObject::invokeMethod(g, "commitData", Q_ARG(QWidget*, editor));
        QMetaObject::invokeMethod(g, "closeEditor", Q_ARG(QWidget*, editor),
                                  Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint));
    }
    Kept kept{g->itemDelegate(), int(g->editTriggers())};
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setItemDelegate(overlay);
    return kept;
}

void giveBack(QTableWidget* g, Kept& kept) {
    g->setItemDelegate(kept.delegate ? kept.delegate.data() : new QStyledItemDelegate(g));
    g->setEditTriggers(QAbstractItemView::EditTriggers(kept.triggers));
    kept = Kept{};
    g->viewport()->update();
}

bool showCellToolTip(QHelpEvent* event, QAbstractItemView* view, const QModelIndex& index, const QString& text) {
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
        return false;
    }
    QToolTip::showText(event->globalPos(), text, view, view->visualRect(index));
    return true;
}

} // namespace gridoverlay
