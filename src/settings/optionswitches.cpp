#include "settings/optionswitches.h"

#include "common/datetime.h"
#include "common/messages.h"
#include "dialogs/confirmations.h"
#include "link/operationcontext.h"
#include "settings/chartselectors.h"
#include "settings/registerwriter.h"
#include "settings/settingspanel.h"

#include <QComboBox>
#include <QEvent>
#include <QTimer>
#include <QToolButton>

namespace {
const QString kZirconia = QStringLiteral("Циркониевый");

// The two-way and multi-way options whose click is the plain handler contract.
struct Option {
    QToolButton* Ui::SettingsPanel::*button;
    const char* key;
    const char* log; // UTF-8
};
const Option kOptions[] = {
    {&Ui::SettingsPanel::atb_LAMBDA_Way_Normal, "LAMBDA_Way_Normal",
     " Способ подключения ДМРВ - Обычный"},
    {&Ui::SettingsPanel::atb_LAMBDA_Way_Displacement, "LAMBDA_Way_Displacement",
     " Способ подключения ДМРВ - Смешение"},
    {&Ui::SettingsPanel::atb_LAMBDA_2_Normal, "LAMBDA_2_Normal",
     " Применение канала Лямбда 2 - Обычный"},
    {&Ui::SettingsPanel::atb_LAMBDA_2_Catalizer, "LAMBDA_2_Catalizer",
     " Применение канала Лямбда 2 - Катализатор"},
    {&Ui::SettingsPanel::atb_LAMBDA_U_otn_Input, "LAMBDA_U_otn_Input",
     " Напряжение относительно входа"},
    {&Ui::SettingsPanel::atb_LAMBDA_U_otn_Ground, "LAMBDA_U_otn_Ground",
     " Напряжение относительно массы"},
    {&Ui::SettingsPanel::atb_DMRV_Type_Analog, "DMRV_Type_Analog", " Тип ДМРВ - Аналоговый"},
    {&Ui::SettingsPanel::atb_DMRV_Type_Digital, "DMRV_Type_Digital", " Тип ДМРВ - Цифровой"},
    {&Ui::SettingsPanel::atb_DMRV_Diapazone_More, "DMRV_Diapazone_More",
     " Диапазон частот ДМРВ - более 1 КГц"},
    {&Ui::SettingsPanel::atb_DMRV_Diapazone_Less, "DMRV_Diapazone_Less",
     " Диапазон частот ДМРВ - менее 1 КГц"},
    {&Ui::SettingsPanel::atb_DMRV_Nagruzka_On, "DMRV_Nagruzka_On",
     " Нагрузка ДМРВ 1 КОм - включена"},
    {&Ui::SettingsPanel::atb_DMRV_Nagruzka_Off, "DMRV_Nagruzka_Off",
     " Нагрузка ДМРВ 1 КОм - выключена"},
    {&Ui::SettingsPanel::atb_DMRV_Korr_Right, "DMRV_Korr_Right",
     " Характер коррекции ДМРВ - прямая"},
    {&Ui::SettingsPanel::atb_DMRV_Korr_Reverse, "DMRV_Korr_Reverse",
     " Характер коррекции ДМРВ - обратная"},
    {&Ui::SettingsPanel::atb_DMRV_Type_Sensor_MAP, "DMRV_Type_Sensor_MAP", " Тип датчика - MAP"},
    {&Ui::SettingsPanel::atb_DMRV_Type_Sensor_MAF, "DMRV_Type_Sensor_MAF", " Тип датчика - MAF"},
    {&Ui::SettingsPanel::atb_Other_Spada_Korr_1, "Other_Spada_Korr_1",
     " Уровень спада коррекции = 1"},
    {&Ui::SettingsPanel::atb_Other_Spada_Korr_4, "Other_Spada_Korr_4",
     " Уровень спада коррекции = 4"},
    {&Ui::SettingsPanel::atb_Other_Spada_Korr_8, "Other_Spada_Korr_8",
     " Уровень спада коррекции = 8"},
    {&Ui::SettingsPanel::atb_Other_NumBurn_1, "Other_NumBurn_1", " Количество форсунок = 1"},
    {&Ui::SettingsPanel::atb_Other_NumBurn_2, "Other_NumBurn_2", " Количество форсунок = 2"},
    {&Ui::SettingsPanel::atb_Other_NumBurn_3, "Other_NumBurn_3", " Количество форсунок = 3"},
    {&Ui::SettingsPanel::atb_Other_NumBurn_4, "Other_NumBurn_4", " Количество форсунок = 4"},
    {&Ui::SettingsPanel::atb_Other_NumBurn_5, "Other_NumBurn_5", " Количество форсунок = 5"},
    {&Ui::SettingsPanel::atb_Other_NumBurn_6, "Other_NumBurn_6", " Количество форсунок = 6"},
    {&Ui::SettingsPanel::atb_Other_NumBurn_7, "Other_NumBurn_7", " Количество форсунок = 7"},
    {&Ui::SettingsPanel::atb_Other_NumBurn_8, "Other_NumBurn_8", " Количество форсунок = 8"},
    {&Ui::SettingsPanel::atb_Other_System_On, "Other_System_On", " Система включена"},
    {&Ui::SettingsPanel::atb_Other_System_Off, "Other_System_Off", " Система выключена"},
    {&Ui::SettingsPanel::atb_Other_Mode_Simple, "Other_Mode_Simple", " Режим коррекции - простая"},
    {&Ui::SettingsPanel::atb_Other_Mode_3D, "Other_Mode_3D", " Режим коррекции - 3D"},
};

QList<QToolButton*> leannessButtons(const Ui::SettingsPanel& ui) {
    return {ui.atb_SSmesi_1, ui.atb_SSmesi_2, ui.atb_SSmesi_3, ui.atb_SSmesi_4,
            ui.atb_SSmesi_5, ui.atb_SSmesi_6, ui.atb_SSmesi_7};
}
} // namespace

