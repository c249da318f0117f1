#include "tables/tableeditor.h"

#include "common/messages.h"
#include "common/numtext.h"
#include "tables/editactions.h"
#include "tables/table3dpanel.h"
#include "tables/tablefiles.h"

#include <QAction>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>

using blockops::Block;
using blockops::Op;

namespace {

constexpr int Side = tablecodec::Side;
const Block kWholeTable{0, 0, Side - 1, Side - 1};

QColor mix(const QColor& a, const QColor& b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

// Lambda and MAF corrections: blue below 0, white at 0, red above.
QColor divergingColour(double v) {
    static const QColor low(0x21, 0x66, 0xAC), mid(0xF7, 0xF7, 0xF7), high(0xB2, 0x18, 0x2B);
    const double t = std::clamp(v / 99.0, -1.0, 1.0);
    return t < 0 ? mix(mid, low, -t) : mix(mid, high, t);
}

// Voltages 0..5 V: pale yellow through orange to dark red.
QColor sequentialColour(double v) {
    static const QColor a(0xFF, 0xFF, 0xCC), b(0xFD, 0x8D, 0x3C), c(0x80, 0x00, 0x26);
    const double t = std::clamp(v / 5.0, 0.0, 1.0);
    return t < 0.5 ? mix(a, b, t * 2) : mix(b, c, (t - 0.5) * 2);
}

const QList<EditActions::Item>& menuItems() {
    static const QList<EditActions::Item> items{
        {"actSetValue"},
        {"actAddValue"},
        {"actScale"},
        {""},
        {"actInterpolateH"},
        {"actInterpolateV"},
        {"actInterpolate2D"},
        {"actSmooth"},
        {""},
        {"actCopy"},
        {"actPaste"},
        {""},
        {"actUndo"},
        {"actRedo"},
        {""},
        {"actHeatMap"},
        {"actCompare"},
        {"actCompareTake"},
        {"actCompareEnd"},
    };
    return items;
}

} // namespace

TableEditor::TableEditor(Table3DPanel* panel) : QObject(panel), m_panel(panel) {
    for (TableKind t : {TableKind::Lambda, TableKind::Maf, TableKind::Voltage})
        m_history[int(t)] = new UndoStack([this, t] { return capture(t); },
                                            [this, t](const UndoState& s) { restore(t, s); }, this);

    askValue = [this](ValueQuestion q, double* v) { return ValueDialog::ask(m_panel->window(), q, v); };
    chooseFile = [this](const QString& filter) {
        return QFileDialog::getOpenFileName(m_panel->window(), QString(), QString(), filter);
    };
    showError = [this](const QString& text) {
        if (m_panel->onConversionError) m_panel->onConversionError(text);
    };

    QTableWidget* g = m_panel->ui.sgrid_Table_3D;
    // A click still selects one cell; dragging or Shift with the cursor keys selects a block.
    g->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_actions = new EditActions(g, uitexts::Panel::Table3D, menuItems());
    const struct {
        const char* name;
        std::function<void()> run;
    } runs[] = {
        {"actSetValue", [this] { askAndApply(Op::Set); }},
        {"actAddValue", [this] { askAndApply(Op::Add); }},
        {"actScale", [this] { askAndApply(Op::Scale); }},
        {"actInterpolateH", [this] { apply(Op::InterpolateH); }},
        {"actInterpolateV", [this] { apply(Op::InterpolateV); }},
        {"actInterpolate2D", [this] { apply(Op::Interpolate2D); }},
        {"actSmooth", [this] { apply(Op::Smooth); }},
        {"actCopy", [this] { copy(); }},
        {"actPaste", [this] { paste(); }},
        {"actUndo", [this] { undo(); }},
        {"actRedo", [this] { redo(); }},
        {"actCompare", [this] { compare(); }},
        {"actCompareTake", [this] { takeFileValues(); }},
        {"actCompareEnd", [this] { endCompare(); }},
    };
    for (const auto& r : runs) connect(m_actions->action(r.name), &QAction::triggered, this, r.run);
    QAction* heat = m_actions->action("actHeatMap");
    heat->setCheckable(true);
    connect(heat, &QAction::toggled, this, &TableEditor::setHeatMap);
}

bool TableEditor::isShown(TableKind table) const {
    return !m_panel->shownTable() || *m_panel->shownTable() == table;
}

UndoState TableEditor::capture(TableKind table) const {
    // The Lambda and MAF tables live in their model grids (the table grid adds what was
    // typed but not committed); the voltage table is what its grid shows while shown.
    UndoState s;
    if (table == TableKind::Voltage && isShown(table)) {
        s.texts = m_panel->tableCells();
        return s;
    }
    const ModelGrid& model = m_panel->modelGrid(table);
    for (int r = 1; r <= Side; ++r)
        for (int c = 1; c <= Side; ++c) s.texts << model.cell(c, r);
    return s;
}

void TableEditor::restore(TableKind table, const UndoState& state) {
    if (state.texts.size() != tablecodec::CellCount) return;
    put(table, state.texts, kWholeTable);
}

void TableEditor::put(TableKind table, const QStringList& texts, const Block& cells) {
    const bool shown = isShown(table);
    ModelGrid& model = m_panel->modelGrid(table);
    for (int r = cells.top; r <= cells.bottom; ++r) {
        for (int c = cells.left; c <= cells.right; ++c) {
            const QString& text = texts.at(r * Side + c);
            model.setCell(c + 1, r + 1, text);
            if (shown) m_panel->setCellText(c + 1, r + 1, text);
        }
    }
    if (shown) m_panel->requestRedraw();
    if (m_compare[int(table)]) updateStatus();
}

void TableEditor::record(TableKind table) {
    history(table)->record(QString());
    if (m_compare[int(table)] && isShown(table)) updateStatus();
}

void TableEditor::rebase(TableKind table) { history(table)->rebase(); }

QStringList TableEditor::shownTexts() const { return m_panel->tableCells(); }

Block TableEditor::selectedBlock() const {
    const QTableWidget* g = m_panel->ui.sgrid_Table_3D;
    const QList<QTableWidgetSelectionRange> ranges = g->selectedRanges();
    if (ranges.isEmpty()) {
        const int c = std::max(0, g->currentColumn()), r = std::max(0, g->currentRow());
        return {c, r, c, r};
    }
    Block b{Side, Side, -1, -1};
    for (const QTableWidgetSelectionRange& s : ranges) {
        b.left = std::min(b.left, s.leftColumn());
        b.top = std::min(b.top, s.topRow());
        b.right = std::max(b.right, s.rightColumn());
        b.bottom = std::max(b.bottom, s.bottomRow());
    }
    return b;
}

void TableEditor::error(const QString& text) {
    if (showError) showError(text);
}

bool TableEditor::apply(Op op, double argument) {
    const std::optional<TableKind> table = m_panel->shownTable();
    if (!table) return false;
    const Block block = selectedBlock();
    const blockops::Result res =
        blockops::apply(op, shownTexts(), Side, block, argument, blockops::tableDomain(*table));
    if (!res.ok()) {
        const int c = res.badCell % Side, r = res.badCell / Side;
        m_panel->ui.sgrid_Table_3D->setCurrentCell(r, c);
        error(tablecodec::notANumberMessage(*table, shownTexts().at(res.badCell), msgs().english()));
        return false;
    }
    put(*table, res.texts, block);
    record(*table);
    return true;
}

bool TableEditor::askAndApply(Op op) {
    const ValueQuestion q = op == Op::Set ? ValueQuestion::Set
                            : op == Op::Add ? ValueQuestion::Add
                                            : ValueQuestion::Scale;
    double v = 0;
    if (!m_panel->shownTable() || !askValue || !askValue(q, &v)) return false;
    return apply(op, v);
}

void TableEditor::copy() {
    if (QClipboard* cb = QGuiApplication::clipboard())
        cb->setText(blockops::copyText(shownTexts(), Side, selectedBlock()));
}

bool TableEditor::paste() {
    const QClipboard* cb = QGuiApplication::clipboard();
    return cb && pasteText(cb->text());
}

bool TableEditor::pasteText(const QString& text) {
    const std::optional<TableKind> table = m_panel->shownTable();
    if (!table) return false;
    const Block at = selectedBlock();
    const blockops::PasteResult res = blockops::paste(shownTexts(), Side, at.left, at.top, text,
                                                      blockops::tableDomain(*table));
    if (!res.ok()) {
        error(blockops::pasteMessage(res, msgs().english()));
        return false;
    }
    put(*table, res.texts, res.pasted);
    record(*table);
    return true;
}

void TableEditor::undo() {
    if (const auto t = m_panel->shownTable()) history(*t)->undo();
}

void TableEditor::redo() {
    if (const auto t = m_panel->shownTable()) history(*t)->redo();
}

void TableEditor::repaintGrid() { m_panel->ui.sgrid_Table_3D->viewport()->update(); }

void TableEditor::setHeatMap(bool on) {
    m_heatMap = on;
    QAction* a = m_actions->action("actHeatMap");
    if (a->isChecked() != on) a->setChecked(on);
    repaintGrid();
}

bool TableEditor::compare() {
    const std::optional<TableKind> table = m_panel->shownTable();
    if (!table || !chooseFile) return false;
    const QString name = chooseFile(tablefiles::dialogFilter(*table));
    return !name.isEmpty() && compareWith(name);
}

bool TableEditor::compareWith(const QString& fileName) {
    const std::optional<TableKind> table = m_panel->shownTable();
    if (!table) return false;
    QByteArray bytes;
    QString err;
    if (!tablefiles::readFile(fileName, &bytes, &err, msgs().english())) {
        error(err);
        return false;
    }
    // A file to compare with is checked as an opened one: a foreign file compares nothing.
    const tablefiles::TableFile parsed = tablefiles::parseTable(bytes);
    if (!parsed.ok()) {
        error(tablefiles::tableLineMessage(fileName, parsed, msgs().english()));
        return false;
    }
    m_compare[int(*table)] = parsed.texts;
    m_compareName[int(*table)] = QFileInfo(fileName).fileName();
    updateStatus();
    repaintGrid();
    return true;
}

bool TableEditor::takeFileValues() {
    const std::optional<TableKind> table = m_panel->shownTable();
    if (!table || !m_compare[int(*table)]) return false;
    // As an opened file: the texts go in unchanged, the limits apply at the next refresh.
    put(*table, *m_compare[int(*table)], kWholeTable);
    record(*table);
    repaintGrid();
    return true;
}

void TableEditor::endCompare() {
    if (const auto t = m_panel->shownTable()) m_compare[int(*t)].reset();
    if (showStatus) showStatus(QString());
    repaintGrid();
}

int TableEditor::differingCells() const {
    const std::optional<TableKind> table = m_panel->shownTable();
    if (!table || !m_compare[int(*table)]) return -1;
    const QStringList cells = shownTexts();
    const QStringList& file = *m_compare[int(*table)];
    int n = 0;
    for (int i = 0; i < tablecodec::CellCount; ++i) n += blockops::cellsDiffer(cells.at(i), file.at(i));
    return n;
}

void TableEditor::updateStatus() {
    const std::optional<TableKind> table = m_panel->shownTable();
    if (!table || !m_compare[int(*table)] || !showStatus) return;
    showStatus(blockops::compareStatus(differingCells(), m_compareName[int(*table)], false,
                                       msgs().english()));
}

CellLook TableEditor::look(int row, int column) const {
    CellLook l;
    const std::optional<TableKind> table = m_panel->shownTable();
    if (!table || row < 0 || row >= Side || column < 0 || column >= Side) return l;
    const QString text = m_panel->cellText(column + 1, row + 1);
    if (m_heatMap) {
        double v = 0;
        if (text.trimmed().isEmpty() || parseNumber(text, &v))
            l.background = *table == TableKind::Voltage ? sequentialColour(v) : divergingColour(v);
    }
    if (const auto& file = m_compare[int(*table)]) {
        const QString& f = file->at(row * Side + column);
        if (blockops::cellsDiffer(text, f)) {
            l.outlined = true;
            l.hint = blockops::differenceHint(text, f, msgs().english());
        }
    }
    return l;
}
