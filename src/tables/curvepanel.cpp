#include "tables/curvepanel.h"

#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTableWidgetItem>
#include <algorithm>
#include <cmath>
#include <limits>
#include <qcustomplot.h>

#include "common/messages.h"
#include "common/numtext.h"
#include "icons/icons.h"
#include "tables/curvecodec.h"
#include "tables/gridcelldelegate.h"
#include "tables/grideditor.h"

namespace {

const QColor SeriesReadColor(0x22, 0x8C, 0xB5); // the curve as last read or opened
const QColor SeriesEditColor(0x00, 0x80, 0x00); // the curve as edited
const QColor DraggedColor2(0x80, 0x00, 0x00); // a marker of curve 2 the mouse moved

bool isGridKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Up || key == Qt::Key_Down;
}

// Controls of the second curve that do not simply take the "_2" suffix.
const QHash<QString, QString>& secondCurveRenames() {
    static const QHash<QString, QString> renames{
        {QStringLiteral("GroupBox2"), QStringLiteral("GroupBox6")},
        {QStringLiteral("GroupBox8"), QStringLiteral("GroupBox1")},
    };
    return renames;
}

const QList<EditActions::Item>& menuItems() {
    static const QList<EditActions::Item> items{
        {"actSetValue"}, {"actAddValue"}, {"actScale"}, {""},     {"actInterpolateV"}, {"actSmooth"},
        {""},            {"actCopy"},     {"actPaste"}, {""},     {"actUndo"},         {"actRedo"},
        {""},            {"actCompare"},  {"actCompareTake"},     {"actCompareEnd"},
    };
    return items;
}

// What the grid editor reads and writes of the curve: the 64 points of the grid's value
// column, each applied to the edited curve and its marker as a grid key applies it.
class CurveGrid : public GridAdapter {
  public:
    explicit CurveGrid(CurvePanel* panel) : m_p(panel) {}

    QTableWidget* grid() const override { return m_p->ui.sgrid_Emu; }
    int firstColumn() const override { return 1; }
    int width() const override { return 1; }
    int height() const override { return CurvePanel::PointCount; }
    int tableCount() const override { return 1; }
    std::optional<int> shown() const override { return 0; }
    TableKind kind(int) const override { return curveKind(m_p->index()); }
    QString cellText(int index) const override { return m_p->pointText(index + 1); }

    UndoState capture(int) const override { return m_p->editState(); }
    void restore(int, const UndoState& state) override { m_p->restoreEditState(state); }
    void put(int, const QStringList& texts, const blockops::Block& rows) override {
        for (int r = rows.top; r <= rows.bottom; ++r) {
            m_p->setPointText(r + 1, texts.at(r));
            m_p->applyPoint(r + 1);
        }
        m_p->ui.sgrid_Emu->viewport()->update();
    }
    void takeFile(int, const QStringList& texts, const QList<double>& values) override {
        m_p->loadCurve(texts, values);
    }

  private:
    CurvePanel* m_p;
};

} // namespace

CurvePanel::CurvePanel(int index, QWidget* parent) : QWidget(parent), m_index(index == 2 ? 2 : 1) {
    ui.setupUi(this);
    if (m_index == 2) renameForCurve();

    ui.atb_Emu_In->setIcon(icons::readFromModule());
    ui.atb_Emu_Out->setIcon(icons::writeToModule());
    ui.atb_Emu_Open->setIcon(icons::openFile());
    ui.atb_Emu_Save->setIcon(icons::saveFile());
    ui.Btn_YellowPoints->setIcon(icons::livePoints());
    ui.Btn_YellowPoints_Stop->setIcon(icons::stop());
    ui.atb_Num_Yellow_Points_Down->setIcon(icons::stepDown());
    ui.atb_Num_Yellow_Points_Up->setIcon(icons::stepUp());

    // The column headings are disabled buttons; keep their text as readable as a header.
    for (QToolButton* heading : {ui.atb_sgrid_Emu_Cap_Left, ui.atb_sgrid_Emu_Cap_Right}) {
        QPalette pal = heading->palette();
        pal.setColor(QPalette::Disabled, QPalette::ButtonText,
                     pal.color(QPalette::Active, QPalette::ButtonText));
        heading->setPalette(pal);
    }

    // Hidden state kept with the smoothing controls; no smoothing works on it yet.
    ui.Ed_MaxPointInterpolationLambda->hide();
    // The second curve offers no smoothing button at all.
    if (m_index == 2) ui.atb_Interpolator_Lambda->hide();

    setUpChart();
    setUpGrid();
    m_markers = new CurveMarkers(ui.Chart2D, m_index, SeriesReadColor, this);
    Shape_0 = m_markers->frame();
    fillEmptyRows();

    m_gridAdapter = std::make_unique<CurveGrid>(this);
    // The curve grids share their menu's texts.
    m_editor = new GridEditor(this, m_gridAdapter.get(), uitexts::Panel::Curve1, menuItems());
    m_editor->showError = [this](const QString& text) {
        if (onConversionError) onConversionError(text);
    };
    // Undo and redo work as well while a marker of the chart has the focus.
    ui.Chart2D->addAction(m_editor->actions()->action("actUndo"));
    ui.Chart2D->addAction(m_editor->actions()->action("actRedo"));
    m_cellDelegate->look = [this](int row, int column) { return m_editor->look(row, column); };
    for (int i = 1; i <= PointCount; ++i) marker(i)->setFocusPolicy(Qt::ClickFocus);
}

