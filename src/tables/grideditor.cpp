#include "tables/grideditor.h"

#include "common/messages.h"
#include "common/numtext.h"
#include "tables/curvecodec.h"
#include "tables/tablecodec.h"
#include "tables/tablefiles.h"

#include <QAction>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTableWidget>

#include <algorithm>

using blockops::Block;
using blockops::Op;

namespace {

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

// The heat map's colour of a value of a table of the kind; none for a curve.
QColor heatColour(TableKind kind, double v) {
    switch (kind) {
    case TableKind::Lambda:
    case TableKind::Maf:
        return divergingColour(v);
    case TableKind::Voltage:
        return sequentialColour(v);
    default:
        return {};
    }
}

blockops::Domain domainOf(TableKind kind) {
    return isCurve(kind) ? blockops::curveDomain() : blockops::tableDomain(kind);
}

QString notANumber(TableKind kind, int index, const QString& text) {
    return isCurve(kind) ? curvecodec::notANumberMessage(index + 1, text, msgs().english())
                         : tablecodec::notANumberMessage(kind, text, msgs().english());
}

} // namespace

GridEditor::GridEditor(QWidget* panel, GridAdapter* adapter, uitexts::Panel textsOf,
                       const QList<EditActions::Item>& menu)
    : QObject(panel), m_panel(panel), m_grid(adapter) {
    const int tables = m_grid->tableCount();
    m_compare.resize(std::size_t(tables));
    for (int t = 0; t < tables; ++t)
        m_undo.push_back(new UndoStack([this, t] { return m_grid->capture(t); },
                                       [this, t](const UndoState& s) {
                                           m_grid->restore(t, s);
                                           // The comparison's count follows every step back and forth.
                                           if (m_compare[std::size_t(t)]) updateStatus();
                                       },
                                       this));

    askValue = [this](ValueQuestion q, double* v) { return ValueDialog::ask(m_panel->window(), q, v); };
    chooseFile = [this](TableKind kind) {
        return QFileDialog::getOpenFileName(m_panel->window(), QString(), QString(), tablefiles::dialogFilter(kind));
    };

    QTableWidget* g = m_grid->grid();
    // A click still selects one cell; dragging or Shift with the cursor keys selects a block.
    g->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_actions = new EditActions(g, textsOf, menu);
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
    // A grid's menu offers what suits its tables (a curve has no horizontal steps).
    for (const auto& r : runs)
        if (QAction* a = m_actions->action(r.name)) connect(a, &QAction::triggered, this, r.run);
    if (QAction* heat = m_actions->action("actHeatMap")) {
        heat->setCheckable(true);
        connect(heat, &QAction::toggled, this, &GridEditor::setHeatMap);
    }
}

Block GridEditor::whole() const { return {0, 0, m_grid->width() - 1, m_grid->height() - 1}; }

QStringList GridEditor::texts() const {
    QStringList t;
    const int n = m_grid->width() * m_grid->height();
    t.reserve(n);
    for (int i = 0; i < n; ++i) t << m_grid->cellText(i);
    return t;
}

void GridEditor::put(int table, const QStringList& texts, const Block& cells) {
    m_grid->put(table, texts, cells);
    if (m_compare[std::size_t(table)]) updateStatus();
}

void GridEditor::record(int table) {
    undoStack(table)->record(QString());
    const std::optional<int> shown = m_grid->shown();
    if (m_compare[std::size_t(table)] && (!shown || *shown == table)) updateStatus();
}

void GridEditor::rebase(int table) { undoStack(table)->rebase(); }

Block GridEditor::selectedBlock() const {
    const QTableWidget* g = m_grid->grid();
    const int first = m_grid->firstColumn(), width = m_grid->width(), height = m_grid->height();
    const auto column = [&](int c) { return std::clamp(c - first, 0, width - 1); };
    const auto row = [&](int r) { return std::clamp(r, 0, height - 1); };
    const QList<QTableWidgetSelectionRange> ranges = g->selectedRanges();
    if (ranges.isEmpty()) {
        const int c = column(g->currentColumn()), r = row(g->currentRow());
        return {c, r, c, r};
    }
    Block b{width, height, -1, -1};
    for (const QTableWidgetSelectionRange& s : ranges) {
        b.left = std::min(b.left, s.leftColumn());
        b.top = std::min(b.top, s.topRow());
        b.right = std::max(b.right, s.rightColumn());
        b.bottom = std::max(b.bottom, s.bottomRow());
    }
    return {column(b.left), row(b.top), column(b.right), row(b.bottom)};
}

void GridEditor::error(const QString& text) {
    if (showError) showError(text);
}

bool GridEditor::apply(Op op, double argument) {
    const std::optional<int> table = m_grid->shown();
    if (!table) return false;
    const TableKind kind = m_grid->kind(*table);
    const Block block = selectedBlock();
    const QStringList before = texts();
    const int width = m_grid->width();
    const blockops::Result res = blockops::apply(op, before, width, block, argument, domainOf(kind));
    if (!res.ok()) {
        m_grid->grid()->setCurrentCell(res.badCell / width, res.badCell % width + m_grid->firstColumn());
        error(notANumber(kind, res.badCell, before.at(res.badCell)));
        return false;
    }
    put(*table, res.texts, block);
    record(*table);
    return true;
}

