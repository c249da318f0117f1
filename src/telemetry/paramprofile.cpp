// The parameter list as the module's sensor equipment and the saved choices arrange it:
// the chart visibility mask, the wideband choices and the digital MAF's output frequency.
#include "common/messages.h"
#include "common/numtext.h"
#include "telemetry/chartseries.h"
#include "telemetry/parampanel.h"

namespace {
QCheckBox* choiceBox(const Ui::ParamPanel& ui, int sensor) {
    return sensor == 2 ? ui.CheckBox_D2 : ui.CheckBox_D1;
}
} // namespace

void ParamPanel::applyChartMask(const QString& mask) {
    for (int i = 0; i < chartseries::Count; ++i) {
        const bool on = i < mask.size() && mask.at(i) == QLatin1Char('1');
        const SeriesRow row = seriesRow(i);
        row.check->setChecked(on);
        row.color->setEnabled(on);
    }
}

QString ParamPanel::chartMask() const {
    QString mask(chartseries::Count, QLatin1Char('0'));
    for (int i = 0; i < chartseries::Count; ++i)
        if (seriesRow(i).check->isChecked()) mask[i] = QLatin1Char('1');
    return mask;
}

void ParamPanel::showWidebandChoice(int sensor, bool current) {
    const Messages& m = msgs();
    // A wideband sensor has one reading, shown in its plain row.
    if (sensor == 2) {
        Show_D2_Plain();
        ui.atb_D2->setText(current ? m.Msg_D2_WB_Current : m.Msg_D2_AFR);
    } else {
        Show_D1_Plain();
        ui.atb_D1->setText(current ? m.Msg_D1_WB_Current : m.Msg_D1_AFR);
    }
    QCheckBox* box = choiceBox(ui, sensor);
    box->setChecked(current);
    box->show();
}

void ParamPanel::hideWidebandChoice(int sensor) { choiceBox(ui, sensor)->hide(); }

void ParamPanel::setWidebandCurrent(int sensor, bool current) { choiceBox(ui, sensor)->setChecked(current); }

bool ParamPanel::widebandCurrent(int sensor) const { return choiceBox(ui, sensor)->isChecked(); }

void ParamPanel::showDigitalMafFrequency(double hz) { ui.Lbl_digDMRV_Output->setText(formatGeneral(hz)); }
