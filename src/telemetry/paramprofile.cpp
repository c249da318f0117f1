// The parameter list as the module's sensor equipment and the saved choices arrange it:
// the chart visibility mask, the wideband choices, the digital MAF's output frequency and
// the list's values in the settings file.
#include "common/messages.h"
#include "common/numtext.h"
#include "common/uitexts.h"
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

void ParamPanel::collectConfiguration(cfg::Info& info) const {
    info.Type_In_RashTo = ui.atb_RT_TypeCalc->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    for (int i = 0; i < chartseries::Count; ++i) {
        const QColor c = seriesRow(i).color->barColor();
        info.colors[i] = cfg::colorText((unsigned(c.red()) << 16) | (unsigned(c.green()) << 8) | unsigned(c.blue()));
    }
}

void ParamPanel::applyConfiguration(const cfg::Info& info) {
    // "0" is the plain consumption; any other value the averaged one.
    const bool averaged = info.Type_In_RashTo != QLatin1String("0");
    QToolButton* b = ui.atb_RT_TypeCalc;
    b->setChecked(averaged);
    b->setText(uitexts::stateCaption(b->objectName(), averaged, uitexts::currentLang()));
    for (int i = 0; i < chartseries::Count; ++i) {
        unsigned rgb = 0;
        if (cfg::colorFromText(info.colors[i], &rgb)) seriesRow(i).color->setBarColor(QColor::fromRgb(rgb));
    }
}
