#include "settings/modeswitches.h"

#include "common/datetime.h"
#include "common/hex.h"
#include "common/messages.h"
#include "dialogs/confirmations.h"
#include "link/connection.h"
#include "link/exchange.h"
#include "link/modelprofile.h"
#include "link/operationcontext.h"
#include "settings/chartselectors.h"
#include "settings/modehooks.h"
#include "settings/registers.h"
#include "settings/registerwriter.h"
#include "settings/settingspanel.h"
#include "settings/settingsreader.h"

#include <QComboBox>
#include <QTimer>
#include <QToolButton>

namespace {

// What a switch writes and logs, by mode.
struct ModeText {
    const char* bit4;
    const char* bit3;
    const char* modeLine;      // after the read of register 00 (UTF-8)
    const char* selectionLine; // after every answer to the write
    bool emptyLineAfterBits;
};
const ModeText kModes[3] = {
    {"0", "1", "ПЕРЕХОД В РЕЖИМ ЭМУЛЯТОР. ПОЛУЧЕНЫ БИТЫ EEPROM-00 ", "Выбран режим ЭМУЛЯТОР ", false},
    {"0", "0", "ПЕРЕХОД В РЕЖИМ ОПТИМИЗАТОРА. ПОЛУЧЕНЫ БИТЫ EEPROM-00 ", "Выбран режим ОПТИМИЗАТОР ", true},
    {"1", "0", "ПЕРЕХОД В РЕЖИМ MAF (P). ПОЛУЧЕНЫ БИТЫ EEPROM-00 ", "Выбран режим MAF(P) ", true},
};

const QString kReadMode = QStringLiteral("00*");

} // namespace

ModeSwitches::ModeSwitches(OperationContext* ctx, SettingsPanel* panel, SettingsReader* state,
                           RegisterWriter* writer, const Connection* identification,
                           const ChartSelectors* selectors, const ModeHooks* hooks,
                           TfmPredupr0C* coefficientChanged, TfmPredupr0D* noCoefficient,
                           QObject* parent)
    : QObject(parent), m_ctx(ctx), m_panel(panel), m_state(state), m_writer(writer),
      m_id(identification), m_selectors(selectors), m_hooks(hooks), m_fm0C(coefficientChanged),
      m_fm0D(noCoefficient) {
    Exchange* ex = m_ctx->ex;
    for (Mode m : {Mode::Emulator, Mode::Optimizer, Mode::MafP})
        ex->setGate(timerOf(m), [this, m](const QString& chunk) { switchGate(m, chunk); });
    // A switch the module does not answer, or whose write it keeps refusing, ends; a
    // settings write that waited for it is dropped, as the module would not take it either.
    for (Mode m : {Mode::Emulator, Mode::Optimizer, Mode::MafP})
        ex->setStallEnd(timerOf(m), [this, m](StallKind) {
            timerOf(m)->stop();
            m_writer->forgetHeldWrite();
            static const char* const keys[3] = {"modeSwitch.Emulator", "modeSwitch.Optimizer", "modeSwitch.MafP"};
            StallReport r;
            r.key = QLatin1String(keys[int(m)]);
            return r;
        });

    auto& ui = m_panel->ui;
    connect(ui.AdvTBtn_Emu, &QToolButton::clicked, this, &ModeSwitches::AdvTBtn_EmuClick);
    connect(ui.AdvTBtn_Opt, &QToolButton::clicked, this, &ModeSwitches::AdvTBtn_OptClick);
    connect(ui.AdvTBtn_MAF_P, &QToolButton::clicked, this, &ModeSwitches::AdvTBtn_MAF_PClick);
    for (QGroupBox* g : m_panel->settingGroups())
        if (m_panel->isDimmed(g)) m_freshDimmed << g;
}

