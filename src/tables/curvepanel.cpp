#include "tables/curvepanel.h"

#include <QHash>
#include <QTableWidgetItem>
#include <algorithm>
#include <cmath>
#include <qcustomplot.h>

#include "icons/icons.h"

namespace {

constexpr int ShapeSize = 9;

const QColor SeriesReadColor(0x22, 0x8C, 0xB5); // the curve as last read or opened
const QColor SeriesEditColor(0x00, 0x80, 0x00); // the curve as edited
const QColor LivePointColor1(0xFF, 0xFF, 0x00);
const QColor LivePointColor2(0xC9, 0xE4, 0x8F);

// Controls of the second curve that do not simply take the "_2" suffix.
const QHash<QString, QString>& secondCurveRenames() {
    static const QHash<QString, QString> renames{
        {QStringLiteral("GroupBox2"), QStringLiteral("GroupBox6")},
        {QStringLiteral("GroupBox8"), QStringLiteral("GroupBox1")},
    };
    return renames;
}

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
    createShapes();
    fillEmptyRows();
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

    connect(chart, &QCustomPlot::afterLayout, this, &CurvePanel::relayoutShapes);
}

void CurvePanel::setUpGrid() {
    QTableWidget* grid = ui.sgrid_Emu;
    grid->setRowCount(RowCount);
    grid->setColumnCount(2);
    grid->setColumnWidth(0, 180);
    grid->setColumnWidth(1, 180);
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
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

void CurvePanel::createShapes() {
    QCustomPlot* chart = ui.Chart2D;
    // Created first so that markers and live points lie above it.
    Shape_0 = new CurveShape(CurveShape::Kind::Frame, chart);
    Shape_0->setObjectName(objectNameFor(QStringLiteral("Shape_0"), m_index));

    const QString suffix = m_index == 2 ? QStringLiteral("_2") : QString();
    for (int i = 1; i <= PointCount; ++i) {
        auto* m = new CurveShape(CurveShape::Kind::Circle, chart);
        m->setObjectName(QStringLiteral("Shape_Green") + suffix + QString::number(i));
        m->resize(ShapeSize, ShapeSize);
        m->setFillColor(SeriesReadColor);
        m->setOutlineColor(SeriesReadColor.darker(160));
        m->setCursor(Qt::SizeVerCursor);
        m_markers[i - 1] = m;
    }
    for (int i = 1; i <= PointCount; ++i) {
        auto* p = new CurveShape(CurveShape::Kind::RoundedSquare, chart);
        p->setObjectName(QStringLiteral("Shape_Yellow") + suffix + QString::number(i));
        p->resize(ShapeSize, ShapeSize);
        p->setFillColor(m_index == 2 ? LivePointColor2 : LivePointColor1);
        p->setOutlineColor(QColor(110, 110, 60));
        m_livePoints[i - 1] = p;
    }
    relayoutShapes();
}

CurveShape* CurvePanel::marker(int i) const {
    return i >= 1 && i <= PointCount ? m_markers[i - 1] : nullptr;
}

CurveShape* CurvePanel::livePoint(int i) const {
    return i >= 1 && i <= PointCount ? m_livePoints[i - 1] : nullptr;
}

QRect CurvePanel::frameRect() const {
    return ui.Chart2D->axisRect()->rect();
}

QPointF CurvePanel::markerPosition(int i) const {
    return i >= 1 && i <= PointCount ? m_markerPos[i - 1] : QPointF();
}

void CurvePanel::placeMarker(int i, double x, double y) {
    if (i < 1 || i > PointCount) return;
    m_markerPos[i - 1] = QPointF(x, y);
    m_markerPlaced[i - 1] = true;
    centreShape(m_markers[i - 1], markerCentre(i));
}

void CurvePanel::placeLivePoint(int i, double x, double y) {
    if (i < 1 || i > PointCount) return;
    m_livePos[i - 1] = QPointF(x, y);
    m_livePlaced[i - 1] = true;
    centreShape(m_livePoints[i - 1], livePointCentre(i));
}

QPoint CurvePanel::markerCentre(int i) const {
    const QCustomPlot* chart = ui.Chart2D;
    const QPointF pos = m_markerPos[i - 1];
    const QRect frame = frameRect();
    const double px = chart->xAxis->coordToPixel(pos.x());
    // The axis maps its ends onto the frame's outer edges (top and top + height).
    const double py = std::clamp(chart->yAxis->coordToPixel(pos.y()), double(frame.top()),
                                 double(frame.top() + frame.height()));
    return QPoint(int(std::lround(px)), int(std::lround(py)));
}

QPoint CurvePanel::livePointCentre(int i) const {
    const QPointF pos = m_livePos[i - 1];
    const QRect frame = frameRect();
    const double px = frame.left() + frame.width() * pos.x() / 64.0;
    const double bottom = frame.top() + frame.height();
    const double py =
        std::clamp(bottom - frame.height() * pos.y() / 5.0, double(frame.top()), bottom);
    return QPoint(int(std::lround(px)), int(std::lround(py)));
}

void CurvePanel::centreShape(CurveShape* shape, QPoint centre) {
    shape->move(centre.x() - ShapeSize / 2, centre.y() - ShapeSize / 2);
}

void CurvePanel::relayoutShapes() {
    // The frame sits on the plot area's edges; the shapes follow their chart points.
    const QRect frame = frameRect();
    Shape_0->setGeometry(frame.adjusted(0, 0, 1, 1));
    for (int i = 1; i <= PointCount; ++i) {
        if (m_markerPlaced[i - 1]) centreShape(m_markers[i - 1], markerCentre(i));
        if (m_livePlaced[i - 1]) centreShape(m_livePoints[i - 1], livePointCentre(i));
    }
}
