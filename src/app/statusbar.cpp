#include "app/statusbar.h"

#include <QHBoxLayout>
#include <QPainter>

StatusPanel::StatusPanel(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void StatusPanel::setText(const QString& text) {
    if (text == m_text) return;
    m_text = text;
    setToolTip(text);
    update();
}

QSize StatusPanel::sizeHint() const {
    const int h = std::max(20, fontMetrics().height() + 2 * frameWidth() + 2);
    return {std::max(minimumWidth(), 40), h};
}

QSize StatusPanel::minimumSizeHint() const { return sizeHint(); }

void StatusPanel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter p(this);
    p.setPen(palette().color(foregroundRole()));
    // Indented by half an "x" from the frame, as a framed label is; what does not fit is cut.
    const int indent = fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2;
    const QRect r = contentsRect().adjusted(indent, 0, -indent, 0);
    p.setClipRect(contentsRect());
    p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_text);
}

StatusBar::StatusBar(const QString& name, const QList<int>& widths, QWidget* parent) : QFrame(parent) {
    setObjectName(name);
    setFrameShape(QFrame::NoFrame);
    setAutoFillBackground(true);
    auto* lay = new QHBoxLayout(this);
    lay->setContentsMargins(2, 1, 2, 1);
    lay->setSpacing(2);
    for (int i = 0; i < widths.size(); ++i) {
        auto* l = new StatusPanel(this);
        l->setObjectName(QStringLiteral("%1_Panel%2").arg(name).arg(i));
        if (i + 1 < widths.size()) {
            l->setFixedWidth(widths[i]);
        } else {
            l->setMinimumWidth(widths[i]);
        }
        lay->addWidget(l, i + 1 < widths.size() ? 0 : 1);
        m_panels << l;
    }
}

QString StatusBar::panelText(int index) const {
    const StatusPanel* l = m_panels.value(index);
    return l ? l->text() : QString();
}

void StatusBar::setPanelText(int index, const QString& text) {
    if (StatusPanel* l = m_panels.value(index)) l->setText(text);
}

void StatusBar::setAlarm(bool alarm) {
    m_alarm = alarm;
    QPalette pal = palette();
    if (alarm) {
        pal.setColor(QPalette::Window, QColor(255, 0, 0));
        pal.setColor(QPalette::WindowText, Qt::white);
    } else {
        pal = QPalette();
    }
    setPalette(pal);
    for (StatusPanel* l : std::as_const(m_panels)) l->setPalette(pal);
}