void ModeSwitches::resetViews() {
    // A module connected earlier in this run leaves its mode's view behind: groups the view
    // dimmed or showed, its sensor types, the MAF(P) note, the wideband choices, the
    // coefficient 58. The next
    // module starts from the panel of a fresh start, whatever model or mode it has.
    for (QGroupBox* g : m_panel->settingGroups()) m_panel->setDimmed(g, m_freshDimmed.contains(g));
    // The sensor types are this module's to tell (the profile or the optimizer view do).
    m_ctx->module.Ed_Type_Datchik_1_RU.clear();
    m_ctx->module.Ed_Type_Datchik_2_RU.clear();
    ModeHooks::call(m_hooks ? m_hooks->mafPNote : nullptr, false);
    ModeHooks::call(m_hooks ? m_hooks->hideWidebandChoice : nullptr, 1);
    ModeHooks::call(m_hooks ? m_hooks->hideWidebandChoice : nullptr, 2);
    // The register read of this module added 58 itself when the module holds it.
    QComboBox* k = m_panel->ui.cb_K;
    if (k->count() > 3 && k->currentIndex() != 3) k->removeItem(3);
}

QTimer* ModeSwitches::timerOf(Mode mode) const {
    Exchange* ex = m_ctx->ex;
    switch (mode) {
    case Mode::Emulator:
        return ex->Timer_Emulator;
    case Mode::Optimizer:
        return ex->Timer_Optimizator;
    case Mode::MafP:
        break;
    }
    return ex->Timer_MAF_MAP;
}

bool ModeSwitches::isTr90() const { return m_ctx->module.model == QLatin1String("TR-90"); }

ModeSwitches::Mode ModeSwitches::modeOfBits(const QString& bit3, const QString& bit4) {
    if (bit3 == QLatin1String("1")) return Mode::Emulator;
    if (bit4 == QLatin1String("1")) return Mode::MafP;
    return Mode::Optimizer;
}

// --- the mode buttons ---------------------------------------------------------------

void ModeSwitches::showModeDisplay(Mode mode) {
    switch (mode) {
    case Mode::Emulator:
        ModeHooks::call(m_hooks ? m_hooks->emuView : nullptr, true);
        ModeHooks::call(m_hooks ? m_hooks->lambdaView : nullptr, false);
        break;
    case Mode::Optimizer:
        m_panel->setDimmed(m_panel->ui.gb_LAMBDA_U_Max, false);
        m_panel->setDimmed(m_panel->ui.gb_LAMBDA_U_otn, false);
        m_panel->setDimmed(m_panel->ui.gb_LAMBDA_Way, false);
        m_panel->setDimmed(m_panel->ui.gb_Other_TicherEmu, true);
        ModeHooks::call(m_hooks ? m_hooks->emuView : nullptr, false);
        ModeHooks::call(m_hooks ? m_hooks->lambdaView : nullptr, true);
        break;
    case Mode::MafP:
        m_panel->setDimmed(m_panel->ui.gb_LAMBDA_U_Max, true);
        m_panel->setDimmed(m_panel->ui.gb_LAMBDA_U_otn, true);
        m_panel->setDimmed(m_panel->ui.gb_LAMBDA_Way, true);
        m_panel->setDimmed(m_panel->ui.gb_Other_TicherEmu, true);
        break;
    }
}

void ModeSwitches::runView(Mode mode) {
    switch (mode) {
    case Mode::Emulator:
        Btn_Emu();
        break;
    case Mode::Optimizer:
        Btn_Opt();
        break;
    case Mode::MafP:
        Btn_MAF_P();
        break;
    }
}

void ModeSwitches::AdvTBtn_EmuClick() {
    showModeDisplay(Mode::Emulator);
    Flag_User_Emu = true;
    Btn_Emu();
    m_ctx->log(QString());
}

void ModeSwitches::AdvTBtn_OptClick() {
    showModeDisplay(Mode::Optimizer);
    Flag_User_Opt = true;
    Btn_Opt();
    m_ctx->log(QString());
}

void ModeSwitches::AdvTBtn_MAF_PClick() {
    showModeDisplay(Mode::MafP);
    Flag_User_MAF_P = true;
    Btn_MAF_P();
    m_ctx->log(QString());
}

