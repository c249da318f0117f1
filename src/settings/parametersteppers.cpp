#include "settings/parametersteppers.h"

#include "common/messages.h"
#include "common/numtext.h"
#include "link/operationcontext.h"
#include "settings/registerwriter.h"
#include "settings/settingspanel.h"

#include <QComboBox>
#include <QLineEdit>

using regs::Num;

ParameterSteppers::ParameterSteppers(OperationContext* ctx, SettingsPanel* panel, Stepper* stepper,
                                     RegisterWriter* writer, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_panel(panel), m_writer(writer) {
    const auto& ui = panel->ui;
    // Limits and steps in displayed units; scale 100 keeps the tenths of the threshold and
    // the hundredths of the MAF coefficient whole in the step arithmetic.
    m_params = {
        {Num::Lambda1Korr,
         ui.Ed_LAMBDA_1_Korr,
         ui.atb_LAMBDA_1_Korr_Down,
         ui.atb_LAMBDA_1_Korr_Up,
         {-0.99, 0, 0.01, 1}},
        {Num::UMax,
         ui.Ed_LAMBDA_U_Max,
         ui.atb_LAMBDA_U_Max_Down,
         ui.atb_LAMBDA_U_Max_Up,
         {0, 1.1, 0.01, 1}},
        {Num::PorogKorr,
         ui.Ed_DMRV_Porog_Korr,
         ui.atb_DMRV_Porog_Korr_Down,
         ui.atb_DMRV_Porog_Korr_Up,
         {0, 5, 0.1, 100}},
        {Num::DmrvKKorr,
         ui.Ed_DMRV_K_Korr,
         ui.atb_DMRV_K_Korr_Down,
         ui.atb_DMRV_K_Korr_Up,
         {-1, 1, 0.01, 100}},
        {Num::ZadKorr,
         ui.Ed_Other_Zad_Korr,
         ui.atb_Other_Zad_Korr_Down,
         ui.atb_Other_Zad_Korr_Up,
         {0, 120, 1, 1}},
        {Num::PointKorr,
         ui.Ed_Other_Point_Korr,
         ui.atb_Other_Point_Korr_Down,
         ui.atb_Other_Point_Korr_Up,
         {1500, 5000, 100, 1}},
        {Num::K_Fuel,
         ui.Ed_Other_K_Fuel,
         ui.atb_Other_K_Fuel_Down,
         ui.atb_Other_K_Fuel_Up,
         {1, 250, 1, 1}},
        {Num::VolEng,
         ui.Ed_Other_VolEng,
         ui.atb_Other_VolEng_Down,
         ui.atb_Other_VolEng_Up,
         {1.2, 6.4, 0.1, 1}},
    };
    for (const Parameter& p : std::as_const(m_params)) {
        stepper->attach(
            p.down, p.up, p.edit, p.range, [this, p] { writeParameter(p); },
            [this, p](bool over) {
                if (over) {
                    m_panel->Show_Range_Popup(p.edit, p.range.min, p.range.max);
                } else {
                    m_panel->Hide_Range_Popup();
                }
            });
    }
}

void ParameterSteppers::writeParameter(const Parameter& p) {
    const QString text = p.edit->text();
    double x = 0;
    if (!parseNumber(text, &x)) {
        m_ctx->error((msgs().english() ? QStringLiteral("The value '%1' is not a number")
                                       : QStringLiteral("Значение «%1» не является числом"))
                         .arg(text));
        return;
    }
    int k = 1;
    if (p.reg == Num::PointKorr) {
        const QString kText = m_panel->ui.cb_K->currentText();
        double kv = 0;
        if (!parseNumber(kText, &kv)) {
            m_ctx->error((msgs().english()
                              ? QStringLiteral("No crankshaft coefficient chosen: '%1' is not a number")
                              : QStringLiteral("Коэффициент коленвала не выбран: «%1» не является числом"))
                             .arg(kText));
            return;
        }
        k = int(kv);
    }
    const int byte = regs::encode(p.reg, x, k);
    // Within the limits every value is a byte; a value read from a module that held
    // something else, stepped once, may not be. Its low eight bits would be a different
    // setting, so it is not written.
    if (byte < 0 || byte > 255) {
        m_ctx->error((msgs().english()
                          ? QStringLiteral("The value '%1' cannot be written to the module: allowed %2 to %3")
                          : QStringLiteral("Значение «%1» нельзя записать в модуль: допустимо от %2 до %3"))
                         .arg(text, formatGeneral(p.range.min), formatGeneral(p.range.max)));
        return;
    }
    m_writer->writeParameter(int(p.reg), byte);
}
