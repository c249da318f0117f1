#include "telemetry/parampanel.h"

#include "common/numtext.h"
#include "telemetry/chartseries.h"

ParamPanel::ParamPanel(QWidget* parent) : QWidget(parent) {
    ui.setupUi(this);

    m_rows = {{
        {ui.cb_T_vpryska_topl, ui.atb_TVT_Color, ui.atb_T_vpryska_topl, ui.Lbl_TVT, ui.rb01},
        {ui.cb_RashTopl, ui.atb_RT_Color, ui.atb_RashTopl, ui.Lbl_RashTopl, ui.rb02},
        {ui.cb_U_analog, ui.atb_U_analog_Color, ui.atb_U_analog, ui.Lbl_U_analog, ui.rb03},
        {ui.cb_D1, ui.atb_D1_Color, ui.atb_D1, ui.Lbl_D1, ui.rb04},
        {ui.cb_D2, ui.atb_D2_Color, ui.atb_D2, ui.Lbl_D2, ui.rb05},
        {ui.cb_D1_do, ui.atb_D1_do_Color, ui.atb_D1_do, ui.Lbl_D1_do, ui.rb06},
        {ui.cb_D1_posle, ui.atb_D1_posle_Color, ui.atb_D1_posle, ui.Lbl_D1_posle, ui.rb07},
        {ui.cb_D2_do, ui.atb_D2_do_Color, ui.atb_D2_do, ui.Lbl_D2_do, ui.rb08},
        {ui.cb_D2_posle, ui.atb_D2_posle_Color, ui.atb_D2_posle, ui.Lbl_D2_posle, ui.rb09},
        {ui.cb_PVK, ui.atb_PVK_Color, ui.atb_PVK, ui.Lbl_PVK, ui.rb10},
        {ui.cb_Per4_imp, ui.atb_Per4_imp_Color, ui.atb_Per4_imp, ui.Lbl_Per4_imp, ui.rb11},
    }};
    for (int i = 0; i < chartseries::Count; ++i)
        m_rows[i].color->setBarColor(chartseries::initialColor(i));
    // The output frequency of the digital MAF is shown as a value only; its button keeps
    // a neutral colour.
    ui.atb_digDMRV_Output_Color->setBarColor(QColor(128, 128, 128));

    // The samples' font heights are the line widths they offer; choosing one copies the
    // font to the colour button, whose bar then takes that thickness.
    const int heights[6] = {1, 3, 4, 5, 7, 8};
    const auto samples = widthSamples();
    for (int i = 0; i < 6; ++i) {
        QFont f = samples[i]->font();
        f.setPixelSize(heights[i]);
        samples[i]->setFont(f);
        samples[i]->setBarColor(palette().color(QPalette::WindowText));
    }
    ui.Panel_WLine->raise();

    // The range indicator of the digital MAF frequency starts white (range below 1 kHz).
    QPalette shape = ui.Shape100->palette();
    shape.setColor(QPalette::Window, Qt::white);
    ui.Shape100->setPalette(shape);

    // Parameter names read as a list: left-aligned text on flat buttons, one point smaller
    // than the rest so that the longest names fit the panel's width.
    setStyleSheet(QStringLiteral("QPushButton[flat=\"true\"] { text-align: left; border: none;"
                                 " padding: 2px 3px; font-size: 8pt; }"));
}

ParamPanel::SeriesRow ParamPanel::seriesRow(int series) const {
    if (series < 0 || series >= int(m_rows.size())) return {};
    return m_rows[series];
}

void ParamPanel::showReadout(int series, double value) {
    const SeriesRow row = seriesRow(series);
    if (!row.readout) return;
    const QString text = row.name->isHidden() ? QString() : formatGeneral(value);
    // A replay writes every frame; an unchanged text costs nothing.
    if (row.readout->text() != text) row.readout->setText(text);
}

std::array<ColorBarButton*, 6> ParamPanel::widthSamples() const {
    return {ui.atb_WLine_1, ui.atb_WLine_2, ui.atb_WLine_3,
            ui.atb_WLine_4, ui.atb_WLine_5, ui.atb_WLine_6};
}
