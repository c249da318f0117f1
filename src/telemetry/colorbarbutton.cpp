#include "telemetry/colorbarbutton.h"

#include <QPainter>
#include <QStyleOptionToolButton>
#include <QStylePainter>

ColorBarButton::ColorBarButton(QWidget* parent) : QToolButton(parent) {
    setToolButtonStyle(Qt::ToolButtonTextOnly);
}

QColor ColorBarButton::barColor() const { return palette().color(QPalette::ButtonText); }

void ColorBarButton::setBarColor(const QColor& color) {
    QPalette pal = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setColor(group, QPalette::ButtonText, color);
        pal.setColor(group, QPalette::WindowText, color);
    }
    setPalette(pal);
}

int ColorBarButton::barThickness() const {
    const int px = font().pixelSize();
    return px > 0 ? px : 3;
}

QSize ColorBarButton::sizeHint() const { return QSize(34, 22); }

QSize ColorBarButton::minimumSizeHint() const { return QSize(24, 16); }

void ColorBarButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionToolButton opt;
    initStyleOption(&opt);
    opt.text.clear();
    opt.icon = QIcon();
    p.drawComplexControl(QStyle::CC_ToolButton, opt);

    const QRect inner = rect().adjusted(6, 3, -6, -3);
    const int thickness = qBound(1, barThickness(), qMax(1, inner.height()));
    QColor color = barColor();
    // A disabled button keeps its colour recognisable but clearly faded.
    if (!isEnabled()) color.setAlpha(70);
    const QRect bar(inner.left(), inner.center().y() - (thickness - 1) / 2, inner.width(), thickness);
    p.fillRect(bar, color);
}
