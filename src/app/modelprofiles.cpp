#include "app/modelprofiles.h"

#include "app/configuration.h"
#include "link/connection.h"
#include "link/modelprofile.h"
#include "link/operationcontext.h"
#include "settings/modeswitches.h"
#include "settings/settingspanel.h"
#include "settings/settingsreader.h"
#include "tables/table3dpanel.h"
#include "telemetry/chartpanel.h"
#include "telemetry/parampanel.h"

#include <QProgressBar>
#include <QToolButton>

ModelProfiles::ModelProfiles(ProfileParts parts, Configuration* config)
    : m_parts(std::move(parts)), m_config(config) {}

void ModelProfiles::apply(const ModelProfile& p) {
    const ProfileParts& w = m_parts;
    // 1. The module is known: its operations may be used.
    if (w.unblock) w.unblock();

    // 2. The model's views, and its set of table buttons in front.
    for (QToolButton* b : w.singleCurveViews) b->setVisible(!p.twoCurveViews);
    for (QToolButton* b : w.twoCurveViews) b->setVisible(p.twoCurveViews);
    w.tables->raiseTableButtons(p.twoCurveViews ? TableKind::Voltage : TableKind::Maf);

    // 3, 4. The load axis of the tables as register 00 holds it, with its labels.
    w.tables->setLoadAxis(w.registers->Bits_EE00.at(1) == QLatin1String("1"));
    if (w.redrawTables) w.redrawTables();

    // 5 to 7. The settings panel: groups, mode, crankshaft sensor, MAF type.
    w.modes->applyProfile(p);

    // 8. Values derived from the identification.
    Digital_MAF_Frequency = profiles::digitalMafFrequency(w.connection->Byte_4D, w.connection->Byte_4E);
    w.params->showDigitalMafFrequency(Digital_MAF_Frequency);
    const double k = profiles::fuelCalibration(w.connection->Byte_74, w.connection->Byte_75);
    if (k >= 0) w.module->K_RashTopl = k;

    // 9, 10. The chart series that make sense for this sensor configuration.
    const auto& ui = w.settings->ui;
    const ModuleFacts& m = *w.module;
    const QString code =
        profiles::sensorCode(m.Ed_Type_Datchik_1_RU, m.Ed_Type_Datchik_2_RU,
                             ui.atb_LAMBDA_Way_Displacement->isChecked() ? profiles::Way::Offset
                                                                         : profiles::Way::Normal,
                             ui.atb_DMRV_Type_Digital->isChecked());
    w.params->applyChartMask(m_config->takeMaskFor(code));
    if (p.enablesChartStart) w.chart->ui.atb_Chart1_Start->setEnabled(true);

    // 11.
    w.progress->setValue(0);
}
