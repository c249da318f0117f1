#include "tables/cellstatsdelegate.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include "common/messages.h"
#include "common/numtext.h"

CellStatsDelegate::CellStatsDelegate(QObject* parent)
    : QStyledItemDelegate(parent), m_grid(analysis::speedAxis(), analysis::mafVoltageAxis()) {}

void CellStatsDelegate::setGrid(const analysis::CellGrid& grid) {
    m_grid = grid;
    bool any = false;
    for (const analysis::CellStats& c : m_grid.cells()) {
        if (c.count <= 0) continue;
        const double m = c.mean();
        if (!any || m < m_low) m_low = m;
        if (!any || m > m_high) m_high = m;
        any = true;
    }
}

QColor CellStatsDelegate::cellColour(int c, int r) const {
    const analysis::CellStats& s = m_grid.cell(c, r);
    if (s.count <= 0) return {};
    const double span = m_high - m_low;
    const double t = span > 0 ? std::clamp((s.mean() - m_low) / span, 0.0, 1.0) : 0.5;
    // Hue from blue (lowest mean) over green and yellow to red (highest).
    return QColor::fromHsvF(float((1 - t) * 240.0 / 360.0), 0.55f, 1.0f);
}

QString CellStatsDelegate::toolTip(int c, int r) const {
    return analysis::cellToolTip(m_grid.cell(c, r), msgs().english());
}

void CellStatsDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const int c = index.column() + 1, r = index.row() + 1;
    if (c < 1 || c > analysis::Side || r < 1 || r > analysis::Side) return;
    const analysis::CellStats& s = m_grid.cell(c, r);
    painter->save();
    const QRect rect = option.rect;
    if (s.count <= 0) {
        painter->fillRect(rect, QColor(245, 245, 245));
        painter->restore();
        return;
    }
    painter->fillRect(rect, cellColour(c, r));
    painter->setPen(Qt::black);
    QFont f = option.font;
    painter->setFont(f);
    painter->drawText(rect.adjusted(1, 0, -1, -4), Qt::AlignCenter, analysis::meanText(s.mean()));
    QFont small = f;
    small.setPointSizeF(std::max(5.0, f.pointSizeF() * 0.65));
    painter->setFont(small);
    painter->setPen(QColor(40, 40, 40));
    painter->drawText(rect.adjusted(1, 0, -2, 0), Qt::AlignRight | Qt::AlignBottom, QString::number(s.count));
    painter->restore();
}

bool CellStatsDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem&,
                                  const QModelIndex& index) {
    if (!event || event->type() != QEvent::ToolTip || !index.isValid()) return false;
    const QString text = toolTip(index.column() + 1, index.row() + 1);
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
        return false;
    }
    QToolTip::showText(event->globalPos(), text, view, view->visualRect(index));
    return true;
}