void ModeSwitches::showModuleMode() {
    const Mode mode = modeOfBits(m_state->Bits_EE00.at(3), m_state->Bits_EE00.at(4));
    auto& ui = m_panel->ui;
    QToolButton* button = mode == Mode::Emulator    ? ui.AdvTBtn_Emu
                          : mode == Mode::Optimizer ? ui.AdvTBtn_Opt
                                                    : ui.AdvTBtn_MAF_P;
    button->setChecked(true);
    showModeDisplay(mode);
    Flag_User_Emu = Flag_User_Opt = Flag_User_MAF_P = false;
    runView(mode);
}

// --- the coefficient check ----------------------------------------------------------

void ModeSwitches::coefficientCheck(bool warnOnChange) {
    QComboBox* cb = m_panel->ui.cb_K;
    // A. The coefficient 58 has no meaning outside MAF(P): 2 takes its place.
    if (cb->currentIndex() > 2) {
        cb->setCurrentIndex(1);
        if (warnOnChange) {
            m_fm0C->setLanguage(msgs().english());
            m_ctx->confirm(m_fm0C);
        }
    }
    // B. ... and leaves the list.
    if (cb->count() > 3) cb->removeItem(3);
    coefficientMissingCheck();
}

void ModeSwitches::coefficientMissingCheck() {
    // C. Without a coefficient the speed cannot be computed.
    if (m_panel->ui.cb_K->currentIndex() < 0) {
        m_fm0D->setLanguage(msgs().english());
        m_ctx->confirm(m_fm0D);
    }
}

// --- the views ----------------------------------------------------------------------

void ModeSwitches::Btn_Emu() {
    auto& ui = m_panel->ui;
    ModeHooks::call(m_hooks ? m_hooks->emuView : nullptr, true);
    ModeHooks::call(m_hooks ? m_hooks->lambdaView : nullptr, false);
    ModeHooks::call(m_hooks ? m_hooks->hideWidebandChoice : nullptr, 1);
    ModeHooks::call(m_hooks ? m_hooks->hideWidebandChoice : nullptr, 2);

    m_panel->setDimmed(m_panel->ui.gb_LAMBDA_U_Max, true);
    m_panel->setDimmed(m_panel->ui.gb_LAMBDA_U_otn, true);
    ModeHooks::call(m_hooks ? m_hooks->mafPNote : nullptr, false);
    m_panel->setDimmed(m_panel->ui.gb_Other_TicherEmu, false);

    ui.atb_LAMBDA_Way_Displacement->setChecked(true);
    m_panel->setDimmed(m_panel->ui.gb_LAMBDA_Way, true);
    m_panel->setDimmed(m_panel->ui.gb_LAMBDA_2, false);
    m_panel->setDimmed(m_panel->ui.gb_LAMBDA_StepSmesi, true);

    coefficientCheck(Flag_User_Emu);

    if (m_selectors) {
        m_selectors->Show_D1_Plain();
        m_selectors->Show_D2_Plain();
    }
    if (Flag_User_Emu) startSwitch(Mode::Emulator);

    m_panel->showLearning(m_state->Bits_EE00.at(2) != QLatin1String("0"));
}

