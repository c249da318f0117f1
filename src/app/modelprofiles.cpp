#include "app/modelprofiles.h"

#include "app/configuration.h"
#include "app/mainwindow.h"
#include "link/modelprofile.h"
#include "settings/modeswitches.h"
#include "settings/settingspanel.h"
#include "settings/settingsreader.h"
#include "tables/table3dpanel.h"
#include "telemetry/chartpanel.h"
#include "telemetry/parampanel.h"

#include <QProgressBar>
#include <QToolButton>

ModelProfiles::ModelProfiles(TForm1* window, Configuration* config) : m_w(window), m_config(config) {}

void ModelProfiles::apply(const ModelProfile& p) {
    TForm1& w = *m_w;
    // 1. The module is known: its operations may be used.
    w.Btn_UnBlockClick();

    // 2. The model's views, and its set of table buttons in front.
    for (QToolButton* b : {w.atb_Lambda, w.atb_Emu, w.atb_MAF}) b->setVisible(!p.twoCurveViews);
    for (QToolButton* b : {w.atb_TR_90_Lambda_1, w.atb_TR_90_Lambda_2, w.atb_MAF_TR_90})
        b->setVisible(p.twoCurveViews);
    w.Panel_3D->raiseTableButtons(p.twoCurveViews ? TableKind::Voltage : TableKind::Maf);

    // 3, 4. The load axis of the tables as register 00 holds it, with its labels.
    w.Panel_3D->setLoadAxis(w.Settings->Bits_EE00.at(1) == QLatin1String("1"));
    w.btnRefresh3D();

    // 5 to 7. The settings panel: groups, mode, crankshaft sensor, MAF type.
    w.Modes->applyProfile(p);

    // 8. Values derived from the identification.
    Digital_MAF_Frequency = profiles::digitalMafFrequency(w.Conn->Byte_4D, w.Conn->Byte_4E);
    w.Panel_Parr_Parr_Max->showDigitalMafFrequency(Digital_MAF_Frequency);
    const double k = profiles::fuelCalibration(w.Conn->Byte_74, w.Conn->Byte_75);
    if (k >= 0) w.Ctx.module.K_RashTopl = k;

    // 9, 10. The chart series that make sense for this sensor configuration.
    const auto& ui = w.Panel_Sett_Max->ui;
    const ModuleFacts& m = w.Ctx.module;
    const QString code =
        profiles::sensorCode(m.Ed_Type_Datchik_1_RU, m.Ed_Type_Datchik_2_RU,
                             ui.atb_LAMBDA_Way_Displacement->isChecked() ? profiles::Way::Offset
                                                                         : profiles::Way::Normal,
                             ui.atb_DMRV_Type_Digital->isChecked());
    w.Panel_Parr_Parr_Max->applyChartMask(m_config->takeMaskFor(code));
    if (p.enablesChartStart) w.Panel_Parr_Max->ui.atb_Chart1_Start->setEnabled(true);

    // 11.
    w.ProgressBar1->setValue(0);
}