bool GridEditor::askAndApply(Op op) {
    const ValueQuestion q = op == Op::Set ? ValueQuestion::Set
                            : op == Op::Add ? ValueQuestion::Add
                                            : ValueQuestion::Scale;
    double v = 0;
    if (!m_grid->shown() || !askValue || !askValue(q, &v)) return false;
    return apply(op, v);
}

void GridEditor::copy() {
    if (QClipboard* cb = QGuiApplication::clipboard())
        cb->setText(blockops::copyText(texts(), m_grid->width(), selectedBlock()));
}

bool GridEditor::paste() {
    const QClipboard* cb = QGuiApplication::clipboard();
    return cb && pasteText(cb->text());
}

bool GridEditor::pasteText(const QString& text) {
    const std::optional<int> table = m_grid->shown();
    if (!table) return false;
    const Block at = selectedBlock();
    const blockops::PasteResult res =
        blockops::paste(texts(), m_grid->width(), at.left, at.top, text, domainOf(m_grid->kind(*table)));
    if (!res.ok()) {
        error(blockops::pasteMessage(res, msgs().english()));
        return false;
    }
    put(*table, res.texts, res.pasted);
    record(*table);
    return true;
}

void GridEditor::undo() {
    if (const auto t = m_grid->shown()) undoStack(*t)->undo();
}

void GridEditor::redo() {
    if (const auto t = m_grid->shown()) undoStack(*t)->redo();
}

void GridEditor::repaintGrid() { m_grid->grid()->viewport()->update(); }

void GridEditor::setHeatMap(bool on) {
    m_heatMap = on;
    QAction* a = m_actions->action("actHeatMap");
    if (a && a->isChecked() != on) a->setChecked(on);
    repaintGrid();
}

bool GridEditor::compare() {
    const std::optional<int> table = m_grid->shown();
    if (!table || !chooseFile) return false;
    const QString name = chooseFile(m_grid->kind(*table));
    return !name.isEmpty() && compareWith(name);
}

bool GridEditor::compareWith(const QString& fileName) {
    const std::optional<int> table = m_grid->shown();
    if (!table) return false;
    // A file to compare with is checked as an opened one: a foreign file compares nothing.
    tablefiles::Loaded file = tablefiles::load(m_grid->kind(*table), fileName, msgs().english());
    if (!file.ok()) {
        error(file.error);
        return false;
    }
    m_compare[std::size_t(*table)] = Comparison{std::move(file.texts), std::move(file.values),
                                                QFileInfo(fileName).fileName()};
    updateStatus();
    repaintGrid();
    return true;
}

bool GridEditor::takeFileValues() {
    const std::optional<int> table = m_grid->shown();
    if (!table || !m_compare[std::size_t(*table)]) return false;
    // As an opened file: the texts go in unchanged, a table's limits apply at its next refresh.
    const Comparison& file = *m_compare[std::size_t(*table)];
    m_grid->takeFile(*table, file.texts, file.values);
    record(*table);
    repaintGrid();
    return true;
}

void GridEditor::endCompare() {
    if (const auto t = m_grid->shown()) m_compare[std::size_t(*t)].reset();
    if (showStatus) showStatus(QString());
    repaintGrid();
}

int GridEditor::differingCells() const {
    const std::optional<int> table = m_grid->shown();
    if (!table || !m_compare[std::size_t(*table)]) return -1;
    const QStringList& file = m_compare[std::size_t(*table)]->texts;
    int n = 0;
    for (int i = 0; i < file.size(); ++i) n += blockops::cellsDiffer(m_grid->cellText(i), file.at(i));
    return n;
}

void GridEditor::updateStatus() {
    const std::optional<int> table = m_grid->shown();
    if (!table || !m_compare[std::size_t(*table)] || !showStatus) return;
    showStatus(blockops::compareStatus(differingCells(), m_compare[std::size_t(*table)]->fileName,
                                       isCurve(m_grid->kind(*table)), msgs().english()));
}

CellLook GridEditor::look(int row, int column) const {
    CellLook l;
    const std::optional<int> table = m_grid->shown();
    const int c = column - m_grid->firstColumn();
    if (!table || row < 0 || row >= m_grid->height() || c < 0 || c >= m_grid->width()) return l;
    const int index = row * m_grid->width() + c;
    const QString text = m_grid->cellText(index);
    if (m_heatMap) {
        double v = 0;
        if (text.trimmed().isEmpty() || parseNumber(text, &v)) l.background = heatColour(m_grid->kind(*table), v);
    }
    if (const auto& file = m_compare[std::size_t(*table)]) {
        const QString& f = file->texts.at(index);
        if (blockops::cellsDiffer(text, f)) {
            l.outlined = true;
            l.hint = blockops::differenceHint(text, f, msgs().english());
        }
    }
    return l;
}
