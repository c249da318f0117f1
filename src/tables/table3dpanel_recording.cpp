// The table panel's views of a recording: the live operating point on the grid and the
// surface, and the cell statistics over the grid with their context actions.
#include "tables/table3dpanel.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QStyledItemDelegate>
#include <QTableWidgetItem>

#include "common/numtext.h"
#include "tables/cellstatsdelegate.h"
#include "tables/operatingpointframe.h"

namespace {

analysis::Axis headings(const QTableWidget* g, bool horizontal, const analysis::Axis& fallback) {
    analysis::Axis axis{};
    for (int i = 0; i < analysis::Side; ++i) {
        const QTableWidgetItem* item = horizontal ? g->horizontalHeaderItem(i) : g->verticalHeaderItem(i);
        double v = 0;
        if (!item || !parseNumber(item->text(), &v)) return fallback;
        axis[std::size_t(i)] = v;
    }
    return analysis::axisUsable(axis) ? axis : fallback;
}

} // namespace

void Table3DPanel::setUpRecordingViews() {
    QTableWidget* g = ui.sgrid_Table_3D;
    m_frame = new OperatingPointFrame(g);
    m_statsDelegate = new CellStatsDelegate(this);

    actCellStats = new QAction(QStringLiteral("Статистика ячеек по записи"), this);
    actCellStats->setObjectName(QStringLiteral("actCellStats"));
    actCellStats->setCheckable(true);

    auto* params = new QMenu(this);
    params->setObjectName(QStringLiteral("mnuCellStatsParam"));
    cellStatsParams = new QActionGroup(this);
    cellStatsParams->setExclusive(true);
    for (const analysis::StatParameter& p : analysis::statParameters()) {
        QAction* a = params->addAction(QString::fromLatin1(p.code));
        a->setObjectName(QStringLiteral("actCellStats_") + QString::fromLatin1(p.code));
        a->setCheckable(true);
        a->setData(p.column);
        a->setChecked(p.column == analysis::column::L1);
        cellStatsParams->addAction(a);
    }
    actCellStatsParam = new QAction(QStringLiteral("Параметр статистики"), this);
    actCellStatsParam->setObjectName(QStringLiteral("actCellStatsParam"));
    actCellStatsParam->setMenu(params);

    actCellStatsPage = new QAction(QStringLiteral("Только страница графика"), this);
    actCellStatsPage->setObjectName(QStringLiteral("actCellStatsPage"));
    actCellStatsPage->setCheckable(true);

    actCellStatsDiff = new QAction(QStringLiteral("Разность с записью сравнения"), this);
    actCellStatsDiff->setObjectName(QStringLiteral("actCellStatsDiff"));
    actCellStatsDiff->setCheckable(true);
    actCellStatsDiff->setEnabled(false);

    auto* separator = new QAction(this);
    separator->setSeparator(true);
    g->setContextMenuPolicy(Qt::ActionsContextMenu);
    g->addActions({separator, actCellStats, actCellStatsParam, actCellStatsPage, actCellStatsDiff});

    connect(actCellStats, &QAction::toggled, this, [this](bool on) {
        if (on)
            emit cellStatisticsWanted();
        else
            hideCellStatistics();
    });
    auto again = [this] {
        if (m_statsShown) emit cellStatisticsWanted();
    };
    connect(cellStatsParams, &QActionGroup::triggered, this, again);
    connect(actCellStatsPage, &QAction::toggled, this, again);
    // The difference asked for while the statistics are hidden shows them.
    connect(actCellStatsDiff, &QAction::toggled, this, [this, again](bool on) {
        if (on && !m_statsShown)
            actCellStats->setChecked(true);
        else
            again();
    });
    // The headings are written after the button's state changes: both views follow the
    // new load axis once they are.
    connect(ui.atb_KorrTab_VV, &QAbstractButton::toggled, this, [this, again] {
        placeOperatingPoint();
        again();
    }, Qt::QueuedConnection);
}

analysis::Axis Table3DPanel::speedBreakpoints() const {
    return headings(ui.sgrid_Table_3D, true, analysis::speedAxis());
}