CurvePanel::~CurvePanel() {
    // The editor works through the adapter: it goes first.
    m_cellDelegate->look = nullptr;
    delete m_editor;
}

QString CurvePanel::objectNameFor(const QString& curve1Name, int index) {
    if (index != 2) return curve1Name;
    const auto it = secondCurveRenames().constFind(curve1Name);
    if (it != secondCurveRenames().constEnd()) return *it;
    return curve1Name + QStringLiteral("_2");
}

void CurvePanel::renameForCurve() {
    // Every control of the form, its layouts and its button group get the second curve's
    // name; Qt's own internal children ("qt_...") keep theirs.
    QList<QObject*> objects = findChildren<QObject*>();
    objects.prepend(this);
    for (QObject* o : objects) {
        const QString name = o->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_"))) continue;
        o->setObjectName(objectNameFor(name, 2));
    }
    // The hints name the curve.
    for (QToolButton* b : {ui.atb_Emu_In, ui.atb_Emu_Out, ui.atb_Emu_Open, ui.atb_Emu_Save})
        b->setToolTip(b->toolTip().replace(QStringLiteral("Лямбда 1"), QStringLiteral("Лямбда 2")));
}

void CurvePanel::setUpChart() {
    QCustomPlot* chart = ui.Chart2D;
    chart->legend->setVisible(false);
    chart->xAxis->setRange(1, 64);
    chart->yAxis->setRange(0, 5);
    chart->xAxis->setLabel(QStringLiteral("Относительное количество топлива или расход воздуха"));
    chart->yAxis->setLabel(QStringLiteral("Напряжение MAF датчика, В или расход воздуха"));

    // Ticks at the points that matter when reading a curve: every eighth point and every
    // half volt.
    QSharedPointer<QCPAxisTickerFixed> xTicker(new QCPAxisTickerFixed);
    xTicker->setTickStep(8);
    xTicker->setTickOrigin(0);
    chart->xAxis->setTicker(xTicker);
    QSharedPointer<QCPAxisTickerFixed> yTicker(new QCPAxisTickerFixed);
    yTicker->setTickStep(0.5);
    chart->yAxis->setTicker(yTicker);
    chart->xAxis->grid()->setSubGridVisible(false);

    // A little air around the plot so that markers at the edges are not cut.
    chart->axisRect()->setMinimumMargins(QMargins(8, 12, 14, 8));

    QCPGraph* read = chart->addGraph();
    read->setPen(QPen(SeriesReadColor, 3));
    QCPGraph* edited = chart->addGraph();
    edited->setPen(QPen(SeriesEditColor, 1));
}

void CurvePanel::setUpGrid() {
    QTableWidget* grid = ui.sgrid_Emu;
    grid->setRowCount(RowCount);
    grid->setColumnCount(2);
    grid->setColumnWidth(0, 180);
    grid->setColumnWidth(1, 180);
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
    m_cellDelegate = new GridCellDelegate(isGridKey, [this](int key) { gridKey(key, ui.sgrid_Emu->currentRow()); },
                                          grid);
    grid->setItemDelegate(m_cellDelegate);
    grid->installEventFilter(this);
}

