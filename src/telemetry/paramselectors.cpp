// The parameter list's sensor selectors as the module's wiring decides them: which of the
// Lambda rows make sense, and which of the MAF rows.
#include "common/messages.h"
#include "telemetry/parampanel.h"

namespace {
// A selector is its whole row: check box, name, colour button, and the reading and axis
// preset beside them where the row has them.
void showRow(bool visible, std::initializer_list<QWidget*> row) {
    for (QWidget* w : row)
        if (w) w->setVisible(visible);
}
} // namespace

void ParamPanel::Show_D1_Plain() {
    showRow(true, {ui.cb_D1, ui.atb_D1, ui.atb_D1_Color, ui.Lbl_D1, ui.rb04});
    ui.atb_D1->setText(msgs().Msg_D1_Zirc_Voltage);
    showRow(false, {ui.cb_D1_do, ui.atb_D1_do, ui.atb_D1_do_Color, ui.Lbl_D1_do, ui.rb06});
    showRow(false,
            {ui.cb_D1_posle, ui.atb_D1_posle, ui.atb_D1_posle_Color, ui.Lbl_D1_posle, ui.rb07});
}

void ParamPanel::Show_D1_Split() {
    showRow(false, {ui.cb_D1, ui.atb_D1, ui.atb_D1_Color, ui.Lbl_D1, ui.rb04});
    showRow(true, {ui.cb_D1_do, ui.atb_D1_do, ui.atb_D1_do_Color, ui.Lbl_D1_do, ui.rb06});
    showRow(true,
            {ui.cb_D1_posle, ui.atb_D1_posle, ui.atb_D1_posle_Color, ui.Lbl_D1_posle, ui.rb07});
}

void ParamPanel::Show_D2_Plain() {
    showRow(true, {ui.cb_D2, ui.atb_D2, ui.atb_D2_Color, ui.Lbl_D2, ui.rb05});
    ui.atb_D2->setText(msgs().Msg_D2_Zirc_Voltage);
    showRow(false, {ui.cb_D2_do, ui.atb_D2_do, ui.atb_D2_do_Color, ui.Lbl_D2_do, ui.rb08});
    showRow(false,
            {ui.cb_D2_posle, ui.atb_D2_posle, ui.atb_D2_posle_Color, ui.Lbl_D2_posle, ui.rb09});
}

void ParamPanel::Show_D2_Split() {
    showRow(false, {ui.cb_D2, ui.atb_D2, ui.atb_D2_Color, ui.Lbl_D2, ui.rb05});
    showRow(true, {ui.cb_D2_do, ui.atb_D2_do, ui.atb_D2_do_Color, ui.Lbl_D2_do, ui.rb08});
    showRow(true,
            {ui.cb_D2_posle, ui.atb_D2_posle, ui.atb_D2_posle_Color, ui.Lbl_D2_posle, ui.rb09});
}

void ParamPanel::showDigitalOutputSelector(bool visible) {
    showRow(visible, {ui.cb_digDMRV_Output, ui.atb_digDMRV_Output, ui.atb_digDMRV_Output_Color,
                      ui.Lbl_digDMRV_Output});
}

void ParamPanel::showPulseFrequencySelector(bool visible) {
    // The range indicator beside the name belongs to the row; left alone in its cell it
    // would also upset the widths of the list's columns.
    showRow(visible, {ui.cb_Per4_imp, ui.atb_Per4_imp, ui.Shape100, ui.atb_Per4_imp_Color,
                      ui.Lbl_Per4_imp, ui.rb11});
}

void ParamPanel::showAnalogVoltageSelector(bool visible) {
    showRow(visible,
            {ui.cb_U_analog, ui.atb_U_analog, ui.atb_U_analog_Color, ui.Lbl_U_analog, ui.rb03});
}
