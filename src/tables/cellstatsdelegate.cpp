#include "tables/cellstatsdelegate.h"
#include "tables/gridoverlay.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include "analysis/cellcompare.h"
#include "common/messages.h"
#include "common/numtext.h"

CellStatsDelegate::CellStatsDelegate(QObject* parent)
    : QStyledItemDelegate(parent), m_grid(analysis::speedAxis(), analysis::mafVoltageAxis()) {}

void CellStatsDelegate::setGrid(const analysis::CellGrid& grid, const analysis::CellGrid* reference) {
    m_grid = grid;
    m_reference.reset();
    m_largest = 0;
    if (reference) {
        m_reference = *reference;
        for (int r = 1; r <= analysis::Side; ++r)
            for (int c = 1; c <= analysis::Side; ++c)
                if (const auto d = analysis::meanDifference(m_grid.cell(c, r), m_reference->cell(c, r)))
                    m_largest = std::max(m_largest, std::abs(*d));
    }
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
    if (m_reference) {
        const auto d = analysis::meanDifference(m_grid.cell(c, r), m_reference->cell(c, r));
        if (!d) return {};
        // White at no difference, full blue or red at the largest one of the grid.
        const double t = m_largest > 0 ? std::clamp(*d / m_largest, -1.0, 1.0) : 0;
        const int fade = int(std::lround(255 * (1 - std::abs(t) * 0.75)));
        return t >= 0 ? QColor(255, fade, fade) : QColor(fade, fade, 255);
    }
    const analysis::CellStats& s = m_grid.cell(c, r);
    if (s.count <= 0) return {};
    const double span = m_high - m_low;
    const double t = span > 0 ? std::clamp((s.mean() - m_low) / span, 0.0, 1.0) : 0.5;
    // Hue from blue (lowest mean) over green and yellow to red (highest).
    return QColor::fromHsvF(float((1 - t) * 240.0 / 360.0), 0.55f, 1.0f);
}

QString CellStatsDelegate::toolTip(int c, int r) const {
    if (m_reference) return analysis::differenceToolTip(m_grid.cell(c, r), m_reference->cell(c, r), msgs().english());
    return analysis::cellToolTip(m_grid.cell(c, r), msgs().english());
}

void CellStatsDelegate::paintDifference(QPainter* painter, const QStyleOptionViewItem& option, int c, int r) const {
    const analysis::CellStats& main = m_grid.cell(c, r);
    const analysis::CellStats& ref = m_reference->cell(c, r);
    const QRect rect = option.rect;
    const auto d = analysis::meanDifference(main, ref);
    painter->fillRect(rect, d ? cellColour(c, r) : QColor(245, 245, 245));
    QFont f = option.font;
    if (d) {
        painter->setPen(Qt::black);
        painter->setFont(f);
        painter->drawText(rect.adjusted(1, 0, -1, -4), Qt::AlignCenter, analysis::differenceText(*d));
    }
    if (main.count <= 0 && ref.count <= 0) return;
    // Both counts small in the corner, the main recording's first.
    QFont small = f;
    small.setPointSizeF(std::max(5.0, f.pointSizeF() * 0.65));
    painter->setFont(small);
    painter->setPen(QColor(40, 40, 40));
    painter->drawText(rect.adjusted(1, 0, -2, 0), Qt::AlignRight | Qt::AlignBottom,
                      QStringLiteral("%1/%2").arg(main.count).arg(ref.count));
}

void CellStatsDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const int c = index.column() + 1, r = index.row() + 1;
    if (c < 1 || c > analysis::Side || r < 1 || r > analysis::Side) return;
    if (m_reference) {
        painter->save();
        paintDifference(painter, option, c, r);
        painter->restore();
        return;
    }
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
    return gridoverlay::showCellToolTip(event, view, index, toolTip(index.column() + 1, index.row() + 1));
}