void CurvePanel::fillEmptyRows() {
    QTableWidget* grid = ui.sgrid_Emu;
    grid->setRowCount(RowCount);
    const QBrush labelBrush = grid->palette().brush(QPalette::Button);
    for (int row = 0; row < RowCount; ++row) {
        // Column 0 is the fixed label column: shown like a header, never edited.
        auto* label = grid->item(row, 0);
        if (!label) {
            label = new QTableWidgetItem;
            grid->setItem(row, 0, label);
        }
        label->setFlags(Qt::ItemIsEnabled);
        label->setBackground(labelBrush);
        label->setText(QString(24, QLatin1Char(' ')) + QString::number(row));

        auto* value = grid->item(row, 1);
        if (!value) {
            value = new QTableWidgetItem;
            grid->setItem(row, 1, value);
        }
        value->setText(QStringLiteral("0"));
    }
}

void CurvePanel::setPointText(int i, const QString& text) {
    if (i < 1 || i > PointCount) return;
    QTableWidgetItem* item = ui.sgrid_Emu->item(i - 1, 1);
    if (!item) {
        item = new QTableWidgetItem;
        ui.sgrid_Emu->setItem(i - 1, 1, item);
    }
    item->setText(text);
}

QString CurvePanel::pointText(int i) const {
    if (i < 1 || i > PointCount) return QString();
    const QTableWidgetItem* item = ui.sgrid_Emu->item(i - 1, 1);
    return item ? item->text() : QString();
}

void CurvePanel::clearCurveSeries() {
    QCustomPlot* chart = ui.Chart2D;
    for (int g = 0; g < chart->graphCount(); ++g) chart->graph(g)->data()->clear();
    chart->replot(QCustomPlot::rpQueuedReplot);
}

// --- the curve as read, opened and edited --------------------------------------------

void CurvePanel::replotSoon() { ui.Chart2D->replot(QCustomPlot::rpQueuedReplot); }

void CurvePanel::beginCurve() {
    QCustomPlot* chart = ui.Chart2D;
    for (int g = 0; g < 2; ++g) {
        chart->graph(g)->data()->clear();
        // Point i is series index i: the first point lies at 0, left of the axis.
        chart->graph(g)->addData(0, 0);
    }
    for (int i = 1; i <= PointCount; ++i) marker(i)->hide();
    replotSoon();
}

void CurvePanel::showReadPoint(int i, double volts) {
    if (i < 1 || i > PointCount) return;
    QCustomPlot* chart = ui.Chart2D;
    chart->graph(0)->addData(i, volts);
    chart->graph(1)->addData(i, volts);
    CurveShape* m = marker(i);
    m->setFillColor(SeriesReadColor);
    placeMarker(i, i, volts);
    m->show();
    setPointText(i, formatGeneral(truncDecimals(volts, 2)));
    m->setToolTip(curvecodec::markerHint(i, volts));
    replotSoon();
}

void CurvePanel::loadCurve(const QStringList& texts, const QList<double>& volts) {
    beginCurve();
    QCustomPlot* chart = ui.Chart2D;
    for (int i = 1; i <= PointCount && i <= texts.size() && i <= volts.size(); ++i) {
        const double v = volts.at(i - 1);
        setPointText(i, texts.at(i - 1));
        chart->graph(0)->addData(i, v);
        chart->graph(1)->addData(i, v);
        CurveShape* m = marker(i);
        m->setFillColor(SeriesReadColor);
        placeMarker(i, i, v);
        m->setToolTip(curvecodec::markerHint(i, v));
        m->show();
    }
    replotSoon();
}

namespace {
double valueAt(const QCPGraph* graph, int i) {
    auto data = graph->data();
    const auto it = data->findBegin(i, false);
    if (it == data->constEnd() || it->key != i) return std::numeric_limits<double>::quiet_NaN();
    return it->value;
}
} // namespace

double CurvePanel::editedValue(int i) const { return valueAt(ui.Chart2D->graph(1), i); }
double CurvePanel::readValue(int i) const { return valueAt(ui.Chart2D->graph(0), i); }

void CurvePanel::setEditedValue(int i, double volts) {
    auto data = ui.Chart2D->graph(1)->data();
    for (auto it = data->begin(); it != data->end(); ++it) {
        if (it->key == i) {
            it->value = volts;
            replotSoon();
            return;
        }
    }
    data->add(QCPGraphData(i, volts)); // a table read emptied the series under the markers
    replotSoon();
}

void CurvePanel::refreshCurve() {
    for (int i = 1; i <= PointCount; ++i) {
        const QString text = pointText(i);
        double v = 0;
        if (!text.isEmpty() && !parseNumber(text, &v)) continue;
        placeMarker(i, i, v);
        marker(i)->setToolTip(curvecodec::markerHint(i, v));
    }
    // Live points keep their place in the frame (Yellow_Rel_X); the layout puts them there.
    m_markers->relayout();
}

