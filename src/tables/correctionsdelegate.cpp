#include "tables/correctionsdelegate.h"
#include "tables/gridoverlay.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <cstdlib>

#include "common/messages.h"

CorrectionsDelegate::CorrectionsDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

void CorrectionsDelegate::setResult(const analysis::CorrectionResult& result, const analysis::CellMask& locked) {
    m_result = result;
    m_locked = locked;
    m_strongest = 0;
    for (const analysis::CellProposal& p : m_result.cells) m_strongest = std::max(m_strongest, std::abs(p.change));
}

QColor CorrectionsDelegate::cellColour(int c, int r) const {
    const analysis::CellProposal& p = m_result.cell(c, r);
    if (p.samples <= 0) return {};
    if (!p.proposed()) return QColor(225, 225, 225);
    // Saturation grows with the size of the change; a small change still shows its side.
    const double t = m_strongest > 0 ? double(std::abs(p.change)) / m_strongest : 0;
    const float s = float(0.2 + 0.6 * t);
    return QColor::fromHsvF(p.change > 0 ? 0.0f : 220.0f / 360.0f, s, 1.0f);
}

QString CorrectionsDelegate::toolTip(int c, int r) const {
    return analysis::proposalToolTip(m_result.cell(c, r), m_result.sensor, msgs().english());
}

void CorrectionsDelegate::hatch(QPainter* painter, const QRect& rect) {
    painter->save();
    painter->setPen(Qt::NoPen);
    painter->setBrush(QBrush(QColor(90, 90, 90, 150), Qt::BDiagPattern));
    painter->drawRect(rect);
    painter->restore();
}

void CorrectionsDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const int c = index.column() + 1, r = index.row() + 1;
    if (c < 1 || c > analysis::Side || r < 1 || r > analysis::Side) return;
    const analysis::CellProposal& p = m_result.cell(c, r);
    const QRect rect = option.rect;
    painter->save();
    const QColor colour = cellColour(c, r);
    painter->fillRect(rect, colour.isValid() ? colour : QColor(245, 245, 245));
    if (p.proposed()) {
        painter->setPen(Qt::black);
        painter->setFont(option.font);
        painter->drawText(rect, Qt::AlignCenter, analysis::changeText(p.change));
    }
    painter->restore();
    if (m_locked.test(std::size_t(analysis::cellIndex(c, r)))) hatch(painter, rect);
}

bool CorrectionsDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem&,
                                    const QModelIndex& index) {
    if (!event || event->type() != QEvent::ToolTip || !index.isValid()) return false;
    return gridoverlay::showCellToolTip(event, view, index, toolTip(index.column() + 1, index.row() + 1));
}
