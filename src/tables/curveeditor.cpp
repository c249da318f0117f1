#include "tables/curveeditor.h"

#include "common/messages.h"
#include "tables/curvecodec.h"
#include "tables/curvepanel.h"
#include "tables/editactions.h"
#include "tables/tablefiles.h"

#include <QAction>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>

#include <algorithm>

using blockops::Block;
using blockops::Op;

namespace {
constexpr int Points = CurvePanel::PointCount;

const QList<EditActions::Item>& menuItems() {
    static const QList<EditActions::Item> items{
        {"actSetValue"},
        {"actAddValue"},
        {"actScale"},
        {""},
        {"actInterpolateV"},
        {"actSmooth"},
        {""},
        {"actCopy"},
        {"actPaste"},
        {""},
        {"actUndo"},
        {"actRedo"},
        {""},
        {"actCompare"},
        {"actCompareTake"},
        {"actCompareEnd"},
    };
    return items;
}
} // namespace

CurveEditor::CurveEditor(CurvePanel* panel) : QObject(panel), m_panel(panel) {
    m_history = new UndoStack([this] { return m_panel->editState(); },
                                [this](const UndoState& s) { m_panel->restoreUndoState(s); }, this);
    // The comparison's count and outlines follow every step back and forth.
    connect(m_history->stack(), &QUndoStack::indexChanged, this, [this] {
        if (m_compare) updateStatus();
    });
    askValue = [this](ValueQuestion q, double* v) { return ValueDialog::ask(m_panel->window(), q, v); };
    chooseFile = [this](const QString& filter) {
        return QFileDialog::getOpenFileName(m_panel->window(), QString(), QString(), filter);
    };
    showError = [this](const QString& text) {
        if (m_panel->onConversionError) m_panel->onConversionError(text);
    };

    // A click still selects one point; dragging or Shift with the cursor keys selects a range.
    m_panel->ui.sgrid_Emu->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_actions = new EditActions(m_panel->ui.sgrid_Emu, uitexts::Panel::Curve1, menuItems());
    const struct {
        const char* name;
        std::function<void()> run;
    } runs[] = {
        {"actSetValue", [this] { askAndApply(Op::Set); }},
        {"actAddValue", [this] { askAndApply(Op::Add); }},
        {"actScale", [this] { askAndApply(Op::Scale); }},
        {"actInterpolateV", [this] { apply(Op::InterpolateV); }},
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
    // Undo and redo work as well while a marker of the chart has the focus.
    m_panel->ui.Chart2D->addAction(m_actions->action("actUndo"));
    m_panel->ui.Chart2D->addAction(m_actions->action("actRedo"));
}

void CurveEditor::record() {
    m_history->record(QString());
    if (m_compare) updateStatus();
}

QStringList CurveEditor::texts() const {
    QStringList t;
    for (int i = 1; i <= Points; ++i) t << m_panel->pointText(i);
    return t;
}

Block CurveEditor::selectedBlock() const {
    const QTableWidget* g = m_panel->ui.sgrid_Emu;
    int top = Points, bottom = -1;
    for (const QTableWidgetSelectionRange& s : g->selectedRanges()) {
        top = std::min(top, s.topRow());
        bottom = std::max(bottom, s.bottomRow());
    }
    if (bottom < 0) top = bottom = std::max(0, g->currentRow());
    top = std::clamp(top, 0, Points - 1);
    bottom = std::clamp(bottom, 0, Points - 1);
    return {0, top, 0, bottom};
}

void CurveEditor::error(const QString& text) {
    if (showError) showError(text);
}

void CurveEditor::put(const QStringList& t, const Block& rows) {
    for (int r = rows.top; r <= rows.bottom; ++r) {
        m_panel->setPointText(r + 1, t.at(r));
        m_panel->applyPoint(r + 1);
    }
    m_panel->ui.sgrid_Emu->viewport()->update();
}

bool CurveEditor::apply(Op op, double argument) {
    const Block block = selectedBlock();
    const QStringList before = texts();
    const blockops::Result res =
        blockops::apply(op, before, 1, block, argument, blockops::curveDomain());
    if (!res.ok()) {
        m_panel->ui.sgrid_Emu->setCurrentCell(res.badCell, 1);
        error(curvecodec::notANumberMessage(res.badCell + 1, before.at(res.badCell), msgs().english()));
        return false;
    }
    put(res.texts, block);
    record();
    return true;
}

bool CurveEditor::askAndApply(Op op) {
    const ValueQuestion q = op == Op::Set ? ValueQuestion::Set
                            : op == Op::Add ? ValueQuestion::Add
                                            : ValueQuestion::Scale;
    double v = 0;
    if (!askValue || !askValue(q, &v)) return false;
    return apply(op, v);
}

void CurveEditor::copy() {
    if (QClipboard* cb = QGuiApplication::clipboard())
        cb->setText(blockops::copyText(texts(), 1, selectedBlock()));
}

bool CurveEditor::paste() {
    const QClipboard* cb = QGuiApplication::clipboard();
    return cb && pasteText(cb->text());
}

bool CurveEditor::pasteText(const QString& text) {
    const Block at = selectedBlock();
    const blockops::PasteResult res =
        blockops::paste(texts(), 1, 0, at.top, text, blockops::curveDomain());
    if (!res.ok()) {
        error(blockops::pasteMessage(res, msgs().english()));
        return false;
    }
    put(res.texts, res.pasted);
    record();
    return true;
}

bool CurveEditor::compare() {
    if (!chooseFile) return false;
    const QString name = chooseFile(tablefiles::dialogFilter(curveKind(m_panel->index())));
    return !name.isEmpty() && compareWith(name);
}

bool CurveEditor::compareWith(const QString& fileName) {
    QByteArray bytes;
    QString err;
    if (!tablefiles::readFile(fileName, &bytes, &err, msgs().english())) {
        error(err);
        return false;
    }
    const tablefiles::CurveFile parsed = tablefiles::parseCurve(bytes);
    if (!parsed.ok()) {
        error(tablefiles::curveLineMessage(fileName, parsed, msgs().english()));
        return false;
    }
    m_compare = parsed.texts;
    m_compareVolts = parsed.volts;
    m_compareName = QFileInfo(fileName).fileName();
    updateStatus();
    m_panel->ui.sgrid_Emu->viewport()->update();
    return true;
}

bool CurveEditor::takeFileValues() {
    if (!m_compare) return false;
    // As an opened curve file.
    m_panel->loadCurve(*m_compare, m_compareVolts);
    record();
    m_panel->ui.sgrid_Emu->viewport()->update();
    return true;
}

void CurveEditor::endCompare() {
    m_compare.reset();
    if (showStatus) showStatus(QString());
    m_panel->ui.sgrid_Emu->viewport()->update();
}

int CurveEditor::differingPoints() const {
    if (!m_compare) return -1;
    int n = 0;
    for (int i = 1; i <= Points; ++i) n += blockops::cellsDiffer(m_panel->pointText(i), m_compare->at(i - 1));
    return n;
}

void CurveEditor::updateStatus() {
    if (m_compare && showStatus)
        showStatus(blockops::compareStatus(differingPoints(), m_compareName, true, msgs().english()));
}

CellLook CurveEditor::look(int row, int column) const {
    CellLook l;
    if (!m_compare || column != 1 || row < 0 || row >= Points) return l;
    const QString text = m_panel->pointText(row + 1);
    const QString& f = m_compare->at(row);
    if (blockops::cellsDiffer(text, f)) {
        l.outlined = true;
        l.hint = blockops::differenceHint(text, f, msgs().english());
    }
    return l;
}
