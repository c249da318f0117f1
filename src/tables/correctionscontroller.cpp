#include "tables/correctionscontroller.h"

#include <QAction>
#include <QCheckBox>
#include <QTableWidget>
#include <QTimer>

#include <algorithm>

#include "common/messages.h"
#include "tables/correctionsdelegate.h"
#include "tables/grideditor.h"
#include "tables/suggestwindow.h"
#include "tables/table3dpanel.h"

using analysis::CellMask;

CorrectionsController::CorrectionsController(Table3DPanel* panel)
    : QObject(panel), m_panel(panel), m_window(new SuggestWindow(panel)), m_delegate(new CorrectionsDelegate(this)),
      m_soon(new QTimer(this)) {
    setObjectName(QStringLiteral("Corrections"));
    m_window->hide();
    m_window->showSettings(m_contents.settings);

    actSuggest = new QAction(QStringLiteral("Поправки по записи…"), panel);
    actSuggest->setObjectName(QStringLiteral("actSuggest"));
    actApplySuggestions = new QAction(QStringLiteral("Применить поправки"), panel);
    actApplySuggestions->setObjectName(QStringLiteral("actApplySuggestions"));
    actLockCells = new QAction(QStringLiteral("Закрепить ячейки"), panel);
    actLockCells->setObjectName(QStringLiteral("actLockCells"));
    auto* separator = new QAction(panel);
    separator->setSeparator(true);
    panel->ui.sgrid_Table_3D->addActions({separator, actSuggest, actApplySuggestions, actLockCells});

    connect(actSuggest, &QAction::triggered, this, &CorrectionsController::startPreview);
    connect(actApplySuggestions, &QAction::triggered, this, &CorrectionsController::applyProposals);
    connect(actLockCells, &QAction::triggered, this, &CorrectionsController::toggleLocks);
    connect(m_window, &SuggestWindow::applyClicked, this, &CorrectionsController::applyProposals);
    connect(m_window, &SuggestWindow::settingsChanged, this, &CorrectionsController::settingsEdited);
    connect(m_window, &SuggestWindow::pageOnlyChanged, this, &CorrectionsController::recompute);

    m_soon->setSingleShot(true);
    m_soon->setInterval(250);
    connect(m_soon, &QTimer::timeout, this, [this] {
        if (m_previewShown) recompute();
    });
    // A refresh may show another table: the preview belongs to the MAF table only.
    connect(panel, &Table3DPanel::redrawRequested, this, [this] {
        if (m_previewShown && m_panel->shownTable() != TableKind::Maf) endPreview();
        updateActions();
    });

    // Locked cells are hatched on the MAF table whether the preview is shown or not.
    GridCellDelegate* cells = panel->cellDelegate();
    cells->look = [this, base = cells->look](int row, int column) {
        CellLook l = base ? base(row, column) : CellLook{};
        if (m_panel->shownTable() == TableKind::Maf && row >= 0 && row < analysis::Side && column >= 0 &&
            column < analysis::Side)
            l.hatched = locks().test(std::size_t(analysis::cellIndex(column + 1, row + 1)));
        return l;
    };
    updateActions();
}

void CorrectionsController::setFilePath(const QString& path) { m_path = path; }

void CorrectionsController::load() {
    if (m_path.isEmpty()) return;
    QString error;
    correctionsfile::Contents read;
    if (correctionsfile::read(m_path, &read, &error, msgs().english()) == correctionsfile::ReadStatus::Read)
        m_contents = read;
    else if (!error.isEmpty() && showError)
        showError(error);
    m_window->showSettings(m_contents.settings);
    m_panel->ui.sgrid_Table_3D->viewport()->update();
}

void CorrectionsController::save() {
    if (m_path.isEmpty()) return;
    QString error;
    if (!correctionsfile::write(m_path, m_contents, &error, msgs().english()) && showError) showError(error);
}

void CorrectionsController::updateActions() {
    const bool maf = m_panel->shownTable() == TableKind::Maf;
    actSuggest->setEnabled(maf);
    actApplySuggestions->setEnabled(maf && m_previewShown);
    // The module may identify itself later: without one, locking says why it cannot.
    actLockCells->setEnabled(maf);
}

// --- the preview --------------------------------------------------------------------

bool CorrectionsController::startPreview() {
    if (m_panel->shownTable() != TableKind::Maf) return false;
    QTableWidget* g = m_panel->ui.sgrid_Table_3D;
    if (!m_previewShown) {
        // The statistics use the same place on the grid: they give way and wait.
        m_panel->hideCellStatistics();
        m_panel->actCellStats->setEnabled(false);
        m_kept = gridoverlay::take(g, m_delegate);
        m_previewShown = true;
    }
    recompute();
    if (!m_window->isVisible() && !m_placed) {
        // First shown beside the table grid, where it covers neither the grid nor the surface's middle.
        m_placed = true;
        m_window->adjustSize();
        const QWidget* side = m_panel->ui.Panel_Table3D;
        const QPoint at = side->mapToGlobal(QPoint(0, 0));
        m_window->move(std::max(0, at.x() - m_window->width() - 8), at.y());
    }
    m_window->show();
    m_window->raise();
    updateActions();
    return true;
}

