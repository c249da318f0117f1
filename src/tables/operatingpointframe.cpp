#include "tables/operatingpointframe.h"

#include <QEvent>
#include <QPainter>
#include <QTableWidget>

OperatingPointFrame::OperatingPointFrame(QTableWidget* grid) : QWidget(grid->viewport()), m_grid(grid) {
    setObjectName(QStringLiteral("OperatingPointFrame"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
    grid->viewport()->installEventFilter(this);
}

void OperatingPointFrame::setCell(std::optional<QPoint> cell) {
    if (cell == m_cell) return;
    m_cell = cell;
    place();
}

void OperatingPointFrame::place() {
    if (!m_cell) {
        hide();
        return;
    }
    const QRect r = m_grid->visualRect(m_grid->model()->index(m_cell->y() - 1, m_cell->x() - 1));
    setGeometry(r.adjusted(-1, -1, 1, 1));
    show();
    raise();
}

bool OperatingPointFrame::eventFilter(QObject* watched, QEvent* event) {
    // The sections stretch with the grid: a resize moves every cell.
    if (watched == parent() && event->type() == QEvent::Resize && m_cell)
        QMetaObject::invokeMethod(this, [this] { place(); }, Qt::QueuedConnection);
    return QWidget::eventFilter(watched, event);
}

void OperatingPointFrame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    // Black outside, white inside: visible on every family's cells and on the heat map.
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(rect().adjusted(2, 2, -3, -3));
}
