#include "common/messages.h"

void Messages::setRussian() {
    Lang_Code = QStringLiteral("Rus");
    Msg_D1_Zirc_Voltage = QStringLiteral("Напряжение выхода циркон. датчика 1, В");
    Msg_D1_WB_Current = QStringLiteral("Ток широкополосного датчика 1, мА");
    Msg_D1_AFR = QStringLiteral("Датчик 1. Отношение воздух/топливо");
    Msg_D2_Zirc_Voltage = QStringLiteral("Напряжение выхода циркон. датчика 2, В");
    Msg_D2_WB_Current = QStringLiteral("Ток широкополосного датчика 2, мА");
    Msg_D2_AFR = QStringLiteral("Датчик 2. Отношение воздух/топливо");
    Msg_Module_Off = QStringLiteral("Модуль отключен");
    Msg_Emu_Cap_Left = QStringLiteral("Относит. кол-во топлива\nили расход воздуха");
    Msg_Emu_Cap_Right = QStringLiteral("U MAF датчика, В\nили расход воздуха");
    Msg_Query = QStringLiteral("Запрос");
    Msg_MAF_Read_End = QStringLiteral("Считывание таблицы MAF (MAP) завершено");
    Msg_Lambda_Read_End = QStringLiteral("Считывание таблицы Лямбда завершено");
    Msg_Point = QStringLiteral("Точка");
    Msg_Voltage = QStringLiteral("Напряжение: ");
    Msg_Volt_Unit = QStringLiteral(" В ");
    Msg_Fuel = QStringLiteral("Расход топлива ");
    Msg_Litre_Unit = QStringLiteral(" л ");
    Msg_Answer = QStringLiteral("Ответ");
    Msg_Connect_Failed = QStringLiteral("Подключение не удалось");
    Msg_Wait_Connect = QStringLiteral("Ожидайте подключения");
    Msg_Model = QStringLiteral("Модель оптимизатора");
    Msg_Model_Caption = QStringLiteral("Настройка оптимизатора. Модель ");
    Msg_Module_On = QStringLiteral("Модуль подключен");
    Msg_Sensor1_Zirconia = QStringLiteral("Датчик 1: Циркониевый");
    Msg_Sensor1_Wideband = QStringLiteral("Датчик 1: Широкополосный");
    Msg_Sensor2_Zirconia = QStringLiteral("Датчик 2: Циркониевый");
    Msg_Sensor2_Wideband = QStringLiteral("Датчик 2: Широкополосный");
}

void Messages::setEnglish() {
    Lang_Code = QStringLiteral("Eng");
    Msg_D1_Zirc_Voltage = QStringLiteral("Voltage from lambda sensor 1, V");
    Msg_D1_WB_Current = QStringLiteral("Ток широкополосного датчика 1, мА");
    Msg_D1_AFR = QStringLiteral("Sensor 1. Air / fuel ratio");
    Msg_D2_Zirc_Voltage = QStringLiteral("Voltage from lambda sensor 2, V");
    Msg_D2_WB_Current = QStringLiteral("Ток широкополосного датчика 2, мА");
    Msg_D2_AFR = QStringLiteral("Sensor 2. Air / fuel ratio");
    Msg_Module_Off = QStringLiteral("Module Off");
    Msg_Emu_Cap_Left = QStringLiteral("Relative amount of fuel\nor consuption air");
    Msg_Emu_Cap_Right = QStringLiteral("U MAF sensor, V\nor consuption air");
    Msg_Query = QStringLiteral("Query...");
    Msg_MAF_Read_End = QStringLiteral("Read-out of table of MAF(MAP) is halted");
    Msg_Lambda_Read_End = QStringLiteral("Read-out of table of Lambda is halted");
    Msg_Point = QStringLiteral("Point");
    Msg_Voltage = QStringLiteral("Voltage: ");
    Msg_Volt_Unit = QStringLiteral(" V ");
    Msg_Fuel = QStringLiteral("Expense of fuel: ");
    Msg_Litre_Unit = QStringLiteral(" L ");
    Msg_Answer = QStringLiteral("Answer");
    Msg_Connect_Failed = QStringLiteral("Connecting was not succeeded");
    Msg_Wait_Connect = QStringLiteral("Wait connecting");
    Msg_Model = QStringLiteral("Model of optimizer");
    Msg_Model_Caption = QStringLiteral("Tuning of optimizer. Model ");
    Msg_Module_On = QStringLiteral("Module On");
    Msg_Sensor1_Zirconia = QStringLiteral("Sensor 1: Zirconia");
    Msg_Sensor1_Wideband = QStringLiteral("Sensor 1: Shirokopolosnyy");
    Msg_Sensor2_Zirconia = QStringLiteral("Sensor 2: Zirconia");
    Msg_Sensor2_Wideband = QStringLiteral("Sensor 2: Shirokopolosnyy");
}

Messages& msgs() {
    static Messages m = [] {
        Messages x;
        x.setRussian();
        x.Lang_Code.clear(); // no switch has happened yet
        return x;
    }();
    return m;
}
