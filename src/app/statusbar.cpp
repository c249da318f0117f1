#include "app/statusbar.h"

#include <QHBoxLayout>
#include <QLabel>

StatusBar::StatusBar(const QString& name, const QList<int>& widths, QWidget* parent) : QFrame(parent) {
    setObjectName(name);
    setFrameShape(QFrame::NoFrame);
    setAutoFillBackground(true);
    auto* lay = new QHBoxLayout(this);
    lay->setContentsMargins(2, 1, 2, 1);
    lay->setSpacing(2);
    for (int i = 0; i < widths.size(); ++i) {
        auto* l = new QLabel(this);
        l->setObjectName(QStringLiteral("%1_Panel%2").arg(name).arg(i));
        l->setFrameShape(QFrame::StyledPanel);
        l->setFrameShadow(QFrame::Sunken);
        l->setTextFormat(Qt::PlainText);
        l->setMinimumHeight(20);
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
    const QLabel* l = m_panels.value(index);
    return l ? l->text() : QString();
}

void StatusBar::setPanelText(int index, const QString& text) {
    if (QLabel* l = m_panels.value(index)) {
        l->setText(text);
        l->setToolTip(text);
    }
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
    for (QLabel* l : std::as_const(m_panels)) l->setPalette(pal);
}