void ModeSwitches::learnSensorTypes() {
    ModuleFacts& facts = m_ctx->module;
    const struct {
        DigitPair id;
        QString* type;
        int sensor;
        const QString& zirconiaText;
        const QString& widebandText;
        const QString& saved;
    } sensors[2] = {
        {m_id->Byte_A5, &facts.Ed_Type_Datchik_1_RU, 1, msgs().Msg_Sensor1_Zirconia,
         msgs().Msg_Sensor1_Wideband, Type_In_WidthLine_ZOND1},
        {m_id->Byte_A9, &facts.Ed_Type_Datchik_2_RU, 2, msgs().Msg_Sensor2_Zirconia,
         msgs().Msg_Sensor2_Wideband, Type_In_WidthLine_ZOND2},
    };
    for (const auto& s : sensors) {
        // A missing or invalid digit says nothing about the sensor: everything stays.
        if (!s.id.valid()) continue;
        const bool zirconia = s.id.d1 == 0 && s.id.d2 == 0;
        *s.type = zirconia ? kZirconiaSensor : kWidebandSensor;
        ModeHooks::call(m_hooks ? m_hooks->sensorStatus : nullptr, s.sensor,
                        zirconia ? s.zirconiaText : s.widebandText);
        if (zirconia)
            ModeHooks::call(m_hooks ? m_hooks->hideWidebandChoice : nullptr, s.sensor);
        else
            ModeHooks::call(m_hooks ? m_hooks->showWidebandChoice : nullptr, s.sensor,
                            s.saved == QLatin1String("1"));
    }
}

void ModeSwitches::Btn_Opt() {
    auto& ui = m_panel->ui;
    const bool tr90 = isTr90();
    ModeHooks::call(m_hooks ? m_hooks->emuView : nullptr, false);
    ModeHooks::call(m_hooks ? m_hooks->lambdaView : nullptr, !tr90);

    m_panel->setDimmed(m_panel->ui.gb_LAMBDA_Way, false);
    m_panel->setDimmed(m_panel->ui.gb_LAMBDA_2, false);
    ModeHooks::call(m_hooks ? m_hooks->mafPNote : nullptr, false);
    m_panel->setDimmed(m_panel->ui.gb_Other_TicherEmu, true);

    learnSensorTypes();

    // The analog MAF voltage is measured against the offset connection only.
    if (m_selectors) {
        if (ui.atb_LAMBDA_Way_Displacement->isChecked()) m_selectors->showAnalogVoltage(true);
        if (ui.atb_LAMBDA_Way_Normal->isChecked()) m_selectors->showAnalogVoltage(false);
    }

    coefficientCheck(Flag_User_Opt);

    // The mixture leanness only applies with a wideband sensor.
    const ModuleFacts& facts = m_ctx->module;
    const bool anyWideband =
        facts.Ed_Type_Datchik_1_RU == kWidebandSensor || facts.Ed_Type_Datchik_2_RU == kWidebandSensor;
    m_panel->setDimmed(m_panel->ui.gb_LAMBDA_StepSmesi, !anyWideband);

    if (m_selectors) {
        // A zirconia sensor's rows follow its connection; a wideband sensor's row was
        // arranged with its choice above.
        const bool offset = ui.atb_LAMBDA_Way_Displacement->isChecked();
        if (facts.Ed_Type_Datchik_1_RU == kZirconiaSensor)
            offset ? m_selectors->Show_D1_Split() : m_selectors->Show_D1_Plain();
        if (facts.Ed_Type_Datchik_2_RU == kZirconiaSensor)
            offset ? m_selectors->Show_D2_Split() : m_selectors->Show_D2_Plain();
        if (tr90) {
            m_selectors->Show_D1_Plain();
            m_selectors->Show_D2_Plain();
        }
    }
    if (Flag_User_Opt) startSwitch(Mode::Optimizer);
}

void ModeSwitches::Btn_MAF_P() {
    auto& ui = m_panel->ui;
    const bool tr90 = isTr90();
    ModeHooks::call(m_hooks ? m_hooks->emuView : nullptr, false);
    ModeHooks::call(m_hooks ? m_hooks->lambdaView : nullptr, !tr90);

    ModeHooks::call(m_hooks ? m_hooks->mafPNote : nullptr, true);
    m_panel->setDimmed(m_panel->ui.gb_Other_TicherEmu, true);

    ui.atb_LAMBDA_Way_Displacement->setChecked(true);
    m_panel->setDimmed(m_panel->ui.gb_LAMBDA_Way, true);
    m_panel->setDimmed(m_panel->ui.gb_LAMBDA_2, false);
    ui.atb_LAMBDA_2_Normal->setChecked(true);
    m_panel->setDimmed(m_panel->ui.gb_LAMBDA_U_Max, true);
    m_panel->setDimmed(m_panel->ui.gb_LAMBDA_StepSmesi, true);

    // MAF(P) is the mode the coefficient 58 is meant for.
    if (ui.cb_K->count() == 3) ui.cb_K->addItem(QStringLiteral("58"));
    coefficientMissingCheck();

    if (m_selectors) {
        if (tr90) {
            m_selectors->Show_D1_Plain();
            m_selectors->Show_D2_Plain();
        } else {
            m_selectors->Show_D1_Split();
            m_selectors->Show_D2_Split();
        }
    }
    if (Flag_User_MAF_P) {
        startSwitch(Mode::MafP);
        // The option write of the last key follows the switch: the writer holds it until
        // register 00 carries the MAF(P) bits (see switchGate).
        m_writer->Btn_RegRab_Write();
    }
}