void CurvePanel::renewHints() {
    for (int i = 1; i <= PointCount; ++i) {
        if (!m_markers->markerPlaced(i)) continue;
        const double edited = editedValue(i);
        marker(i)->setToolTip(curvecodec::markerHint(i, std::isnan(edited) ? markerPosition(i).y() : edited));
    }
    m_markers->renewLivePointHints();
}

void CurvePanel::dragMarkerTo(int i, int y) {
    if (i < 1 || i > PointCount) return;
    const double v = std::clamp(ui.Chart2D->yAxis->pixelToCoord(y), 0.0, curvecodec::VoltMax);
    setEditedValue(i, v);
    CurveShape* m = marker(i);
    m->setFillColor(m_index == 2 ? DraggedColor2 : SeriesEditColor);
    setPointText(i, formatGeneral(truncDecimals(v, 2)));
    m->setToolTip(curvecodec::markerHint(i, v));
    placeMarker(i, i, v);
}

bool CurvePanel::gridKey(int key, int row) {
    // The row above the cursor holds the point whose number is the cursor's row.
    const int point = row;
    if (point >= 1 && point <= PointCount) {
        if (!applyPoint(point)) return false;
        m_editor->record(0);
    }
    moveGridCursor(key, row);
    return true;
}

bool CurvePanel::applyPoint(int point) {
    if (point < 1 || point > PointCount) return false;
    curvecodec::KeyValue kv;
    const QString text = pointText(point);
    if (!curvecodec::keyValue(text, &kv)) {
        if (onConversionError)
            onConversionError(curvecodec::notANumberMessage(point, text, msgs().english()));
        return false;
    }
    if (kv.text != text) setPointText(point, kv.text);
    const double edited = editedValue(point);
    const double old = std::isnan(edited) ? edited : truncDecimals(edited, 2);
    setEditedValue(point, kv.volts);
    CurveShape* m = marker(point);
    placeMarker(point, point, kv.volts);
    if (!(kv.volts == old)) m->setFillColor(SeriesEditColor);
    m->setToolTip(curvecodec::markerHint(point, kv.volts));
    return true;
}

void CurvePanel::moveGridCursor(int key, int row) {
    QTableWidget* g = ui.sgrid_Emu;
    const int last = RowCount - 1;
    const int column = std::max(1, g->currentColumn());
    if (key == Qt::Key_Up) {
        if (row > 0) g->setCurrentCell(row - 1, column);
    } else if (key == Qt::Key_Down) {
        if (row < last) g->setCurrentCell(row + 1, column);
    } else {
        // Enter walks down the value column; from the last row it starts again at row 1.
        g->setCurrentCell(row < last ? row + 1 : 1, row < last ? column : 1);
    }
}

