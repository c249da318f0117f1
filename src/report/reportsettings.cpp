#include "report/reportsettings.h"

#include "common/uitexts.h"
#include "settings/registers.h"

#include <functional>
#include <utility>

namespace report {

namespace {

const QString kDash = QStringLiteral("—");

// A text of the window's language table, as the settings panel shows it.
QString uiText(const char* object, const char* property, bool english) {
    for (const uitexts::Entry& e : uitexts::entries())
        if (qstrcmp(e.object, object) == 0 && qstrcmp(e.property, property) == 0)
            return (english ? e.en : e.ru).trimmed();
    return QString::fromLatin1(object);
}

using Image = QMap<int, int>;
using TextOf = std::function<QString(const Image&, bool english)>;

struct Field {
    const char* title;                 // the group box whose title names the setting
    QList<std::pair<int, int>> masks;  // (register, bits) the setting is made of
    TextOf text;
    QString ru = {}, en = {}; // a title of its own instead of the group's
};

// A setting of one bit: the text of the button that bit 0 or 1 sets down.
TextOf bitChoice(int reg, int bit, const char* zero, const char* one) {
    return [=](const Image& im, bool en) {
        if (!im.contains(reg)) return kDash;
        return uiText((im.value(reg) >> bit) & 1 ? one : zero, "text", en);
    };
}

TextOf plainBit(int reg, int bit, const QString& zero, const QString& one) {
    return [=](const Image& im, bool) {
        if (!im.contains(reg)) return kDash;
        return (im.value(reg) >> bit) & 1 ? one : zero;
    };
}

TextOf number(regs::Num reg) {
    return [=](const Image& im, bool) {
        const int r = int(reg);
        if (!im.contains(r)) return kDash;
        // Register 15 counts with the crankshaft coefficient of the same image.
        return regs::decodeText(reg, im.value(r), im.value(regs::KKolenval, 1));
    };
}

// A byte that selects one of a few codes; another byte shows as a dash with the byte.
TextOf code(int reg, const QList<int>& codes, const std::function<QString(int)>& shown) {
    return [=](const Image& im, bool) {
        if (!im.contains(reg)) return kDash;
        const int v = im.value(reg);
        if (!codes.contains(v)) return kDash + QStringLiteral(" (") + QString::number(v) + QLatin1Char(')');
        return shown(v);
    };
}

QString onOff(bool on, bool en) { return uiText(on ? "atb_Other_System_On" : "atb_Other_System_Off", "text", en); }

const QList<Field>& fields() {
    auto num = [](int v) { return QString::number(v); };
    static const QList<Field> f{
        // Lambda sensors
        {"gb_LAMBDA_Way", {{regs::Sensors, 0x08}},
         bitChoice(regs::Sensors, 3, "atb_LAMBDA_Way_Normal", "atb_LAMBDA_Way_Displacement")},
        {"gb_LAMBDA_2", {{regs::Sensors, 0x01}},
         bitChoice(regs::Sensors, 0, "atb_LAMBDA_2_Normal", "atb_LAMBDA_2_Catalizer")},
        {"gb_LAMBDA_U_otn", {{regs::Mode, 0x40}},
         bitChoice(regs::Mode, 6, "atb_LAMBDA_U_otn_Input", "atb_LAMBDA_U_otn_Ground")},
        {"gb_LAMBDA_1_Korr", {{int(regs::Num::Lambda1Korr), 0xFF}}, number(regs::Num::Lambda1Korr)},
        {"gb_LAMBDA_U_Max", {{int(regs::Num::UMax), 0xFF}}, number(regs::Num::UMax)},
        {"gb_LAMBDA_StepSmesi", {{regs::StepSmesi, 0xFF}},
         code(regs::StepSmesi, regs::stepSmesiCodes(), [](int v) { return regs::stepSmesiCaption(v); })},
        {"gb_LAMBDA_Regim", {{regs::Mode, 0x18}},
         [](const Image& im, bool en) {
             if (!im.contains(regs::Mode)) return kDash;
             switch ((im.value(regs::Mode) >> 3) & 3) {
             case 0: return uiText("AdvTBtn_Opt", "text", en);
             case 1: return uiText("AdvTBtn_Emu", "text", en);
             case 2: return uiText("AdvTBtn_MAF_P", "text", en);
             default: return kDash;
             }
         }},
        // Air flow sensor
        {"gb_DMRV_Type", {{regs::Sensors, 0x10}},
         bitChoice(regs::Sensors, 4, "atb_DMRV_Type_Digital", "atb_DMRV_Type_Analog")},
        {"gb_DMRV_Diapazone", {{regs::Sensors, 0x40}},
         bitChoice(regs::Sensors, 6, "atb_DMRV_Diapazone_Less", "atb_DMRV_Diapazone_More")},
        {"gb_DMRV_Nagruzka", {{regs::Sensors, 0x80}},
         bitChoice(regs::Sensors, 7, "atb_DMRV_Nagruzka_Off", "atb_DMRV_Nagruzka_On")},
        {"gb_DMRV_Korr", {{regs::Sensors, 0x20}},
         bitChoice(regs::Sensors, 5, "atb_DMRV_Korr_Reverse", "atb_DMRV_Korr_Right")},
        {"gb_DMRV_Porog_Korr", {{int(regs::Num::PorogKorr), 0xFF}}, number(regs::Num::PorogKorr)},
        {"gb_DMRV_K_Korr", {{int(regs::Num::DmrvKKorr), 0xFF}}, number(regs::Num::DmrvKKorr)},
        {"gb_DMRV_Type_Sensor", {{regs::Sensors, 0x04}},
         plainBit(regs::Sensors, 2, QStringLiteral("MAF"), QStringLiteral("MAP"))},
        // Other settings
        {"gb_Other_Spada_Korr", {{regs::SpadaKorr, 0xFF}}, code(regs::SpadaKorr, {1, 4, 8}, num)},
        {"gb_Other_Point_Korr", {{int(regs::Num::PointKorr), 0xFF}}, number(regs::Num::PointKorr)},
        {"gb_Other_Zad_Korr", {{int(regs::Num::ZadKorr), 0xFF}}, number(regs::Num::ZadKorr)},
        {"gb_Other_VolEng", {{int(regs::Num::VolEng), 0xFF}}, number(regs::Num::VolEng)},
        {"gb_Other_NumBurn", {{regs::NumBurn, 0xFF}}, code(regs::NumBurn, {1, 2, 3, 4, 5, 6, 7, 8}, num)},
        {"gb_Other_K_Fuel", {{int(regs::Num::K_Fuel), 0xFF}}, number(regs::Num::K_Fuel)},
        {"gb_Other_System", {{regs::Mode, 0x80}},
         [](const Image& im, bool en) {
             if (!im.contains(regs::Mode)) return kDash;
             return onOff(!((im.value(regs::Mode) >> 7) & 1), en);
         }},
        {"gb_Other_Mode", {{regs::Sensors, 0x02}},
         bitChoice(regs::Sensors, 1, "atb_Other_Mode_Simple", "atb_Other_Mode_3D")},
        {"gb_Other_K_Kolenvala", {{regs::KKolenval, 0xFF}}, code(regs::KKolenval, regs::kCodes(), num)},
        {"gb_Other_SensKolenval", {{regs::Mode, 0x01}},
         bitChoice(regs::Mode, 0, "atb_Sens_Kolenval_No", "atb_Sens_Kolenval_Yes")},
        {"gb_Other_TicherEmu", {{regs::Mode, 0x04}},
         [](const Image& im, bool en) {
             if (!im.contains(regs::Mode)) return kDash;
             return onOff((im.value(regs::Mode) >> 2) & 1, en);
         }},
        // The tables' load axis, a bit of register 00 set from the table panel (whose
        // group keeps its Russian title in English).
        {"gb_KorrTab", {{regs::Mode, 0x02}}, bitChoice(regs::Mode, 1, "atb_KorrTab_VV", "atb_KorrTab_MAF"),
         QStringLiteral("Коррекция таблиц по"), QStringLiteral("Tables corrected over")},
    };
    return f;
}

bool bitsDiffer(const Image& a, const Image& b, const QList<std::pair<int, int>>& masks) {
    for (const auto& [reg, mask] : masks) {
        if (a.contains(reg) != b.contains(reg)) return true;
        if ((a.value(reg) & mask) != (b.value(reg) & mask)) return true;
    }
    return false;
}

} // namespace

QList<SettingRow> settingRows(const QMap<int, int>* before, const QMap<int, int>& after, bool english) {
    QList<SettingRow> out;
    for (const Field& f : fields()) {
        SettingRow row;
        row.name = f.ru.isEmpty() ? uiText(f.title, "title", english) : english ? f.en : f.ru;
        row.after = f.text(after, english);
        if (before) {
            row.before = f.text(*before, english);
            row.changed = row.before != row.after || bitsDiffer(*before, after, f.masks);
        }
        out << row;
    }
    // Bit 5 of register 00 is kept as read by every write; a change of it is worth naming.
    if (before && bitsDiffer(*before, after, {{regs::Mode, 0x20}})) {
        const TextOf bit5 = plainBit(regs::Mode, 5, QStringLiteral("0"), QStringLiteral("1"));
        out << SettingRow{QStringLiteral("EEPROM-00, ") + (english ? QStringLiteral("bit 5") : QStringLiteral("бит 5")),
                          bit5(*before, english), bit5(after, english), true};
    }
    return out;
}

} // namespace report
