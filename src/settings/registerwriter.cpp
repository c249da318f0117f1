#include "settings/registerwriter.h"

#include "common/hex.h"
#include "link/exchange.h"
#include "link/operationcontext.h"
#include "settings/chartselectors.h"
#include "settings/registers.h"
#include "settings/settingshistory.h"
#include "settings/settingspanel.h"
#include "settings/settingsreader.h"

#include <QComboBox>
#include <QTimer>
#include <QToolButton>

namespace {
const QString kZirconia = QStringLiteral("Циркониевый");

// The option keys and the register each writes, in the order the gate tries them.
struct KeyGroup {
    int reg;
    QStringList keys;
};
const QList<KeyGroup>& keyGroups() {
    static const QList<KeyGroup> groups = {
        {regs::Sensors,
         {"LAMBDA_Way_Normal", "LAMBDA_Way_Displacement", "LAMBDA_2_Normal", "LAMBDA_2_Catalizer",
          "DMRV_Type_Analog", "DMRV_Type_Digital", "DMRV_Diapazone_More", "DMRV_Diapazone_Less",
          "DMRV_Nagruzka_On", "DMRV_Nagruzka_Off", "DMRV_Korr_Right", "DMRV_Korr_Reverse",
          "DMRV_Type_Sensor_MAP", "DMRV_Type_Sensor_MAF", "Other_Mode_Simple", "Other_Mode_3D"}},
        {regs::Mode,
         {"LAMBDA_U_otn_Input", "LAMBDA_U_otn_Ground", "Other_System_On", "Other_System_Off",
          "Sens_Kolenval_Yes", "Sens_Kolenval_No", "KorrTab_MAF", "KorrTab_VV"}},
        {regs::StepSmesi,
         {"SSmesi_1", "SSmesi_2", "SSmesi_3", "SSmesi_4", "SSmesi_5", "SSmesi_6", "SSmesi_7"}},
        {regs::SpadaKorr, {"Other_Spada_Korr_1", "Other_Spada_Korr_4", "Other_Spada_Korr_8"}},
        {regs::NumBurn,
         {"Other_NumBurn_1", "Other_NumBurn_2", "Other_NumBurn_3", "Other_NumBurn_4",
          "Other_NumBurn_5", "Other_NumBurn_6", "Other_NumBurn_7", "Other_NumBurn_8"}},
        {regs::KKolenval, {"cb_K_1", "cb_K_2", "cb_K_4", "cb_K_58"}},
    };
    return groups;
}

// A register's address as it ends a write item: "10)" for register 01.
QString writeAddress(int reg) {
    return lowFirstHex(reg) + QLatin1Char(')');
}

// The bit of a pair of buttons: "0" with the first down, "1" with the second, unchanged
// with neither.
void takeBit(QString& bit, const QAbstractButton* zero, const QAbstractButton* one) {
    if (zero->isChecked())
        bit = QStringLiteral("0");
    else if (one->isChecked())
        bit = QStringLiteral("1");
}
} // namespace