bool CurvePanel::eventFilter(QObject* watched, QEvent* event) {
    // Shift with the cursor keys selects a range of points instead.
    if (watched == ui.sgrid_Emu && event->type() == QEvent::KeyPress &&
        isGridKey(static_cast<QKeyEvent*>(event)->key()) &&
        !(static_cast<QKeyEvent*>(event)->modifiers() & Qt::ShiftModifier)) {
        gridKey(static_cast<QKeyEvent*>(event)->key(), ui.sgrid_Emu->currentRow());
        return true;
    }
    const int i = m_markers->markerIndex(watched);
    if (!i) return QWidget::eventFilter(watched, event);
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress) {
        const auto* ke = static_cast<QKeyEvent*>(event);
        if (markerKey(ke->key(), ke->modifiers())) return true;
    }
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, event);
    auto* me = static_cast<QMouseEvent*>(event);
    if (type == QEvent::MouseButtonPress && me->button() == Qt::LeftButton) {
        selectMarker(i);
        m_pressed = i;
        m_pressPos = me->globalPosition().toPoint();
        m_dragging = false;
        return true;
    }
    if (type == QEvent::MouseMove && m_pressed == i && (me->buttons() & Qt::LeftButton)) {
        const QPoint global = me->globalPosition().toPoint();
        if (!m_dragging && (global - m_pressPos).manhattanLength() >= QApplication::startDragDistance())
            m_dragging = true;
        if (m_dragging) dragMarkerTo(i, ui.Chart2D->mapFromGlobal(global).y());
        return true;
    }
    if (type == QEvent::MouseButtonRelease && me->button() == Qt::LeftButton && m_pressed == i) {
        if (m_dragging) m_editor->record(0);
        m_pressed = 0;
        m_dragging = false;
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// --- live points ---------------------------------------------------------------------

int CurvePanel::livePointCount() const {
    double n = 0;
    if (!parseNumber(ui.Ed_Num_Yellow_Points->text(), &n)) return 12;
    return std::clamp(int(n), 1, PointCount);
}

void CurvePanel::collectConfiguration(cfg::Info& info) const {
    info.Enum_YellowPoints = ui.Ed_Num_Yellow_Points->text();
}

void CurvePanel::applyConfiguration(const cfg::Info& info) {
    bool whole = false;
    const int n = info.Enum_YellowPoints.trimmed().toInt(&whole);
    if (whole) ui.Ed_Num_Yellow_Points->setText(QString::number(n));
}

// --- editing tools ---------------------------------------------------------------------

void CurvePanel::recordChange() { m_editor->record(0); }

UndoState CurvePanel::editState() const {
    UndoState s;
    for (int i = 1; i <= PointCount; ++i) {
        s.texts << pointText(i);
        s.shown << !marker(i)->isHidden();
    }
    for (int i = 0; i <= PointCount; ++i) {
        s.edited << editedValue(i);
        s.read << readValue(i);
    }
    return s;
}

void CurvePanel::restoreEditState(const UndoState& s) {
    if (s.texts.size() != PointCount || s.shown.size() != PointCount ||
        s.edited.size() != PointCount + 1 || s.read.size() != PointCount + 1)
        return;
    QCustomPlot* chart = ui.Chart2D;
    for (int g = 0; g < 2; ++g) {
        const QList<double>& values = g == 0 ? s.read : s.edited;
        QVector<double> keys, vals;
        for (int i = 0; i <= PointCount; ++i) {
            if (std::isnan(values.at(i))) continue;
            keys << i;
            vals << values.at(i);
        }
        chart->graph(g)->setData(keys, vals, true);
    }
    for (int i = 1; i <= PointCount; ++i) {
        setPointText(i, s.texts.at(i - 1));
        CurveShape* m = marker(i);
        if (!s.shown.at(i - 1)) {
            m->hide();
            continue;
        }
        double v = s.edited.at(i);
        if (std::isnan(v) && !parseNumber(s.texts.at(i - 1), &v)) v = 0;
        const double read = s.read.at(i);
        m->setFillColor(read == s.edited.at(i) ? SeriesReadColor
                        : m_index == 2        ? DraggedColor2
                                              : SeriesEditColor);
        placeMarker(i, i, v);
        m->setToolTip(curvecodec::markerHint(i, v));
        m->show();
    }
    replotSoon();
    ui.sgrid_Emu->viewport()->update();
}

void CurvePanel::selectMarker(int i) {
    m_markers->select(i);
    if (const int selected = m_markers->selected()) ui.sgrid_Emu->setCurrentCell(selected - 1, 1);
}

bool CurvePanel::markerKey(int key, Qt::KeyboardModifiers modifiers) {
    const int i = m_markers->selected();
    if (!i) return false;
    if (key == Qt::Key_Left || key == Qt::Key_Right) {
        const int next = i + (key == Qt::Key_Left ? -1 : 1);
        if (next >= 1 && next <= PointCount && !marker(next)->isHidden()) selectMarker(next);
        return true;
    }
    if (key != Qt::Key_Up && key != Qt::Key_Down) return false;
    double v = editedValue(i);
    if (std::isnan(v) && !parseNumber(pointText(i), &v)) v = 0;
    const int steps = (modifiers & Qt::ShiftModifier) ? 10 : 1;
    const int maxByte = curvecodec::voltageByte(curvecodec::VoltMax);
    const int byte = std::clamp(curvecodec::voltageByte(v) + (key == Qt::Key_Up ? steps : -steps), 0, maxByte);
    v = curvecodec::voltageFromByte(byte);
    setEditedValue(i, v);
    CurveShape* m = marker(i);
    m->setFillColor(m_index == 2 ? DraggedColor2 : SeriesEditColor);
    setPointText(i, formatGeneral(truncDecimals(v, 2)));
    m->setToolTip(curvecodec::markerHint(i, v));
    placeMarker(i, i, v);
    m_editor->record(0);
    return true;
}
