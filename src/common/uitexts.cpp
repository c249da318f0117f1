#include "common/uitexts.h"

#include "common/messages.h"

using namespace Qt::Literals::StringLiterals;

namespace uitexts {

namespace {

using P = Panel;

// Entries marked "ours" are texts of this program that the original list of switched texts
// does not name (captions and hints added with the frame and the panels); they follow the
// entries of their panel so that the list's own order stays as it is.
const QList<Entry>& table() {
    static const QList<Entry> t{
        // --- Tool bar and panel buttons --------------------------------------------------
        {P::Protocol, "cb_Protocol_Ask", "text",
         u"Сохранить файл протокола перед закрытием программы"_s,
         u"Save protocol before close aplication"_s},
        {P::Window, "atb_Sett_min", "text", u"Настройки"_s, u"Tuning"_s},
        {P::Window, "atb_Parr_min", "text", u"График"_s, u"Graph"_s},
        {P::Window, "atb_Lambda", "text", u"Поверхность\nЛямбда"_s, u"Surface\nLambda"_s},
        {P::Window, "atb_MAF", "text", u"Поверхность\nMAF"_s, u"Surface\nMAF"_s},
        {P::Window, "atb_MAF_TR_90", "text", u"Поверхность\nэмулятора"_s,
         u"Surface\nof emulator"_s},
        {P::Window, "atb_Emu", "text", u"Плоскость\nЛямбда"_s, u"Плоскость\nLambda"_s},
        {P::Window, "atb_TR_90_Lambda_1", "text", u"Плоскость\nЛямбда 1"_s,
         u"Плоскость\nLambda 1"_s},
        {P::Window, "atb_TR_90_Lambda_2", "text", u"Плоскость\nЛямбда 2"_s,
         u"Плоскость\nLambda 2"_s},
        {P::Window, "atbMemo", "text", u"Протокол"_s, u"Protocol"_s},
        {P::Window, "atb_Seans", "text", u"Передать"_s, u"To pass"_s},
        {P::Window, "atb_ModuleOn", "toolTip", u"Подключить модуль"_s, u"Connect"_s},
        {P::Window, "atb_ModuleOff", "toolTip", u"Отключить модуль"_s, u"Disconnect"_s},
        {P::Window, "atb_Menu_Module", "text", u"Модуль"_s, u"Module"_s},
        {P::Window, "AdvToolButton3", "text", u"О программе"_s, u"About"_s},
        {P::Window, "AdvToolButton5", "text", u"Подключить"_s, u"Connect"_s},
        {P::Window, "AdvToolButton8", "text", u"Отключить  "_s, u"Disconnect"_s},
        {P::Window, "cbPort", "toolTip", u"Выбор СОМ-порта"_s, u"Choice of COM-port"_s},
        {P::Window, "cb_Int_Graf_In", "toolTip", u"интервал вывода значений на график, с"_s,
         u"Interval of output of values on the graph, s"_s},
        // ours
        {P::Window, "atb_Seans", "toolTip", u"Передать команду модулю"_s,
         u"Send the command to the module"_s},
        {P::Window, "Ed_Peredat", "placeholderText", u"команда, например 87*"_s,
         u"command, for example 87*"_s},
        {P::Window, "atb_Port", "toolTip", u"Выбор СОМ-порта"_s, u"Choice of COM-port"_s},
        {P::Window, "atb_Int_Graf_In", "toolTip", u"интервал вывода значений на график, с"_s,
         u"Interval of output of values on the graph, s"_s},
        {P::Window, "Lbl_Port", "text", u"Порт:"_s, u"Port:"_s},
        {P::Window, "Lbl_Int_Graf_In", "text", u"Интервал графика, с:"_s, u"Graph interval, s:"_s},
        {P::Window, "Lbl_Timer_NeprOpros_Interval", "text", u"Интервал опроса, мс"_s,
         u"Polling interval, ms"_s},
        {P::Window, "atb_Menu_File", "text", u"Файл"_s, u"File"_s},
        {P::Window, "AdvToolButton1", "text", u"Открыть  "_s, u"Open"_s},
        {P::Window, "AdvToolButton2", "text", u"Сохранить"_s, u"Save"_s},
        {P::Window, "AdvToolButton4", "text", u"Закрыть   "_s, u"Close"_s},

        // --- Settings panel: Lambda sensors ----------------------------------------------
        {P::Settings, "gb_LAMBDA", "title", u"Датчики Лямбда"_s, u"Lambda sensors"_s},
        {P::Settings, "gb_LAMBDA_Way", "title", u"Способ подключения"_s, u"Connection way"_s},
        {P::Settings, "Lbl_LAMBDA_Way", "text", u"Подключение датчиков"_s, u"Sensor connection"_s},
        {P::Settings, "atb_LAMBDA_Way_Normal", "text", u"Обычный"_s, u"Normal"_s},
        {P::Settings, "atb_LAMBDA_Way_Displacement", "text", u"Смещение"_s, u"Offset"_s},
        {P::Settings, "gb_LAMBDA_2", "title", u"Канал Лямбда 2"_s, u"Lambda 2 channel"_s},
        {P::Settings, "Lbl_LAMBDA_2", "text", u"Применение канала"_s, u"Channel use"_s},
        {P::Settings, "atb_LAMBDA_2_Normal", "text", u"Обычный"_s, u"Normal"_s},
        {P::Settings, "atb_LAMBDA_2_Catalizer", "text", u"Катализатор"_s, u"Catalyst"_s},
        {P::Settings, "gb_LAMBDA_U_otn", "title", u"Напряжение смещения"_s, u"Offset voltage"_s},
        {P::Settings, "Lbl_LAMBDA_U_otn", "text", u"Напряжение относительно"_s,
         u"Voltage relative to"_s},
        {P::Settings, "atb_LAMBDA_U_otn_Input", "text", u"Входа"_s, u"Input"_s},
        {P::Settings, "atb_LAMBDA_U_otn_Ground", "text", u"Массы"_s, u"Ground"_s},
        {P::Settings, "gb_LAMBDA_1_Korr", "title", u"Коэффициент коррекции Лямбда 1"_s,
         u"Lambda 1 correction coefficient"_s},
        {P::Settings, "Lbl_LAMBDA_1_Korr", "text", u"Коэффициент"_s, u"Coefficient"_s},
        {P::Settings, "gb_LAMBDA_U_Max", "title", u"Максимальное напряжение смещения"_s,
         u"Maximum offset voltage"_s},
        {P::Settings, "Lbl_LAMBDA_U_Max", "text", u"Допустимое смещение, В"_s,
         u"Allowed offset, V"_s},
        {P::Settings, "gb_LAMBDA_StepSmesi", "title", u"Степень забеднения смеси"_s,
         u"Mixture leaning"_s},
        {P::Settings, "Lbl_LAMBDA_StepSmesi", "text", u"Воздух : топливо"_s, u"Air : fuel"_s},
        {P::Settings, "gb_LAMBDA_Regim", "title", u"Режим работы"_s, u"Operating mode"_s},
        {P::Settings, "AdvTBtn_Emu", "text", u"Эмулятор"_s, u"Emulator"_s},
        {P::Settings, "AdvTBtn_Opt", "text", u"Оптимизатор"_s, u"Optimizer"_s},
        {P::Settings, "AdvTBtn_MAF_P", "text", u"MAF(P), 0...5 В"_s, u"MAF(P), 0...5 В"_s},

        // --- Settings panel: MAF sensor --------------------------------------------------
        {P::Settings, "gb_DMRV", "title", u"Датчик расхода воздуха"_s, u"Air flow sensor"_s},
        {P::Settings, "gb_DMRV_Type", "title", u"Тип ДМРВ"_s, u"MAF type"_s},
        {P::Settings, "atb_DMRV_Type_Analog", "text", u"Аналог"_s, u"Analog"_s},
        {P::Settings, "atb_DMRV_Type_Digital", "text", u"Цифра"_s, u"Digital"_s},
        {P::Settings, "gb_DMRV_Diapazone", "title", u"Диапазон частот ДМРВ"_s,
         u"MAF frequency range"_s},
        {P::Settings, "Lbl_DMRV_Diapazone", "text", u"Частота сигнала"_s, u"Signal frequency"_s},
        {P::Settings, "atb_DMRV_Diapazone_More", "text", u"Более 1 КГц"_s, u"Above 1 kHz"_s},
        {P::Settings, "atb_DMRV_Diapazone_Less", "text", u"Менее 1 КГц"_s, u"Below 1 kHz"_s},
        {P::Settings, "gb_DMRV_Nagruzka", "title", u"Нагрузка ДМРВ 1 кОм"_s, u"MAF load 1 kOhm"_s},
        {P::Settings, "Label12", "text", u"Нагрузка"_s, u"Load"_s},
        {P::Settings, "atb_DMRV_Nagruzka_On", "text", u"Вкл"_s, u"On"_s},
        {P::Settings, "atb_DMRV_Nagruzka_Off", "text", u"Выкл"_s, u"Off"_s},
        {P::Settings, "gb_DMRV_Korr", "title", u"Характер коррекции ДМРВ"_s,
         u"MAF correction direction"_s},
        {P::Settings, "lbl_DMRV_Korr", "text", u"Коррекция"_s, u"Correction"_s},
        {P::Settings, "atb_DMRV_Korr_Right", "text", u"Прямая"_s, u"Direct"_s},
        {P::Settings, "atb_DMRV_Korr_Reverse", "text", u"Обратная"_s, u"Reverse"_s},
        {P::Settings, "gb_DMRV_Porog_Korr", "title", u"Порог коррекции аналогового ДМРВ"_s,
         u"Analog MAF correction threshold"_s},
        {P::Settings, "Lbl_DMRV_Porog_Korr", "text", u"Порог, В"_s, u"Threshold, V"_s},
        {P::Settings, "gb_DMRV_K_Korr", "title", u"Коэффициент коррекции ДМРВ"_s,
         u"MAF correction coefficient"_s},
        {P::Settings, "Lbl_DMRV_K_Korr", "text", u"Коэффициент"_s, u"Coefficient"_s},
        {P::Settings, "gb_DMRV_Type_Sensor", "title", u"Тип датчика"_s, u"Sensor type"_s},

        // --- Settings panel: other settings ----------------------------------------------
        {P::Settings, "gb_Other", "title", u"Прочие настройки"_s, u"Other settings"_s},
        {P::Settings, "gb_Other_Spada_Korr", "title", u"Уровень спада коррекции"_s,
         u"Correction decay level"_s},
        {P::Settings, "Lbl_Other_Spada_Korr", "text", u"Уровень"_s, u"Level"_s},
        {P::Settings, "gb_Other_Point_Korr", "title", u"Точка максимальной коррекции"_s,
         u"Maximum correction point"_s},
        {P::Settings, "Lbl_Other_Point_Korr", "text", u"Обороты, об/мин"_s, u"Speed, rpm"_s},
        {P::Settings, "gb_Other_Zad_Korr", "title", u"Задержка включения коррекции"_s,
         u"Correction start delay"_s},
        {P::Settings, "Lbl_Other_Zad_Korr", "text", u"Задержка"_s, u"Delay"_s},
        {P::Settings, "gb_Other_VolEng", "title", u"Объём двигателя"_s, u"Engine displacement"_s},
        {P::Settings, "Lbl_Other_VolEng", "text", u"Объём, л"_s, u"Volume, L"_s},
        {P::Settings, "gb_Other_NumBurn", "title", u"Количество форсунок"_s,
         u"Number of injectors"_s},
        {P::Settings, "Lbl_Other_NumBurn", "text", u"Форсунок"_s, u"Injectors"_s},
        {P::Settings, "gb_Other_K_Fuel", "title", u"Коэффициент расхода топлива"_s,
         u"Fuel consumption coefficient"_s},
        {P::Settings, "Lbl_Other_K_Fuel", "text", u"Коэффициент"_s, u"Coefficient"_s},
        {P::Settings, "gb_Other_2", "title", u"Система"_s, u"System"_s},
        {P::Settings, "gb_Other_System", "title", u"Работа системы"_s, u"System operation"_s},
        {P::Settings, "atb_Other_System_On", "text", u"Вкл"_s, u"On"_s},
        {P::Settings, "atb_Other_System_Off", "text", u"Выкл"_s, u"Off"_s},
        {P::Settings, "gb_Other_Mode", "title", u"Режим коррекции"_s, u"Correction mode"_s},
        {P::Settings, "Lbl_Other_Mode", "text", u"Коррекция"_s, u"Correction"_s},
        {P::Settings, "atb_Other_Mode_Simple", "text", u"Простая"_s, u"Simple"_s},
        {P::Settings, "atb_Other_Mode_3D", "text", u"3D"_s, u"3D"_s},
        {P::Settings, "gb_Other_K_Kolenvala", "title", u"Коэффициент частоты вращения коленвала"_s,
         u"Crankshaft speed coefficient"_s},
        {P::Settings, "Lbl_Other_K_Kolenvala", "text", u"Коэффициент K"_s, u"Coefficient K"_s},
        {P::Settings, "gb_Other_SensKolenval", "title", u"Датчик коленвала"_s,
         u"Crankshaft sensor"_s},
        {P::Settings, "Lbl_Other_SensKolenval", "text", u"Использовать датчик"_s,
         u"Use the sensor"_s},
        {P::Settings, "atb_Sens_Kolenval_Yes", "text", u"Да"_s, u"Yes"_s},
        {P::Settings, "atb_Sens_Kolenval_No", "text", u"Нет"_s, u"No"_s},
        {P::Settings, "gb_Other_TicherEmu", "title", u"Обучение эмулятора Лямбда"_s,
         u"Lambda emulator learning"_s},
        {P::Settings, "Lbl_Other_TicherEmu", "text", u"Обучение"_s, u"Learning"_s},
        // (atb_Other_TicherEmu: a state caption, below)
        // ours: the hints of the eight value fields
        {P::Settings, "Ed_LAMBDA_U_Max", "toolTip", u"текущее значение"_s, u"current value"_s},
        {P::Settings, "Ed_LAMBDA_1_Korr", "toolTip", u"текущее значение"_s, u"current value"_s},
        {P::Settings, "Ed_DMRV_Porog_Korr", "toolTip", u"текущее значение"_s, u"current value"_s},
        {P::Settings, "Ed_DMRV_K_Korr", "toolTip", u"текущее значение"_s, u"current value"_s},
        {P::Settings, "Ed_Other_Point_Korr", "toolTip", u"текущее значение"_s, u"current value"_s},
        {P::Settings, "Ed_Other_Zad_Korr", "toolTip", u"текущее значение"_s, u"current value"_s},
        {P::Settings, "Ed_Other_K_Fuel", "toolTip", u"текущее значение"_s, u"current value"_s},
        {P::Settings, "Ed_Other_VolEng", "toolTip", u"текущее значение"_s, u"current value"_s},

        // --- Parameter chart panel and the parameter list --------------------------------
        {P::Chart, "atb_AxLeft_Auto", "text", u"Авто"_s, u"Auto"_s},
        {P::Chart, "atb_AxRight_Auto", "text", u"Авто"_s, u"Auto"_s},
        {P::Params, "rb01", "toolTip", u"Установить пределы левой oY"_s,
         u"Set the limits of the left oY"_s},
        {P::Params, "rb02", "toolTip", u"Установить пределы левой oY"_s,
         u"Set the limits of the left oY"_s},
        {P::Params, "rb03", "toolTip", u"Установить пределы левой oY"_s,
         u"Set the limits of the left oY"_s},
        {P::Params, "rb04", "toolTip", u"Установить пределы левой oY"_s,
         u"Set the limits of the left oY"_s},
        {P::Params, "rb05", "toolTip", u"Установить пределы левой oY"_s,
         u"Set the limits of the left oY"_s},
        {P::Params, "rb06", "toolTip", u"Установить пределы левой oY"_s,
         u"Set the limits of the left oY"_s},
        {P::Params, "rb07", "toolTip", u"Установить пределы левой oY"_s,
         u"Set the limits of the left oY"_s},
        {P::Params, "rb08", "toolTip", u"Установить пределы левой oY"_s,
         u"Set the limits of the left oY"_s},
        {P::Params, "rb09", "toolTip", u"Установить пределы левой oY"_s,
         u"Set the limits of the left oY"_s},
        {P::Params, "rb10", "toolTip", u"Установить пределы правой oY"_s,
         u"Set the limits of the right oY"_s},
        {P::Params, "rb11", "toolTip", u"Установить пределы правой oY"_s,
         u"Set the limits of the right oY"_s},
        {P::Params, "atb_RT_TypeCalc", "toolTip", u"Выбрать способ расчета"_s,
         u"Choose the way of calculation"_s},
        // (atb_RT_TypeCalc caption: a state caption, below)
        {P::Params, "atb_Get_0", "toolTip", u"Обнулить количество израсходованного топлива"_s,
         u"Reset the amount of fuel used"_s},
        {P::Params, "atb_Get_0", "text", u"Обнулить"_s, u"Reset"_s},
        {P::Params, "atb_DlgColor", "text", u"Выбор цвета"_s, u"Choice of colour"_s},
        {P::Params, "atb_T_vpryska_topl", "text", u"Время впрыска топлива, мс"_s,
         u"Fuel injection time, ms"_s},
        {P::Params, "atb_RashTopl", "text", u"Мгновенный расход топлива, л/ч"_s,
         u"Instant fuel consumption, L/h"_s},
        {P::Params, "atb_U_analog", "text", u"Напряжение аналогового ДМРВ, В"_s,
         u"Voltage of analog MAF, V"_s},
        {P::Params, "atb_digDMRV_Output", "text", u"Частота цифрового ДМРВ на выходе, Гц"_s,
         u"Output frequency of digital MAF, Hz"_s},
        {P::Params, "atb_KRT", "text", u"Израсходовано топлива, л"_s, u"Fuel used, L"_s},
        {P::Params, "atb_D1_do", "text", u"Датчик 1 Напряжение до модуля, В"_s,
         u"Sensor 1 Voltage before module, V"_s},
        {P::Params, "atb_D1_posle", "text", u"Датчик 1 Напряжение после модуля, В"_s,
         u"Sensor 1 Voltage after module, V"_s},
        {P::Params, "atb_D2_do", "text", u"Датчик 2 Напряжение до модуля, В"_s,
         u"Sensor 2 Voltage before module, V"_s},
        {P::Params, "atb_D2_posle", "text", u"Датчик 2 Напряжение после модуля, В"_s,
         u"Sensor 2 Voltage after module, V"_s},
        {P::Params, "atb_PVK", "text", u"Частота вращения коленвала, об/мин"_s,
         u"Crankshaft speed, rpm"_s},
        {P::Params, "atb_Per4_imp", "text", u"Частота импульсов цифр. ДМРВ, Гц"_s,
         u"Pulse frequency of digital MAF, Hz"_s},
        {P::Chart, "Label_Limit", "text", u"Диапазон разрешенных отклонений"_s,
         u"Range of allowed deviations"_s},
        {P::Params, "cb_T_vpryska_topl", "toolTip", u"Показать на графике"_s,
         u"Show on the graph"_s},
        {P::Params, "cb_RashTopl", "toolTip", u"Показать на графике"_s, u"Show on the graph"_s},
        {P::Params, "cb_U_analog", "toolTip", u"Показать на графике"_s, u"Show on the graph"_s},
        {P::Params, "cb_D1", "toolTip", u"Показать на графике"_s, u"Show on the graph"_s},
        {P::Params, "cb_D2", "toolTip", u"Показать на графике"_s, u"Show on the graph"_s},
        {P::Params, "cb_D1_do", "toolTip", u"Показать на графике"_s, u"Show on the graph"_s},
        {P::Params, "cb_D1_posle", "toolTip", u"Показать на графике"_s, u"Show on the graph"_s},
        {P::Params, "cb_D2_do", "toolTip", u"Показать на графике"_s, u"Show on the graph"_s},
        {P::Params, "cb_D2_posle", "toolTip", u"Показать на графике"_s, u"Show on the graph"_s},
        {P::Params, "cb_PVK", "toolTip", u"Показать на графике"_s, u"Show on the graph"_s},
        {P::Params, "cb_Per4_imp", "toolTip", u"Показать на графике"_s, u"Show on the graph"_s},
        {P::Params, "cb_KRT", "toolTip", u"Показывать значение"_s, u"Show the value"_s},
        {P::Params, "CheckBox_D1", "text", u"Ток, мА"_s, u"Current, mA"_s},
        {P::Params, "CheckBox_D1", "toolTip", u"Выбор - ток или отношение воздух/топливо"_s,
         QString()},
        {P::Params, "CheckBox_D2", "text", u"Ток, мА"_s, u"Current, mA"_s},
        {P::Params, "CheckBox_D2", "toolTip", u"Выбор - ток или отношение воздух/топливо"_s,
         QString()},
        {P::Chart, "GroupBox4", "title", u"Запись"_s, u"Запись"_s},
        {P::Chart, "atb_Chart1_Start", "toolTip", u"Старт"_s, u"Start"_s},
        {P::Chart, "atb_Chart1_Pause", "toolTip", u"Пауза"_s, u"Pause"_s},
        {P::Chart, "atb_Chart1_Continue", "toolTip", u"Продолжить"_s, u"Continue"_s},
        {P::Chart, "atb_Chart1_Stop", "toolTip", u"Стоп"_s, u"Stop"_s},
        {P::Chart, "atb_Chart1_Clear", "toolTip", u"Очистить график"_s, u"Clear the graph"_s},
        {P::Chart, "atb_Param_Open", "toolTip", u"Открыть сохраненный график параметров"_s,
         u"Open a saved graph of parameters"_s},
        {P::Chart, "atb_Param_Save", "toolTip", u"Сохранить график параметров в файл"_s,
         u"Save the graph of parameters to a file"_s},
        {P::Chart, "GroupBox5", "title", u"Просмотр"_s, u"View"_s},
        {P::Chart, "Btn_toBegin", "toolTip", u"В начало графика"_s,
         u"To the beginning of the graph"_s},
        {P::Chart, "Btn_Page_toLeft", "toolTip", u"На одну страницу влево"_s,
         u"One page to the left"_s},
        {P::Chart, "Btn_Step_toLeft", "toolTip", u"На один шаг влево"_s, u"One step to the left"_s},
        {P::Chart, "Btn_Step_toRight", "toolTip", u"На один шаг вправо"_s,
         u"One step to the right"_s},
        {P::Chart, "Btn_Page_toRight", "toolTip", u"На одну страницу вправо"_s,
         u"One page to the right"_s},
        {P::Chart, "Btn_toEnd", "toolTip", u"В конец графика"_s, u"To the end of the graph"_s},
        {P::Chart, "atb_Show_Navigator", "toolTip", u"Показать навигатор"_s,
         u"Show the navigator"_s},
        {P::Chart, "atb_ShowAxis_Chart1", "toolTip", u"Показать шкалы"_s, u"Show the scales"_s},
        {P::Chart, "gb_Type_Graf", "title", u"Параметры вывода на график"_s,
         u"Output to the graph"_s},
        {P::Chart, "atb_Type_Graf_Nepr", "text", u"Непрерывно"_s, u"Непрерывно"_s},
        {P::Chart, "atb_Type_Graf_Page", "text", u"Страницами"_s, u"By pages"_s},
        // ours
        {P::Chart, "Edit_Width_Page_Graf", "toolTip", u"\"Ширина страницы\" графика, сек"_s,
         u"\"Page width\" of the graph, s"_s},
        {P::Chart, "lblAxLeftTop", "text", u"Верх"_s, u"Top"_s},
        {P::Chart, "lblAxLeftBottom", "text", u"Низ"_s, u"Bottom"_s},
        {P::Chart, "lblAxRightTop", "text", u"Верх"_s, u"Top"_s},
        {P::Chart, "lblAxRightBottom", "text", u"Низ"_s, u"Bottom"_s},
        {P::Chart, "Chart1", "bottomAxisTitle", u"Время"_s, u"Time"_s},
        {P::Chart, "Chart1", "leftAxisTitle", u"Парметр"_s, u"Parameter"_s},
        {P::Chart, "Chart1", "rightAxisTitle", u"Параметр"_s, u"Parameter"_s},
        // ours: the sensor captions until the mode view writes its message texts into them
        {P::Params, "atb_D1", "text", u"Датчик 1"_s, u"Sensor 1"_s, true},
        {P::Params, "atb_D2", "text", u"Датчик 2"_s, u"Sensor 2"_s, true},

        // --- Table and surface panel -----------------------------------------------------
        // The note is shown only in the MAF(P) mode view; an empty panel stays empty.
        {P::Table3D, "Panel_lbl_MAF", "text",
         u"Значение \"- 50\" соответствует изменению напряжения на \"0,5 В\""_s,
         u"A value \"- 50\" corresponds the change of tension on \"0,5 V\""_s, true},
        {P::Table3D, "Panel_3D_Top", "text", u"Частота вращения об/мин"_s, u"Engine speed, rpm"_s},
        {P::Table3D, "gb_KorrTab", "title", u"Производить коррекцию таблиц по "_s,
         u"Производить коррекцию таблиц по "_s},
        {P::Table3D, "atb_KorrTab_MAF", "text", u"Напряжение от MAF"_s, u"Voltage from MAF"_s},
        {P::Table3D, "atb_KorrTab_VV", "text", u"Время впрыска"_s, u"Injection time"_s},
        {P::Table3D, "atb_Default_3D", "toolTip", u"Ориентация по умолчанию"_s,
         u"Default orientation"_s},
        {P::Table3D, "atb_Push_3D", "toolTip", u"Сохранить ориентацию"_s,
         u"Save the orientation"_s},
        {P::Table3D, "atb_Pop_3D", "toolTip", u"Восстановить ориентацию"_s,
         u"Restore the orientation"_s},
        {P::Table3D, "atb_3D_RotateLeft", "toolTip", u"Вращение по oX"_s, u"Rotation about oX"_s},
        {P::Table3D, "atb_3D_RotateUp", "toolTip", u"Вращение по oY"_s, u"Rotation about oY"_s},
        {P::Table3D, "atb_3D_RotateUpZ", "toolTip", u"Вращение по oZ"_s, u"Rotation about oZ"_s},
        {P::Table3D, "atb_3D_RotateRight", "toolTip", u"Вращение по oX"_s, u"Rotation about oX"_s},
        {P::Table3D, "atb_3D_RotateDownZ", "toolTip", u"Вращение по oZ"_s, u"Rotation about oZ"_s},
        {P::Table3D, "atb_3D_RotateDown", "toolTip", u"Вращение по oY"_s, u"Rotation about oY"_s},
        // (atb_3D_Zoom has no hint in the window yet; its pair joins here when it gets one)
        {P::Table3D, "atb_MAF_Out", "toolTip", u"Получить таблицу MAF из модуля"_s,
         u"Read the MAF table from the module"_s},
        {P::Table3D, "atb_MAF_In", "toolTip", u"Записать таблицу MAF в модуль"_s,
         u"Write the MAF table to the module"_s},
        {P::Table3D, "atb_MAF_Open", "toolTip", u"Открыть таблицу MAF из файла"_s,
         u"Open the MAF table from a file"_s},
        {P::Table3D, "atb_MAF_Save", "toolTip", u"Сохранить таблицу MAF в файл"_s,
         u"Save the MAF table to a file"_s},
        {P::Table3D, "atb_Lambda_Out", "toolTip", u"Получить таблицу Лямбда из модуля"_s,
         u"Read the Lambda table from the module"_s},
        {P::Table3D, "atb_Lambda_In", "toolTip", u"Записать таблицу Лямбда в модуль"_s,
         u"Write the Lambda table to the module"_s},
        {P::Table3D, "atb_Lambda_Open", "toolTip", u"Открыть таблицу Лямбда из файла"_s,
         u"Open the Lambda table from a file"_s},
        {P::Table3D, "atb_Lambda_Save", "toolTip", u"Сохранить таблицу Лямбда в файл"_s,
         u"Save the Lambda table to a file"_s},
        {P::Table3D, "atb_MAF_TR_90_Out", "toolTip", u"Получить таблицу напряжений из модуля"_s,
         u"Read the voltage table from the module"_s},
        {P::Table3D, "atb_MAF_TR_90_In", "toolTip", u"Сохранить таблицу напряжений в модуль"_s,
         u"Write the voltage table to the module"_s},
        {P::Table3D, "atb_MAF_TR_90_Open", "toolTip", u"Открыть таблицу напряжений из файла"_s,
         u"Open the voltage table from a file"_s},
        {P::Table3D, "atb_MAF_TR_90_Save", "toolTip", u"Сохранить таблицу напряжений в файл"_s,
         u"Save the voltage table to a file"_s},
        // the table grid's context actions for a recording
        {P::Table3D, "actCellStats", "text", u"Статистика ячеек по записи"_s,
         u"Cell statistics of the recording"_s},
        {P::Table3D, "actCellStatsParam", "text", u"Параметр статистики"_s, u"Statistics parameter"_s},
        {P::Table3D, "actCellStatsPage", "text", u"Только страница графика"_s,
         u"Only the page of the chart"_s},
        // the corrections of the MAF table from a recording: the grid's actions and fmSuggest
        {P::Table3D, "actSuggest", "text", u"Поправки по записи…"_s, u"Corrections from the recording…"_s},
        {P::Table3D, "actApplySuggestions", "text", u"Применить поправки"_s, u"Apply the corrections"_s},
        {P::Table3D, "actLockCells", "text", u"Закрепить ячейки"_s, u"Lock the cells"_s},
        {P::Table3D, "fmSuggest", "windowTitle", u"Поправки по записи"_s, u"Corrections from the recording"_s},
        {P::Table3D, "lblSuggestTargets", "text", u"Цель AFR по ячейкам"_s, u"Target AFR per cell"_s},
        {P::Table3D, "lblSuggestDelay", "text", u"Задержка датчика, мс"_s, u"Sensor delay, ms"_s},
        {P::Table3D, "lblSuggestMinHits", "text", u"Отсчётов на ячейку, не менее"_s,
         u"Samples per cell, at least"_s},
        {P::Table3D, "lblSuggestLimit", "text", u"Предел поправки за запись"_s, u"Limit per recording"_s},
        {P::Table3D, "lblSuggestDeadband", "text", u"Зона нечувствительности"_s, u"Deadband"_s},
        {P::Table3D, "lblSuggestGain", "text", u"Усиление, единиц на 1 %"_s, u"Gain, units per 1 %"_s},
        {P::Table3D, "cbSuggestPage", "text", u"Только страница графика"_s, u"Only the page of the chart"_s},
        {P::Table3D, "lblSuggestRejected", "text", u"Отброшено фильтрами:"_s, u"Rejected by the filters:"_s},
        {P::Table3D, "btnSuggestApply", "text", u"Применить поправки"_s, u"Apply the corrections"_s},

        // --- Curve panels ----------------------------------------------------------------
        {P::Curve1, "Label_Chart_2D", "text",
         u"Перемещение точки вверх - обеднение топливной смеси, Перемещение точки вниз - обогащение топливной смеси"_s,
         u"Moving a point up - leaning of the fuel mixture, Moving a point down - enrichment of the fuel mixture"_s},
        {P::Curve1, "GroupBox2", "title", u"Сглаживание точек Лямбда   "_s,
         u"Сглаживание точек Лямбда   "_s},
        {P::Curve1, "atb_Interpolator_Lambda", "text", u"Сгладить"_s, u"Сгладить"_s},
        {P::Curve1, "GroupBox8", "title", u"Фильтр чтения таблицы Лямбда   "_s,
         u"Read filter of the Lambda table   "_s},
        {P::Curve1, "atb_Lambda_Filter_On", "text", u"Вкл"_s, u"On"_s},
        {P::Curve1, "atb_Lambda_Filter_Off", "text", u"Выкл"_s, u"Off"_s},
        {P::Curve1, "atb_Emu_In", "toolTip", u"Получить данные Лямбда 1 из модуля"_s,
         u"Read the Lambda 1 data from the module"_s},
        {P::Curve1, "atb_Emu_Out", "toolTip", u"Записать данные Лямбда 1 в модуль"_s,
         u"Write the Lambda 1 data to the module"_s},
        {P::Curve1, "atb_Emu_Open", "toolTip", u"Открыть данные Лямбда 1 из файла"_s,
         u"Open the Lambda 1 data from a file"_s},
        {P::Curve1, "atb_Emu_Save", "toolTip", u"Сохранить данные Лямбда 1 в файл"_s,
         u"Save the Lambda 1 data to a file"_s},
        {P::Curve1, "atb_Num_Yellow_Points_Down", "toolTip", u"Уменьшить число точек"_s,
         u"Уменьшить число точек"_s},
        {P::Curve1, "atb_Num_Yellow_Points_Up", "toolTip", u"Увеличить число точек"_s,
         u"Увеличить число точек"_s},
        {P::Curve1, "Btn_YellowPoints", "toolTip", u"Получить текущие данные из модуля"_s,
         u"Get the current data from the module"_s},
        {P::Curve1, "Btn_YellowPoints_Stop", "toolTip", u"Стоп"_s, u"Stop"_s},
        // ours
        {P::Curve1, "Ed_Num_Yellow_Points", "toolTip", u"Число одновременно видимых точек"_s,
         u"Number of points seen at once"_s},

        {P::Curve2, "Label_Chart_2D_2", "text",
         u"Перемещение точки вверх - обеднение топливной смеси, Перемещение точки вниз - обогащение топливной смеси"_s,
         u"Moving a point up - leaning of the fuel mixture, Moving a point down - enrichment of the fuel mixture"_s},
        {P::Curve2, "GroupBox6", "title", u"Сглаживание точек Лямбда   "_s,
         u"Сглаживание точек Лямбда   "_s},
        {P::Curve2, "atb_Interpolator_Lambda_2", "text", u"Сгладить"_s, u"Сгладить"_s},
        {P::Curve2, "GroupBox1", "title", u"Фильтр чтения таблицы Лямбда   "_s,
         u"Read filter of the Lambda table   "_s},
        {P::Curve2, "atb_Lambda_Filter_On_2", "text", u"Вкл"_s, u"On"_s},
        {P::Curve2, "atb_Lambda_Filter_Off_2", "text", u"Выкл"_s, u"Off"_s},
        {P::Curve2, "atb_Emu_In_2", "toolTip", u"Получить данные Лямбда 2 из модуля"_s,
         u"Read the Lambda 2 data from the module"_s},
        {P::Curve2, "atb_Emu_Out_2", "toolTip", u"Записать данные Лямбда 2 в модуль"_s,
         u"Write the Lambda 2 data to the module"_s},
        {P::Curve2, "atb_Emu_Open_2", "toolTip", u"Открыть данные Лямбда 2 из файла"_s,
         u"Open the Lambda 2 data from a file"_s},
        {P::Curve2, "atb_Emu_Save_2", "toolTip", u"Сохранить данные Лямбда 2 в файл"_s,
         u"Save the Lambda 2 data to a file"_s},
        {P::Curve2, "atb_Num_Yellow_Points_Down_2", "toolTip", u"Уменьшить число точек"_s,
         u"Уменьшить число точек"_s},
        {P::Curve2, "atb_Num_Yellow_Points_Up_2", "toolTip", u"Увеличить число точек"_s,
         u"Увеличить число точек"_s},
        // ours: the second curve's live-point buttons and count, as on the first curve
        {P::Curve2, "Btn_YellowPoints_2", "toolTip", u"Получить текущие данные из модуля"_s,
         u"Get the current data from the module"_s},
        {P::Curve2, "Btn_YellowPoints_Stop_2", "toolTip", u"Стоп"_s, u"Stop"_s},
        {P::Curve2, "Ed_Num_Yellow_Points_2", "toolTip", u"Число одновременно видимых точек"_s,
         u"Number of points seen at once"_s},
        // The axis titles of both curve charts, with the MAF wording.
        {P::Curve1, "Chart2D", "leftAxisTitle", u"Напряжение MAF датчика, В или расход воздуха"_s,
         u"Voltage MAF sensor, V or consuption air "_s},
        {P::Curve1, "Chart2D", "bottomAxisTitle",
         u"Относительное количество топлива или расход воздуха"_s,
         u"Relative amount of fuel or consuption air"_s},
        {P::Curve2, "Chart2D_2", "leftAxisTitle", u"Напряжение MAF датчика, В или расход воздуха"_s,
         u"Voltage MAF sensor, V or consuption air "_s},
        {P::Curve2, "Chart2D_2", "bottomAxisTitle",
         u"Относительное количество топлива или расход воздуха"_s,
         u"Relative amount of fuel or consuption air"_s},

        // --- ours: pictures of the chart and the surface, and the work report ------------
        {P::Chart, "actSaveChartImage", "text", u"Сохранить изображение графика…"_s, u"Save chart image…"_s},
        {P::Chart, "actCopyChartImage", "text", u"Копировать изображение графика"_s, u"Copy chart image"_s},
        {P::Table3D, "actSaveSurfaceImage", "text", u"Сохранить изображение поверхности…"_s,
         u"Save surface image…"_s},
        {P::Window, "actWorkReport", "text", u"Отчёт о работе…"_s, u"Work report…"_s},
        {P::Window, "actPrintReport", "text", u"Печать отчёта…"_s, u"Print report…"_s},

        // --- Replay and comparison of recordings: Chart1's context menu, the replay bar and
        // the comparison's bar and the difference in the cell statistics -------------------
        {P::Chart, "actReplay", "text", u"Воспроизвести"_s, u"Play"_s},
        {P::Chart, "atbReplayBack", "toolTip", u"На один отсчёт назад"_s, u"One sample back"_s},
        {P::Chart, "atbReplayPause", "toolTip", u"Пауза и продолжение (Пробел)"_s, u"Pause and play (Space)"_s},
        {P::Chart, "atbReplayForward", "toolTip", u"На один отсчёт вперёд"_s, u"One sample forward"_s},
        {P::Chart, "cbReplaySpeed", "toolTip", u"Скорость воспроизведения"_s, u"Playing speed"_s},
        {P::Chart, "slReplay", "toolTip", u"Место в записи"_s, u"Place in the recording"_s},
        {P::Chart, "atbReplayStop", "toolTip", u"Закончить воспроизведение (Esc)"_s, u"End the playing (Esc)"_s},
        {P::Chart, "actCompareRecord", "text", u"Сравнить с записью…"_s, u"Compare with a recording…"_s},
        {P::Chart, "actCompareRemove", "text", u"Убрать сравнение"_s, u"Remove the comparison"_s},
        {P::Chart, "lblRefOffset", "text", u"Сдвиг, с"_s, u"Offset, s"_s},
        {P::Chart, "edRefOffset", "toolTip", u"Сдвиг записи сравнения, с (Shift и перетаскивание на графике)"_s,
         u"Offset of the comparison recording, s (Shift and drag on the chart)"_s},
        {P::Chart, "atbCompareRemove", "toolTip", u"Убрать сравнение"_s, u"Remove the comparison"_s},
        {P::Table3D, "actCellStatsDiff", "text", u"Разность с записью сравнения"_s,
         u"Difference from the comparison recording"_s},

        // --- The window caption, written last ---------------------------------------------
        {P::Caption, "Form1", "windowTitle", u"Оптимизатор. Версия 8.0"_s,
         u"Optimizer. Version 8.0"_s},
    };
    return t;
}

} // namespace

const QList<Entry>& entries() {
    return table();
}

QList<Entry> entriesFor(Panel panel) {
    QList<Entry> out;
    for (const Entry& e : table())
        if (e.panel == panel) out << e;
    return out;
}

const QList<StateCaption>& stateCaptions() {
    static const QList<StateCaption> t{
        // Learning: down while the module learns.
        {P::Settings, "atb_Other_TicherEmu", "atb_Other_TicherEmu", u"Выключить"_s, u"Off"_s,
         u"Включить"_s, u"On"_s},
        // Fuel consumption: down for the averaged calculation.
        {P::Params, "atb_RT_TypeCalc", "atb_RT_TypeCalc", u"среднее"_s, u"Average"_s, u"норма"_s,
         u"Norma"_s},
        // ours: the load axis caption of the table, injection time or MAF voltage.
        {P::Table3D, "Panel_3D_Left", "atb_KorrTab_VV", u"t, мс"_s, u"t, ms"_s, u"V"_s, u"V"_s},
    };
    return t;
}

QString stateCaption(const QString& object, bool down, Lang lang) {
    for (const StateCaption& s : stateCaptions())
        if (object == QLatin1String(s.object)) return s.text(down, lang);
    return {};
}

const QList<ActionText>& gridActionTexts() {
    static const QList<ActionText> t{
        // The editing menu of the table grid, then that of either curve grid.
        {P::Table3D, "actSetValue", u"Установить значение…"_s, u"Set a value…"_s},
        {P::Table3D, "actAddValue", u"Прибавить значение…"_s, u"Add a value…"_s},
        {P::Table3D, "actScale", u"Масштабировать, %…"_s, u"Scale by a percentage…"_s},
        {P::Table3D, "actInterpolateH", u"Интерполировать по горизонтали"_s, u"Interpolate horizontally"_s},
        {P::Table3D, "actInterpolateV", u"Интерполировать по вертикали"_s, u"Interpolate vertically"_s},
        {P::Table3D, "actInterpolate2D", u"Интерполировать от углов"_s, u"Interpolate from the corners"_s},
        {P::Table3D, "actSmooth", u"Сгладить"_s, u"Smooth"_s},
        {P::Table3D, "actCopy", u"Копировать"_s, u"Copy"_s},
        {P::Table3D, "actPaste", u"Вставить"_s, u"Paste"_s},
        {P::Table3D, "actUndo", u"Отменить"_s, u"Undo"_s},
        {P::Table3D, "actRedo", u"Повторить"_s, u"Redo"_s},
        {P::Table3D, "actHeatMap", u"Тепловая карта"_s, u"Heat map"_s},
        {P::Table3D, "actCompare", u"Сравнить с файлом…"_s, u"Compare with a file…"_s},
        {P::Table3D, "actCompareTake", u"Взять значения из файла"_s, u"Take the file's values"_s},
        {P::Table3D, "actCompareEnd", u"Закончить сравнение"_s, u"End the comparison"_s},
        {P::Curve1, "actSetValue", u"Установить значение…"_s, u"Set a value…"_s},
        {P::Curve1, "actAddValue", u"Прибавить значение…"_s, u"Add a value…"_s},
        {P::Curve1, "actScale", u"Масштабировать, %…"_s, u"Scale by a percentage…"_s},
        {P::Curve1, "actInterpolateV", u"Интерполировать между концами"_s, u"Interpolate between the ends"_s},
        {P::Curve1, "actSmooth", u"Сгладить"_s, u"Smooth"_s},
        {P::Curve1, "actCopy", u"Копировать"_s, u"Copy"_s},
        {P::Curve1, "actPaste", u"Вставить"_s, u"Paste"_s},
        {P::Curve1, "actUndo", u"Отменить"_s, u"Undo"_s},
        {P::Curve1, "actRedo", u"Повторить"_s, u"Redo"_s},
        {P::Curve1, "actCompare", u"Сравнить с файлом…"_s, u"Compare with a file…"_s},
        {P::Curve1, "actCompareTake", u"Взять значения из файла"_s, u"Take the file's values"_s},
        {P::Curve1, "actCompareEnd", u"Закончить сравнение"_s, u"End the comparison"_s},
    };
    return t;
}

QString gridActionText(Panel grid, const QString& object, Lang lang) {
    for (const ActionText& a : gridActionTexts())
        if (a.grid == grid && object == QLatin1String(a.object)) return lang == Lang::English ? a.en : a.ru;
    return {};
}

Lang currentLang() {
    return msgs().english() ? Lang::English : Lang::Russian;
}

// An operation the module left without an answer or kept refusing: what the status bar
// names and how much went through. The log takes the Russian texts in either language.
const QList<OperationText>& operationTexts() {
    static const QList<OperationText> t{
        {"stall.silent", u"Модуль не отвечает: %1"_s, u"Module does not answer: %1"_s},
        {"stall.refused", u"Модуль отклоняет запись: %1"_s, u"Module refuses the write: %1"_s},
        {"stall.lastCommand", u"последняя команда %1"_s, u"last command %1"_s},
        {"stall.back", u"Модуль снова отвечает: %1"_s, u"Module answers again: %1"_s},
        {"done.read", u"прочитано %1 из %2"_s, u"%1 of %2 read"_s},
        {"done.written", u"записано %1 из %2"_s, u"%1 of %2 written"_s},
        {"tableRead.Lambda", u"чтение таблицы Лямбда"_s, u"reading the Lambda table"_s},
        {"tableRead.MAF", u"чтение таблицы MAF (MAP)"_s, u"reading the MAF (MAP) table"_s},
        {"tableRead.Volt", u"чтение таблицы напряжений"_s, u"reading the voltage table"_s},
        {"tableWrite.Lambda", u"запись таблицы Лямбда"_s, u"writing the Lambda table"_s},
        {"tableWrite.MAF", u"запись таблицы MAF (MAP)"_s, u"writing the MAF (MAP) table"_s},
        {"tableWrite.Volt", u"запись таблицы напряжений"_s, u"writing the voltage table"_s},
        {"curveRead", u"чтение данных Лямбда %1"_s, u"reading the Lambda %1 data"_s},
        {"curveFilteredRead", u"чтение данных Лямбда %1 через фильтр"_s,
         u"reading the Lambda %1 data through the filter"_s},
        {"curveWrite", u"запись данных Лямбда %1"_s, u"writing the Lambda %1 data"_s},
        {"livePoints", u"текущие точки Лямбда %1"_s, u"live points of Lambda %1"_s},
        {"settingWrite", u"запись EEPROM-%1"_s, u"writing EEPROM-%1"_s},
        {"modeSwitch.Emulator", u"переключение в режим «Эмулятор»"_s, u"switching to the emulator mode"_s},
        {"modeSwitch.Optimizer", u"переключение в режим «Оптимизатор»"_s, u"switching to the optimizer mode"_s},
        {"modeSwitch.MafP", u"переключение в режим MAF(P)"_s, u"switching to the MAF(P) mode"_s},
        {"learningStart", u"включение обучения эмулятора"_s, u"starting the emulator's learning"_s},
        {"learningStop", u"выключение обучения эмулятора"_s, u"stopping the emulator's learning"_s},
        {"fuelReset", u"обнуление счётчика топлива"_s, u"resetting the fuel counter"_s},
        {"manualSend", u"передача команды %1"_s, u"sending the command %1"_s},
        {"recording", u"запись графика"_s, u"recording"_s},
    };
    return t;
}

QString operationText(const QString& key, Lang lang, const QStringList& args) {
    for (const OperationText& o : operationTexts()) {
        if (key != QLatin1String(o.key)) continue;
        // One pass, so that an argument holding "%2" (a command the user typed) stays as it is.
        const QString& pattern = lang == Lang::English ? o.en : o.ru;
        QString text;
        for (qsizetype i = 0; i < pattern.size(); ++i) {
            const int n = i + 1 < pattern.size() ? pattern.at(i + 1).digitValue() : -1;
            if (pattern.at(i) == u'%' && n >= 1 && n <= args.size()) {
                text += args.at(n - 1);
                ++i;
            } else {
                text += pattern.at(i);
            }
        }
        return text;
    }
    return {};
}

} // namespace uitexts