RegisterWriter::RegisterWriter(OperationContext* ctx, SettingsPanel* panel, SettingsReader* state,
                               const ChartSelectors* selectors, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_panel(panel), m_state(state), m_selectors(selectors) {
    m_ctx->ex->setGate(m_ctx->ex->Timer_RegRab,
                       [this](const QString& chunk) { Timer_RegRabGate(chunk); });
    m_ctx->ex->setGate(m_ctx->ex->Timer_Write,
                       [this](const QString& chunk) { Timer_WriteGate(chunk); });
    // A write the module does not answer, or keeps refusing, ends with its register named.
    for (QTimer* t : {m_ctx->ex->Timer_RegRab, m_ctx->ex->Timer_Write})
        m_ctx->ex->setStallEnd(t, [this, t](StallKind) {
            const QString sent = m_ctx->ex->Cmd_Sent;
            t->stop();
            StallReport r;
            r.key = QStringLiteral("settingWrite");
            // A write item is the value's two digits, the register's two, then ")".
            const int reg = sent.size() == 5 ? lowFirstByte(sent.mid(2, 2)) : -1;
            r.args = {reg >= 0 ? Tab_Byte_Hex().at(reg) : QStringLiteral("??")};
            return r;
        });
}

int RegisterWriter::registerOfKey(const QString& key) {
    for (const KeyGroup& g : keyGroups())
        if (g.keys.contains(key)) return g.reg;
    return -1;
}

void RegisterWriter::computeMode() {
    const auto& ui = m_panel->ui;
    QStringList& b = m_state->Bits_EE00;
    if (ui.AdvTBtn_Emu->isChecked()) {
        b[3] = QStringLiteral("1");
        b[4] = QStringLiteral("0");
    } else if (ui.AdvTBtn_Opt->isChecked()) {
        b[3] = QStringLiteral("0");
        b[4] = QStringLiteral("0");
    } else if (ui.AdvTBtn_MAF_P->isChecked()) {
        b[3] = QStringLiteral("0");
        b[4] = QStringLiteral("1");
    }
    const QString axis = korrTabBit ? korrTabBit() : QString();
    if (!axis.isEmpty()) b[1] = axis;
    takeBit(b[7], ui.atb_Other_System_On, ui.atb_Other_System_Off);
    takeBit(b[6], ui.atb_LAMBDA_U_otn_Input, ui.atb_LAMBDA_U_otn_Ground);
    takeBit(b[0], ui.atb_Sens_Kolenval_No, ui.atb_Sens_Kolenval_Yes);
    // Bits 2 (learning) and 5 stay as the module gave them.
    m_optionText.insert(regs::Mode, bitsToWriteText(regs::textFromBits(b)));
}

void RegisterWriter::computeSensors() {
    const auto& ui = m_panel->ui;
    QStringList& b = m_state->Bits_EE01;
    takeBit(b[7], ui.atb_DMRV_Nagruzka_Off, ui.atb_DMRV_Nagruzka_On);
    takeBit(b[6], ui.atb_DMRV_Diapazone_Less, ui.atb_DMRV_Diapazone_More);
    takeBit(b[5], ui.atb_DMRV_Korr_Reverse, ui.atb_DMRV_Korr_Right);
    takeBit(b[4], ui.atb_DMRV_Type_Digital, ui.atb_DMRV_Type_Analog);
    takeBit(b[3], ui.atb_LAMBDA_Way_Normal, ui.atb_LAMBDA_Way_Displacement);
    takeBit(b[2], ui.atb_DMRV_Type_Sensor_MAF, ui.atb_DMRV_Type_Sensor_MAP);
    takeBit(b[1], ui.atb_Other_Mode_Simple, ui.atb_Other_Mode_3D);
    takeBit(b[0], ui.atb_LAMBDA_2_Normal, ui.atb_LAMBDA_2_Catalizer);
    if (m_selectors) {
        // The output frequency of a digital MAF is measured only in the range above 1 kHz.
        if (ui.atb_DMRV_Diapazone_Less->isChecked()) m_selectors->showDigitalOutput(false);
        if (ui.atb_DMRV_Diapazone_More->isChecked()) m_selectors->showDigitalOutput(true);
    }
    m_optionText.insert(regs::Sensors, bitsToWriteText(regs::textFromBits(b)));
}

void RegisterWriter::applySensorSelectorRules() {
    if (!m_selectors) return;
    const auto& ui = m_panel->ui;
    const ChartSelectors& s = *m_selectors;
    const ModuleFacts& m = m_ctx->module;
    const bool tr70 = m.model == QLatin1String("TR-70");
    const bool tr90 = m.model == QLatin1String("TR-90");
    const bool wayNormal = ui.atb_LAMBDA_Way_Normal->isChecked();
    const bool wayOffset = ui.atb_LAMBDA_Way_Displacement->isChecked();
    const bool ch2Normal = ui.atb_LAMBDA_2_Normal->isChecked();
    const bool ch2Catalyst = ui.atb_LAMBDA_2_Catalizer->isChecked();
    // In this order; a later rule overrides an earlier one.
    if (ch2Normal && tr70) {
        if (wayNormal) s.Show_D2_Plain();
        if (wayOffset) s.Show_D2_Split();
    }
    if (ch2Normal && tr90) s.Show_D2_Plain();
    if (ch2Catalyst) s.Show_D2_Plain();
    if (m.Ed_Type_Datchik_1_RU == kZirconia) {
        if (wayNormal) s.Show_D1_Plain();
        if (wayOffset) s.Show_D1_Split();
    }
    if (m.Ed_Type_Datchik_2_RU == kZirconia) {
        if (wayNormal) s.Show_D2_Plain();
        if (wayOffset && ch2Catalyst) s.Show_D2_Plain();
        if (wayOffset && ch2Normal) s.Show_D2_Split();
    }
    if (tr90) {
        s.Show_D1_Plain();
        s.Show_D2_Plain();
    }
}

void RegisterWriter::computeCodes() {
    const auto& ui = m_panel->ui;
    // A caption outside the code table keeps the previous byte.
    const int lean = regs::stepSmesiCode(ui.atb_LAMBDA_StepSmesi->text());
    if (lean >= 0) m_optionText.insert(regs::StepSmesi, lowFirstHex(lean));

    // Without a selection the coefficient last read stands (a value above 4 counts as 2);
    // a coefficient whose digits were garbage is no byte and keeps the previous text.
    const int idx = ui.cb_K->currentIndex();
    const int k =
        idx >= 0 && idx < regs::kCodes().size() ? regs::kCodes().at(idx) : regs::kPrime(m_state->K);
    if (k >= 0 && k <= 255) m_optionText.insert(regs::KKolenval, lowFirstHex(k));

    if (ui.atb_Other_Spada_Korr_1->isChecked())
        m_optionText.insert(regs::SpadaKorr, lowFirstHex(1));
    if (ui.atb_Other_Spada_Korr_4->isChecked())
        m_optionText.insert(regs::SpadaKorr, lowFirstHex(4));
    if (ui.atb_Other_Spada_Korr_8->isChecked())
        m_optionText.insert(regs::SpadaKorr, lowFirstHex(8));

    const QList<QToolButton*> burn = {ui.atb_Other_NumBurn_1, ui.atb_Other_NumBurn_2,
                                      ui.atb_Other_NumBurn_3, ui.atb_Other_NumBurn_4,
                                      ui.atb_Other_NumBurn_5, ui.atb_Other_NumBurn_6,
                                      ui.atb_Other_NumBurn_7, ui.atb_Other_NumBurn_8};
    for (int n = 1; n <= 8; ++n)
        if (burn.at(n - 1)->isChecked()) m_optionText.insert(regs::NumBurn, lowFirstHex(n));
}

void RegisterWriter::Btn_RegRab_Write() {
    computeMode();
    computeSensors();
    applySensorSelectorRules();
    computeCodes();

    const int reg = registerOfKey(RegRab_Key);
    const QString text = m_optionText.value(reg);
    // A key that names no register (none chosen yet) has nothing to write; a timer
    // started without a command of its own would repeat someone else's forever.
    if (reg < 0 || text.isEmpty()) return;
    if (!m_ctx->portOpen()) return;
    if (writesHeld()) {
        m_waiting = [this] { Btn_RegRab_Write(); };
        return;
    }
    Exchange* ex = m_ctx->ex;
    // A parameter write still waiting for its acknowledgement loses its pending command
    // here; its gate would never see that command again, so it ends now.
    ex->Timer_Write->stop();
    ex->start(ex->Timer_RegRab, text + writeAddress(reg));
}

void RegisterWriter::writeOption(const QString& key) {
    RegRab_Key = key;
    Btn_RegRab_Write();
}

void RegisterWriter::Timer_RegRabGate(const QString& chunk) {
    Exchange* ex = m_ctx->ex;
    for (const KeyGroup& g : keyGroups()) {
        const QString text = m_optionText.value(g.reg);
        if (text.isEmpty()) continue;
        const QString cmd = text + writeAddress(g.reg);
        if (ex->Cmd_Sent != cmd) continue;
        ex->showSentCommand();
        if (ex->answerText(chunk) == QLatin1String("!")) {
            ex->movedOn();
            ex->Timer_RegRab->stop();
            keepWrittenCopy(g.reg, lowFirstByte(text));
        } else {
            ex->refused();
        }
        // Any other answer: the next tick sends the same command again, as long as it is
        // still the pending one. Setting it here would undo a newer write the user made
        // while this answer was on its way.
        return;
    }
}

void RegisterWriter::writeParameter(int reg, int byte) {
    const QString cmd = writeItem(byte, reg);
    m_paramCommand.insert(reg, cmd);
    if (!m_ctx->portOpen()) return;
    if (writesHeld()) {
        m_waiting = [this, reg, byte] { writeParameter(reg, byte); };
        return;
    }
    Exchange* ex = m_ctx->ex;
    // An option write still waiting for its acknowledgement is replaced, as above.
    ex->Timer_RegRab->stop();
    ex->start(ex->Timer_Write, cmd);
}

void RegisterWriter::Timer_WriteGate(const QString& chunk) {
    Exchange* ex = m_ctx->ex;
    for (auto it = m_paramCommand.cbegin(); it != m_paramCommand.cend(); ++it) {
        if (ex->Cmd_Sent != it.value()) continue;
        ex->showSentCommand();
        // Register 05 takes whatever comes first as the end of its write.
        if (it.key() == int(regs::Num::Lambda1Korr) || ex->answerText(chunk) == QLatin1String("!")) {
            ex->movedOn();
            ex->Timer_Write->stop();
            keepWrittenCopy(it.key(), lowFirstByte(it.value()));
        } else {
            ex->refused();
        }
        // Otherwise the write is repeated by the next tick, unless a newer one replaced it.
        return;
    }
}

bool RegisterWriter::writesHeld() const {
    const Exchange* ex = m_ctx->ex;
    for (const QTimer* t : {ex->Timer_Emulator, ex->Timer_Optimizator, ex->Timer_MAF_MAP,
                            ex->Timer_Lambda_Ticher, ex->Timer_Lambda_Ticher_02})
        if (t->isActive()) return true;
    return false;
}

void RegisterWriter::resumeWrites() {
    if (!m_waiting || writesHeld()) return;
    const auto write = std::move(m_waiting);
    m_waiting = nullptr;
    write();
}

void RegisterWriter::keepWrittenCopy(int reg, int byte) {
    if (reg >= 0 && byte >= 0) m_state->Register_Bytes.insert(reg, byte);
    settingshistory::keep(*m_ctx, m_state->Register_Bytes, true);
}
