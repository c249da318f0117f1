#include "tables/gridcelldelegate.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QToolTip>

#include "tables/correctionsdelegate.h"

GridCellDelegate::GridCellDelegate(std::function<bool(int key)> handlesKey,
                                   std::function<void(int key)> onKey, QObject* parent)
    : QStyledItemDelegate(parent), m_handlesKey(std::move(handlesKey)), m_onKey(std::move(onKey)) {}

bool GridCellDelegate::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (m_handlesKey && m_handlesKey(key)) {
            if (auto* editor = qobject_cast<QWidget*>(watched)) {
                emit commitData(editor);
                emit closeEditor(editor, QAbstractItemDelegate::NoHint);
            }
            if (m_onKey) m_onKey(key);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(watched, event);
}

QColor GridCellDelegate::textColourOn(const QColor& background) {
    // Relative luminance with the usual weights; the threshold keeps mid tones black.
    const double y = 0.2126 * background.redF() + 0.7152 * background.greenF() +
                     0.0722 * background.blueF();
    return y < 0.45 ? QColor(Qt::white) : QColor(Qt::black);
}

void GridCellDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (!look) return;
    const CellLook l = look(index.row(), index.column());
    if (!l.background.isValid()) return;
    option->backgroundBrush = l.background;
    const QColor text = textColourOn(l.background);
    option->palette.setColor(QPalette::Text, text);
    option->palette.setColor(QPalette::WindowText, text);
}

void GridCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const CellLook l = look ? look(index.row(), index.column()) : CellLook{};
    if (l.background.isValid() && !(option.state & QStyle::State_Selected))
        painter->fillRect(option.rect, l.background);
    QStyledItemDelegate::paint(painter, option, index);
    if (l.outlined) {
        painter->save();
        painter->setPen(QPen(QColor(0xC0, 0x00, 0xC0), 2));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option.rect.adjusted(1, 1, -1, -1));
        painter->restore();
    }
    if (l.hatched) CorrectionsDelegate::hatch(painter, option.rect);
}

bool GridCellDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                 const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event && event->type() == QEvent::ToolTip && look && index.isValid()) {
        const CellLook l = look(index.row(), index.column());
        if (!l.hint.isEmpty()) {
            QToolTip::showText(event->globalPos(), l.hint, view);
            return true;
        }
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}
