// The settings panel's part of a model profile: which groups the model offers, the mode the
// module reports, and the dependants of the crankshaft sensor, the MAF type and the
// correction mode, as read from the module's registers 00 and 01.
#include "link/modelprofile.h"
#include "link/operationcontext.h"
#include "settings/chartselectors.h"
#include "settings/modeswitches.h"
#include "settings/settingspanel.h"
#include "settings/settingsreader.h"

#include <QButtonGroup>
#include <QToolButton>

void ModeSwitches::applyProfile(const ModelProfile& p) {
    auto& ui = m_panel->ui;
    ModuleFacts& facts = m_ctx->module;
    const QStringList& mode = m_state->Bits_EE00;
    const auto dim = [this](QGroupBox* g, bool dimmed) {
        if (g) m_panel->setDimmed(g, dimmed);
    };

    resetViews();
    if (p.zirconiaOnly) {
        facts.Ed_Type_Datchik_1_RU = kZirconiaSensor;
        facts.Ed_Type_Datchik_2_RU = kZirconiaSensor;
    }
    // Groups another model has no use for are usable again for this one (a module of the
    // other model may have been connected before in this run).
    for (const QString& name : profiles::groupsDimmedByAnyProfile())
        if (!p.dimmedGroups.contains(name)) dim(m_panel->settingGroup(name), false);

    // The mode: a choice shown as the module holds it, or no choice at all.
    const QList<QToolButton*> modeButtons = {ui.AdvTBtn_Emu, ui.AdvTBtn_Opt, ui.AdvTBtn_MAF_P};
    if (p.modeChoice) {
        dim(ui.gb_LAMBDA_Regim, false);
        for (QToolButton* b : modeButtons) {
            b->show();
            b->setEnabled(true);
        }
        showModuleMode();
    } else {
        dim(ui.gb_LAMBDA_Regim, true);
        Flag_User_Emu = false;
        // No mode button stays down: a write of register 00 then keeps the mode bits the
        // module holds instead of those of a module connected earlier.
        ui.grp_LAMBDA_Regim->setExclusive(false);
        for (QToolButton* b : modeButtons) b->setChecked(false);
        ui.grp_LAMBDA_Regim->setExclusive(true);
    }

    // The crankshaft sensor takes the extra input: the MAF sensor is then an analog one.
    if (mode.at(0) == QLatin1String("1")) {
        ui.atb_Sens_Kolenval_Yes->setChecked(true);
        m_state->Bits_EE01[4] = QStringLiteral("1");
        ui.atb_DMRV_Type_Analog->setChecked(true);
        dim(ui.gb_DMRV_Diapazone, true);
        dim(ui.gb_DMRV_Type, true);
        if (m_selectors) {
            m_selectors->showPulseFrequency(false);
            m_selectors->showDigitalOutput(false);
            m_selectors->showAnalogVoltage(true);
        }
        if (p.correctionModeRule) dim(ui.gb_DMRV_Porog_Korr, false);
    } else {
        ui.atb_Sens_Kolenval_No->setChecked(true);
        dim(ui.gb_DMRV_Type, false);
    }

    // The MAF type's rows.
    if (ui.atb_DMRV_Type_Digital->isChecked()) {
        dim(ui.gb_DMRV_Diapazone, false);
        if (m_selectors) {
            // The same rule as the option write's: the output frequency is offered in the
            // range above 1 kHz.
            if (ui.atb_DMRV_Diapazone_More->isChecked()) m_selectors->showDigitalOutput(true);
            if (ui.atb_DMRV_Diapazone_Less->isChecked()) m_selectors->showDigitalOutput(false);
            m_selectors->showAnalogVoltage(false);
            m_selectors->showPulseFrequency(true);
        }
        if (p.correctionModeRule) dim(ui.gb_DMRV_Porog_Korr, true);
    } else if (ui.atb_DMRV_Type_Analog->isChecked()) {
        if (m_selectors) {
            m_selectors->showDigitalOutput(false);
            m_selectors->showPulseFrequency(false);
            m_selectors->showAnalogVoltage(true);
        }
        if (p.analogDimsRange) dim(ui.gb_DMRV_Diapazone, true);
    }

    if (p.correctionModeRule) {
        const bool simple = ui.atb_Other_Mode_Simple->isChecked();
        dim(ui.gb_DMRV_K_Korr, !simple);
        dim(ui.gb_LAMBDA_1_Korr, !simple);
    }

    for (const QString& name : p.dimmedGroups) dim(m_panel->settingGroup(name), true);
    for (const QString& name : p.activeGroups) dim(m_panel->settingGroup(name), false);

    if (p.learningFromBit) m_panel->showLearning(mode.at(2) != QLatin1String("0"));
    if (p.offsetWayOnly) ui.atb_LAMBDA_Way_Displacement->setChecked(true);

    if (!m_selectors) return;
    if (p.plainSensorRows) {
        m_selectors->Show_D1_Plain();
        m_selectors->Show_D2_Plain();
    } else if (facts.Ed_Type_Datchik_2_RU == kZirconiaSensor) {
        // Sensor 2 before and after the module where it is wired through the offset and
        // works as an ordinary Lambda channel; its plain voltage otherwise.
        if (ui.atb_LAMBDA_2_Normal->isChecked() && ui.atb_LAMBDA_Way_Displacement->isChecked())
            m_selectors->Show_D2_Split();
        else
            m_selectors->Show_D2_Plain();
    }
}
