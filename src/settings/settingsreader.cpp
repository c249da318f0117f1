#include "settings/settingsreader.h"

#include "common/hex.h"
#include "settings/registers.h"
#include "settings/settingshistory.h"
#include "settings/settingspanel.h"

#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>

using regs::Num;

namespace {
// The byte of a read answer, or -1 when either digit is not an uppercase hex digit. A
// value computed from -1 would be shown and then written back by the next stepper
// release, so such an answer leaves the control as it was.
int answerByte(const QString& answer) { return lowFirstByte(answer, 1); }

void setNumber(QLineEdit* edit, Num reg, const QString& answer, int k = 1) {
    const int byte = answerByte(answer);
    if (byte < 0) return;
    edit->setText(regs::decodeText(reg, byte, k));
}

void press(QToolButton* zero, QToolButton* one, const QString& bit) {
    (bit == QLatin1String("1") ? one : zero)->setChecked(true);
}
} // namespace

SettingsReader::SettingsReader(SettingsPanel* panel, LogFn log) : m_panel(panel), m_log(std::move(log)) {
    for (int i = 0; i < 8; ++i) {
        Bits_EE00 << QStringLiteral("0");
        Bits_EE01 << QStringLiteral("0");
    }
}

void SettingsReader::applyModeBits() {
    auto& ui = m_panel->ui;
    m_panel->showLearning(Bits_EE00.at(2) == QLatin1String("1"));
    press(ui.atb_LAMBDA_U_otn_Input, ui.atb_LAMBDA_U_otn_Ground, Bits_EE00.at(6));
    press(ui.atb_Other_System_On, ui.atb_Other_System_Off, Bits_EE00.at(7));
}

void SettingsReader::applySensorBits() {
    auto& ui = m_panel->ui;
    press(ui.atb_LAMBDA_2_Normal, ui.atb_LAMBDA_2_Catalizer, Bits_EE01.at(0));
    press(ui.atb_Other_Mode_Simple, ui.atb_Other_Mode_3D, Bits_EE01.at(1));
    press(ui.atb_DMRV_Type_Sensor_MAF, ui.atb_DMRV_Type_Sensor_MAP, Bits_EE01.at(2));
    press(ui.atb_LAMBDA_Way_Normal, ui.atb_LAMBDA_Way_Displacement, Bits_EE01.at(3));
    press(ui.atb_DMRV_Type_Digital, ui.atb_DMRV_Type_Analog, Bits_EE01.at(4));
    press(ui.atb_DMRV_Korr_Reverse, ui.atb_DMRV_Korr_Right, Bits_EE01.at(5));
    press(ui.atb_DMRV_Diapazone_Less, ui.atb_DMRV_Diapazone_More, Bits_EE01.at(6));
    press(ui.atb_DMRV_Nagruzka_Off, ui.atb_DMRV_Nagruzka_On, Bits_EE01.at(7));
}

void SettingsReader::keepReadCopy(const OperationContext& ctx) const {
    settingshistory::keep(ctx, Register_Bytes, false);
}

QString SettingsReader::step(const QString& sent, const QString& answer) {
    const QString next = decodeStep(sent, answer);
    const int byte = answerByte(answer);
    if (!next.isEmpty() && byte >= 0) Register_Bytes.insert(settingshistory::registerOfRead(sent), byte);
    return next;
}