void CorrectionsController::endPreview() {
    m_soon->stop();
    if (!m_previewShown) return;
    QTableWidget* g = m_panel->ui.sgrid_Table_3D;
    m_previewShown = false;
    gridoverlay::giveBack(g, m_kept);
    m_panel->actCellStats->setEnabled(true);
    updateActions();
}

void CorrectionsController::recordingChanged() {
    if (m_previewShown && !m_soon->isActive()) m_soon->start();
}

analysis::CorrectionResult CorrectionsController::compute() const {
    const CorrectionSource src = source ? source(m_window->cbSuggestPage->isChecked()) : CorrectionSource{};
    if (!src.value || src.rows.first > src.rows.last) return {};
    analysis::CorrectionInput in;
    in.speed = m_panel->speedBreakpoints();
    in.load = m_panel->loadBreakpoints();
    in.mafVoltageLoad = m_panel->loadAxisIsMafVoltage();
    in.sensor = src.sensor;
    in.readingColumn = src.readingColumn;
    in.intervalMs = 0; // the recording's own interval
    in.rows = src.rows;
    return analysis::proposeCorrections(in, m_contents.settings, locks(), src.value);
}

void CorrectionsController::recompute() {
    m_soon->stop();
    m_result = compute();
    m_delegate->setResult(m_result, locks());
    m_window->showResult(m_result);
    m_window->showNote(m_result.paired > 0 ? QString()
                       : msgs().english() ? QStringLiteral("No recording to propose from.")
                                          : QStringLiteral("Нет записи для поправок."));
    m_panel->ui.sgrid_Table_3D->viewport()->update();
}

QString CorrectionsController::toolTip(int c, int r) const {
    if (!m_previewShown || c < 1 || c > analysis::Side || r < 1 || r > analysis::Side) return {};
    return m_delegate->toolTip(c, r);
}

bool CorrectionsController::setSettings(const analysis::CorrectionSettings& settings) {
    if (!analysis::settingsFault(settings).isEmpty()) return false;
    m_window->showSettings(settings);
    settingsEdited();
    return true;
}

void CorrectionsController::settingsEdited() {
    m_contents.settings = m_window->settings();
    save();
    if (m_previewShown) recompute();
}

// --- apply and locks ----------------------------------------------------------------

bool CorrectionsController::applyProposals() {
    if (!m_previewShown || m_panel->shownTable() != TableKind::Maf) return false;
    // What was typed and not committed becomes a step of its own, as Enter would make it;
    // a cell that is not a number stops here, reported, with nothing changed.
    if (!m_panel->commitEdits()) return false;
    recompute();
    const analysis::CorrectionResult result = m_result;
    const CellMask locked = locks();
    endPreview();
    bool changed = false;
    for (int r = 1; r <= analysis::Side; ++r) {
        for (int c = 1; c <= analysis::Side; ++c) {
            const analysis::CellProposal& p = result.cell(c, r);
            if (!p.proposed() || locked.test(std::size_t(analysis::cellIndex(c, r)))) continue;
            const int old = m_panel->cellText(c, r).toInt();
            const int now = std::clamp(old + p.change, -analysis::TableLimit, analysis::TableLimit);
            QString text;
            if (!tablecodec::normaliseWhole(QString::number(now), &text)) continue;
            m_panel->setCellText(c, r, text);
            changed = changed || now != old;
        }
    }
    // One commit: one undo step, the cells normalised as typed ones are.
    return m_panel->commitEdits() && changed;
}

CellMask CorrectionsController::locks() const {
    const QString id = moduleId ? moduleId() : QString();
    return id.isEmpty() ? CellMask{} : m_contents.locks.value(id);
}

void CorrectionsController::setLocks(const CellMask& mask) {
    const QString id = moduleId ? moduleId() : QString();
    if (id.isEmpty()) return;
    if (mask.none())
        m_contents.locks.remove(id);
    else
        m_contents.locks.insert(id, mask);
    save();
    if (m_previewShown) recompute();
    m_panel->ui.sgrid_Table_3D->viewport()->update();
}

bool CorrectionsController::toggleLocks() {
    if (m_panel->shownTable() != TableKind::Maf) return false;
    if (!moduleId || moduleId().isEmpty()) {
        if (showError)
            showError(msgs().english() ? QStringLiteral("Cells are locked for a module: connect it first.")
                                       : QStringLiteral("Ячейки закрепляются для модуля: сначала подключите его."));
        return false;
    }
    const blockops::Block b = m_panel->editor()->selectedBlock();
    CellMask mask = locks();
    bool all = true;
    for (int r = b.top; r <= b.bottom; ++r)
        for (int c = b.left; c <= b.right; ++c) all = all && mask.test(std::size_t(analysis::cellIndex(c + 1, r + 1)));
    for (int r = b.top; r <= b.bottom; ++r)
        for (int c = b.left; c <= b.right; ++c) mask.set(std::size_t(analysis::cellIndex(c + 1, r + 1)), !all);
    setLocks(mask);
    return true;
}