analysis::Axis Table3DPanel::loadBreakpoints() const {
    return headings(ui.sgrid_Table_3D, false, analysis::loadAxis(loadAxisIsMafVoltage()));
}

// --- the operating point ------------------------------------------------------------

void Table3DPanel::addOperatingPoint(double speed, double mafVoltage, double injectionTime) {
    m_trail.push_back({speed, mafVoltage, injectionTime});
    while (int(m_trail.size()) > TrailLength) m_trail.pop_front();
    placeOperatingPoint();
}

void Table3DPanel::clearOperatingPoint() {
    m_trail.clear();
    placeOperatingPoint();
}

std::optional<QPoint> Table3DPanel::operatingCell() const { return m_frame->cell(); }

void Table3DPanel::placeOperatingPoint() {
    const analysis::Axis speed = speedBreakpoints();
    const analysis::Axis load = loadBreakpoints();
    const bool maf = loadAxisIsMafVoltage();
    auto loadOf = [maf](const RecordedPoint& p) { return maf ? p.mafVoltage : p.injectionTime; };

    std::optional<QPoint> cell;
    if (!m_trail.empty()) {
        const int c = analysis::nearestIndex(speed, m_trail.back().speed);
        const int r = analysis::nearestIndex(load, loadOf(m_trail.back()));
        if (c >= 0 && r >= 0) cell = QPoint(c + 1, r + 1);
    }
    m_frame->setCell(cell);

    // The surface: each sample at its position between the breakpoints (1..8 as the grid
    // counts), the newest last; samples without a position are left out.
    QList<QPointF> trail;
    trail.reserve(int(m_trail.size()));
    for (const RecordedPoint& p : m_trail) {
        const double x = analysis::fractionalIndex(speed, p.speed);
        const double y = analysis::fractionalIndex(load, loadOf(p));
        if (std::isfinite(x) && std::isfinite(y)) trail << QPointF(x + 1, y + 1);
    }
    ui.Panel_Space3D->setOperatingTrail(trail);
}

// --- cell statistics ----------------------------------------------------------------

void Table3DPanel::showCellStatistics(const analysis::CellGrid& grid, const analysis::CellGrid* reference) {
    QTableWidget* g = ui.sgrid_Table_3D;
    if (!m_statsShown) {
        m_kept = gridoverlay::take(g, m_statsDelegate);
        m_statsShown = true;
    }
    m_statsDelegate->setGrid(grid, reference);
    if (!actCellStats->isChecked()) {
        const QSignalBlocker quiet(actCellStats);
        actCellStats->setChecked(true);
    }
    g->viewport()->update();
}

void Table3DPanel::hideCellStatistics() {
    if (actCellStats->isChecked()) {
        const QSignalBlocker quiet(actCellStats);
        actCellStats->setChecked(false);
    }
    if (!m_statsShown) return;
    QTableWidget* g = ui.sgrid_Table_3D;
    m_statsShown = false;
    gridoverlay::giveBack(g, m_kept);
}

QString Table3DPanel::cellStatisticsToolTip(int c, int r) const {
    if (!m_statsShown || c < 1 || c > analysis::Side || r < 1 || r > analysis::Side) return {};
    return m_statsDelegate->toolTip(c, r);
}

int Table3DPanel::statisticsColumn() const {
    const QAction* a = cellStatsParams->checkedAction();
    return a ? a->data().toInt() : analysis::column::L1;
}

bool Table3DPanel::statisticsOfPageOnly() const { return actCellStatsPage->isChecked(); }

bool Table3DPanel::statisticsAsDifference() const { return actCellStatsDiff->isChecked(); }

void Table3DPanel::setCellDifferenceAvailable(bool available) {
    if (available == actCellStatsDiff->isEnabled()) return;
    actCellStatsDiff->setEnabled(available);
    // Without a comparison the difference goes; the statistics shown stay, as plain ones.
    if (!available && actCellStatsDiff->isChecked()) actCellStatsDiff->setChecked(false);
}
