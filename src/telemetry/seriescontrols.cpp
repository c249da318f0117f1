#include "telemetry/seriescontrols.h"

#include "common/messages.h"
#include "link/operationcontext.h"
#include "telemetry/paramchart.h"
#include "telemetry/parampanel.h"

#include <QColorDialog>
#include <algorithm>
#include <QEvent>
#include <QTimer>
#include <qcustomplot.h>

SeriesControls::SeriesControls(OperationContext* ctx, ParamPanel* params, ParamChart* chart, QTimer* hidePanels,
                               QObject* parent)
    : QObject(parent), m_ctx(ctx), m_params(params), m_chart(chart), m_hide(hidePanels) {
    ColorDialog1 = new QColorDialog(params);
    ColorDialog1->setObjectName(QStringLiteral("ColorDialog1"));

    for (int s = 0; s < ParamChart::Series; ++s) {
        const ParamPanel::SeriesRow row = params->seriesRow(s);
        connect(row.check, &QCheckBox::clicked, this, [this, s] { checkBoxClick(s); });
        row.color->setMouseTracking(true);
        row.color->installEventFilter(this);
        m_colors[std::size_t(s)] = row.color;
    }
    m_samples = params->widthSamples();
    m_dlgColor = params->ui.atb_DlgColor;
    for (ColorBarButton* b : m_samples) {
        b->setMouseTracking(true);
        b->installEventFilter(this);
    }
    params->ui.atb_DlgColor->setMouseTracking(true);
    params->ui.atb_DlgColor->installEventFilter(this);
    connect(params->ui.atb_DlgColor, &QToolButton::clicked, this, &SeriesControls::atb_DlgColorClick);
    connect(params->ui.CheckBox_D1, &QCheckBox::clicked, this, &SeriesControls::CheckBox_D1Click);
    connect(params->ui.CheckBox_D2, &QCheckBox::clicked, this, &SeriesControls::CheckBox_D2Click);
}

double SeriesControls::lineWidthFor(int barThickness) {
    // The samples are 1 to 8 pixels thick; the lines take half of that, at least one
    // pixel, so the usual bar of 3 pixels draws the thinnest (and fastest) line.
    return std::max(1, barThickness / 2);
}

void SeriesControls::checkBoxClick(int series) {
    const ParamPanel::SeriesRow row = m_params->seriesRow(series);
    const bool on = row.check->isChecked();
    row.color->setEnabled(on);
    m_chart->setSeriesActive(series, on);
    m_chart->queueReplot();
}

void SeriesControls::CheckBox_D1Click() {
    const Messages& m = msgs();
    m_params->ui.atb_D1->setText(m_params->ui.CheckBox_D1->isChecked() ? m.Msg_D1_WB_Current : m.Msg_D1_AFR);
}

void SeriesControls::CheckBox_D2Click() {
    const Messages& m = msgs();
    m_params->ui.atb_D2->setText(m_params->ui.CheckBox_D2->isChecked() ? m.Msg_D2_WB_Current : m.Msg_D2_AFR);
}

void SeriesControls::activateForStart() {
    for (int s = 0; s < ParamChart::Series; ++s) {
        const ParamPanel::SeriesRow row = m_params->seriesRow(s);
        // A box the model profile hid does not show its series, whatever it held before.
        m_chart->setSeriesActive(s, row.check->isChecked() && !row.check->isHidden());
    }
    m_chart->queueReplot();
}

std::array<QColor, 11> SeriesControls::pointColors() const {
    std::array<QColor, 11> c;
    for (int s = 0; s < ParamChart::Series; ++s) c[std::size_t(s)] = m_params->seriesRow(s).color->barColor();
    return c;
}

void SeriesControls::paintSamples(const QColor& color) {
    for (ColorBarButton* b : m_params->widthSamples()) b->setBarColor(color);
}

void SeriesControls::colorButtonMouseMove(int series) {
    m_current = series;
    ColorBarButton* button = m_params->seriesRow(series).color;
    QFrame* panel = m_params->ui.Panel_WLine;
    const QPoint bottomRight = button->mapTo(m_params, QPoint(button->width(), button->height()));
    panel->move(bottomRight.x() - 85, bottomRight.y() + 3);
    paintSamples(button->barColor());
    panel->show();
    panel->raise();
}

void SeriesControls::widthSampleMouseDown(int sample) {
    if (m_current < 0 || sample < 0 || sample >= 6) return;
    ColorBarButton* from = m_params->widthSamples()[std::size_t(sample)];
    ColorBarButton* to = m_params->seriesRow(m_current).color;
    QFont f = to->font();
    f.setPixelSize(from->font().pixelSize());
    to->setFont(f);
    to->setText(from->text());
    m_chart->setSeriesWidth(m_current, lineWidthFor(to->barThickness()));
    m_chart->queueReplot();
}

void SeriesControls::atb_DlgColorClick() {
    m_params->ui.Panel_WLine->hide();
    m_params->ui.atb_DlgColor->setDown(false);
    if (m_current < 0) return;
    ColorBarButton* button = m_params->seriesRow(m_current).color;
    ColorDialog1->setCurrentColor(button->barColor());
    if (!m_ctx->confirm(ColorDialog1)) return;
    const QColor chosen = ColorDialog1->currentColor();
    button->setBarColor(chosen);
    paintSamples(chosen);
}

bool SeriesControls::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    const auto color = std::find(m_colors.begin(), m_colors.end(), watched);
    if (color != m_colors.end()) {
        if (type == QEvent::MouseMove || type == QEvent::Enter) colorButtonMouseMove(int(color - m_colors.begin()));
        if (type == QEvent::Leave && m_hide) m_hide->start();
        return QObject::eventFilter(watched, event);
    }
    const auto sample = std::find(m_samples.begin(), m_samples.end(), watched);
    if (sample != m_samples.end() || watched == m_dlgColor) {
        // Inside the pop-up it stays; leaving it hides it after the usual delay.
        if ((type == QEvent::MouseMove || type == QEvent::Enter) && m_hide) m_hide->stop();
        if (type == QEvent::Leave && m_hide) m_hide->start();
        if (sample != m_samples.end() && (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick))
            widthSampleMouseDown(int(sample - m_samples.begin()));
    }
    return QObject::eventFilter(watched, event);
}
