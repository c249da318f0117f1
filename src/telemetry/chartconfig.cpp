// The chart panel's values in the settings file.
#include "common/numtext.h"
#include "telemetry/chartpanel.h"

namespace {
// A saved number in the locale's form; anything else keeps the edit's text.
void applyNumber(QLineEdit* edit, const QString& saved) {
    double v = 0;
    if (parseNumber(saved, &v)) edit->setText(formatGeneral(v));
}
} // namespace

void ChartPanel::collectConfiguration(cfg::Info& info) const {
    info.Diapazone = ui.Ed_Limit->text();
    if (ui.atb_Type_Graf_Nepr->isChecked()) info.Index_TypeInput = QStringLiteral("0");
    if (ui.atb_Type_Graf_Page->isChecked()) info.Index_TypeInput = QStringLiteral("1");
    info.Enum_Page = ui.Edit_Width_Page_Graf->text();
}

void ChartPanel::applyConfiguration(const cfg::Info& info) {
    applyNumber(ui.Ed_Limit, info.Diapazone);
    if (info.Index_TypeInput == QLatin1String("0")) ui.atb_Type_Graf_Nepr->setChecked(true);
    if (info.Index_TypeInput == QLatin1String("1")) ui.atb_Type_Graf_Page->setChecked(true);
    applyNumber(ui.Edit_Width_Page_Graf, info.Enum_Page);
}