OptionSwitches::OptionSwitches(OperationContext* ctx, SettingsPanel* panel, RegisterWriter* writer,
                               const ChartSelectors* selectors, QTimer* hidePanels,
                               TfmPredupr0E* warning, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_panel(panel), m_writer(writer), m_selectors(selectors),
      m_hidePanels(hidePanels), m_warning(warning) {
    connectOptions();
}

void OptionSwitches::connectOptions() {
    auto& ui = m_panel->ui;
    for (const Option& o : kOptions) {
        const QString key = QString::fromLatin1(o.key);
        const QString log = QString::fromUtf8(o.log);
        connect(ui.*(o.button), &QToolButton::clicked, this,
                [this, key, log] { option(key, log); });
    }

    // The dimming rules run on the press, before the click that writes.
    connect(ui.atb_LAMBDA_Way_Normal, &QToolButton::pressed, this,
            &OptionSwitches::atb_LAMBDA_Way_NormalMouseDown);
    connect(ui.atb_LAMBDA_Way_Displacement, &QToolButton::pressed, this,
            &OptionSwitches::atb_LAMBDA_Way_DisplacementMouseDown);
    connect(ui.atb_DMRV_Type_Analog, &QToolButton::pressed, this,
            &OptionSwitches::atb_DMRV_Type_AnalogMouseDown);
    connect(ui.atb_DMRV_Type_Digital, &QToolButton::pressed, this,
            &OptionSwitches::atb_DMRV_Type_DigitalMouseDown);
    connect(ui.atb_Other_Mode_Simple, &QToolButton::pressed, this,
            &OptionSwitches::atb_Other_Mode_SimpleMouseDown);
    connect(ui.atb_Other_Mode_3D, &QToolButton::pressed, this,
            &OptionSwitches::atb_Other_Mode_3DMouseDown);

    // Leanness list: shown while the pointer moves over its opener, hidden by the window's
    // pop-up timer once the pointer has left the opener and the list.
    ui.atb_LAMBDA_StepSmesi->setMouseTracking(true);
    ui.atb_LAMBDA_StepSmesi->installEventFilter(this);
    for (QToolButton* b : leannessButtons(ui)) {
        b->setMouseTracking(true);
        b->installEventFilter(this);
        connect(b, &QToolButton::clicked, this, [this, b] { atb_SSmesiClick(b); });
    }

    connect(ui.atb_Other_cb_K, &QToolButton::clicked, ui.cb_K, &QComboBox::showPopup);
    connect(ui.cb_K, &QComboBox::activated, this, &OptionSwitches::cb_KChange);

    connect(ui.atb_Sens_Kolenval_No, &QToolButton::clicked, this,
            &OptionSwitches::atb_Sens_Kolenval_NoClick);
    connect(ui.atb_Sens_Kolenval_Yes, &QToolButton::clicked, this,
            &OptionSwitches::atb_Sens_Kolenval_YesClick);
}

void OptionSwitches::option(const QString& key, const QString& logText) {
    m_ctx->logAction(logText);
    m_writer->writeOption(key);
}

bool OptionSwitches::eventFilter(QObject* watched, QEvent* event) {
    auto& ui = m_panel->ui;
    const bool opener = watched == ui.atb_LAMBDA_StepSmesi;
    switch (event->type()) {
    case QEvent::MouseMove:
        if (opener)
            m_panel->showLeannessPopup();
        else if (m_hidePanels)
            m_hidePanels->stop();
        break;
    case QEvent::Enter:
        if (!opener && m_hidePanels) m_hidePanels->stop();
        break;
    case QEvent::Leave:
        if (m_hidePanels) m_hidePanels->start();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

// --- mouse-down rules ---------------------------------------------------------------

void OptionSwitches::atb_LAMBDA_Way_NormalMouseDown() {
    auto& ui = m_panel->ui;
    m_panel->setDimmed(ui.gb_LAMBDA_U_Max, true);
    m_panel->setDimmed(ui.gb_LAMBDA_U_otn, true);
    if (!m_selectors) return;
    const ModuleFacts& m = m_ctx->module;
    if (m.Ed_Type_Datchik_1_RU == kZirconia) m_selectors->Show_D1_Plain();
    if (m.Ed_Type_Datchik_2_RU == kZirconia) m_selectors->Show_D2_Plain();
    if (m.model == QLatin1String("TR-90")) {
        m_selectors->Show_D1_Plain();
        m_selectors->Show_D2_Plain();
    }
}

void OptionSwitches::atb_LAMBDA_Way_DisplacementMouseDown() {
    auto& ui = m_panel->ui;
    m_panel->setDimmed(ui.gb_LAMBDA_U_Max, false);
    m_panel->setDimmed(ui.gb_LAMBDA_U_otn, false);
    if (!m_selectors) return;
    const ModuleFacts& m = m_ctx->module;
    if (m.Ed_Type_Datchik_1_RU == kZirconia) m_selectors->Show_D1_Split();
    if (m.Ed_Type_Datchik_2_RU == kZirconia) {
        if (ui.atb_LAMBDA_2_Normal->isChecked()) m_selectors->Show_D2_Split();
        if (ui.atb_LAMBDA_2_Catalizer->isChecked()) m_selectors->Show_D2_Plain();
    }
    if (m.model == QLatin1String("TR-90")) {
        m_selectors->Show_D1_Plain();
        m_selectors->Show_D2_Plain();
    }
}

void OptionSwitches::showAnalogMaf(bool analog) {
    auto& ui = m_panel->ui;
    m_panel->setDimmed(ui.gb_DMRV_Diapazone, analog);
    m_panel->setDimmed(ui.gb_DMRV_Porog_Korr, !analog);
    if (!m_selectors) return;
    m_selectors->showPulseFrequency(!analog);
    // The output frequency goes with the analog sensor; for a digital one the frequency
    // range of the write that follows decides.
    if (analog) m_selectors->showDigitalOutput(false);
    m_selectors->showAnalogVoltage(analog);
}

void OptionSwitches::atb_DMRV_Type_AnalogMouseDown() {
    showAnalogMaf(true);
}
void OptionSwitches::atb_DMRV_Type_DigitalMouseDown() {
    showAnalogMaf(false);
}

void OptionSwitches::atb_Other_Mode_SimpleMouseDown() {
    m_panel->setDimmed(m_panel->ui.gb_DMRV_K_Korr, false);
    m_panel->setDimmed(m_panel->ui.gb_LAMBDA_1_Korr, false);
}

void OptionSwitches::atb_Other_Mode_3DMouseDown() {
    m_panel->setDimmed(m_panel->ui.gb_DMRV_K_Korr, true);
    m_panel->setDimmed(m_panel->ui.gb_LAMBDA_1_Korr, true);
}

// --- lists --------------------------------------------------------------------------

void OptionSwitches::atb_SSmesiClick(QAbstractButton* button) {
    const int n = int(leannessButtons(m_panel->ui).indexOf(static_cast<QToolButton*>(button))) + 1;
    if (n < 1) return;
    m_ctx->logAction(QStringLiteral(" Степень забеднения смеси ") + button->text());
    m_panel->ui.atb_LAMBDA_StepSmesi->setText(button->text());
    // The list stays until the pop-up timer hides it.
    m_writer->writeOption(QStringLiteral("SSmesi_%1").arg(n));
}

void OptionSwitches::cb_KChange(int index) {
    static const char* const keys[] = {"cb_K_1", "cb_K_2", "cb_K_4", "cb_K_58"};
    if (index >= 0 && index < 4) {
        m_ctx->logAction(QStringLiteral(" Коэффициент часторты вращения коленвала = ") +
                         m_panel->ui.cb_K->itemText(index));
        m_writer->RegRab_Key = QString::fromLatin1(keys[index]);
    }
    m_writer->Btn_RegRab_Write();
}

// --- crankshaft sensor --------------------------------------------------------------

void OptionSwitches::atb_Sens_Kolenval_NoClick() {
    m_panel->setDimmed(m_panel->ui.gb_DMRV_Type, false);
    option(QStringLiteral("Sens_Kolenval_No"), QStringLiteral(" Не использовать датчик коленвала"));
}

void OptionSwitches::atb_Sens_Kolenval_YesClick() {
    auto& ui = m_panel->ui;
    m_warning->setLanguage(msgs().english());
    if (!m_ctx->confirm(m_warning)) {
        ui.atb_Sens_Kolenval_No->setChecked(true);
        return;
    }
    m_ctx->log(QStringLiteral("отредактировано ИСПОЛЬЗОВАТЬ ДАТЧИК КОЛЕНВАЛА = Да ") + nowText());
    // The crankshaft sensor takes the extra input, so the MAF sensor is an analog one:
    // its type is no longer a choice and the analog threshold applies.
    ui.atb_DMRV_Type_Analog->setChecked(true);
    showAnalogMaf(true);
    m_panel->setDimmed(ui.gb_DMRV_Type, true);
    m_ctx->logAction(QStringLiteral(" Использовать датчик коленвала"));
    // Register 00 carries the sensor bit; "Sens_Kolenval_No" names that register as well
    // as "Sens_Kolenval_Yes" would.
    m_writer->writeOption(QStringLiteral("Sens_Kolenval_No"));
}