// --- switching the module -----------------------------------------------------------

void ModeSwitches::startSwitch(Mode mode) {
    // With nobody to answer, a switch would repeat its read for ever and double the traffic
    // of the next connection; the view is shown all the same.
    if (!m_ctx->portOpen()) return;
    Exchange* ex = m_ctx->ex;
    // A settings write or another switch still waiting for its answer loses its pending
    // command here; its gate would never see that command again, so it ends now.
    ex->Timer_RegRab->stop();
    ex->Timer_Write->stop();
    for (Mode m : {Mode::Emulator, Mode::Optimizer, Mode::MafP})
        if (m != mode) timerOf(m)->stop();
    m_write[int(mode)].clear();
    ex->start(timerOf(mode), kReadMode);
}

void ModeSwitches::switchGate(Mode mode, const QString& chunk) {
    Exchange* ex = m_ctx->ex;
    const ModeText& text = kModes[int(mode)];
    QString& write = m_write[int(mode)];

    if (ex->Cmd_Sent == kReadMode) {
        ex->showSentCommand();
        // The answer may come in pieces: its byte is read once, when its two digits are
        // complete (an earlier piece of the same answer did not have them yet).
        const QString bits = receivedDigitsToBits(ex->answerText(chunk).left(2));
        const bool readBefore = !receivedDigitsToBits(ex->receiveBuffer().left(2)).isEmpty();
        if (!bits.isEmpty() && !readBefore) {
            m_state->Bits_EE00 = regs::bitsFromText(bits);
            m_ctx->log(QString::fromUtf8(text.modeLine) + nowText());
            m_ctx->log(QStringLiteral("EEPROM-00 = ") + regs::logBits(m_state->Bits_EE00));
            if (text.emptyLineAfterBits) m_ctx->log(QString());
        }
        // Everything but the mode as the module holds it (or as last known, when the answer
        // was no byte); the mode bits are the chosen mode's.
        QStringList b = m_state->Bits_EE00;
        b[4] = QLatin1String(text.bit4);
        b[3] = QLatin1String(text.bit3);
        write = bitsToWriteText(regs::textFromBits(b)) + QStringLiteral("00)");
        ex->Cmd_Pending = write;
        ex->movedOn();
        return;
    }
    if (write.isEmpty() || ex->Cmd_Sent != write) return;
    ex->showSentCommand();
    if (ex->answerText(chunk) == QLatin1String("!")) {
        ex->movedOn();
        timerOf(mode)->stop();
        // Register 00 as the module now holds it goes into the history like any write.
        m_writer->keepWrittenCopy(0, lowFirstByte(write));
        // A settings write that came while the switch ran (the MAF(P) view's own one
        // included) goes out now, with the mode buttons as they are.
        m_writer->resumeWrites();
    } else {
        // Any other answer: the next tick sends the write again.
        ex->refused();
    }
    m_ctx->log(QString::fromUtf8(text.selectionLine) + nowText());
}

void ModeSwitches::abortForConnection() {
    for (Mode m : {Mode::Emulator, Mode::Optimizer, Mode::MafP}) timerOf(m)->stop();
}