QString SettingsReader::decodeStep(const QString& sent, const QString& answer) {
    auto& ui = m_panel->ui;

    if (sent == QLatin1String("00*") || sent == QLatin1String("10*")) {
        const bool mode = sent == QLatin1String("00*");
        const QString bits = receivedDigitsToBits(answer.left(2));
        if (!bits.isEmpty()) {
            QStringList& target = mode ? Bits_EE00 : Bits_EE01;
            target = regs::bitsFromText(bits);
            if (mode) {
                applyModeBits();
            } else {
                applySensorBits();
            }
            m_log((mode ? QStringLiteral("EEPROM-00 =  ") : QStringLiteral("EEPROM-01 =  ")) + regs::logBits(target));
        }
        return mode ? QStringLiteral("10*") : QStringLiteral("40*");
    }
    // The plain numeric registers: decode into their edit, then the next read.
    struct NumericStep {
        const char* cmd;
        Num reg;
        QLineEdit* Ui::SettingsPanel::*edit;
        const char* next;
    };
    static const NumericStep numeric[] = {
        {"40*", Num::K_Fuel, &Ui::SettingsPanel::Ed_Other_K_Fuel, "50*"},
        {"50*", Num::Lambda1Korr, &Ui::SettingsPanel::Ed_LAMBDA_1_Korr, "90*"},
        {"71*", Num::ZadKorr, &Ui::SettingsPanel::Ed_Other_Zad_Korr, "81*"},
        {"B0*", Num::DmrvKKorr, &Ui::SettingsPanel::Ed_DMRV_K_Korr, "F0*"},
        {"F0*", Num::VolEng, &Ui::SettingsPanel::Ed_Other_VolEng, "01*"},
        {"01*", Num::PorogKorr, &Ui::SettingsPanel::Ed_DMRV_Porog_Korr, "21*"},
        {"21*", Num::UMax, &Ui::SettingsPanel::Ed_LAMBDA_U_Max, "31*"},
    };
    for (const NumericStep& n : numeric) {
        if (sent != QLatin1String(n.cmd)) continue;
        setNumber(ui.*(n.edit), n.reg, answer);
        return QLatin1String(n.next);
    }
    if (sent == QLatin1String("90*")) {
        const int n = answerByte(answer);
        const QList<QToolButton*> burn = {ui.atb_Other_NumBurn_1, ui.atb_Other_NumBurn_2, ui.atb_Other_NumBurn_3,
                                          ui.atb_Other_NumBurn_4, ui.atb_Other_NumBurn_5, ui.atb_Other_NumBurn_6,
                                          ui.atb_Other_NumBurn_7, ui.atb_Other_NumBurn_8};
        if (n >= 1 && n <= 8) burn.at(n - 1)->setChecked(true);
        return QStringLiteral("41*");
    }
    if (sent == QLatin1String("41*")) {
        K = lowFirstByteRaw(answer, 1);
        QComboBox* cb = ui.cb_K;
        cb->setCurrentIndex(-1);
        const int idx = int(regs::kCodes().indexOf(K));
        if (idx == 3 && cb->count() == 3) cb->addItem(QStringLiteral("58"));
        if (idx >= 0 && idx < cb->count()) cb->setCurrentIndex(idx);
        ++Retry_Count_K;
        if (Retry_Count_K > 6) return QStringLiteral("51*");
        return cb->currentIndex() < 0 ? QStringLiteral("41*") : QStringLiteral("51*");
    }
    if (sent == QLatin1String("51*")) {
        // K comes from the read just before, also when that gave no valid coefficient;
        // only a coefficient whose digits were garbage leaves the point as it was.
        if (K >= 0) setNumber(ui.Ed_Other_Point_Korr, Num::PointKorr, answer, K);
        return QStringLiteral("71*");
    }
    if (sent == QLatin1String("81*")) {
        const int v = answerByte(answer);
        if (v == 1) ui.atb_Other_Spada_Korr_1->setChecked(true);
        if (v == 4) ui.atb_Other_Spada_Korr_4->setChecked(true);
        if (v == 8) ui.atb_Other_Spada_Korr_8->setChecked(true);
        ++Retry_Count_K;
        if (Retry_Count_K > 6) return QStringLiteral("91*");
        return (v == 1 || v == 4 || v == 8) ? QStringLiteral("91*") : QStringLiteral("41*");
    }
    if (sent == QLatin1String("91*")) return QStringLiteral("B0*");
    if (sent == QLatin1String("31*")) {
        const QString caption = regs::stepSmesiCaption(answerByte(answer));
        if (!caption.isEmpty()) ui.atb_LAMBDA_StepSmesi->setText(caption);
        return QStringLiteral("87*");
    }
    return QString();
}
